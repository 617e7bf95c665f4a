// `slicecast info` shows what a host sees of an effect.
#include <gtest/gtest.h>

#include "report_text.h"
#include "tool_process.h"

namespace tooltest {
namespace {

TEST(Info, ShowsSlicecastAsAHostSeesIt) {
    const ToolRun run = runTool({"info"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string plugin = field(run.out, "Plug-in").value_or("");
    EXPECT_TRUE(plugin.starts_with("/") && plugin.ends_with("/slicecast.so")) << plugin;
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"Name", "J'x Slicecast"},
             {"Vendor", "J'x Tiv-nar"},
             {"Product", "J'x Slicecast"},
             {"Unique id", "wjzc (0x776A7A63)"},
             {"Version", "1"},
             {"Inputs", "2"},
             {"Outputs", "2"},
             {"Flags", "effFlagsCanReplacing (0x00000010)"},
             {"Category", "Unknown (0)"},
             {"Programs", "1"},
             {"Parameters", "6"},
         }) {
        EXPECT_EQ(field(run.out, key), value) << key << " in\n" << run.out;
    }
    // Index, name, value read back, display text and label.
    for (const char* line : {
             "  0   WaveLength = 0.45454547 (1/8)",
             "  1   UpdatePeriod = 0.75 (1/2)",
             "  2   Rate = 0.7 (70 %)",
             "  3   FadeOut = 0 (0 %)",
             "  4   DecayRate = 1 (100 %)",
             "  5   Mix = 1 (100 %)",
         }) {
        EXPECT_TRUE(hasLine(run.out, line)) << line << " in\n" << run.out;
    }
}

// Any effect library given: this one has only the main entry point, one
// channel each way and no parameters.
TEST(Info, ShowsAnyEffectGiven) {
    const ToolRun run = runTool({"info", "--plugin", FIXTURE_MAIN_ONLY_PATH});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(field(run.out, "Plug-in"), FIXTURE_MAIN_ONLY_PATH);
    EXPECT_EQ(field(run.out, "Name"), "Half");
    EXPECT_EQ(field(run.out, "Unique id"), "half (0x68616C66)");
    EXPECT_EQ(field(run.out, "Inputs"), "1");
    EXPECT_EQ(field(run.out, "Outputs"), "1");
    EXPECT_EQ(field(run.out, "Parameters"), "0");
}

}  // namespace
}  // namespace tooltest
