// The tool plays Slicecast's LV2, CLAP and VST 3 editions as it plays the
// VST 2.4 one: the DAW transport cases (and a few more) give the very same
// bits through every edition, with the settings given as texts that every
// format reads alike. At 8192 Hz every position is exact in CLAP's fixed
// point, and LV2's time:beat and VST 3's process context carry it as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "transport/daw_transport_cases.h"
#include "editions.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"

namespace tooltest {
namespace {

using testsupport::Sound;

struct Scenario {
    std::string name;
    std::size_t frames;
    std::vector<std::string> options;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

// A stutter every format's edition is told the same way: step labels and
// percentages.
const std::vector<std::string> kSettings{"--set", "WaveLength=1/16", "--set", "UpdatePeriod=1/4", "--set", "Rate=80",
                                         "--set", "FadeOut=20",      "--set", "DecayRate=80",     "--set", "Mix=90"};

std::vector<Scenario> scenarios() {
    std::vector<Scenario> all;
    for (const TransportCase& test : dawTransportCases()) {
        if (!test.namesRecorderParameters) all.push_back({test.name, test.frames, test.options});
    }
    const std::vector<Scenario> more{
        {"BlocksOfOneFrame", 3000, {"--block", "1", "--start", "0.5"}},
        {"OddBlocks", 20000, {"--block", "333", "--tempo", "120,2:90"}},
        {"RandomBlocksCountInLoop", 20000, {"--block", "random:1-700:42", "--count-in", "3", "--loop", "1:2"}},
        {"NoPosition", 12000, {"--block", "300", "--no-position", "--count-in", "2"}},
        // Steps, and a percentage that only jumps, are the same numbers in
        // every format's units.
        {"AutomatedStepsAndJumps",
         6 * 4096,
         {"--block", "1000", "--automate", "WaveLength=0:1/16,2:1/4", "--automate", "UpdatePeriod=0:1/4,3:1/1",
          "--automate", "Rate=0:20,3:20,3:90"}},
    };
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

// Renders noise through plugin (the VST 2.4 edition if empty).
Sound render(const ScratchFolder& folder, const std::string& plugin, const Scenario& scenario,
             const std::vector<std::string>& settings) {
    const std::string input = folder.file("in.wav");
    const std::string output = folder.file(plugin.empty() ? "vst.wav" : "edition.wav");
    std::vector<std::string> args{"render", input, output, "--quiet"};
    if (!plugin.empty()) args.insert(args.end(), {"--plugin", plugin});
    args.insert(args.end(), scenario.options.begin(), scenario.options.end());
    args.insert(args.end(), settings.begin(), settings.end());
    const ToolRun run = runTool(args);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.status == 0 ? testsupport::readSound(output) : Sound{};
}

class EditionsAlike : public testing::TestWithParam<std::tuple<Scenario, Edition>> {};

TEST_P(EditionsAlike, GiveTheVstBits) {
    const auto& [scenario, edition] = GetParam();
    const ScratchFolder folder;
    const Sound input = testsupport::stereoSound(testsupport::noise(scenario.frames, 3), kDawRate);
    testsupport::writeSound(folder.file("in.wav"), input);
    const Sound vst = render(folder, "", scenario, kSettings);
    const Sound other = render(folder, edition.plugin, scenario, kSettings);
    ASSERT_EQ(vst.channels.size(), 2u);
    ASSERT_EQ(other.channels.size(), 2u);
    EXPECT_TRUE(other.channels[0] == vst.channels[0]);
    EXPECT_TRUE(other.channels[1] == vst.channels[1]);
    // The effect did something: equal dry copies would prove nothing.
    const auto compared = static_cast<std::ptrdiff_t>(std::min(input.frames(), vst.frames()));
    EXPECT_FALSE(std::equal(vst.channels[0].begin(), vst.channels[0].begin() + compared, input.channels[0].begin()));
}

INSTANTIATE_TEST_SUITE_P(Scenarios, EditionsAlike,
                         testing::Combine(testing::ValuesIn(scenarios()), testing::ValuesIn(kOtherEditions)),
                         [](const auto& info) {
                             return std::get<0>(info.param).name + "_" + std::get<1>(info.param).name;
                         });

// Numbers are in each format's own units: 0 to 1 for VST 2.4, steps and
// percent for LV2, CLAP and VST 3.
struct PlainValueCase {
    const char* name;
    std::vector<std::string> vst;
    std::vector<std::string> plain;
};

void PrintTo(const PlainValueCase& test, std::ostream* out) { *out << test.name; }

class PlainValues : public testing::TestWithParam<std::tuple<PlainValueCase, Edition>> {};

TEST_P(PlainValues, MeanWhatTheNormalisedOnesMeanToVst) {
    const auto& [test, edition] = GetParam();
    const ScratchFolder folder;
    const Scenario scenario{test.name, 20000, {"--block", "512"}};
    testsupport::writeSound(folder.file("in.wav"),
                            testsupport::stereoSound(testsupport::noise(scenario.frames, 4), kDawRate));
    const Sound vst = render(folder, "", scenario, test.vst);
    const Sound other = render(folder, edition.plugin, scenario, test.plain);
    ASSERT_EQ(other.channels.size(), 2u);
    EXPECT_TRUE(other.channels == vst.channels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlainValues,
    testing::Combine(testing::Values(PlainValueCase{"WaveLengthStep", {"--set", "WaveLength=0.6364"},
                                                    {"--set", "WaveLength=7"}},
                                     PlainValueCase{"UpdatePeriodStep", {"--set", "UpdatePeriod=1"},
                                                    {"--set", "UpdatePeriod=4"}},
                                     PlainValueCase{"Percentages",
                                                    {"--set", "Rate=0.35", "--set", "Mix=0.5", "--set", "FadeOut=0.25"},
                                                    {"--set", "Rate=35", "--set", "Mix=50", "--set", "FadeOut=25"}},
                                     PlainValueCase{"SteppedAutomation", {"--automate", "WaveLength=0:0,2:1"},
                                                    {"--automate", "WaveLength=0:0,2:11"}}),
                     testing::ValuesIn(kOtherEditions)),
    [](const auto& info) { return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name; });

}  // namespace
}  // namespace tooltest
