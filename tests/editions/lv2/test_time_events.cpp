// What the LV2 edition makes of the host's time:Position events: each key
// alone or missing, in every numeric atom type, the metre of the same event
// or of an earlier one, and bad values. Each case gives the position and
// tempo the events must amount to; the VST 2.4 edition, told exactly those
// in its time record, is the reference, and the blocks after the events
// move on by (frames x step) x speed without any event.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "lv2_edition.h"
#include "slicecast_plugin.h"

namespace {

using lv2host::TimePosition;
using lv2host::TimeValue;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Six blocks of a second: 12 quarter notes at 120 BPM, so that every case
// crosses a boundary of the two-bar update period, whose place tells the
// position modulo 8 quarter notes.
constexpr std::uint32_t kBlockFrames = 8000;
constexpr int kBlocks = 6;

struct KeyCase {
    const char* name;
    // Applied in this order at the start of the first block.
    std::vector<TimePosition> events;
    std::optional<double> position;
    std::optional<double> tempo;
    double speed = 1.0;
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

// An event with only the keys a case sets.
struct Keys {
    std::optional<TimeValue> speed = {};
    std::optional<TimeValue> beat = {};
    std::optional<TimeValue> bar = {};
    std::optional<TimeValue> barBeat = {};
    std::optional<TimeValue> beatsPerBar = {};
    std::optional<TimeValue> beatUnit = {};
    std::optional<TimeValue> beatsPerMinute = {};
    bool asBlank = false;
    operator TimePosition() const {
        TimePosition event;
        event.speed = speed;
        event.beat = beat;
        event.bar = bar;
        event.barBeat = barBeat;
        event.beatsPerBar = beatsPerBar;
        event.beatUnit = beatUnit;
        event.beatsPerMinute = beatsPerMinute;
        event.asBlank = asBlank;
        return event;
    }
};

TimeValue D(double v) { return TimeValue::ofDouble(v); }
TimeValue F(float v) { return TimeValue::ofFloat(v); }
TimeValue L(std::int64_t v) { return TimeValue::ofLong(v); }
TimeValue I(std::int32_t v) { return TimeValue::ofInt(v); }

// The quarter notes per sample the sound plays at kSampleRate.
double stepAt(std::optional<double> tempo) {
    const double bpm = tempo.value_or(120.0);
    return 1.0 / (lv2tests::kSampleRate / (bpm / 60.0));
}

class TimeEvents : public testing::TestWithParam<KeyCase> {};

TEST_P(TimeEvents, AmountToThePositionAndTempoOfTheRule) {
    const KeyCase& c = GetParam();
    const auto input = testsupport::noise(kBlockFrames * kBlocks, 3);
    std::vector<lv2tests::Block> lv2Blocks;
    std::vector<lv2tests::VstBlock> vstBlocks;
    std::optional<double> position = c.position;
    for (int block = 0; block < kBlocks; ++block) {
        lv2Blocks.push_back({kBlockFrames, block == 0 ? c.events : std::vector<TimePosition>{}});
        vstBlocks.push_back({static_cast<std::int32_t>(kBlockFrames), position, c.tempo});
        if (position) position = *position + (static_cast<double>(kBlockFrames) * stepAt(c.tempo)) * c.speed;
    }
    lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), lv2tests::kSampleRate);
    lv2tests::VstReference vst;
    // Two-bar periods of 1/32-bar slices: a position off by a fraction of a
    // beat moves a capture.
    instance.setControl("wave_length", 9.0f);
    instance.setControl("update_period", 1.0f);
    vst.setParameter(0, 9.5f / 11.0f);
    vst.setParameter(1, 0.25f);
    EXPECT_EQ(lv2tests::firstDifference(vst.render(input, vstBlocks), lv2tests::renderLv2(instance, input, lv2Blocks)),
              -1);
}

const KeyCase keyCases[] = {
    // Each numeric type for the position and the tempo.
    {"BeatAsDouble", {Keys{.beat = D(6.5), .beatsPerMinute = D(133.0)}}, 6.5, 133.0},
    {"BeatAsFloat", {Keys{.beat = F(6.5f), .beatsPerMinute = F(97.5f)}}, 6.5, 97.5},
    {"BeatAsLong", {Keys{.beat = L(7), .beatsPerMinute = L(90)}}, 7.0, 90.0},
    {"BeatAsInt", {Keys{.beat = I(7), .beatsPerMinute = I(140)}}, 7.0, 140.0},
    {"BarAsEveryType", {Keys{.bar = I(1), .barBeat = D(0.5)}, Keys{.bar = F(2.0f), .barBeat = L(1)}}, 9.0, {}},
    {"AsBlank", {Keys{.beat = D(5.25), .beatsPerMinute = D(128.0), .asBlank = true}}, 5.25, 128.0},
    // The metre: beats of the unit, bars of beatsPerBar.
    {"BeatInEighths", {Keys{.beat = D(6.0), .beatUnit = I(8)}}, 3.0, {}},
    {"BeatInHalves", {Keys{.beat = D(3.0), .beatUnit = I(2)}}, 6.0, {}},
    {"BarAndBarBeat",
     {Keys{.bar = L(3), .barBeat = F(1.5f), .beatsPerBar = F(3.0f), .beatUnit = I(8)}},
     5.25,
     {}},
    {"BarInFourFourWithoutAMetre", {Keys{.bar = L(2), .barBeat = F(1.0f)}}, 9.0, {}},
    {"MetreOfAnEarlierEvent",
     {Keys{.beatsPerBar = F(3.0f), .beatUnit = I(8)}, Keys{.bar = L(2), .barBeat = F(1.0f)}},
     3.5,
     {}},
    {"MetreOfTheSameEventFirst", {Keys{.beatUnit = I(8)}, Keys{.beat = D(4.0), .beatUnit = I(2)}}, 8.0, {}},
    {"BeatBeforeBar", {Keys{.beat = D(2.0), .bar = L(5), .barBeat = F(0.0f)}}, 2.0, {}},
    {"NegativePositionOfAPreRoll", {Keys{.beat = D(-4.0), .beatsPerMinute = D(100.0)}}, -4.0, 100.0},
    // Events in the layout of the one before, read from the offsets kept.
    {"TheSameLayoutWithNewValues",
     {Keys{.beat = D(3.0), .beatsPerMinute = D(100.0)}, Keys{.beat = D(5.0), .beatsPerMinute = D(125.0)}},
     5.0,
     125.0},
    {"TheSameSizeInOtherTypes",
     {Keys{.beat = D(3.0), .beatsPerMinute = D(100.0)}, Keys{.beat = L(6), .beatsPerMinute = L(90)}},
     6.0,
     90.0},
    {"TheSameSizeWithOtherKeysThenTheFirstLayoutAgain",
     {Keys{.beat = D(3.0), .beatsPerMinute = D(100.0)}, Keys{.bar = D(1.0), .barBeat = D(1.0)},
      Keys{.beat = D(7.0), .beatsPerMinute = D(90.0)}},
     7.0,
     90.0},
    // Keys missing: no position at all, or the last one.
    {"BarWithoutBarBeat", {Keys{.bar = L(3), .beatsPerMinute = D(150.0)}}, {}, 150.0},
    {"BarBeatWithoutBar", {Keys{.barBeat = F(2.0f)}}, {}, {}},
    {"OnlySpeed", {Keys{.speed = F(1.0f)}}, {}, {}},
    {"TempoWithoutPosition", {Keys{.beatsPerMinute = D(87.0)}}, {}, 87.0},
    {"PositionKeptByAnEventWithout", {Keys{.beat = D(3.0)}, Keys{.beatsPerMinute = D(111.0)}}, 3.0, 111.0},
    // Bad values.
    {"ZeroBeatUnit", {Keys{.beat = D(4.0), .beatUnit = I(0)}}, {}, {}},
    {"ZeroBeatUnitKeepsTheLastPosition", {Keys{.beat = D(4.0)}, Keys{.beat = D(9.0), .beatUnit = I(0)}}, 4.0, {}},
    {"NotANumberBeat", {Keys{.beat = D(kNaN)}}, {}, {}},
    {"InfiniteBeat", {Keys{.beat = D(kInfinity)}}, {}, {}},
    {"BarOverflowingToInfinity", {Keys{.bar = D(1e308), .barBeat = D(0.0), .beatsPerBar = D(10.0)}}, {}, {}},
    {"NotANumberTempo", {Keys{.beat = D(1.0), .beatsPerMinute = D(kNaN)}}, 1.0, {}},
    {"ZeroTempo", {Keys{.beat = D(1.0), .beatsPerMinute = D(0.0)}}, 1.0, {}},
    {"NegativeTempo", {Keys{.beat = D(1.0), .beatsPerMinute = D(-90.0)}}, 1.0, {}},
    {"InfiniteTempo", {Keys{.beat = D(1.0), .beatsPerMinute = D(kInfinity)}}, 1.0, {}},
    {"BadTempoReplacesAGoodOne", {Keys{.beatsPerMinute = D(150.0)}, Keys{.beatsPerMinute = D(-1.0)}}, {}, {}},
    // Speed.
    {"StoppedHoldsThePosition", {Keys{.speed = F(0.0f), .beat = D(4.0), .beatsPerMinute = D(120.0)}}, 4.0, 120.0, 0.0},
    {"DoubleSpeed", {Keys{.speed = D(2.0), .beat = D(1.0), .beatsPerMinute = D(100.0)}}, 1.0, 100.0, 2.0},
    {"HalfSpeed", {Keys{.speed = F(0.5f), .beat = D(1.0)}}, 1.0, {}, 0.5},
    {"Backwards", {Keys{.speed = I(-1), .beat = D(30.0), .beatsPerMinute = D(133.0)}}, 30.0, 133.0, -1.0},
    {"NotANumberSpeedIsIgnored", {Keys{.speed = D(kNaN), .beat = D(2.0)}}, 2.0, {}, 1.0},
    {"InfiniteSpeedIsIgnored", {Keys{.speed = F(0.0f)}, Keys{.speed = D(kInfinity), .beat = D(2.0)}}, 2.0, {}, 0.0},
};

INSTANTIATE_TEST_SUITE_P(Keys, TimeEvents, testing::ValuesIn(keyCases),
                         [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

}  // namespace
