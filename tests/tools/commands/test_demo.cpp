// `slicecast demo` writes a dry drum loop and the same loop through
// Slicecast, and tells where they are and which settings it used.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "report_text.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"

namespace tooltest {

using testsupport::Sound;
using testsupport::readSound;
using testsupport::stereoBuffer;
namespace {

constexpr std::size_t kLoopFrames = 4 * 2 * 44100;  // four bars at 120 BPM

// Sets every "  Name = value (display)" line of the report on the plug-in.
std::size_t applyReportedSettings(const std::string& report, vst2host::PluginInstance& plugin) {
    std::size_t applied = 0;
    for (const std::string& line : lines(report)) {
        const auto equals = line.find(" = ");
        if (!line.starts_with("  ") || equals == std::string::npos) continue;
        for (VstInt32 index = 0; index < plugin.effect()->numParams; ++index) {
            if (plugin.parameterName(index) != line.substr(2, equals - 2)) continue;
            plugin.setParameter(index, std::stof(line.substr(equals + 3)));
            ++applied;
        }
    }
    return applied;
}

TEST(Demo, WritesTheLoopDryAndThroughSlicecast) {
    const ScratchFolder folder;
    const std::string out = folder.file("demo");
    const ToolRun run = runTool({"demo", "--out", out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(out + "/dry.wav"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(out + "/slicecast.wav"), std::string::npos) << run.out;

    const Sound dry = readSound(out + "/dry.wav");
    const Sound wet = readSound(out + "/slicecast.wav");
    ASSERT_EQ(dry.channels.size(), 2u);
    EXPECT_EQ(dry.sampleRate, 44100);
    EXPECT_EQ(dry.frames(), kLoopFrames);
    double loudest = 0.0;
    for (const auto& channel : dry.channels) {
        for (float sample : channel) loudest = std::max(loudest, std::fabs(static_cast<double>(sample)));
    }
    EXPECT_GT(loudest, 0.1);
    EXPECT_LT(loudest, 1.0);

    // The wet file is the dry one played through the effect with the
    // settings the report names.
    testsupport::SlicecastSession session(44100.0, 120.0, 0.0, 512);
    EXPECT_EQ(applyReportedSettings(run.out, *session.plugin), 6u) << run.out;
    const pluginhost::StereoBuffer expected = session.render(stereoBuffer(dry), 512);
    ASSERT_EQ(wet.channels.size(), 2u);
    EXPECT_TRUE(wet.channels[0] == expected.left);
    EXPECT_TRUE(wet.channels[1] == expected.right);
    EXPECT_NE(wet.channels, dry.channels);
}

TEST(Demo, WritesBesideTheWorkingFolderByDefault) {
    const ScratchFolder folder;
    const ToolRun run = runTool({"demo", "--quiet"}, folder.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(readSound(folder.file("out/demo/dry.wav")).frames(), kLoopFrames);
    EXPECT_EQ(readSound(folder.file("out/demo/slicecast.wav")).frames(), kLoopFrames);
}

TEST(Demo, FolderThatCannotBeMade) {
    const ScratchFolder folder;
    std::ofstream(folder.file("taken")) << "a file, not a folder";
    const ToolRun run = runTool({"demo", "--out", folder.file("taken/demo")});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, testing::MatchesRegex("slicecast: error: cannot make the folder .*/taken/demo: .*\n"));
}

}  // namespace
}  // namespace tooltest
