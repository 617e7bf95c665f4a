// `cmake --install` of this build into a staging folder (DESTDIR, as a
// package build does): every file where it belongs, and the installed
// tool, run from there, loading the installed plug-in without being told
// where it is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "package_contents.h"
#include "report_text.h"
#include "sound_files.h"
#include "tool_process.h"

namespace packagingtest {
namespace {

namespace fs = std::filesystem;

using tooltest::ScratchFolder;

class Install : public ::testing::Test {
protected:
    void SetUp() override {
        checkedOutput(CMAKE_COMMAND_PATH, {"-E", "env", "DESTDIR=" + stage_.path().string(), CMAKE_COMMAND_PATH,
                                           "--install", SLICECAST_BUILD_DIR, "--prefix", "/usr"});
    }

    // Where a file installed to path (absolute) lies in the staging folder.
    fs::path staged(const fs::path& path) const { return stage_.path() / path.relative_path(); }

    // The plug-in folder is relative to the prefix unless configured absolute.
    fs::path installedPlugin() const {
        return (fs::path("/usr") / SLICECAST_VST_DIR / "slicecast.so").lexically_normal();
    }

    fs::path installedLv2Folder() const { return (fs::path("/usr") / SLICECAST_LV2_DIR).lexically_normal(); }
    fs::path installedClapPlugin() const {
        return (fs::path("/usr") / SLICECAST_CLAP_DIR / "slicecast.clap").lexically_normal();
    }

    fs::path installedVst3Folder() const { return (fs::path("/usr") / SLICECAST_VST3_DIR).lexically_normal(); }
    fs::path installedVst3Presets() const {
        return (fs::path("/usr") / SLICECAST_VST3_PRESET_ROOT).lexically_normal();
    }

    fs::path installedTool() const { return staged("/usr/bin/slicecast"); }

    // Configured absolute, the plug-in folder lies outside the stage, and
    // the staged tool would look for the plug-in there.
    static bool toolLooksOutsideTheStage() { return fs::path(SLICECAST_VST_DIR).is_absolute(); }

    ScratchFolder stage_;
};

TEST_F(Install, PutsEveryFileInItsPlace) {
    EXPECT_EQ(filesUnder(stage_.path()), installedFiles({installedPlugin().relative_path().generic_string(),
                                                         installedLv2Folder().relative_path().generic_string(),
                                                         installedClapPlugin().relative_path().generic_string(),
                                                         installedVst3Folder().relative_path().generic_string(),
                                                         SLICECAST_VST3_BINARY,
                                                         installedVst3Presets().relative_path().generic_string()}));
}

// The installed bundle names the binary that lies beside it.
TEST_F(Install, Lv2BundleNamesItsBinary) {
    const fs::path bundle = staged(installedLv2Folder() / "slicecast.lv2");
    EXPECT_NE(tooltest::fileContents(bundle / "manifest.ttl").find("lv2:binary <slicecast.so>"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(bundle / "slicecast.so"));
}

TEST_F(Install, ToolFindsTheInstalledPlugIn) {
    if (toolLooksOutsideTheStage()) GTEST_SKIP() << "plug-in folder configured absolute";
    const tooltest::ToolRun run = tooltest::runProgram(installedTool(), {"info"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(tooltest::field(run.out, "Plug-in"), staged(installedPlugin()).string());
    EXPECT_EQ(tooltest::field(run.out, "Name"), "J'x Slicecast");
}

// Without its plug-in the installed tool neither falls back to another copy
// nor fails silently: it names where it looked.
TEST_F(Install, ToolWithoutItsPlugInSaysWhereItLooked) {
    if (toolLooksOutsideTheStage()) GTEST_SKIP() << "plug-in folder configured absolute";
    ASSERT_TRUE(fs::remove(staged(installedPlugin())));
    const tooltest::ToolRun run = tooltest::runProgram(installedTool(), {"info"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(staged(installedPlugin()).string()), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

// The installed pair renders what the build tree's does, sample for sample:
// the staged install, or the installed tool SLICECAST_INSTALLED_TOOL names
// (the packages stage's /usr/bin/slicecast from the .deb). The files are
// compared by their samples: a float WAV's header holds the time it was
// written.
TEST_F(Install, InstalledToolRendersAsTheBuiltOne) {
    const char* named = std::getenv("SLICECAST_INSTALLED_TOOL");
    if (named == nullptr && toolLooksOutsideTheStage()) GTEST_SKIP() << "plug-in folder configured absolute";
    ScratchFolder renders;
    const fs::path installedOut = renders.path() / "installed";
    const fs::path builtOut = renders.path() / "built";
    checkedOutput(named != nullptr ? fs::path(named) : installedTool(),
                  {"demo", "--quiet", "--out", installedOut.string()});
    checkedOutput(SLICECAST_TOOL_PATH, {"demo", "--quiet", "--out", builtOut.string()});
    const std::vector<std::string> files = filesUnder(builtOut);
    ASSERT_FALSE(files.empty());
    ASSERT_EQ(filesUnder(installedOut), files);
    for (const std::string& file : files) {
        // The demo's picture is drawn from the same samples.
        if (fs::path(file).extension() != ".wav") continue;
        const testsupport::Sound installed = testsupport::readSound((installedOut / file).string());
        const testsupport::Sound built = testsupport::readSound((builtOut / file).string());
        EXPECT_EQ(installed.sampleRate, built.sampleRate) << file;
        EXPECT_EQ(installed.channels, built.channels) << file;
    }
}

}  // namespace
}  // namespace packagingtest
