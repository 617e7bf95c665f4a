// The CLAP edition against the VST 2.4 edition: the same scenarios, the
// same positions, tempi and parameter changes, the same bits. An event at
// frame k of a CLAP block must sound as a VST 2.4 block cut at k.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "clap_pair.h"
#include "clap_scenario_player.h"
#include "clap_transport.h"
#include "render_scenarios.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"

namespace {

using claptest::ParameterChange;
using claptest::ScriptedBlock;
using claptest::TransportChange;

// A VST 2.4 host that gives its effect the positions a CLAP plug-in reads:
// on the fixed-point grid.
class OnTheBeatTimeGrid final : public platforms::ScenarioPlayer {
public:
    explicit OnTheBeatTimeGrid(std::unique_ptr<platforms::ScenarioPlayer> player) : player_(std::move(player)) {}
    void start(float sampleRate) override { player_->start(sampleRate); }
    void setParameter(VstInt32 index, float value) override { player_->setParameter(index, value); }
    void process(const pluginhost::BlockTime& time, const float* inLeft, const float* inRight, float* outLeft,
                 float* outRight, std::int32_t frames) override {
        player_->process(platforms::onBeatTimeGrid(time), inLeft, inRight, outLeft, outRight, frames);
    }

private:
    std::unique_ptr<platforms::ScenarioPlayer> player_;
};

using claptest::firstDifference;
using claptest::sameBits;

TEST(ClapPair, EveryRenderScenarioPlaysAsInTheVstEditionToTheBit) {
    for (const auto& scenario : platforms::renderScenarios()) {
        OnTheBeatTimeGrid vst(platforms::vstScenarioPlayer(testsupport::slicecastEntry()));
        platforms::ClapScenarioPlayer clap(testsupport::slicecastClapLibrary());
        const auto expected = platforms::renderScenario(scenario, vst);
        const auto got = platforms::renderScenario(scenario, clap);
        EXPECT_TRUE(sameBits(expected, got)) << scenario.name << ": " << firstDifference(expected, got);
    }
}

constexpr double kRate = 48000.0;
constexpr double kTempo = 127.5;

clap::EventTransport transportAt(double position, double tempo) { return claphost::playingTransport(position, tempo); }

struct CutCase {
    const char* name;
    // Changes placed into the block of 4000 frames that holds the first
    // update-period boundary (a quarter note in), 2108 frames in: a piece
    // that played from a wrong position would move the boundary.
    std::vector<ParameterChange> parameters;
    std::vector<TransportChange> transports;
};

std::vector<ScriptedBlock> cutScript(const CutCase& cut) {
    auto script = claptest::rollingBlocks({4096, 4096, 4096, 4096, 4096, 4000, 4096, 4096, 4096, 4096, 4096, 4096},
                                          kRate, kTempo, 0.0);
    script[0].parameters = {{0, 1, 4.0}};
    script[5].parameters = cut.parameters;
    script[5].transports = cut.transports;
    return script;
}

TEST(ClapPair, EventsInsideABlockPlayAsAVstBlockCutWhereTheyFall) {
    const std::vector<CutCase> cases{
        {"slice length at frame 100", {{100, 0, 11.0}}, {}},
        {"update period at frame 0", {{0, 1, 2.0}}, {}},
        {"three parameters at one frame", {{700, 2, 20.0}, {700, 3, 80.0}, {700, 5, 40.0}}, {}},
        {"mix at the last frame", {{1499, 5, 0.0}}, {}},
        {"a change at every tenth frame",
         [] {
             std::vector<ParameterChange> changes;
             for (std::uint32_t frame = 0; frame < 1500; frame += 10)
                 changes.push_back({frame, static_cast<clap::Id>(frame / 10 % 6), static_cast<double>(frame % 12)});
             return changes;
         }(),
         {}},
        {"a jump of the transport at frame 640", {}, {{640, transportAt(33.75, kTempo)}}},
        {"a new tempo at frame 1", {}, {{1, transportAt(16.5, 61.0)}}},
        {"a transport without position at frame 900",
         {},
         {{900, [] {
               clap::EventTransport transport = transportAt(0.0, 90.0);
               transport.flags &= ~clap::kTransportHasBeatsTimeline;
               return transport;
           }()}}},
        {"a parameter, then the transport, then a parameter",
         {{200, 0, 2.0}, {1200, 4, 30.0}},
         {{600, transportAt(40.0, 150.0)}}},
    };
    const auto input = testsupport::noise(claptest::framesOf(cutScript(cases[0])), 5);
    const auto withoutChanges = claptest::playThroughClap(kRate, cutScript({"none", {}, {}}), input);
    for (const CutCase& cut : cases) {
        const auto script = cutScript(cut);
        const auto expected = claptest::playThroughVst(kRate, script, input);
        const auto got = claptest::playThroughClap(kRate, script, input);
        EXPECT_TRUE(sameBits(expected, got)) << cut.name << ": " << firstDifference(expected, got);
        EXPECT_FALSE(sameBits(withoutChanges, got)) << cut.name << ": the changes were not heard";
    }
}

TEST(ClapPair, InPlaceProcessingPlaysAsSeparateBuffers) {
    CutCase cut{"", {{300, 0, 9.0}, {301, 5, 50.0}}, {{800, transportAt(9.0, kTempo)}}};
    const auto script = cutScript(cut);
    const auto input = testsupport::noise(claptest::framesOf(script), 6);
    EXPECT_TRUE(sameBits(claptest::playThroughClap(kRate, script, input, false),
                         claptest::playThroughClap(kRate, script, input, true)));
}

// What CLAP's transport means to the effect, case by case: each row alters
// the record a CLAP host sends and gives the VST 2.4 record the effect must
// hear instead of the unaltered one.
struct TimeCase {
    const char* name;
    void (*alter)(clap::EventTransport& transport);
    claptest::TimeRule heard;
};

std::optional<VstTimeInfo> positionAndTempo(const clap::EventTransport* transport) {
    return claptest::vstTimeOf(transport);
}

std::optional<VstTimeInfo> tempoOnly(const clap::EventTransport* transport) {
    auto time = claptest::vstTimeOf(transport);
    time->flags &= ~kVstPpqPosValid;
    return time;
}

std::optional<VstTimeInfo> positionAtDefaultTempo(const clap::EventTransport* transport) {
    auto time = claptest::vstTimeOf(transport);
    time->tempo = 120.0;
    return time;
}

std::optional<VstTimeInfo> positionOnly(const clap::EventTransport* transport) {
    auto time = claptest::vstTimeOf(transport);
    time->flags &= ~kVstTempoValid;
    return time;
}

std::optional<VstTimeInfo> nothing(const clap::EventTransport*) { return std::nullopt; }

std::optional<VstTimeInfo> emptyRecord(const clap::EventTransport*) { return VstTimeInfo{}; }

TEST(ClapTime, EachTransportIsHeardAsTheVstRecordItStandsFor) {
    const std::vector<TimeCase> cases{
        {"a playing 4/4 transport", [](clap::EventTransport&) {}, &positionAndTempo},
        {"bars counted from 1, 6/8, a bar start",
         [](clap::EventTransport& t) {
             t.barNumber = 1 + static_cast<std::int32_t>(t.songPosBeats >> 33);
             t.barStart = t.songPosBeats - 7;
             t.tsigNum = 6;
             t.tsigDenom = 8;
         },
         &positionAndTempo},
        {"stopped, recording, in a loop, with tempo_inc",
         [](clap::EventTransport& t) {
             t.flags = (t.flags & ~clap::kTransportIsPlaying) | clap::kTransportIsRecording |
                       clap::kTransportIsLoopActive | clap::kTransportIsWithinPreRoll;
             t.loopStartBeats = 0;
             t.loopEndBeats = claphost::beatTimeOf(2.0);
             t.tempoInc = 0.25;
         },
         &positionAndTempo},
        {"no beats timeline (seconds only)",
         [](clap::EventTransport& t) { t.flags &= ~clap::kTransportHasBeatsTimeline; }, &tempoOnly},
        {"no tempo flag", [](clap::EventTransport& t) { t.flags &= ~clap::kTransportHasTempo; }, &positionOnly},
        {"tempo 0", [](clap::EventTransport& t) { t.tempo = 0.0; }, &positionAtDefaultTempo},
        {"negative tempo", [](clap::EventTransport& t) { t.tempo = -130.0; }, &positionAtDefaultTempo},
        {"infinite tempo", [](clap::EventTransport& t) { t.tempo = std::numeric_limits<double>::infinity(); },
         &positionAtDefaultTempo},
        {"NaN tempo", [](clap::EventTransport& t) { t.tempo = std::numeric_limits<double>::quiet_NaN(); },
         &positionAtDefaultTempo},
        {"all zero, as a host's first block", [](clap::EventTransport& t) { t = clap::EventTransport{}; },
         &emptyRecord},
        {"a null record", nullptr, &nothing},
    };
    const auto nominal = claptest::rollingBlocks({1024, 1024, 700, 3000, 4096, 4096, 512, 4096}, kRate, 97.0, 2.5);
    const auto input = testsupport::noise(claptest::framesOf(nominal), 8);
    for (const TimeCase& row : cases) {
        auto script = nominal;
        for (ScriptedBlock& block : script) {
            if (row.alter == nullptr)
                block.transport.reset();
            else
                row.alter(*block.transport);
        }
        const auto expected = claptest::playThroughVst(kRate, nominal, input, row.heard);
        const auto got = claptest::playThroughClap(kRate, script, input);
        EXPECT_TRUE(sameBits(expected, got)) << row.name << ": " << firstDifference(expected, got);
    }
}

TEST(ClapTime, PositionsFarFromZeroAreReadInFixedPoint) {
    // Positions where a double holds more bits than the fixed point: the
    // effect must hear song_pos_beats / 2^31, nothing finer.
    const std::vector<double> starts{-3.999999999, 1e6 + 1.0 / 3.0, -2.5e8, 4.0e9 + 0.123456789};
    for (const double start : starts) {
        const auto script = claptest::rollingBlocks({4096, 4096, 4096}, kRate, 100.0, start);
        const auto input = testsupport::noise(claptest::framesOf(script), 9);
        const auto expected = claptest::playThroughVst(kRate, script, input);
        const auto got = claptest::playThroughClap(kRate, script, input);
        EXPECT_TRUE(sameBits(expected, got)) << start << ": " << firstDifference(expected, got);
    }
}

}  // namespace
