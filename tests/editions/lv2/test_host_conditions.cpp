// The LV2 edition under whatever a host does: no urid:map, runs of 0
// frames, the control port left unconnected, re-activation, sequences and
// atoms whose sizes run past their room, offsets out of order or beyond the
// block, and control-port values out of range or not a number. Each case
// says what the run must amount to, with the VST 2.4 edition as reference;
// under AddressSanitizer each also shows that nothing is read outside the
// host's buffers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include <lv2/atom/util.h>
#include <lv2/time/time.h>

#include "lv2_edition.h"
#include "lv2_scenario_effect.h"
#include "slicecast_plugin.h"

namespace {

using lv2tests::Block;
using lv2tests::VstBlock;

constexpr std::uint32_t kBlockFrames = 8000;
constexpr std::size_t kBlocks = 6;
constexpr float kNaNf = std::numeric_limits<float>::quiet_NaN();

// Blocks of the given lengths from a position and tempo on, the position
// moving on as the sound's own count does (none: no position).
std::vector<VstBlock> rolling(std::optional<double> position, std::optional<double> tempo,
                              const std::vector<std::int32_t>& lengths) {
    const double step = 1.0 / (lv2tests::kSampleRate / (tempo.value_or(120.0) / 60.0));
    std::vector<VstBlock> blocks;
    for (std::int32_t frames : lengths) {
        blocks.push_back({frames, position, tempo});
        if (position) position = *position + static_cast<double>(frames) * step;
    }
    return blocks;
}

std::vector<std::int32_t> wholeBlocks(std::size_t count) {
    return std::vector<std::int32_t>(count, static_cast<std::int32_t>(kBlockFrames));
}

std::vector<VstBlock> joined(std::vector<VstBlock> first, const std::vector<VstBlock>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

// Two-bar periods of short slices, on both editions.
void setBusyParameters(lv2host::Lv2Instance& instance, lv2tests::VstReference& vst) {
    for (const auto& [index, value] : {std::pair{0, 9.5f / 11.0f}, std::pair{1, 0.25f}}) {
        vst.setParameter(index, value);
        instance.setControl(platforms::kFirstParameterPort + static_cast<std::uint32_t>(index),
                            platforms::plainValueOf(index, value));
    }
}

const pluginhost::StereoBuffer& input() {
    static const auto signal = testsupport::noise(kBlockFrames * kBlocks, 5);
    return signal;
}

pluginhost::StereoBuffer renderVst(const std::vector<VstBlock>& blocks) {
    lv2tests::VstReference vst;
    lv2host::Lv2Instance unused(lv2tests::slicecastLv2(), lv2tests::kSampleRate);
    setBusyParameters(unused, vst);
    return vst.render(input(), blocks);
}

lv2host::StereoPorts portsAt(pluginhost::StereoBuffer& output, std::size_t frame) {
    return {input().left.data() + frame, input().right.data() + frame, output.left.data() + frame,
            output.right.data() + frame};
}

// ---- Host conditions -------------------------------------------------------

struct ConditionCase {
    const char* name;
    lv2host::Lv2Instance::Features features;
    // Plays the whole input into output.
    std::function<void(lv2host::Lv2Instance&, pluginhost::StereoBuffer& output)> play;
    std::vector<VstBlock> expected;
};

void PrintTo(const ConditionCase& c, std::ostream* out) { *out << c.name; }

const auto kPosition = lv2tests::positionEvent(0, 3.5, 100.0);

// Block 0 with events, the rest with none.
void eventsThenNone(lv2host::Lv2Instance& instance, pluginhost::StereoBuffer& output,
                    const std::vector<lv2host::TimePosition>& first) {
    for (std::size_t block = 0; block < kBlocks; ++block) {
        instance.run(portsAt(output, block * kBlockFrames), kBlockFrames,
                     block == 0 ? first : std::vector<lv2host::TimePosition>{});
    }
}

const ConditionCase conditionCases[] = {
    {"WithoutUridMapEventsAreNotRead", lv2host::Lv2Instance::Features::None,
     [](auto& instance, auto& output) { eventsThenNone(instance, output, {kPosition}); },
     rolling({}, {}, wholeBlocks(kBlocks))},
    {"NoEventsPlayOnTheSoundsOwnCount", lv2host::Lv2Instance::Features::UridMap,
     [](auto& instance, auto& output) { eventsThenNone(instance, output, {}); }, rolling({}, {}, wholeBlocks(kBlocks))},
    {"ZeroFrameRunAppliesItsEventsAndMovesNothing", lv2host::Lv2Instance::Features::UridMap,
     [](auto& instance, auto& output) {
         instance.run(portsAt(output, 0), 0, {kPosition});
         for (std::size_t block = 0; block < kBlocks; ++block) {
             instance.run(portsAt(output, block * kBlockFrames), kBlockFrames);
             instance.run(portsAt(output, (block + 1) * kBlockFrames - 1), 0);
         }
     },
     rolling(3.5, 100.0, wholeBlocks(kBlocks))},
    {"UnconnectedControlPortKeepsTheTransport", lv2host::Lv2Instance::Features::UridMap,
     [](auto& instance, auto& output) {
         instance.run(portsAt(output, 0), kBlockFrames, {kPosition});
         for (std::size_t block = 1; block < kBlocks; ++block) {
             instance.runWithoutControlPort(portsAt(output, block * kBlockFrames), kBlockFrames);
         }
     },
     rolling(3.5, 100.0, wholeBlocks(kBlocks))},
    {"UnconnectedControlPortFromTheStart", lv2host::Lv2Instance::Features::UridMap,
     [](auto& instance, auto& output) {
         for (std::size_t block = 0; block < kBlocks; ++block) {
             instance.runWithoutControlPort(portsAt(output, block * kBlockFrames), kBlockFrames);
         }
     },
     rolling({}, {}, wholeBlocks(kBlocks))},
    {"ReactivationKeepsTheTransport", lv2host::Lv2Instance::Features::UridMap,
     [](auto& instance, auto& output) {
         for (std::size_t block = 0; block < kBlocks; ++block) {
             if (block == 2) {
                 instance.deactivate();
                 instance.activate();
             }
             instance.run(portsAt(output, block * kBlockFrames), kBlockFrames,
                          block == 0 ? std::vector{kPosition} : std::vector<lv2host::TimePosition>{});
         }
     },
     rolling(3.5, 100.0, wholeBlocks(kBlocks))},
    {"OffsetsOutOfOrderCountAsTheBlocksEnd", lv2host::Lv2Instance::Features::UridMap,
     [](auto& instance, auto& output) {
         eventsThenNone(instance, output,
                        {lv2tests::positionEvent(500, 3.5, 100.0), lv2tests::positionEvent(100, 7.25, 90.0)});
     },
     joined(joined({{500, {}, {}}}, rolling(3.5, 100.0, {7500})), rolling(7.25, 90.0, wholeBlocks(kBlocks - 1)))},
    {"OffsetBeyondTheBlockCountsAsItsEnd", lv2host::Lv2Instance::Features::UridMap,
     [](auto& instance, auto& output) {
         eventsThenNone(instance, output, {lv2tests::positionEvent(kBlockFrames + 9, 3.5, 100.0)});
     },
     joined(rolling({}, {}, {static_cast<std::int32_t>(kBlockFrames)}), rolling(3.5, 100.0, wholeBlocks(kBlocks - 1)))},
    {"NegativeOffsetCountsAsTheBlocksEnd", lv2host::Lv2Instance::Features::UridMap,
     [](auto& instance, auto& output) { eventsThenNone(instance, output, {lv2tests::positionEvent(-5, 3.5, 100.0)}); },
     joined(rolling({}, {}, {static_cast<std::int32_t>(kBlockFrames)}), rolling(3.5, 100.0, wholeBlocks(kBlocks - 1)))},
};

class HostConditions : public testing::TestWithParam<ConditionCase> {};

TEST_P(HostConditions, AmountToTheExpectedTransport) {
    const ConditionCase& c = GetParam();
    lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), lv2tests::kSampleRate, c.features);
    lv2tests::VstReference unused;
    setBusyParameters(instance, unused);
    pluginhost::StereoBuffer output(input().frames());
    c.play(instance, output);
    EXPECT_EQ(lv2tests::firstDifference(renderVst(c.expected), output), -1);
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostConditions, testing::ValuesIn(conditionCases),
                         [](const testing::TestParamInfo<ConditionCase>& info) { return std::string(info.param.name); });

// ---- Malformed sequences ---------------------------------------------------

// A well-formed sequence of one event at frame 0 (beat 3.5 first, then the
// tempo 100), as a mutation changes it.
struct Forged {
    std::vector<std::uint64_t> words;
    LV2_Atom_Sequence* sequence() { return reinterpret_cast<LV2_Atom_Sequence*>(words.data()); }
    LV2_Atom_Event* event() { return lv2_atom_sequence_begin(&sequence()->body); }
    LV2_Atom_Object* object() { return reinterpret_cast<LV2_Atom_Object*>(&event()->body); }
    LV2_Atom_Property_Body* firstProperty() { return lv2_atom_object_begin(&object()->body); }
};

struct MalformedCase {
    const char* name;
    std::function<void(Forged&, lv2host::UridMap&)> mutate;
    std::optional<double> position;
    std::optional<double> tempo;
};

void PrintTo(const MalformedCase& c, std::ostream* out) { *out << c.name; }

const MalformedCase malformedCases[] = {
    {"WellFormed", [](Forged&, lv2host::UridMap&) {}, 3.5, 100.0},
    {"EventBodyPastTheSequence", [](Forged& f, lv2host::UridMap&) { f.event()->body.size = 100000; }, {}, {}},
    {"EventBodyOneBytePastTheSequence",
     [](Forged& f, lv2host::UridMap&) { f.sequence()->atom.size -= lv2_atom_pad_size(f.event()->body.size) - f.event()->body.size + 1; },
     {}, {}},
    {"SequenceSmallerThanItsHeader", [](Forged& f, lv2host::UridMap&) { f.sequence()->atom.size = 4; }, {}, {}},
    {"SequenceEndsInsideAnEventHeader",
     [](Forged& f, lv2host::UridMap&) { f.sequence()->atom.size = sizeof(LV2_Atom_Sequence_Body) + 10; }, {}, {}},
    {"PropertyValuePastTheObject", [](Forged& f, lv2host::UridMap&) { f.firstProperty()->value.size = 5000; }, {}, {}},
    {"ObjectSmallerThanItsHeader", [](Forged& f, lv2host::UridMap&) { f.object()->atom.size = 4; }, {}, {}},
    {"ObjectOfAnotherClass",
     [](Forged& f, lv2host::UridMap& map) { f.object()->body.otype = map.map("urn:slicecast:test:other"); }, {}, {}},
    {"EventThatIsNoObject", [](Forged& f, lv2host::UridMap& map) { f.event()->body.type = map.map(LV2_ATOM__Int); }, {}, {}},
    {"AnotherAtomThanASequence",
     [](Forged& f, lv2host::UridMap& map) { f.sequence()->atom.type = map.map(LV2_ATOM__Tuple); }, {}, {}},
    {"SequenceTimedInBeats",
     [](Forged& f, lv2host::UridMap& map) { f.sequence()->body.unit = map.map(LV2_ATOM__beatTime); }, {}, {}},
    {"ValueTooSmallForItsType", [](Forged& f, lv2host::UridMap&) { f.firstProperty()->value.size = 4; }, {}, 100.0},
    {"ValueOfAnotherType",
     [](Forged& f, lv2host::UridMap& map) { f.firstProperty()->value.type = map.map(LV2_ATOM__String); }, {}, 100.0},
    {"UntypedValue", [](Forged& f, lv2host::UridMap&) { f.firstProperty()->value.type = 0; }, {}, 100.0},
    {"UnmappedKey", [](Forged& f, lv2host::UridMap&) { f.firstProperty()->key = 0; }, {}, 100.0},
};

class MalformedSequences : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedSequences, AreReadOnlyAsFarAsTheyHold) {
    const MalformedCase& c = GetParam();
    lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), lv2tests::kSampleRate);
    lv2tests::VstReference unused;
    setBusyParameters(instance, unused);

    lv2host::EventSequence sequence(instance.uridMap(), 256);
    sequence.write({kPosition});
    Forged forged{std::vector<std::uint64_t>(sequence.capacity() / sizeof(std::uint64_t))};
    std::memcpy(forged.words.data(), sequence.data(), sequence.capacity());
    c.mutate(forged, instance.uridMap());
    // Only the bytes the host wrote: the sequence's own atom header and body.
    const std::size_t written = std::min<std::size_t>(sizeof(LV2_Atom) + sequence.data()->atom.size, sequence.capacity());
    std::vector<std::uint8_t> bytes(written);
    std::memcpy(bytes.data(), forged.words.data(), written);

    pluginhost::StereoBuffer output(input().frames());
    instance.runRaw(portsAt(output, 0), kBlockFrames, bytes);
    for (std::size_t block = 1; block < kBlocks; ++block) instance.run(portsAt(output, block * kBlockFrames), kBlockFrames);
    EXPECT_EQ(lv2tests::firstDifference(renderVst(rolling(c.position, c.tempo, wholeBlocks(kBlocks))), output), -1);
}

INSTANTIATE_TEST_SUITE_P(Atoms, MalformedSequences, testing::ValuesIn(malformedCases),
                         [](const testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

// ---- Control-port values ---------------------------------------------------

// A port value and the VST 2.4 parameter value that means the same.
struct PortValueCase {
    const char* name;
    const char* symbol;
    float portValue;
    std::int32_t parameter;
    float vstValue;
};

void PrintTo(const PortValueCase& c, std::ostream* out) { *out << c.name; }

// A VST 2.4 value that the edition truncates to step k of 0..steps.
float stepValue(int k, float steps) { return (static_cast<float>(k) + 0.5f) / steps; }

const PortValueCase portValueCases[] = {
    {"WaveLengthAboveTheRange", "wave_length", 40.0f, 0, stepValue(11, 11.0f)},
    {"WaveLengthBelowTheRange", "wave_length", -3.0f, 0, stepValue(0, 11.0f)},
    {"WaveLengthNotANumber", "wave_length", kNaNf, 0, stepValue(0, 11.0f)},
    {"WaveLengthHalfRoundsUp", "wave_length", 6.5f, 0, stepValue(7, 11.0f)},
    {"WaveLengthBelowAHalfRoundsDown", "wave_length", 6.49f, 0, stepValue(6, 11.0f)},
    {"UpdatePeriodAboveTheRange", "update_period", 9.0f, 1, 1.0f},
    {"UpdatePeriodNotANumber", "update_period", kNaNf, 1, 0.0f},
    {"UpdatePeriodHalfRoundsUp", "update_period", 1.5f, 1, 0.5f},
    {"RateAboveTheRange", "rate", 250.0f, 2, 1.0f},
    {"RateBelowTheRange", "rate", -5.0f, 2, 0.0f},
    {"RateNotANumberIsItsDefault", "rate", kNaNf, 2, 0.7f},
    {"RateInSinglePrecision", "rate", 33.3f, 2, 33.3f / 100.0f},
    {"FadeOutNotANumberIsItsDefault", "fade_out", kNaNf, 3, 0.0f},
    {"FadeOutInRange", "fade_out", 42.0f, 3, 0.42f},
    {"DecayRateBelowTheRange", "decay_rate", -1e30f, 4, 0.0f},
    {"DecayRateNotANumberIsItsDefault", "decay_rate", kNaNf, 4, 1.0f},
    {"MixAboveTheRange", "mix", std::numeric_limits<float>::infinity(), 5, 1.0f},
    {"MixNotANumberIsItsDefault", "mix", kNaNf, 5, 1.0f},
    {"MixInRange", "mix", 12.5f, 5, 0.125f},
};

class PortValues : public testing::TestWithParam<PortValueCase> {};

TEST_P(PortValues, MeanWhatTheVstEditionsValueMeans) {
    const PortValueCase& c = GetParam();
    lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), lv2tests::kSampleRate);
    lv2tests::VstReference vst;
    // A shaping that every parameter is heard in.
    const float shape[6] = {stepValue(9, 11.0f), 0.75f, 0.55f, 0.3f, 0.8f, 0.6f};
    for (std::int32_t index = 0; index < 6; ++index) {
        vst.setParameter(index, shape[index]);
        instance.setControl(platforms::kFirstParameterPort + static_cast<std::uint32_t>(index),
                            platforms::plainValueOf(index, shape[index]));
    }
    vst.setParameter(c.parameter, c.vstValue);
    instance.setControl(c.symbol, c.portValue);

    std::vector<Block> blocks;
    for (std::size_t block = 0; block < kBlocks; ++block) {
        blocks.push_back({kBlockFrames, block == 0 ? std::vector{kPosition} : std::vector<lv2host::TimePosition>{}});
    }
    const auto expected = vst.render(input(), rolling(3.5, 100.0, wholeBlocks(kBlocks)));
    EXPECT_EQ(lv2tests::firstDifference(expected, lv2tests::renderLv2(instance, input(), blocks)), -1);
}

INSTANTIATE_TEST_SUITE_P(Ports, PortValues, testing::ValuesIn(portValueCases),
                         [](const testing::TestParamInfo<PortValueCase>& info) { return std::string(info.param.name); });

// A port's value changed between runs must be heard from the next run on,
// however small the change in bits: the edition maps the ports again only
// when one changed. The reference plays the same values, but before each
// run a run of 0 frames with the port at a value none of the rows uses
// forces the mapping to be made afresh without touching the sound; and the
// run with the first value kept throughout shows that the change is heard.
struct ChangedPortCase {
    const char* name;
    std::uint32_t parameter;
    std::vector<float> valuePerRun;
};

const ChangedPortCase changedPortCases[] = {
    {"WaveLengthUpAndBack", 0, {2.0f, 7.0f, 2.0f, 7.0f}},
    {"UpdatePeriodDownAndBack", 1, {3.0f, 0.0f, 3.0f, 0.0f}},
    {"RateToMinusZeroAndBack", 2, {30.0f, -0.0f, 0.0f, 30.0f}},
    {"FadeOutToNaNAndBack", 3, {40.0f, kNaNf, 40.0f, kNaNf}},
    {"DecayRateThroughZerosAndNaNs", 4, {50.0f, -0.0f, 0.0f, kNaNf, -kNaNf}},
    {"MixToMinusZeroAndPlusZero", 5, {60.0f, -0.0f, 0.0f, -0.0f}},
};

class ChangedPorts : public testing::TestWithParam<ChangedPortCase> {};

TEST_P(ChangedPorts, AreHeardFromTheNextRunAsIfMappedAfresh) {
    const ChangedPortCase& c = GetParam();
    const std::uint32_t port = platforms::kFirstParameterPort + c.parameter;
    const auto render = [&](const std::vector<float>& valuePerRun, bool afresh) {
        lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), lv2tests::kSampleRate);
        // Short slices in short periods, so that every change shows.
        instance.setControl(platforms::kFirstParameterPort, 9.0f);
        instance.setControl(platforms::kFirstParameterPort + 1, 1.0f);
        pluginhost::StereoBuffer output(input().frames());
        for (std::size_t run = 0; run < valuePerRun.size(); ++run) {
            const lv2host::StereoPorts ports = portsAt(output, run * kBlockFrames);
            if (afresh) {
                instance.setControl(port, 1234.5f);
                instance.run(ports, 0);
            }
            instance.setControl(port, valuePerRun[run]);
            instance.run(ports, kBlockFrames);
        }
        return output;
    };
    const auto played = render(c.valuePerRun, false);
    EXPECT_EQ(lv2tests::firstDifference(render(c.valuePerRun, true), played), -1);
    const std::vector<float> unchanged(c.valuePerRun.size(), c.valuePerRun.front());
    EXPECT_NE(lv2tests::firstDifference(render(unchanged, false), played), -1);
}

INSTANTIATE_TEST_SUITE_P(Ports, ChangedPorts, testing::ValuesIn(changedPortCases),
                         [](const testing::TestParamInfo<ChangedPortCase>& info) { return std::string(info.param.name); });

}  // namespace
