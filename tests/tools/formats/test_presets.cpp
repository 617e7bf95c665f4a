// The factory presets through the tool, which loads them the way each
// format's hosts do: every edition lists the fourteen (CLAP and VST 3 in the
// table's order, LV2 in its labels' order, as its hosts list them) with the
// table's values read back through the format, and each preset plays to the
// bit as its six values set by hand. An unknown name changes nothing; the
// VST 2.4 edition says it has none.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "editions.h"
#include "factory_presets.h"
#include "parameter_tables.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"

namespace tooltest {
namespace {

using slicecast::FactoryPreset;
using slicecast::factoryPresets;

// "WaveLength 1/16, UpdatePeriod 1/2, Rate 100, ...", as info lists a
// preset's values without their units.
std::string valuesText(const FactoryPreset& preset) {
    std::ostringstream text;
    const auto step = [&preset](std::size_t index) { return static_cast<std::size_t>(preset.plain[index]); };
    text << "WaveLength 1/" << slicecast::sliceDivisors[step(0)] << ", UpdatePeriod "
         << slicecast::updatePeriodLabels[step(1)];
    const char* names[] = {"Rate", "FadeOut", "DecayRate", "Mix"};
    for (std::size_t index = 2; index < 6; ++index) text << ", " << names[index - 2] << " " << preset.plain[index];
    return text.str();
}

// The lines info prints after "Presets:", as name and values, the units
// (" %") left out.
std::vector<std::pair<std::string, std::string>> listedPresets(const std::string& info) {
    std::vector<std::pair<std::string, std::string>> listed;
    std::istringstream lines(info.substr(info.find("Presets:")));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        const auto colon = line.find(": ");
        std::string values = line.substr(colon + 2);
        for (auto unit = values.find(" %"); unit != std::string::npos; unit = values.find(" %"))
            values.erase(unit, 2);
        listed.emplace_back(line.substr(6, colon - 6), values);
    }
    return listed;
}

class EditionPresets : public testing::TestWithParam<Edition> {};

TEST_P(EditionPresets, AreTheTablesFourteenWithTheirValuesReadBackThroughTheFormat) {
    const ToolRun run = runTool({"info", "--plugin", GetParam().plugin});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::pair<std::string, std::string>> expected;
    for (const FactoryPreset& preset : factoryPresets) expected.emplace_back(preset.name, valuesText(preset));
    // LV2 gives presets no order: its hosts list them by label.
    if (std::string(GetParam().name) == kLv2Edition.name) std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listedPresets(run.out), expected);
}

TEST_P(EditionPresets, EachPlaysToTheBitAsItsValuesSetByHand) {
    const ScratchFolder folder;
    const std::string input = folder.file("in.wav");
    testsupport::writeSound(input, testsupport::stereoSound(testsupport::noise(12000, 8), 8192));
    const auto render = [&](const std::vector<std::string>& choice) {
        std::vector<std::string> args{"render", input, folder.file("out.wav"), "--quiet", "--plugin",
                                      GetParam().plugin, "--block", "700", "--tempo", "150"};
        args.insert(args.end(), choice.begin(), choice.end());
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 0) << run.err;
        return testsupport::readSound(folder.file("out.wav"));
    };
    const testsupport::Sound defaults = render({});
    for (const FactoryPreset& preset : factoryPresets) {
        std::vector<std::string> byHand;
        for (std::int32_t index = 0; index < 6; ++index) {
            byHand.insert(byHand.end(), {"--set", std::to_string(index) + "=" + std::to_string(preset.plain[index])});
        }
        const testsupport::Sound chosen = render({"--preset", preset.name});
        EXPECT_TRUE(chosen.channels == render(byHand).channels) << preset.name;
        EXPECT_EQ(chosen.channels == defaults.channels, preset.plain == factoryPresets[0].plain) << preset.name;
    }
    // Values set after the preset win over its own; names are taken in
    // any case.
    EXPECT_TRUE(render({"--preset", "bar loop", "--set", "Mix=50"}).channels ==
                render({"--set", "WaveLength=0", "--set", "UpdatePeriod=0", "--set", "Rate=100", "--set", "Mix=50"})
                    .channels);
}

TEST_P(EditionPresets, AnUnknownNameListsTheKnownOnesAndWritesNothing) {
    const ScratchFolder folder;
    testsupport::writeSound(folder.file("in.wav"), testsupport::stereoSound(testsupport::noise(100, 1), 8192));
    const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav"), "--plugin",
                                 GetParam().plugin, "--preset", "Warm"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("no preset 'Warm'; its presets are "), std::string::npos) << run.err;
    for (const FactoryPreset& preset : factoryPresets) EXPECT_NE(run.err.find(preset.name), std::string::npos);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.wav"});
}

INSTANTIATE_TEST_SUITE_P(Editions, EditionPresets, testing::ValuesIn(kOtherEditions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Vst2Presets, TheEditionSaysItHasNoneBeyondItsOneProgram) {
    const ScratchFolder folder;
    testsupport::writeSound(folder.file("in.wav"), testsupport::stereoSound(testsupport::noise(100, 1), 8192));
    const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav"), "--preset", "Default"});
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("the VST 2.4 plug-in has no presets beyond its one program"), std::string::npos) << run.err;
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"in.wav"});
}

}  // namespace
}  // namespace tooltest
