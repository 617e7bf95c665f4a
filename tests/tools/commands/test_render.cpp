// `slicecast render` gives, sample for sample, what the host library gives
// when it drives the effect directly with the same input, tempo, start,
// block sequence and parameters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <utility>

#include "playback.h"
#include "report_text.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"

namespace tooltest {

using testsupport::Sound;
using testsupport::writeSound;
using testsupport::readSound;
using testsupport::stereoSound;
namespace {

struct RenderCase {
    Playback playback;
    // --set options, and what they mean as (index, value).
    std::vector<std::string> settings;
    std::vector<std::pair<VstInt32, float>> parameters;
};

void PrintTo(const RenderCase& test, std::ostream* out) { PrintTo(test.playback, out); }

pluginhost::StereoBuffer renderDirectly(const Playback& playback,
                                     const std::vector<std::pair<VstInt32, float>>& parameters,
                                     const pluginhost::StereoBuffer& input) {
    testsupport::SlicecastSession session(playback.sampleRate, playback.tempo, playback.start, playback.blockSize);
    for (const auto& [index, value] : parameters) session.plugin->setParameter(index, value);
    return session.render(input, playback.blockSize);
}

void expectSameSound(const pluginhost::StereoBuffer& expected, const Sound& rendered) {
    ASSERT_EQ(rendered.channels.size(), 2u);
    ASSERT_EQ(rendered.frames(), expected.frames());
    EXPECT_TRUE(rendered.channels[0] == expected.left);
    EXPECT_TRUE(rendered.channels[1] == expected.right);
}

class RenderMatchesLibrary : public testing::TestWithParam<RenderCase> {};

TEST_P(RenderMatchesLibrary, SampleForSample) {
    const RenderCase& test = GetParam();
    const Playback& playback = test.playback;
    const ScratchFolder folder;
    const pluginhost::StereoBuffer input = testsupport::noise(playback.frames, 7);
    writeSound(folder.file("in.wav"), stereoSound(input, playback.sampleRate));

    std::vector<std::string> args{"render", folder.file("in.wav"), folder.file("out.wav")};
    for (const auto& options : {playbackOptions(playback), test.settings}) {
        args.insert(args.end(), options.begin(), options.end());
    }
    const ToolRun run = runTool(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");

    const Sound rendered = readSound(folder.file("out.wav"));
    EXPECT_EQ(rendered.sampleRate, playback.sampleRate);
    EXPECT_EQ(rendered.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    expectSameSound(renderDirectly(playback, test.parameters, input), rendered);
    // Nothing but the input and the output is left in the folder.
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenderMatchesLibrary,
    testing::Values(RenderCase{{"Plain", 44100, 3 * 44100 + 123, 512, 120.0, 0.0}, {}, {}},
                    RenderCase{{"OddBlocksAndPreRoll", 48000, 100007, 333, 90.0, -4.0}, {}, {}},
                    RenderCase{{"TinyBlocks", 44100, 4099, 7, 133.0, -0.3}, {}, {}},
                    RenderCase{{"BlocksLargerThanAReadChunk", 44100, 150001, 100000, 120.0, 1.0}, {}, {}},
                    RenderCase{{"ParametersByNameIndexNumberAndText", 44100, 250001, 1000, 174.0, 2.5},
                               {"--set", "wavelength=1/16", "--set", "UPDATEPERIOD=1/4", "--set", "Rate=70%", "--set",
                                "3=0.25", "--set", "DecayRate=0.8", "--set", "mix=90"},
                               {{0, 0.6364f}, {1, 1.0f}, {2, 0.7f}, {3, 0.25f}, {4, 0.8f}, {5, 0.9f}}},
                    RenderCase{
                        {"LaterSettingsWin", 22050, 30000, 256, 60.0, 0.0},
                        {"--set", "Mix=0.2", "--set", "5=50", "--set", "WaveLength=0", "--set", "WaveLength=1/3"},
                        {{5, 0.5f}, {0, 0.1819f}}}),
    [](const testing::TestParamInfo<RenderCase>& info) { return std::string(info.param.playback.name); });

TEST(Render, TellsWhatEachSettingBecame) {
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), stereoSound(testsupport::noise(1000), 44100));
    const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav"), "--set", "wavelength=1/16",
                                 "--set", "rate=70", "--set", "1=1", "--set", "Mix=0.25"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* line :
         {"  WaveLength = 0.6364 (1/16)", "  Rate = 0.7 (70 %)", "  UpdatePeriod = 1 (1/4)", "  Mix = 0.25 (25 %)"}) {
        EXPECT_TRUE(hasLine(run.out, line)) << line << " in\n" << run.out;
    }
    EXPECT_THAT(lines(run.out),
                testing::Contains(testing::MatchesRegex("Took [0-9.]+ s, [0-9.]+ times faster than real time")));
}

TEST(Render, QuietPrintsNothing) {
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), stereoSound(testsupport::noise(1000), 44100));
    const ToolRun run =
        runTool({"render", "--quiet", "--set", "Rate=50", folder.file("in.wav"), folder.file("out.wav")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readSound(folder.file("out.wav")).frames(), 1000u);
}

// A mono file feeds both inputs and comes out stereo, as the effect has two
// outputs. It also arrives in a format other than WAV.
TEST(Render, MonoFlacComesOutStereo) {
    const ScratchFolder folder;
    const pluginhost::StereoBuffer noise = testsupport::noise(20000, 3);
    writeSound(folder.file("in.flac"), Sound{44100, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {noise.left}});
    const ToolRun run = runTool({"render", folder.file("in.flac"), folder.file("out.wav"), "--block", "300"});
    ASSERT_EQ(run.status, 0) << run.err;

    const Sound decoded = readSound(folder.file("in.flac"));
    pluginhost::StereoBuffer input;
    input.left = decoded.channels.at(0);
    input.right = decoded.channels.at(0);
    expectSameSound(renderDirectly({"", 44100, 20000, 300, 120.0, 0.0}, {}, input), readSound(folder.file("out.wav")));
}

TEST(Render, FormatSameKeepsTheInputsEncoding) {
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), Sound{32000, SF_FORMAT_WAV | SF_FORMAT_PCM_16, {testsupport::noise(5000).left}});
    for (const auto& [format, expected] :
         {std::pair{"same", SF_FORMAT_WAV | SF_FORMAT_PCM_16}, std::pair{"pcm24", SF_FORMAT_WAV | SF_FORMAT_PCM_24},
          std::pair{"float", SF_FORMAT_WAV | SF_FORMAT_FLOAT}}) {
        const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav"), "--format", format});
        ASSERT_EQ(run.status, 0) << run.err;
        const Sound rendered = readSound(folder.file("out.wav"));
        EXPECT_EQ(rendered.format, expected) << format;
        EXPECT_EQ(rendered.sampleRate, 32000) << format;
        EXPECT_EQ(rendered.channels.size(), 2u) << format;
        EXPECT_EQ(rendered.frames(), 5000u) << format;
    }
}

TEST(Render, ReplacesAnExistingOutput) {
    const ScratchFolder folder;
    const pluginhost::StereoBuffer input = testsupport::noise(3000);
    writeSound(folder.file("in.wav"), stereoSound(input, 44100));
    writeSound(folder.file("out.wav"), stereoSound(testsupport::ramp(10), 8000));
    const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav")});
    ASSERT_EQ(run.status, 0) << run.err;
    expectSameSound(renderDirectly({"", 44100, 3000, 512, 120.0, 0.0}, {}, input), readSound(folder.file("out.wav")));
}

// Any effect library can be given; this one exports its entry point only
// as main, and has one input and one output, so a mono file stays mono.
TEST(Render, MonoEffectFoundThroughMain) {
    const ScratchFolder folder;
    const std::vector<float> input = testsupport::noise(2500).left;
    writeSound(folder.file("in.wav"), Sound{44100, 0, {input}});
    const ToolRun run =
        runTool({"render", "--plugin", FIXTURE_MAIN_ONLY_PATH, folder.file("in.wav"), folder.file("out.wav")});
    ASSERT_EQ(run.status, 0) << run.err;
    const Sound rendered = readSound(folder.file("out.wav"));
    ASSERT_EQ(rendered.channels.size(), 1u);
    ASSERT_EQ(rendered.frames(), input.size());
    for (std::size_t i = 0; i < input.size(); ++i) ASSERT_EQ(rendered.channels[0][i], 0.5f * input[i]) << i;
}

}  // namespace
}  // namespace tooltest
