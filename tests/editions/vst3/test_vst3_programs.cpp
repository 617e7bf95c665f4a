// The factory presets as a VST 3 host meets them: the root unit's program
// list (IUnitInfo), the program-change parameter that selects among it, a
// program chosen on the controller (its six values, and the host told at
// its next UI tick, never from inside the call) and on the processor (at
// its point in the block, before values sent with it), and the preset files
// the build writes, read as the format's own reader reads them.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "factory_presets.h"
#include "saved_state_cases.h"
#include "slicecast_plugin.h"
#include "vst3_names.h"
#include "vst3_test_host.h"

namespace {

using vst3test::Instance;
using Changes = vst3host::Ref<vst3host::ParameterChanges>;

constexpr double kRate = 44100.0;
constexpr double kLastProgram = 13.0;

std::vector<std::string> tableNames() {
    std::vector<std::string> names;
    for (const auto& preset : slicecast::factoryPresets) names.emplace_back(preset.name);
    return names;
}

// The preset's six values as the controller converts their plain values:
// what a host sends when the user sets them by hand.
std::array<double, 6> normalizedOf(Instance& instance, std::size_t preset) {
    std::array<double, 6> values{};
    for (vst3::ParamID id = 0; id < 6; ++id)
        values[id] = instance.controller->plainParamToNormalized(id, slicecast::factoryPresets[preset].plain[id]);
    return values;
}

std::array<double, 6> controllerValues(Instance& instance) {
    std::array<double, 6> values{};
    for (vst3::ParamID id = 0; id < 6; ++id) values[id] = instance.controller->getParamNormalized(id);
    return values;
}

TEST(Vst3Programs, TheRootUnitListsTheFactoryPresetsSelectedByTheProgramParameter) {
    Instance instance;
    const auto list = instance.effect.programList(vst3::kRootUnitId);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->programs, tableNames());
    EXPECT_EQ(static_cast<vst3::ParamID>(list->id), vst3test::kProgramId) << "the list and its parameter share an id";

    const auto units = vst3test::query<vst3::IUnitInfo>(instance.controller.get());
    ASSERT_TRUE(units);
    ASSERT_EQ(units->getUnitCount(), 1);
    vst3::UnitInfo root{};
    ASSERT_EQ(units->getUnitInfo(0, root), vst3::kResultOk);
    EXPECT_EQ(root.id, vst3::kRootUnitId);
    EXPECT_EQ(root.parentUnitId, vst3::kNoParentUnitId);
    EXPECT_EQ(std::u16string(root.name), u"Root") << "the format's validator wants every unit named";
    EXPECT_EQ(units->getUnitInfo(1, root), vst3::kInvalidArgument);
    vst3::String128 name{};
    EXPECT_EQ(units->getProgramName(list->id, 14, name), vst3::kInvalidArgument);
    EXPECT_EQ(units->getProgramName(list->id + 1, 0, name), vst3::kInvalidArgument);
    EXPECT_EQ(units->setUnitProgramData(list->id, 0, nullptr), vst3::kNotImplemented);

    // Program k is k / 13 both ways, shows its name, and is read back from
    // its name.
    for (std::size_t k = 0; k < list->programs.size(); ++k) {
        const double value = static_cast<double>(k) / kLastProgram;
        EXPECT_EQ(instance.effect.text(vst3test::kProgramId, value), list->programs[k]);
        EXPECT_EQ(instance.effect.normalizedOfText(vst3test::kProgramId, list->programs[k]), value);
        EXPECT_EQ(instance.effect.plainOf(vst3test::kProgramId, value), static_cast<double>(k));
        EXPECT_EQ(instance.effect.normalizedOf(vst3test::kProgramId, static_cast<double>(k)), value);
        // The list's rule: v is program min(13, floor(v x 14)).
        EXPECT_EQ(instance.effect.plainOf(vst3test::kProgramId, (static_cast<double>(k) + 0.99) / 14.0),
                  static_cast<double>(k));
    }
    EXPECT_FALSE(instance.effect.normalizedOfText(vst3test::kProgramId, "No Such Preset"));
}

TEST(Vst3Programs, AProgramChosenOnTheControllerSetsItsValuesAndTellsTheHostAtTheNextTick) {
    for (std::size_t k = 1; k < slicecast::factoryPresets.size(); ++k) {
        Instance instance;
        vst3host::ComponentHandler& host = instance.effect.handler();
        EXPECT_EQ(instance.controller->setParamNormalized(vst3test::kProgramId, static_cast<double>(k) / kLastProgram),
                  vst3::kResultOk);
        EXPECT_EQ(controllerValues(instance), normalizedOf(instance, k)) << k;
        EXPECT_EQ(instance.controller->getParamNormalized(vst3test::kProgramId), static_cast<double>(k) / kLastProgram);
        EXPECT_TRUE(host.restarts().empty()) << "never from inside setParamNormalized";
        EXPECT_TRUE(host.edits().empty()) << "a program the host chose is no edit of the plug-in's";
        host.tick();
        EXPECT_EQ(host.restarts(), std::vector<vst3::int32>{vst3::kParamValuesChanged}) << k;
        host.tick();
        EXPECT_EQ(host.restarts().size(), 1u) << "told once";
        // The program it has already changes nothing: values edited after
        // the choice stand.
        EXPECT_EQ(instance.controller->setParamNormalized(5, 0.25), vst3::kResultOk);
        EXPECT_EQ(instance.controller->setParamNormalized(vst3test::kProgramId, static_cast<double>(k) / kLastProgram),
                  vst3::kResultOk);
        EXPECT_EQ(instance.controller->getParamNormalized(5), 0.25);
        host.tick();
        EXPECT_EQ(host.restarts().size(), 1u);
    }
}

TEST(Vst3Programs, AProgramChangeInABlockPlaysAsItsValuesSentByHandAndValuesSentWithItWin) {
    // A program change at k against its six values at k, each block
    // through two instances; then the same with Mix sent at k too, which
    // must override the program's, as a host that applies a preset and a
    // user's value at once expects.
    const auto input = testsupport::noise(4096, 11);
    constexpr vst3::int32 kFrames = 4096;
    const struct {
        std::size_t preset;
        vst3::int32 at;
        bool mixToo;
    } rows[] = {{1, 0, false}, {7, 1000, false}, {10, 4095, false}, {13, 0, true}, {4, 2048, true}};
    for (const auto& row : rows) {
        Instance chosen;
        Instance byHand;
        for (Instance* instance : {&chosen, &byHand}) instance->activate(kRate);
        const Changes program = vst3test::changes();
        program->add(vst3test::kProgramId, row.at, static_cast<double>(row.preset) / kLastProgram);
        const Changes values = vst3test::changes();
        const std::array<double, 6> preset = normalizedOf(byHand, row.preset);
        for (vst3::ParamID id = 0; id < 6; ++id) values->add(id, row.at, row.mixToo && id == 5 ? 0.3 : preset[id]);
        if (row.mixToo) program->add(5, row.at, 0.3);
        vst3::ProcessContext context = vst3test::contextAt(0.0, 120.0, kRate);
        pluginhost::StereoBuffer fromProgram(kFrames);
        pluginhost::StereoBuffer fromValues(kFrames);
        EXPECT_EQ(chosen.process(&input, fromProgram, 0, kFrames, &context, program.get()), vst3::kResultOk);
        EXPECT_EQ(byHand.process(&input, fromValues, 0, kFrames, &context, values.get()), vst3::kResultOk);
        EXPECT_TRUE(vst3test::sameBits(fromProgram, fromValues)) << "preset " << row.preset << " at " << row.at;
        // The state keeps the program's values and names the program.
        std::array<double, 6> plain = slicecast::factoryPresets[row.preset].plain;
        if (row.mixToo) plain[5] = 30.0;
        EXPECT_EQ(chosen.savedState(), testsupport::savedStateOf(plain, static_cast<std::uint32_t>(row.preset)));
    }
}

std::uint64_t littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= static_cast<std::uint64_t>(bytes.at(at + i)) << (8 * i);
    return value;
}

TEST(Vst3Programs, EachPresetFileHoldsTheProcessorsStateOfItsPresetForThisClass) {
    const std::filesystem::path folder = std::filesystem::path(SLICECAST_VST3_PRESET_DIR) / "J'x Tiv-nar/J'x Slicecast";
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, slicecast::factoryPresets.size());
    for (std::size_t k = 0; k < slicecast::factoryPresets.size(); ++k) {
        const auto& preset = slicecast::factoryPresets[k];
        std::ifstream file(folder / (std::string(preset.name) + ".vstpreset"), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
        ASSERT_GE(bytes.size(), 48u) << preset.name;
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "VST3");
        EXPECT_EQ(littleEndian(bytes, 4, 4), 1u);
        Instance instance;
        EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 40),
                  vst3host::uidText(instance.effect.processorClass().id))
            << "the processor's class id, in upper-case hex";
        // The chunk list: one entry, the processor's state.
        const std::size_t list = littleEndian(bytes, 40, 8);
        ASSERT_EQ(bytes.size(), list + 8 + 20) << preset.name;
        EXPECT_EQ(std::string(bytes.begin() + list, bytes.begin() + list + 4), "List");
        EXPECT_EQ(littleEndian(bytes, list + 4, 4), 1u);
        EXPECT_EQ(std::string(bytes.begin() + list + 8, bytes.begin() + list + 12), "Comp");
        const std::size_t at = littleEndian(bytes, list + 12, 8);
        const std::size_t size = littleEndian(bytes, list + 20, 8);
        const std::vector<std::uint8_t> chunk(bytes.begin() + at, bytes.begin() + at + size);
        // Loaded as the format's reader loads it: the processor, then the
        // controller, each from the chunk.
        const auto forProcessor = vst3test::stream(chunk);
        const auto forController = vst3test::stream(chunk);
        EXPECT_EQ(instance.component->setState(forProcessor.get()), vst3::kResultOk);
        EXPECT_EQ(instance.controller->setComponentState(forController.get()), vst3::kResultOk);
        EXPECT_EQ(controllerValues(instance), normalizedOf(instance, k)) << preset.name;
        EXPECT_EQ(instance.controller->getParamNormalized(vst3test::kProgramId), static_cast<double>(k) / kLastProgram);
        EXPECT_EQ(instance.savedState(), chunk) << preset.name;
    }
}

}  // namespace
