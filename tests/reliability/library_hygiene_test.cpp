// The library as a file: what it exports, how it loads, and that two copies
// loaded side by side keep their instances apart.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "shared_library.h"
#include "reliability_support.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"
#include "vst_entry_point.h"

namespace {

namespace fs = std::filesystem;

std::string commandOutput(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return {};
    std::string output;
    char chunk[512];
    while (std::size_t read = std::fread(chunk, 1, sizeof(chunk), pipe.get())) output.append(chunk, read);
    return output;
}

std::set<std::string> exportsOf(const std::string& path) {
    const std::string listing = commandOutput("nm -D --defined-only '" + path + "'");
    std::set<std::string> exported;
    std::istringstream lines(listing);
    std::string address, type, name;
    while (lines >> address >> type >> name) exported.insert(name);
    return exported;
}

TEST(LibraryHygiene, ExportsOnlyTheEntryPointUnderItsTwoNames) {
    EXPECT_EQ(exportsOf(testsupport::slicecastPath()), (std::set<std::string>{"VSTPluginMain", "main"}));
}

TEST(LibraryHygiene, TheClapLibraryExportsOnlyItsEntry) {
    EXPECT_EQ(exportsOf(testsupport::slicecastClapPath()), (std::set<std::string>{"clap_entry"}));
    // Loaded as the strictest hosts load it: every symbol bound now.
    void* handle = dlopen(testsupport::slicecastClapPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_NE(dlsym(handle, "clap_entry"), nullptr);
    dlclose(handle);
}

TEST(LibraryHygiene, TheVst3BinaryExportsOnlyItsFactoryAndModuleEntryAndExit) {
    EXPECT_EQ(exportsOf(SLICECAST_VST3_BINARY),
              (std::set<std::string>{"GetPluginFactory", "ModuleEntry", "ModuleExit"}));
    void* handle = dlopen(SLICECAST_VST3_BINARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_NE(dlsym(handle, "GetPluginFactory"), nullptr);
    dlclose(handle);
}

TEST(LibraryHygiene, LoadsWithEveryBindingResolvedAndBothNamesLeadToOneFunction) {
    for (const int mode : {RTLD_NOW | RTLD_LOCAL, RTLD_NOW | RTLD_GLOBAL, RTLD_LAZY | RTLD_LOCAL}) {
        void* handle = dlopen(testsupport::slicecastPath().c_str(), mode);
        ASSERT_NE(handle, nullptr) << dlerror();
        void* entry = dlsym(handle, "VSTPluginMain");
        EXPECT_NE(entry, nullptr);
        EXPECT_EQ(dlsym(handle, "main"), entry);
        dlclose(handle);
    }
}

// Two copies of the library in a fresh directory, each loaded on its own.
class TwoCopies : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/slicecast-copies-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        directory_ = pattern;
        for (const char* name : {"first.so", "second.so"}) {
            fs::copy_file(testsupport::slicecastPath(), directory_ / name);
        }
    }
    void TearDown() override { fs::remove_all(directory_); }

    fs::path directory_;
};

pluginhost::StereoBuffer renderAlone(const reliability::Preset& preset, const pluginhost::StereoBuffer& input) {
    vst2host::Host host;
    auto instance = reliability::openInstance(host, 44100.0f, preset);
    pluginhost::StereoBuffer output;
    vst2host::renderInBlocks(*instance, host.transport, input, output, pluginhost::fixedBlocks(1000));
    return output;
}

TEST_F(TwoCopies, KeepTheirInstancesApart) {
    auto first = std::make_unique<pluginhost::SharedLibrary>((directory_ / "first.so").string());
    pluginhost::SharedLibrary second((directory_ / "second.so").string());
    ASSERT_NE(reinterpret_cast<void*>(vst2host::entryPointOf(*first)), reinterpret_cast<void*>(vst2host::entryPointOf(second)))
        << "the copies were not loaded apart";

    vst2host::Host hostA, hostB;
    auto a = std::make_unique<vst2host::PluginInstance>(hostA, vst2host::entryPointOf(*first));
    vst2host::PluginInstance b(hostB, vst2host::entryPointOf(second));
    a->switchOn(44100.0f, 1000);
    b.switchOn(44100.0f, 1000);
    reliability::applyPreset(*a, reliability::presets()[2]);
    reliability::applyPreset(b, reliability::presets()[1]);
    EXPECT_EQ(b.parameterDisplay(0), "1/6");
    EXPECT_EQ(a->parameterDisplay(0), "1/64");
    EXPECT_EQ(a->parameterDisplay(1), "1/4");
    EXPECT_EQ(b.parameterDisplay(1), "1/1");

    const auto input = testsupport::noise(3 * 44100, 17);
    pluginhost::StereoBuffer outA(input.frames()), outB(input.frames());
    for (std::size_t frame = 0; frame < input.frames(); frame += 1000) {
        const auto frames = static_cast<VstInt32>(std::min<std::size_t>(1000, input.frames() - frame));
        reliability::processBlock(*a, &input.left[frame], &input.right[frame], &outA.left[frame], &outA.right[frame], frames);
        reliability::processBlock(b, &input.left[frame], &input.right[frame], &outB.left[frame], &outB.right[frame], frames);
        hostA.transport.advance(frames);
        hostB.transport.advance(frames);
    }
    EXPECT_TRUE(reliability::bitIdentical(outA, renderAlone(reliability::presets()[2], input)));
    EXPECT_TRUE(reliability::bitIdentical(outB, renderAlone(reliability::presets()[1], input)));

    // Unloading one copy leaves the other's instance working.
    a.reset();
    first.reset();
    pluginhost::StereoBuffer more(1000);
    reliability::processBlock(b, input.left.data(), input.right.data(), more.left.data(), more.right.data(), 1000);
    EXPECT_TRUE(reliability::allFinite(more));
    EXPECT_EQ(b.effectName(), "J'x Slicecast");
}

}  // namespace
