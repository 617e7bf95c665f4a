// The tool hosts effects other than Slicecast: a reverb from a Debian
// package (dragonfly-reverb-vst, installed by scripts/install-dependencies.sh).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "report_text.h"
#include "sound_files.h"
#include "tool_process.h"

namespace tooltest {

using testsupport::Sound;
using testsupport::writeSound;
using testsupport::readSound;
namespace {

constexpr const char* kReverb = "/usr/lib/lxvst/DragonflyRoomReverb-vst.so";
constexpr int kRate = 48000;

class ThirdPartyEffect : public testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kReverb)) GTEST_SKIP() << kReverb << " is not installed";
    }
};

TEST_F(ThirdPartyEffect, ShowsItsInfo) {
    const ToolRun run = runTool({"info", "--plugin", kReverb});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(field(run.out, "Name"), "Dragonfly Room Reverb");
    EXPECT_EQ(field(run.out, "Inputs"), "2");
    EXPECT_EQ(field(run.out, "Outputs"), "2");
    EXPECT_EQ(field(run.out, "Category"), "Effect (1)");
    EXPECT_THAT(field(run.out, "Flags").value_or(""), testing::HasSubstr("effFlagsCanReplacing"));
    EXPECT_THAT(lines(run.out), testing::Contains(testing::MatchesRegex("  0   Dry Level = 0\\.8 \\(80\\.0+ %\\)")));
}

// A short burst of noise, then silence: with the dry signal off, what comes
// out after the burst is the reverb's tail.
TEST_F(ThirdPartyEffect, RendersWithSettingsByDisplayText) {
    const ScratchFolder folder;
    const std::size_t burst = kRate / 20;
    const std::size_t frames = 2 * kRate;
    std::vector<float> left(frames, 0.0f);
    std::vector<float> right(frames, 0.0f);
    for (std::size_t i = 0; i < burst; ++i) {
        left[i] = std::sin(static_cast<float>(i) * 0.37f);
        right[i] = std::sin(static_cast<float>(i) * 0.53f);
    }
    writeSound(folder.file("in.wav"), Sound{kRate, 0, {left, right}});
    const ToolRun run = runTool({"render", "--plugin", kReverb, "--set", "dry level=0 %", "--set", "Late Level=100",
                                 "--block", "480", folder.file("in.wav"), folder.file("out.wav")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(lines(run.out), testing::Contains(testing::MatchesRegex("  Dry Level = 0 \\(0\\.0+ %\\)")));
    EXPECT_THAT(lines(run.out), testing::Contains(testing::MatchesRegex("  Late Level = 1 \\(100\\.0+ %\\)")));

    const Sound rendered = readSound(folder.file("out.wav"));
    ASSERT_EQ(rendered.channels.size(), 2u);
    ASSERT_EQ(rendered.frames(), frames);
    double tail = 0.0;
    for (const auto& channel : rendered.channels) {
        for (std::size_t i = 0; i < frames; ++i) {
            ASSERT_TRUE(std::isfinite(channel[i])) << i;
            if (i >= 2 * burst) tail += std::fabs(static_cast<double>(channel[i]));
        }
    }
    EXPECT_GT(tail, 1.0);
}

}  // namespace
}  // namespace tooltest
