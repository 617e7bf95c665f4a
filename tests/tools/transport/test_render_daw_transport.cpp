// The tool plays as a DAW's transport does: tempo maps, loops, count-ins,
// automation, varying blocks and hosts without a position. Each case is
// checked three ways: the block list the tool writes (--blocks-out)
// against one worked out by hand, the recorder effect's log against that
// list (the effect got what the list says), and the output against the
// input at the frames the list says (the input follows the transport).
//
// The table of cases is in daw_transport_cases.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "block_list.h"
#include "daw_transport_cases.h"
#include "random_blocks.h"
#include "scripted_playback.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"
#include "vst_effect.h"
#include "vst_time_record.h"

namespace tooltest {

using testsupport::readSound;
using testsupport::Sound;
namespace {

constexpr int kRate = kDawRate;
constexpr double kQuarter = kDawQuarter;
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

class DawTransport : public testing::TestWithParam<TransportCase> {};

TEST_P(DawTransport, PlaysTheHandWorkedBlocks) {
    const DawRender render = renderThroughRecorder(GetParam().frames, GetParam().options);
    ASSERT_EQ(render.run.status, 0) << render.run.err;
    EXPECT_EQ(render.rows, GetParam().expected);
    expectEffectGotTheList(render);
    expectOutputFollowsTheList(render);
}

INSTANTIATE_TEST_SUITE_P(Cases, DawTransport, testing::ValuesIn(dawTransportCases()),
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
    const pluginhost::StereoBuffer input = testsupport::noise(5 * kSlicecastRate, 5);
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

    pluginhost::PlaybackScript script;
    script.tempo = pluginhost::TempoMap(128.0, {{4.0, 96.0}});
    script.start = -1.0;
    script.loop = pluginhost::LoopRange{2.0, 6.0, 2};
    script.countInBlocks = 3;
    script.settings = {{5, 0.8f}};
    script.automation = {{2, false, {{0.0, 0.2f}, {8.0, 0.9f}}}, {0, true, {{0.0, 0.6364f}, {4.0, 0.2728f}}}};
    pluginhost::VstEffect effect(testsupport::slicecastPath());
    effect.activate(kSlicecastRate, 3000);
    pluginhost::Transport transport(kSlicecastRate, 128.0, -1.0);
    pluginhost::StereoBuffer expected;
    const std::vector<pluginhost::PlayedBlock> played =
        pluginhost::playScript(effect, transport, script, pluginhost::randomBlocks(64, 3000, 9), input, expected);

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
        const VstTimeInfo record = vst2host::timeRecordOf(played[i].time);
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
