// What `render` writes: the container its output's extension names, in the
// encoding asked for or the best the container holds; and many files at
// once into a folder, each exactly as it comes out when rendered alone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "report_text.h"
#include "formats/editions.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"

namespace tooltest {

using testsupport::readSound;
using testsupport::Sound;
using testsupport::stereoSound;
using testsupport::writeSound;

namespace {

constexpr int kRunFailed = 1;
constexpr int kSampleRate = 44100;
constexpr std::size_t kFrames = 20000;

struct ContainerCase {
    const char* output;
    // --format, or empty for the default.
    const char* encoding;
    int expectedFormat;
    // Root-mean-square difference from the 32-bit float render: 0 for
    // float, a step of the encoding for integers, more for a lossy codec.
    double tolerance;
};

void PrintTo(const ContainerCase& test, std::ostream* out) { *out << test.output << " " << test.encoding; }

class OutputContainer : public testing::TestWithParam<ContainerCase> {};

// A tone, which a lossy codec keeps close.
pluginhost::StereoBuffer tone() {
    pluginhost::StereoBuffer buffer(kFrames);
    for (std::size_t frame = 0; frame < kFrames; ++frame) {
        buffer.left[frame] = 0.5f * static_cast<float>(std::sin(0.05 * static_cast<double>(frame)));
        buffer.right[frame] = 0.5f * static_cast<float>(std::cos(0.03 * static_cast<double>(frame)));
    }
    return buffer;
}

TEST_P(OutputContainer, ReadsBackInItsEncoding) {
    const ContainerCase& test = GetParam();
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), stereoSound(tone(), kSampleRate));
    std::vector<std::string> args{"render", folder.file("in.wav"), folder.file("reference.wav"), "--quiet"};
    ASSERT_EQ(runTool(args).status, 0);
    args[2] = folder.file(test.output);
    if (*test.encoding != '\0') args.insert(args.end(), {"--format", test.encoding});
    const ToolRun run = runTool(args);
    ASSERT_EQ(run.status, 0) << run.err;

    const Sound reference = readSound(folder.file("reference.wav"));
    const Sound written = readSound(folder.file(test.output));
    EXPECT_EQ(written.format, test.expectedFormat) << std::hex << written.format;
    EXPECT_EQ(written.sampleRate, kSampleRate);
    ASSERT_EQ(written.channels.size(), 2u);
    ASSERT_EQ(written.frames(), kFrames);
    double squares = 0.0;
    for (std::size_t channel = 0; channel < 2; ++channel) {
        for (std::size_t frame = 0; frame < kFrames; ++frame) {
            const double difference = written.channels[channel][frame] - reference.channels[channel][frame];
            squares += difference * difference;
        }
    }
    const double rms = std::sqrt(squares / (2.0 * kFrames));
    EXPECT_LE(rms, test.tolerance);
}

constexpr double kPcm16Step = 1.0 / 32768.0;
constexpr double kPcm24Step = 1.0 / 8388608.0;
constexpr double kLossy = 0.02;

INSTANTIATE_TEST_SUITE_P(
    Extensions, OutputContainer,
    testing::Values(ContainerCase{"out.wav", "", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0.0},
                    ContainerCase{"out.flac", "", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, kPcm24Step},
                    ContainerCase{"out.ogg", "", SF_FORMAT_OGG | SF_FORMAT_VORBIS, kLossy},
                    ContainerCase{"out.aiff", "", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 0.0},
                    ContainerCase{"out.aif", "", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 0.0},
                    ContainerCase{"out.caf", "", SF_FORMAT_CAF | SF_FORMAT_FLOAT, 0.0},
                    ContainerCase{"out.w64", "", SF_FORMAT_W64 | SF_FORMAT_FLOAT, 0.0},
                    ContainerCase{"OUT.FLAC", "", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, kPcm24Step},
                    ContainerCase{"out.flac", "pcm16", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, kPcm16Step},
                    ContainerCase{"out.wav", "pcm24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, kPcm24Step},
                    ContainerCase{"out.aiff", "pcm16", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, kPcm16Step},
                    ContainerCase{"out.caf", "double", SF_FORMAT_CAF | SF_FORMAT_DOUBLE, 0.0},
                    ContainerCase{"out.w64", "pcm32", SF_FORMAT_W64 | SF_FORMAT_PCM_32, kPcm24Step}),
    [](const auto& info) {
        std::string name = std::string(info.param.output) + "_" + info.param.encoding;
        for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name + std::to_string(info.index);
    });

// The same input through the tool alone and in a batch, with the plug-in
// options given.
Sound renderedAlone(const ScratchFolder& folder, const std::string& input, const std::string& output,
                    const std::vector<std::string>& plugin = {}) {
    std::vector<std::string> args{"render", input, folder.file(output), "--quiet", "--set", "WaveLength=1/16",
                                  "--set", "UpdatePeriod=1/4", "--tempo", "133"};
    args.insert(args.end(), plugin.begin(), plugin.end());
    const ToolRun run = runTool(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return readSound(folder.file(output));
}

void expectSame(const Sound& batch, const Sound& alone, const std::string& name) {
    EXPECT_EQ(batch.format, alone.format) << name;
    EXPECT_TRUE(batch.channels == alone.channels) << name << " differs from its render alone";
}

class BatchRender : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder.file("loops"));
        writeSound(folder.file("loops/a.wav"), stereoSound(testsupport::noise(70001, 1), kSampleRate));
        writeSound(folder.file("loops/b.wav"), stereoSound(testsupport::noise(3000, 2), 48000));
        Sound mono{32000, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {testsupport::noise(50000, 4).left}};
        writeSound(folder.file("loops/c.flac"), mono);
    }

    ToolRun renderBatch(std::vector<std::string> inputs, const std::vector<std::string>& options) {
        inputs.insert(inputs.begin(), "render");
        inputs.insert(inputs.end(), {"--out-dir", folder.file("out/stutters"), "--set", "WaveLength=1/16", "--set",
                                     "UpdatePeriod=1/4", "--tempo", "133"});
        inputs.insert(inputs.end(), options.begin(), options.end());
        inputs.insert(inputs.end(), plugin.begin(), plugin.end());
        return runTool(inputs);
    }

    // The plug-in options of every render (none: the VST 2.4 edition).
    std::vector<std::string> plugin;

    ScratchFolder folder;
};

// Every edition, each file with its own instance, some at the same time.
class BatchRenderInEachEdition : public BatchRender, public testing::WithParamInterface<std::vector<std::string>> {
protected:
    void SetUp() override {
        BatchRender::SetUp();
        plugin = GetParam();
    }
};

TEST_P(BatchRenderInEachEdition, EachOutputAsRenderedAlone) {
    for (const char* jobs : {"1", "3"}) {
        std::filesystem::remove_all(folder.file("out"));
        const ToolRun run = renderBatch({folder.file("loops")}, {"--jobs", jobs});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_THAT(run.out, testing::StartsWith("Rendered 3 of 3 files into " + folder.file("out/stutters")));
        EXPECT_EQ(ScratchFolder::entriesOf(folder.file("out/stutters")),
                  (std::vector<std::string>{"a.wav", "b.wav", "c.flac"}));
        for (const std::string name : {"a.wav", "b.wav", "c.flac"}) {
            expectSame(readSound(folder.file("out/stutters/" + name)),
                       renderedAlone(folder, folder.file("loops/" + name), "alone-" + name, plugin), name);
        }
    }
}

std::vector<std::string> editionNames() { return {"Vst", "Lv2", "Clap", "Vst3"}; }

INSTANTIATE_TEST_SUITE_P(Editions, BatchRenderInEachEdition,
                         testing::Values(std::vector<std::string>{},
                                         std::vector<std::string>{"--plugin", kLv2Edition.plugin},
                                         std::vector<std::string>{"--plugin", kClapEdition.plugin},
                                         std::vector<std::string>{"--plugin", kVst3Edition.plugin}),
                         [](const auto& info) { return editionNames()[info.index]; });

TEST_F(BatchRender, ExtensionChoosesEveryOutputsFormat) {
    const ToolRun run = renderBatch({folder.file("loops/a.wav"), folder.file("loops/c.flac")}, {"--ext", "w64"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ScratchFolder::entriesOf(folder.file("out/stutters")), (std::vector<std::string>{"a.w64", "c.w64"}));
    for (const std::string stem : {"a", "c"}) {
        const Sound written = readSound(folder.file("out/stutters/" + stem + ".w64"));
        EXPECT_EQ(written.format, SF_FORMAT_W64 | SF_FORMAT_FLOAT);
        const std::string input = folder.file(stem == "a" ? "loops/a.wav" : "loops/c.flac");
        EXPECT_TRUE(written.channels == renderedAlone(folder, input, stem + ".wav").channels) << stem;
    }
}

// A file that cannot be rendered is reported on its own line; the others
// are written all the same, and the exit status tells that one failed.
TEST_F(BatchRender, FailuresDoNotStopTheOthers) {
    std::ofstream(folder.file("loops/broken.wav")) << "not a sound";
    writeSound(folder.file("loops/three.wav"), Sound{kSampleRate, 0, {{0.0}, {0.0}, {0.0}}});
    const ToolRun run = renderBatch({folder.file("loops")}, {"--jobs", "2"});
    EXPECT_EQ(run.status, kRunFailed);
    EXPECT_THAT(lines(run.err),
                testing::ElementsAre(testing::MatchesRegex("slicecast: error: .*/loops/broken.wav: cannot read .*"),
                                     testing::MatchesRegex("slicecast: error: .*/loops/three.wav: .*3 channels.*")));
    EXPECT_THAT(run.out, testing::StartsWith("Rendered 3 of 5 files"));
    EXPECT_EQ(ScratchFolder::entriesOf(folder.file("out/stutters")),
              (std::vector<std::string>{"a.wav", "b.wav", "c.flac"}));
}

}  // namespace
}  // namespace tooltest
