// The driver with a real module, the built VST 3 edition: loading a bundle
// as hosts do, an instance made and taken apart with every step accepted,
// the life cycle's order enforced, and the effect as the render tool hosts
// it (plain values through the controller, the process context told).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "module_platform.h"
#include "process_context.h"
#include "slicecast_plugin.h"
#include "slicecast_vst3_plugin.h"
#include "vst3_effect.h"
#include "vst3_instance.h"
#include "vst3_module.h"
#include "vst3_names.h"

namespace {

using vst3host::HostError;

TEST(Vst3Module, LoadsABundleOrItsBinaryAndRefusesWhatHoldsNone) {
    const vst3host::Vst3Module& bundle = testsupport::slicecastVst3Module();
    EXPECT_EQ(std::filesystem::path(bundle.binaryPath()), vst3host::bundleBinary(testsupport::slicecastVst3Path()));
    const vst3host::Vst3Module binary(bundle.binaryPath());
    EXPECT_EQ(binary.classes().size(), bundle.classes().size());
    EXPECT_EQ(binary.factoryInfo().vendor, "J'x Tiv-nar");

    const std::filesystem::path empty = std::filesystem::temp_directory_path() / "slicecast-empty-bundle.vst3";
    std::filesystem::create_directories(empty);
    EXPECT_THROW(vst3host::Vst3Module{empty.string()}, HostError) << "a bundle without this platform's binary";
    std::filesystem::remove_all(empty);
    EXPECT_THROW(vst3host::Vst3Module{"no/such/Bundle.vst3"}, HostError);
    // A library of another format: no entry functions, no factory.
    EXPECT_THROW(vst3host::Vst3Module{testsupport::slicecastPath()}, HostError);
}

TEST(Vst3Module, ListsItsClassesFromTheRichestInfo) {
    const auto classes = testsupport::slicecastVst3Module().classes();
    ASSERT_EQ(classes.size(), 2u);
    EXPECT_EQ(classes[0].category, vst3::kAudioEffectClass);
    EXPECT_EQ(classes[0].name, "J'x Slicecast");
    EXPECT_EQ(classes[0].subCategories, "Fx|Delay");
    EXPECT_EQ(classes[0].sdkVersion, vst3::kVstVersionString);
    EXPECT_EQ(classes[1].category, vst3::kComponentControllerClass);
    EXPECT_EQ(testsupport::slicecastVst3Module().firstClassOf(vst3::kAudioEffectClass)->id, classes[0].id);
    EXPECT_FALSE(testsupport::slicecastVst3Module().firstClassOf("Plugin Compatibility Class"));
}

TEST(Vst3Instance, MakesTheProcessorAndItsConnectedControllerAndTakesThemApartCleanly) {
    vst3host::Vst3Instance effect(testsupport::slicecastVst3Module());
    EXPECT_FALSE(effect.singleComponent());
    ASSERT_TRUE(effect.controllerClass());
    EXPECT_EQ(*effect.controllerClass(), testsupport::slicecastVst3Module().classes()[1].id);
    EXPECT_TRUE(effect.connected());
    EXPECT_EQ(effect.parameterCount(), 7) << "the six and the program change";
    effect.start(48000.0, 256);
    EXPECT_TRUE(effect.active() && effect.processing());
    EXPECT_EQ(effect.close(), vst3::kResultOk);
    // What the plug-in kept of the host's objects it gave back.
    EXPECT_EQ(effect.context().references(), 1u);
    EXPECT_EQ(effect.handler().references(), 1u);
    EXPECT_TRUE(effect.handler().edits().empty()) << "the controller tells the host of no edit of its own";
}

TEST(Vst3Instance, RefusesCallsOutOfTheLifeCyclesOrder) {
    const struct {
        const char* name;
        std::function<void(vst3host::Vst3Instance&)> misuse;
    } rows[] = {
        {"process before processing", [](auto& e) { e.flush(nullptr); }},
        {"activate before setup", [](auto& e) { e.setActive(true); }},
        {"processing while inactive", [](auto& e) { e.setProcessing(true); }},
        {"arrangements while active",
         [](auto& e) {
             e.start(44100.0, 64);
             e.setBusArrangements({vst3::speaker_arrangements::kStereo}, {vst3::speaker_arrangements::kStereo});
         }},
        {"setup while active",
         [](auto& e) {
             e.start(44100.0, 64);
             e.setupProcessing(48000.0, 64);
         }},
        {"a block longer than the setup",
         [](auto& e) {
             e.start(44100.0, 64);
             e.process({nullptr, nullptr, 65, nullptr, nullptr});
         }},
    };
    for (const auto& row : rows) {
        vst3host::Vst3Instance effect(testsupport::slicecastVst3Module());
        EXPECT_THROW(row.misuse(effect), HostError) << row.name;
        EXPECT_EQ(effect.close(), vst3::kResultOk) << row.name;
    }
}

TEST(Vst3Instance, SavesAndLoadsStateThroughStreamsOfAnyStride) {
    vst3host::Vst3Instance saving(testsupport::slicecastVst3Module());
    ASSERT_EQ(saving.setNormalized(2, 0.25), vst3::kResultOk);
    saving.start(44100.0, 64);
    const auto changes = vst3host::makeHostObject<vst3host::ParameterChanges>();
    changes->add(2, 0, 0.25);
    ASSERT_EQ(saving.flush(changes.get()), vst3::kResultOk);
    const auto whole = saving.saveState();
    ASSERT_TRUE(whole);
    for (const vst3::int32 stride : {1, 5, INT32_MAX}) {
        EXPECT_EQ(saving.saveState(stride), whole) << stride;
        vst3host::Vst3Instance loading(testsupport::slicecastVst3Module());
        EXPECT_EQ(loading.loadState(*whole, stride), vst3::kResultOk) << stride;
        EXPECT_EQ(loading.saveState(), whole) << stride;
        EXPECT_EQ(loading.normalized(2), 0.25) << stride << ": the controller learns the values too";
    }
    vst3host::Vst3Instance refusing(testsupport::slicecastVst3Module());
    EXPECT_EQ(refusing.loadState({1, 2, 3}), vst3::kResultFalse);
}

TEST(Vst3Effect, ShowsPlainValuesAndSendsTheirNormalizedForms) {
    pluginhost::Vst3Effect effect(testsupport::slicecastVst3Path());
    EXPECT_EQ(effect.identifier(), vst3host::uidText(testsupport::slicecastVst3Module().classes()[0].id));
    const struct {
        std::int32_t index;
        pluginhost::ParameterRange range;
        float value;
        const char* display;
        const char* label;
        vst3::ParamValue normalized;
    } rows[] = {
        {0, {0.0f, 11.0f, true, true}, 7.0f, "1/16", "", 7.0 / 11.0},
        {1, {0.0f, 4.0f, true, true}, 1.0f, "2/1", "", 0.25},
        {2, {0.0f, 100.0f, false, false}, 35.0f, "35", "%", 0.35},
        {5, {0.0f, 100.0f, false, false}, 99.9f, "99", "%", 99.9f / 100.0},
    };
    for (const auto& row : rows) {
        const pluginhost::ParameterRange range = effect.parameterRange(row.index);
        EXPECT_EQ(range.minimum, row.range.minimum) << row.index;
        EXPECT_EQ(range.maximum, row.range.maximum) << row.index;
        EXPECT_EQ(range.stepped, row.range.stepped) << row.index;
        EXPECT_EQ(range.wholeNumbers, row.range.wholeNumbers) << row.index;
        effect.setParameter(row.index, row.value);
        EXPECT_EQ(effect.parameter(row.index), row.value);
        EXPECT_EQ(effect.parameterDisplay(row.index), row.display);
        EXPECT_EQ(effect.parameterLabel(row.index), row.label);
        EXPECT_EQ(effect.parameterFromText(row.index, row.display),
                  row.range.stepped ? row.value : std::stof(row.display));
        EXPECT_EQ(effect.instance().normalized(static_cast<vst3::ParamID>(row.index)), row.normalized)
            << "the controller follows the host";
    }
    EXPECT_FALSE(effect.parameterFromText(0, "1/5"));
    EXPECT_THROW(effect.requireRenderable(3), HostError);
    EXPECT_NO_THROW(effect.requireRenderable(1));
}

TEST(Vst3Effect, ListsTheContextEachCallWasGiven) {
    const pluginhost::Vst3Effect effect(testsupport::slicecastVst3Path());
    pluginhost::BlockTime time{48000.0, 1024.0, 2.5, 140.0, 4, 4, true, true, false};
    const vst3::ProcessContext context = vst3host::processContextOf(time);
    EXPECT_EQ(effect.told(time), time) << "doubles carry the time exactly";
    EXPECT_EQ(effect.timeColumns(), "context_state,project_time_music,tempo,project_time_samples");
    EXPECT_EQ(effect.timeFields(time), std::to_string(context.state) + ",2.5,0,1024");
}

}  // namespace
