// The Windows zip named by SLICECAST_WINDOWS_ZIP (made from both Windows
// builds by scripts/ci/packages.sh; a Linux build cannot make one): each
// DLL and LV2 bundle in the folder for its width, one VST 3 bundle holding
// both widths, and a read-me naming the usual folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "binary_machine.h"
#include "package_contents.h"
#include "tool_process.h"

namespace packagingtest {
namespace {

namespace fs = std::filesystem;

TEST(WindowsZip, HoldsBothPlugInsAndWhereToPutThem) {
    const char* zip = std::getenv("SLICECAST_WINDOWS_ZIP");
    if (zip == nullptr) GTEST_SKIP() << "no zip named in SLICECAST_WINDOWS_ZIP";
    EXPECT_EQ(fs::path(zip).filename(), std::string("slicecast-") + SLICECAST_VERSION + "-windows.zip");
    tooltest::ScratchFolder contents;
    unpackZip(zip, contents.path());
    std::vector<std::string> expected{"README.txt", "x64/slicecast.clap", "x64/slicecast.dll", "x86/slicecast.clap",
                                      "x86/slicecast.dll"};
    for (const char* width : {"x64", "x86"}) {
        for (const std::string& file : lv2BundleFiles(width, "slicecast.dll")) expected.push_back(file);
    }
    for (const std::string& file :
         vst3BundleFiles(".", {"Contents/x86-win/Slicecast.vst3", "Contents/x86_64-win/Slicecast.vst3"})) {
        expected.push_back(file.substr(2));
    }
    for (const std::string& file : vst3PresetFiles("VST3 Presets")) expected.push_back(file);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesUnder(contents.path()), expected);
    for (const char* plugin : {"x64/slicecast.dll", "x64/slicecast.lv2/slicecast.dll", "x64/slicecast.clap",
                               "Slicecast.vst3/Contents/x86_64-win/Slicecast.vst3"}) {
        EXPECT_EQ(binaryMachine(contents.path() / plugin), "PE x86-64") << plugin;
    }
    for (const char* plugin : {"x86/slicecast.dll", "x86/slicecast.lv2/slicecast.dll", "x86/slicecast.clap",
                               "Slicecast.vst3/Contents/x86-win/Slicecast.vst3"}) {
        EXPECT_EQ(binaryMachine(contents.path() / plugin), "PE i386") << plugin;
    }
    const std::string readMe = tooltest::fileContents(contents.path() / "README.txt");
    for (const char* folder : {
             "C:\\Program Files\\VSTPlugins\r\n",
             "C:\\Program Files\\Common Files\\VST2\r\n",
             "C:\\Program Files (x86)\\VSTPlugins\r\n",
             "C:\\Program Files (x86)\\Common Files\\VST2\r\n",
             "C:\\Program Files\\Common Files\\LV2\r\n",
             "C:\\Program Files (x86)\\Common Files\\LV2\r\n",
             "%COMMONPROGRAMFILES%\\CLAP",
             "C:\\Program Files\\Common Files\\CLAP\r\n",
             "C:\\Program Files (x86)\\Common Files\\CLAP\r\n",
             "%COMMONPROGRAMFILES%\\VST3",
             "C:\\Program Files\\Common Files\\VST3\r\n",
             "C:\\Program Files (x86)\\Common Files\\VST3\r\n",
             "C:\\ProgramData\\VST3 Presets\r\n",
         }) {
        EXPECT_NE(readMe.find(folder), std::string::npos) << folder << " in\n" << readMe;
    }
}

}  // namespace
}  // namespace packagingtest
