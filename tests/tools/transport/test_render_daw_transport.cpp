// The tool plays as a DAW's transport does: tempo maps, loops, count-ins,
// automation, varying blocks and hosts without a position. Each case is
// checked three ways: the block list the tool writes (--blocks-out)
// against one worked out by hand, the recorder effect's log against that
// list (the effect got what the list says), and the output against the
// input at the frames the list says (the input follows the transport).
//
// At 8192 Hz and 120 BPM a quarter note is 4096 frames, so every position
// below is an exact binary fraction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "block_list.h"
#include "random_blocks.h"
#include "scripted_playback.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"
#include "vst_effect.h"

namespace tooltest {

using testsupport::readSound;
using testsupport::Sound;
namespace {

constexpr int kRate = 8192;
constexpr double kQuarter = 4096.0;
constexpr std::int32_t kRolling = kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying;
constexpr std::int32_t kStopped = kVstPpqPosValid | kVstTempoValid;
constexpr std::int64_t kCountIn = -1;

struct DawRender {
    ToolRun run;
    std::vector<BlockRow> rows;
    std::vector<RecordedCall> calls;
    Sound input;
    Sound output;
};

// Plays a ramp (left i + 1, right -(i + 1): every sample tells its frame)
// through the recorder.
DawRender renderThroughRecorder(std::size_t frames, const std::vector<std::string>& options) {
    const ScratchFolder folder;
    DawRender render;
    render.input = testsupport::stereoSound(testsupport::ramp(frames), kRate);
    testsupport::writeSound(folder.file("in.wav"), render.input);
    setenv("FIXTURE_RECORDER_LOG", folder.file("calls.log").c_str(), 1);
    std::vector<std::string> args{"render",
                                  "--plugin",
                                  FIXTURE_RECORDER_PATH,
                                  folder.file("in.wav"),
                                  folder.file("out.wav"),
                                  "--blocks-out",
                                  folder.file("blocks.csv")};
    args.insert(args.end(), options.begin(), options.end());
    render.run = runTool(args);
    unsetenv("FIXTURE_RECORDER_LOG");
    if (render.run.status != 0) return render;
    render.rows = readBlockList(folder.file("blocks.csv"));
    render.calls = readRecorderLog(folder.file("calls.log"));
    render.output = readSound(folder.file("out.wav"));
    return render;
}

// The recorder received, call for call, what the block list says.
void expectEffectGotTheList(const DawRender& render) {
    ASSERT_EQ(render.calls.size(), render.rows.size());
    float parameters[2] = {};
    for (std::size_t i = 0; i < render.rows.size(); ++i) {
        const BlockRow& row = render.rows[i];
        const RecordedCall& call = render.calls[i];
        for (const auto& [index, value] : parametersOf(row)) parameters[index] = value;
        ASSERT_TRUE(call.position.has_value()) << "call " << i;
        EXPECT_EQ(call.frames, row.frames) << "call " << i;
        EXPECT_EQ(*call.position, row.position) << "call " << i;
        EXPECT_EQ(call.tempo, row.tempo) << "call " << i;
        EXPECT_EQ(call.flags, row.flags) << "call " << i;
        EXPECT_EQ(call.sampleRate, row.sampleRate) << "call " << i;
        // Count-ins come first and keep the transport still; rolling, it
        // counts the frames played.
        EXPECT_EQ(call.samplePosition, row.outputFrame == kCountIn ? 0.0 : static_cast<double>(row.outputFrame))
            << "call " << i;
        EXPECT_EQ(call.level, parameters[0]) << "call " << i;
        EXPECT_EQ(call.steps, parameters[1]) << "call " << i;
    }
}

// The output is the input (the recorder passes it through) at the frames
// the list gives; count-in calls are not written.
void expectOutputFollowsTheList(const DawRender& render) {
    std::size_t written = 0;
    for (const BlockRow& row : render.rows) {
        if (row.outputFrame == kCountIn) {
            EXPECT_EQ(row.inputFrame, kCountIn);
            EXPECT_EQ(row.flags & kVstTransportPlaying, 0);
            continue;
        }
        ASSERT_EQ(row.outputFrame, static_cast<std::int64_t>(written));
        for (std::int32_t k = 0; k < row.frames; ++k) {
            const auto in = static_cast<std::size_t>(row.inputFrame + k);
            ASSERT_EQ(render.output.channels[0].at(written), render.input.channels[0].at(in)) << "output " << written;
            ASSERT_EQ(render.output.channels[1].at(written), render.input.channels[1].at(in)) << "output " << written;
            ++written;
        }
    }
    EXPECT_EQ(render.output.frames(), written);
}

struct TransportCase {
    const char* name;
    std::size_t frames;
    std::vector<std::string> options;
    std::vector<BlockRow> expected;
};

void PrintTo(const TransportCase& test, std::ostream* out) { *out << test.name; }

class DawTransport : public testing::TestWithParam<TransportCase> {};

TEST_P(DawTransport, PlaysTheHandWorkedBlocks) {
    const DawRender render = renderThroughRecorder(GetParam().frames, GetParam().options);
    ASSERT_EQ(render.run.status, 0) << render.run.err;
    EXPECT_EQ(render.rows, GetParam().expected);
    expectEffectGotTheList(render);
    expectOutputFollowsTheList(render);
}

// A row rolling at tempo 120 with no parameters set.
BlockRow at(std::int32_t frames, double position, std::int64_t input, std::int64_t output,
            std::string parameters = "") {
    return {frames, position, 120.0, kRolling, kRate, std::move(parameters), input, output};
}

BlockRow withTempo(BlockRow row, double tempo) {
    row.tempo = tempo;
    return row;
}

BlockRow countIn(std::int32_t frames, double position, std::string parameters = "") {
    return {frames, position, 120.0, kStopped, kRate, std::move(parameters), kCountIn, kCountIn};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DawTransport,
    testing::Values(
        // Changes take effect at the first block starting at or after them:
        // 1.1 at the block starting at 1.25, 2.5 at the one at 2.75.
        TransportCase{
            "TempoMap",
            10240,
            {"--tempo", "120,1.1:240,2.5:60", "--block", "1024"},
            {at(1024, 0.0, 0, 0), at(1024, 0.25, 1024, 1024), at(1024, 0.5, 2048, 2048), at(1024, 0.75, 3072, 3072),
             at(1024, 1.0, 4096, 4096), withTempo(at(1024, 1.25, 5120, 5120), 240.0),
             withTempo(at(1024, 1.75, 6144, 6144), 240.0), withTempo(at(1024, 2.25, 7168, 7168), 240.0),
             withTempo(at(1024, 2.75, 8192, 8192), 60.0), withTempo(at(1024, 2.875, 9216, 9216), 60.0)}},
        // The block reaching 2 is cut there; its rest plays from 1, and
        // the input from the frame at 1.
        TransportCase{"LoopCutsTheBlockAtItsEnd",
                      10000,
                      {"--block", "3000", "--loop", "1:2"},
                      {at(3000, 0.0, 0, 0), at(3000, 3000 / kQuarter, 3000, 3000),
                       at(2192, 6000 / kQuarter, 6000, 6000), at(808, 1.0, 4096, 8192),
                       at(3000, 1.0 + 808 / kQuarter, 4904, 9000), at(2096, 1.0 + 3808 / kQuarter, 7904, 12000)}},
        TransportCase{"LoopEndOnABlockBoundary",
                      12288,
                      {"--block", "4096", "--loop", "1:2", "--loop-count", "2"},
                      {at(4096, 0.0, 0, 0), at(4096, 1.0, 4096, 4096), at(4096, 1.0, 4096, 8192),
                       at(4096, 1.0, 4096, 12288), at(4096, 2.0, 8192, 16384)}},
        TransportCase{"LoopStartingWithTheRender",
                      6000,
                      {"--block", "2500", "--start", "3", "--loop", "3:4"},
                      {at(2500, 3.0, 0, 0), at(1596, 3.0 + 2500 / kQuarter, 2500, 2500), at(904, 3.0, 0, 4096),
                       at(2500, 3.0 + 904 / kQuarter, 904, 5000), at(2500, 3.0 + 3404 / kQuarter, 3404, 7500),
                       at(96, 3.0 + 5904 / kQuarter, 5904, 10000)}},
        TransportCase{"CountIn",
                      5000,
                      {"--block", "2048", "--count-in", "2", "--start", "3"},
                      {countIn(2048, 3.0), countIn(2048, 3.0), at(2048, 3.0, 0, 0), at(2048, 3.5, 2048, 2048),
                       at(904, 4.0, 4096, 4096)}},
        // Settings go first, then the automation's values at each block's
        // start: Level in a straight line, Steps (a stepped parameter)
        // holding each point's value until the next.
        TransportCase{
            "Automation",
            6 * 4096,
            {"--block", "4096", "--set", "Steps=0.75", "--automate", "Level=0:0,4:1", "--automate", "Steps=1:0.25,3:1"},
            {at(4096, 0.0, 0, 0, "1=0.75 0=0 1=0.25"), at(4096, 1.0, 4096, 4096, "0=0.25"),
             at(4096, 2.0, 8192, 8192, "0=0.5"), at(4096, 3.0, 12288, 12288, "0=0.75 1=1"),
             at(4096, 4.0, 16384, 16384, "0=1"), at(4096, 5.0, 20480, 20480)}},
        // Count-in blocks get the values at the start; after a jump the
        // values at the loop's start come back.
        TransportCase{"AutomationThroughCountInAndLoop",
                      3 * 4096,
                      {"--block", "4096", "--count-in", "1", "--loop", "1:2", "--automate", "Level=0:0,2:1"},
                      {countIn(4096, 0.0, "0=0"), at(4096, 0.0, 0, 0), at(4096, 1.0, 4096, 4096, "0=0.5"),
                       at(4096, 1.0, 4096, 8192), at(4096, 2.0, 8192, 12288, "0=1")}}),
    [](const testing::TestParamInfo<TransportCase>& info) { return std::string(info.param.name); });

// Offline editors give tempo and the playing flag but never a position.
TEST(DawTransport, NoPositionClearsOnlyThePositionFlag) {
    const DawRender render = renderThroughRecorder(3000, {"--block", "1000", "--no-position", "--count-in", "1"});
    ASSERT_EQ(render.run.status, 0) << render.run.err;
    ASSERT_EQ(render.rows.size(), 4u);
    EXPECT_EQ(render.rows[0].flags, kVstTempoValid);
    for (std::size_t i = 1; i < render.rows.size(); ++i) {
        EXPECT_EQ(render.rows[i].flags, kVstTempoValid | kVstTransportPlaying) << "block " << i;
        EXPECT_EQ(render.rows[i].frames, 1000) << "block " << i;
    }
    expectEffectGotTheList(render);
    expectOutputFollowsTheList(render);
}

// Seeded varying blocks: within the range (a cut at the loop's end aside),
// the same for the same seed, different for another, and played through a
// count-in and a loop like any others.
TEST(DawTransport, RandomBlocks) {
    const std::vector<std::string> options{"--block", "random:1-700:42", "--count-in", "3", "--loop", "1:2"};
    const DawRender render = renderThroughRecorder(20000, options);
    ASSERT_EQ(render.run.status, 0) << render.run.err;
    std::size_t cuts = 0;
    std::int64_t written = 0;
    for (std::size_t i = 0; i < render.rows.size(); ++i) {
        const BlockRow& row = render.rows[i];
        EXPECT_GE(row.frames, 1);
        EXPECT_LE(row.frames, 700);
        const bool afterJump = row.position == 1.0 && i > 0 && render.rows[i - 1].position > 1.0;
        cuts += afterJump ? 1 : 0;
        if (i > 3 && !afterJump) {
            EXPECT_EQ(row.position, render.rows[i - 1].position + render.rows[i - 1].frames / kQuarter)
                << "block " << i;
        }
        written += row.outputFrame == kCountIn ? 0 : row.frames;
    }
    EXPECT_EQ(cuts, 1u);
    EXPECT_EQ(written, 20000 + 4096);
    expectEffectGotTheList(render);
    expectOutputFollowsTheList(render);

    std::vector<std::int32_t> lengths;
    for (const BlockRow& row : render.rows) lengths.push_back(row.frames);
    const auto lengthsOf = [](const std::vector<std::string>& blockOption) {
        std::vector<std::int32_t> played;
        for (const BlockRow& row : renderThroughRecorder(20000, blockOption).rows) played.push_back(row.frames);
        return played;
    };
    std::vector<std::string> again = options;
    EXPECT_EQ(lengthsOf(again), lengths);
    again[1] = "random:1-700:43";
    EXPECT_NE(lengthsOf(again), lengths);
}

// Slicecast through everything at once, from a file long enough to be
// read and written in several pieces: the tool's sound and block list are
// what the host library makes of the same script in memory. Value texts
// are resolved as --set resolves them, and WaveLength steps.
TEST(DawTransport, SlicecastMatchesTheLibrary) {
    constexpr int kSlicecastRate = 44100;
    const ScratchFolder folder;
    const vsthost::StereoBuffer input = testsupport::noise(5 * kSlicecastRate, 5);
    testsupport::writeSound(folder.file("in.wav"), testsupport::stereoSound(input, kSlicecastRate));
    const ToolRun run = runTool({"render",
                                 folder.file("in.wav"),
                                 folder.file("out.wav"),
                                 "--blocks-out",
                                 folder.file("blocks.csv"),
                                 "--tempo",
                                 "128,4:96",
                                 "--start=-1",
                                 "--loop",
                                 "2:6",
                                 "--loop-count",
                                 "2",
                                 "--count-in",
                                 "3",
                                 "--block",
                                 "random:64-3000:9",
                                 "--set",
                                 "Mix=0.8",
                                 "--automate",
                                 "Rate=0:20,8:90",
                                 "--automate",
                                 "WaveLength=0:1/16,4:1/4"});
    ASSERT_EQ(run.status, 0) << run.err;

    vsthost::PlaybackScript script;
    script.tempo = vsthost::TempoMap(128.0, {{4.0, 96.0}});
    script.start = -1.0;
    script.loop = vsthost::LoopRange{2.0, 6.0, 2};
    script.countInBlocks = 3;
    script.settings = {{5, 0.8f}};
    script.automation = {{2, false, {{0.0, 0.2f}, {8.0, 0.9f}}}, {0, true, {{0.0, 0.6364f}, {4.0, 0.2728f}}}};
    vsthost::VstEffect effect(testsupport::slicecastPath());
    effect.activate(kSlicecastRate, 3000);
    vsthost::Transport transport(kSlicecastRate, 128.0, -1.0);
    vsthost::StereoBuffer expected;
    const std::vector<vsthost::PlayedBlock> played =
        vsthost::playScript(effect, transport, script, vsthost::randomBlocks(64, 3000, 9), input, expected);

    const Sound rendered = readSound(folder.file("out.wav"));
    ASSERT_EQ(rendered.frames(), expected.frames());
    EXPECT_GT(expected.frames(), input.frames());
    EXPECT_TRUE(rendered.channels[0] == expected.left);
    EXPECT_TRUE(rendered.channels[1] == expected.right);

    const std::vector<BlockRow> rows = readBlockList(folder.file("blocks.csv"));
    ASSERT_EQ(rows.size(), played.size());
    std::set<float> waveLengths;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].frames, played[i].frames) << "block " << i;
        const VstTimeInfo record = vsthost::timeRecordOf(played[i].time);
        EXPECT_EQ(rows[i].position, record.ppqPos) << "block " << i;
        EXPECT_EQ(rows[i].tempo, record.tempo) << "block " << i;
        EXPECT_EQ(rows[i].flags, record.flags) << "block " << i;
        EXPECT_EQ(rows[i].inputFrame, played[i].inputFrame) << "block " << i;
        EXPECT_EQ(rows[i].outputFrame, played[i].outputFrame) << "block " << i;
        const auto parameters = parametersOf(rows[i]);
        EXPECT_TRUE(std::equal(parameters.begin(), parameters.end(), played[i].parametersSet.begin(),
                               played[i].parametersSet.end()))
            << "block " << i;
        for (const auto& [index, value] : parameters) {
            if (index == 0) waveLengths.insert(value);
        }
    }
    EXPECT_EQ(waveLengths, (std::set<float>{0.6364f, 0.2728f}));
}

}  // namespace
}  // namespace tooltest
