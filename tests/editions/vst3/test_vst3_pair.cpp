// The VST 3 edition against the VST 2.4 edition: the same scenarios, the
// same positions, tempi and parameter changes, the same bits. A change
// point at frame k of a VST 3 block must sound as a VST 2.4 block cut at k.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "clap_pair.h"
#include "render_scenarios.h"
#include "slicecast_plugin.h"
#include "slicecast_vst3_plugin.h"
#include "vst3_pair.h"
#include "vst3_scenario_player.h"

namespace {

using claptest::firstDifference;
using claptest::sameBits;
using vst3test::ChangePoint;
using vst3test::ScriptedBlock;

TEST(Vst3Pair, EveryRenderScenarioPlaysAsInTheVstEditionToTheBit) {
    for (const auto& scenario : platforms::renderScenarios()) {
        const auto vst = platforms::vstScenarioPlayer(testsupport::slicecastEntry());
        platforms::Vst3ScenarioPlayer vst3(testsupport::slicecastVst3Module());
        const auto expected = platforms::renderScenario(scenario, *vst);
        const auto got = platforms::renderScenario(scenario, vst3);
        EXPECT_TRUE(sameBits(expected, got)) << scenario.name << ": " << firstDifference(expected, got);
    }
}

constexpr double kRate = 48000.0;
constexpr double kTempo = 127.5;

struct CutCase {
    const char* name;
    // Points in the block of 4000 frames that holds the first update-period
    // boundary (a quarter note in), 2108 frames in: a piece that played
    // from a wrong position would move the boundary.
    std::vector<ChangePoint> changes;
};

std::vector<ScriptedBlock> cutScript(const CutCase& cut) {
    auto script = vst3test::rollingBlocks({4096, 4096, 4096, 4096, 4096, 4000, 4096, 4096, 4096, 4096, 4096, 4096},
                                          kRate, kTempo, 0.0);
    script[0].changes = {{0, 1, 1.0}};
    script[5].changes = cut.changes;
    return script;
}

TEST(Vst3Pair, ChangePointsInsideABlockPlayAsAVstBlockCutWhereTheyFall) {
    const std::vector<CutCase> cases{
        {"slice length at frame 100", {{100, 0, 1.0}}},
        {"update period at frame 0", {{0, 1, 0.5}}},
        {"three parameters at one frame, queued out of order", {{700, 5, 0.4}, {700, 2, 0.2}, {700, 3, 0.8}}},
        {"mix at the last frame", {{3999, 5, 0.0}}},
        {"a jump: two points on neighbouring frames", {{2107, 0, 3.0 / 11.0}, {2108, 0, 10.0 / 11.0}}},
        {"steps between the points a host would send", {{50, 0, 0.3}, {60, 1, 0.61}, {1999, 0, 0.999}}},
        {"a change at every tenth frame",
         [] {
             std::vector<ChangePoint> changes;
             for (vst3::int32 frame = 0; frame < 1500; frame += 10)
                 changes.push_back({frame, static_cast<vst3::ParamID>(frame / 10 % 6), (frame % 12) / 11.0});
             return changes;
         }()},
        {"a point past the end applies after the block", {{300, 2, 0.5}, {4000, 5, 0.25}}},
    };
    const auto input = testsupport::noise(vst3test::framesOf(cutScript(cases[0])), 5);
    const auto withoutChanges = vst3test::playThroughVst3(kRate, cutScript({"none", {}}), input);
    for (const CutCase& cut : cases) {
        const auto script = cutScript(cut);
        const auto expected = vst3test::playThroughVst(kRate, script, input);
        const auto got = vst3test::playThroughVst3(kRate, script, input);
        EXPECT_TRUE(sameBits(expected, got)) << cut.name << ": " << firstDifference(expected, got);
        EXPECT_FALSE(sameBits(withoutChanges, got)) << cut.name << ": the changes were not heard";
    }
}

TEST(Vst3Pair, InPlaceProcessingPlaysAsSeparateBuffers) {
    const auto script = cutScript({"", {{300, 0, 9.0 / 11.0}, {301, 5, 0.5}}});
    const auto input = testsupport::noise(vst3test::framesOf(script), 6);
    EXPECT_TRUE(sameBits(vst3test::playThroughVst3(kRate, script, input, false),
                         vst3test::playThroughVst3(kRate, script, input, true)));
}

// What VST 3's process context means to the effect, case by case: each row
// alters the context a host sends and gives the VST 2.4 record the effect
// must hear instead of the unaltered one.
struct TimeCase {
    const char* name;
    void (*alter)(vst3::ProcessContext& context);
    vst3test::TimeRule heard;
};

std::optional<VstTimeInfo> positionAndTempo(const vst3::ProcessContext* context) {
    return vst3test::vstTimeOf(context);
}

std::optional<VstTimeInfo> tempoOnly(const vst3::ProcessContext* context) {
    auto time = vst3test::vstTimeOf(context);
    time->flags &= ~kVstPpqPosValid;
    return time;
}

std::optional<VstTimeInfo> positionOnly(const vst3::ProcessContext* context) {
    auto time = vst3test::vstTimeOf(context);
    time->flags &= ~kVstTempoValid;
    return time;
}

std::optional<VstTimeInfo> positionAtDefaultTempo(const vst3::ProcessContext* context) {
    auto time = vst3test::vstTimeOf(context);
    time->tempo = 120.0;
    return time;
}

std::optional<VstTimeInfo> nothing(const vst3::ProcessContext*) { return std::nullopt; }

std::optional<VstTimeInfo> emptyRecord(const vst3::ProcessContext*) { return VstTimeInfo{}; }

TEST(Vst3Time, EachContextIsHeardAsTheVstRecordItStandsFor) {
    const std::vector<TimeCase> cases{
        {"a playing 4/4 context", [](vst3::ProcessContext&) {}, &positionAndTempo},
        {"a bar start, 6/8, samples, a system time",
         [](vst3::ProcessContext& c) {
             c.state |= vst3::kBarPositionValid | vst3::kSystemTimeValid | vst3::kContTimeValid;
             c.barPositionMusic = std::floor(c.projectTimeMusic / 3.0) * 3.0;
             c.timeSigNumerator = 6;
             c.timeSigDenominator = 8;
             c.projectTimeSamples = 123456;
             c.continousTimeSamples = 654321;
             c.systemTime = 987654321;
         },
         &positionAndTempo},
        {"stopped, recording, in a cycle",
         [](vst3::ProcessContext& c) {
             c.state = (c.state & ~vst3::kPlaying) | vst3::kRecording | vst3::kCycleActive | vst3::kCycleValid;
             c.cycleStartMusic = 0.0;
             c.cycleEndMusic = 2.0;
         },
         &positionAndTempo},
        {"no project time music flag", [](vst3::ProcessContext& c) { c.state &= ~vst3::kProjectTimeMusicValid; },
         &tempoOnly},
        {"no tempo flag", [](vst3::ProcessContext& c) { c.state &= ~vst3::kTempoValid; }, &positionOnly},
        {"tempo 0", [](vst3::ProcessContext& c) { c.tempo = 0.0; }, &positionAtDefaultTempo},
        {"negative tempo", [](vst3::ProcessContext& c) { c.tempo = -130.0; }, &positionAtDefaultTempo},
        {"infinite tempo", [](vst3::ProcessContext& c) { c.tempo = std::numeric_limits<double>::infinity(); },
         &positionAtDefaultTempo},
        {"NaN tempo", [](vst3::ProcessContext& c) { c.tempo = std::numeric_limits<double>::quiet_NaN(); },
         &positionAtDefaultTempo},
        {"all zero", [](vst3::ProcessContext& c) { c = vst3::ProcessContext{}; }, &emptyRecord},
        {"no context at all", nullptr, &nothing},
    };
    const auto nominal = vst3test::rollingBlocks({1024, 1024, 700, 3000, 4096, 4096, 512, 4096}, kRate, 97.0, 2.5);
    const auto input = testsupport::noise(vst3test::framesOf(nominal), 8);
    for (const TimeCase& row : cases) {
        auto script = nominal;
        for (ScriptedBlock& block : script) {
            if (row.alter == nullptr)
                block.context.reset();
            else
                row.alter(*block.context);
        }
        const auto expected = vst3test::playThroughVst(kRate, nominal, input, row.heard);
        const auto got = vst3test::playThroughVst3(kRate, script, input);
        EXPECT_TRUE(sameBits(expected, got)) << row.name << ": " << firstDifference(expected, got);
    }
}

TEST(Vst3Time, PositionsFarFromZeroAreHeardExactly) {
    // The context carries the position in a double, as VST 2.4's record
    // does: no grid between them.
    const std::vector<double> starts{-3.999999999, 1e6 + 1.0 / 3.0, -2.5e8, 4.0e9 + 0.123456789};
    for (const double start : starts) {
        const auto script = vst3test::rollingBlocks({4096, 4096, 4096}, kRate, 100.0, start);
        const auto input = testsupport::noise(vst3test::framesOf(script), 9);
        const auto expected = vst3test::playThroughVst(kRate, script, input);
        const auto got = vst3test::playThroughVst3(kRate, script, input);
        EXPECT_TRUE(sameBits(expected, got)) << start << ": " << firstDifference(expected, got);
    }
}

}  // namespace
