// The Debian package: the one cpack makes from this build, or the one named
// by SLICECAST_DEB (a cross-built package, checked from the native build).
// Its name, control fields, files and binaries must agree with each other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "binary_machine.h"
#include "package_contents.h"
#include "tool_process.h"

namespace packagingtest {
namespace {

namespace fs = std::filesystem;

using tooltest::ScratchFolder;

const std::string kNameStart = std::string("slicecast-") + SLICECAST_VERSION + "-linux-";

struct Architecture {
    const char* machine;
    // The VST 3 bundle's folder for it.
    const char* vst3Folder;
};

const std::map<std::string, Architecture> kArchitectures{
    {"amd64", {"ELF x86-64", "x86_64-linux"}},
    {"arm64", {"ELF aarch64", "aarch64-linux"}},
};

// The architecture the file name promises: slicecast-<version>-linux-<arch>.deb.
std::string architectureInName(const fs::path& deb) {
    const std::string name = deb.filename().string();
    if (!name.starts_with(kNameStart) || !name.ends_with(".deb")) return "";
    return name.substr(kNameStart.size(), name.size() - kNameStart.size() - 4);
}

// The package names in a Depends field, versions dropped.
std::vector<std::string> dependedOn(const std::string& depends) {
    std::vector<std::string> names;
    for (std::size_t start = 0; start < depends.size();) {
        const std::size_t end = std::min(depends.find(", ", start), depends.size());
        const std::string entry = depends.substr(start, end - start);
        names.push_back(entry.substr(0, entry.find(' ')));
        start = end + 2;
    }
    return names;
}

// One test, so that cpack runs once: it builds in the build folder, which
// two tests running at once must not both do.
TEST(DebianPackage, NameFieldsFilesAndBinariesAgree) {
    ScratchFolder packages;
    fs::path deb;
    if (const char* given = std::getenv("SLICECAST_DEB")) {
        deb = given;
    } else {
        checkedOutput(CPACK_COMMAND_PATH, {"--config", std::string(SLICECAST_BUILD_DIR) + "/CPackConfig.cmake", "-B",
                                           packages.path().string()});
        deb = onlyPackageIn(packages.path(), ".deb");
    }
    const std::string architecture = architectureInName(deb);
    const auto found = kArchitectures.find(architecture);
    ASSERT_NE(found, kArchitectures.end()) << deb.filename();
    const Architecture& machine = found->second;
    const std::string vst3Binary = std::string("Contents/") + machine.vst3Folder + "/Slicecast.so";

    EXPECT_EQ(controlField(deb, "Package"), "slicecast");
    EXPECT_EQ(controlField(deb, "Version"), SLICECAST_VERSION);
    EXPECT_EQ(controlField(deb, "Architecture"), architecture);
    EXPECT_EQ(controlField(deb, "Section"), "sound");

    ScratchFolder contents;
    unpackDeb(deb, contents.path());
    EXPECT_EQ(filesUnder(contents.path()),
              installedFiles({"usr/lib/vst/slicecast.so", "usr/lib/lv2", "usr/lib/clap/slicecast.clap", "usr/lib/vst3",
                              vst3Binary, "usr/share/vst3/presets"}));
    for (const std::string binary : {"usr/lib/vst/slicecast.so", "usr/lib/lv2/slicecast.lv2/slicecast.so",
                                     "usr/lib/clap/slicecast.clap", "usr/bin/slicecast"}) {
        EXPECT_EQ(binaryMachine(contents.path() / binary), machine.machine) << binary;
    }
    EXPECT_EQ(binaryMachine(contents.path() / "usr/lib/vst3/Slicecast.vst3" / vst3Binary), machine.machine);

    // Depends as dpkg-shlibdeps works it out from the binaries: the target's
    // own packages, never the cross compiler's copies of them.
    const std::string depends = controlField(deb, "Depends");
    const std::vector<std::string> names = dependedOn(depends);
    for (const char* library : {"libc6", "libgcc-s1", "libsndfile1", "libstdc++6"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), library), names.end()) << library << " in " << depends;
    }
    for (const std::string& name : names) {
        EXPECT_FALSE(name.ends_with("-cross") || name.find(':') != std::string::npos) << name;
    }
}

}  // namespace
}  // namespace packagingtest
