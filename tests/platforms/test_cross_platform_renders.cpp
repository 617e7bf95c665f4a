// The scenarios played by the native build, compared bit for bit with what
// the builds for the other platforms wrote (platform_render) after running
// them on their targets. A platform whose renders are missing is skipped,
// unless SLICECAST_REQUIRE_CROSS_RENDERS is set, as the cross-platform CI
// stage does.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "clap_scenario_player.h"
#include "descriptor_instance.h"
#include "render_scenarios.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"
#include "slicecast_vst3_plugin.h"
#include "vst3_scenario_player.h"

namespace {

struct Platform {
    std::string name;
    std::filesystem::path renders;
};

// "name=dir|name=dir", from the build's SLICECAST_CROSS_RENDER_DIRS.
std::vector<Platform> crossPlatforms() {
    std::vector<Platform> platforms;
    std::stringstream list(SLICECAST_CROSS_RENDER_DIRS);
    for (std::string entry; std::getline(list, entry, '|');) {
        const auto equals = entry.find('=');
        if (equals != std::string::npos) platforms.push_back({entry.substr(0, equals), entry.substr(equals + 1)});
    }
    return platforms;
}

std::vector<char> fileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The first sample whose bits differ, as "frame F, left: A vs B".
std::string firstDifference(const std::vector<char>& expected, const std::vector<char>& got) {
    for (std::size_t at = 0; at + sizeof(float) <= std::min(expected.size(), got.size()); at += sizeof(float)) {
        if (std::memcmp(&expected[at], &got[at], sizeof(float)) == 0) continue;
        float want = 0.0f;
        float have = 0.0f;
        std::memcpy(&want, &expected[at], sizeof want);
        std::memcpy(&have, &got[at], sizeof have);
        std::ostringstream text;
        text.precision(9);
        text << "frame " << at / (2 * sizeof(float)) << ", " << ((at / sizeof(float)) % 2 == 0 ? "left" : "right")
             << ": native " << want << ", here " << have;
        return text.str();
    }
    return "lengths " + std::to_string(expected.size()) + " and " + std::to_string(got.size()) + " bytes";
}

// Every scenario as the native build renders it, compared with the renders
// each platform wrote into its renders' subdirectory.
void expectEveryPlatformToTheBit(
    const std::string& subdirectory,
    const std::function<pluginhost::StereoBuffer(const platforms::Scenario&)>& renderNatively) {
    const bool required = std::getenv("SLICECAST_REQUIRE_CROSS_RENDERS") != nullptr;
    std::vector<Platform> present;
    for (Platform platform : crossPlatforms()) {
        platform.renders /= subdirectory;
        if (std::filesystem::is_directory(platform.renders)) {
            present.push_back(platform);
        } else if (required) {
            ADD_FAILURE() << platform.name << ": no renders in " << platform.renders;
        }
    }
    if (present.empty()) GTEST_SKIP() << "no cross-platform renders (build and test a cross preset first)";

    for (const auto& scenario : platforms::renderScenarios()) {
        const auto native = platforms::interleavedBytes(renderNatively(scenario));
        for (const Platform& platform : present) {
            const auto theirs = fileBytes(platform.renders / (scenario.name + ".f32"));
            EXPECT_TRUE(native == theirs) << platform.name << ", " << scenario.name << ": "
                                          << firstDifference(native, theirs);
        }
    }
}

// Through a new player of the native build's edition.
std::function<pluginhost::StereoBuffer(const platforms::Scenario&)> playedBy(
    const std::function<std::unique_ptr<platforms::ScenarioPlayer>()>& newPlayer) {
    return [newPlayer](const platforms::Scenario& scenario) { return platforms::renderScenario(scenario, *newPlayer()); };
}

}  // namespace

TEST(CrossPlatformRenders, EveryPlatformPlaysEveryScenarioToTheBit) {
    expectEveryPlatformToTheBit("", playedBy([] { return platforms::vstScenarioPlayer(testsupport::slicecastEntry()); }));
}

TEST(CrossPlatformRenders, EveryPlatformsClapEditionPlaysEveryScenarioToTheBit) {
    expectEveryPlatformToTheBit("clap", playedBy([] {
        return std::make_unique<platforms::ClapScenarioPlayer>(testsupport::slicecastClapLibrary());
    }));
}

TEST(CrossPlatformRenders, EveryPlatformsVst3EditionPlaysEveryScenarioToTheBit) {
    expectEveryPlatformToTheBit("vst3", playedBy([] {
        return std::make_unique<platforms::Vst3ScenarioPlayer>(testsupport::slicecastVst3Module());
    }));
}

// The LV2 edition's binary, driven through lv2_descriptor on each platform
// (platform_render's lv2/ folder), against the native build's.
TEST(CrossPlatformRenders, EveryPlatformsLv2BinaryPlaysEveryScenarioToTheBit) {
    const pluginhost::SharedLibrary lv2(SLICECAST_LV2_BINARY);
    expectEveryPlatformToTheBit(
        "lv2", [&lv2](const platforms::Scenario& scenario) { return platforms::renderLv2Scenario(scenario, lv2); });
}

// What the platforms' LV2 renders are held to is itself the VST 2.4
// edition's sound: the binary driven directly gives the same bits.
TEST(CrossPlatformRenders, Lv2BinaryDrivenDirectlyPlaysAsTheVstEdition) {
    const pluginhost::SharedLibrary lv2(SLICECAST_LV2_BINARY);
    for (const auto& scenario : platforms::renderScenarios()) {
        const auto viaLv2 = platforms::interleavedBytes(platforms::renderLv2Scenario(scenario, lv2));
        const auto viaVst = platforms::interleavedBytes(platforms::renderScenario(scenario, testsupport::slicecastEntry()));
        EXPECT_TRUE(viaLv2 == viaVst) << scenario.name << ": " << firstDifference(viaVst, viaLv2);
    }
}

TEST(CrossPlatformRenders, ScenariosReachEveryCaseTheyAreNamedFor) {
    // Guards the comparison against scenarios that stopped exercising
    // anything: each must make sound, and the decaying one must pass
    // through the range where subnormal numbers would appear.
    for (const auto& scenario : platforms::renderScenarios()) {
        const auto output = platforms::renderScenario(scenario, testsupport::slicecastEntry());
        ASSERT_EQ(output.frames(), scenario.frames) << scenario.name;
        bool audible = false;
        for (float sample : output.left) audible = audible || sample != 0.0f;
        EXPECT_TRUE(audible) << scenario.name << " is silent";
        if (scenario.name.find("decay-into-subnormals") != std::string::npos) {
            std::size_t tiny = 0;
            for (float sample : output.left) tiny += (sample != 0.0f && std::abs(sample) < 1e-30f) ? 1 : 0;
            EXPECT_GT(tiny, 0u) << scenario.name << " never comes near the subnormal range";
        }
    }
}
