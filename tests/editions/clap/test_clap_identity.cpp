// What a CLAP host learns of the edition before it plays anything: the
// entry and factory, the descriptor, the ports and the six parameters with
// their texts.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "clap_instance.h"
#include "slicecast_clap_plugin.h"

namespace {

using testsupport::slicecastClapLibrary;

std::vector<std::string> featuresOf(const clap::PluginDescriptor& descriptor) {
    std::vector<std::string> features;
    for (const char* const* feature = descriptor.features; *feature != nullptr; ++feature) features.emplace_back(*feature);
    return features;
}

TEST(ClapIdentity, TheFactoryListsOnePlugInWithTheEffectsDescriptor) {
    const auto descriptors = slicecastClapLibrary().descriptors();
    ASSERT_EQ(descriptors.size(), 1u);
    const clap::PluginDescriptor& descriptor = *descriptors[0];
    EXPECT_GE(descriptor.clapVersion.major, 1u);
    EXPECT_STREQ(descriptor.id, "example.tiv-nar.slicecast");
    EXPECT_STREQ(descriptor.name, "J'x Slicecast");
    EXPECT_STREQ(descriptor.vendor, "J'x Tiv-nar");
    EXPECT_STREQ(descriptor.version, SLICECAST_VERSION);
    EXPECT_EQ(featuresOf(descriptor), (std::vector<std::string>{"audio-effect", "glitch", "delay", "stereo"}));

    const claphost::HostObject host;
    const claphost::ClapInstance plugin(slicecastClapLibrary(), host);
    EXPECT_EQ(&plugin.descriptor(), &descriptor) << "the instance must carry the factory's descriptor";
}

TEST(ClapIdentity, TheEntryAndFactoryRefuseWhatTheyDoNotKnow) {
    const clap::PluginEntry& entry = slicecastClapLibrary().entry();
    EXPECT_GE(entry.clapVersion.major, 1u);
    for (const char* id : {"clap.plugin-factory.", "clap.preset-discovery-factory", "", "CLAP.PLUGIN-FACTORY"})
        EXPECT_EQ(entry.getFactory(id), nullptr) << id;
    EXPECT_EQ(entry.getFactory(nullptr), nullptr);

    // init and deinit may come again and again, counted or not.
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(entry.init(testsupport::slicecastClapPath().c_str()));
    for (int i = 0; i < 3; ++i) entry.deinit();

    const clap::PluginFactory& factory = slicecastClapLibrary().factory();
    EXPECT_EQ(factory.getPluginDescriptor(&factory, 1), nullptr);
    const claphost::HostObject host;
    const struct {
        const clap::Host* host;
        const char* id;
    } refused[] = {
        {host.host(), "example.tiv-nar.slicecast.extra"},
        {host.host(), "example.tiv-nar.slicecas"},
        {host.host(), ""},
        {host.host(), nullptr},
        {nullptr, "example.tiv-nar.slicecast"},
    };
    for (const auto& call : refused)
        EXPECT_EQ(factory.createPlugin(&factory, call.host, call.id), nullptr) << (call.id ? call.id : "(null id)");
}

TEST(ClapIdentity, OneMainStereoPortEachWayThatMayShareBuffers) {
    const claphost::HostObject host;
    const claphost::ClapInstance plugin(slicecastClapLibrary(), host);
    const auto inputs = plugin.audioPorts(true);
    const auto outputs = plugin.audioPorts(false);
    ASSERT_EQ(inputs.size(), 1u);
    ASSERT_EQ(outputs.size(), 1u);
    for (const auto* port : {&inputs[0], &outputs[0]}) {
        EXPECT_EQ(port->flags & clap::kAudioPortIsMain, clap::kAudioPortIsMain);
        EXPECT_EQ(port->flags & clap::kAudioPortSupports64Bits, 0u);
        EXPECT_EQ(port->channelCount, 2u);
        EXPECT_STREQ(port->portType, "stereo");
        EXPECT_NE(std::strlen(port->name), 0u);
    }
    EXPECT_EQ(inputs[0].inPlacePair, outputs[0].id);
    EXPECT_EQ(outputs[0].inPlacePair, inputs[0].id);
}

struct ParameterRow {
    clap::Id id;
    const char* name;
    double minimum;
    double maximum;
    double defaultValue;
    bool stepped;
};

TEST(ClapIdentity, SixParametersWithTheirIdsNamesRangesAndDefaults) {
    const ParameterRow rows[] = {
        {0, "WaveLength", 0, 11, 5, true}, {1, "UpdatePeriod", 0, 4, 3, true}, {2, "Rate", 0, 100, 70, false},
        {3, "FadeOut", 0, 100, 0, false},  {4, "DecayRate", 0, 100, 100, false}, {5, "Mix", 0, 100, 100, false},
    };
    const claphost::HostObject host;
    const claphost::ClapInstance plugin(slicecastClapLibrary(), host);
    ASSERT_EQ(plugin.parameterCount(), 6u);
    for (std::uint32_t index = 0; index < 6; ++index) {
        const ParameterRow& row = rows[index];
        const auto info = plugin.parameterInfo(index);
        ASSERT_TRUE(info) << row.name;
        EXPECT_EQ(info->id, row.id);
        EXPECT_STREQ(info->name, row.name);
        EXPECT_STREQ(info->module, "");
        EXPECT_EQ(info->minValue, row.minimum) << row.name;
        EXPECT_EQ(info->maxValue, row.maximum) << row.name;
        EXPECT_EQ(info->defaultValue, row.defaultValue) << row.name;
        const std::uint32_t flags = clap::kParamIsAutomatable | (row.stepped ? clap::kParamIsStepped : 0u);
        EXPECT_EQ(info->flags, flags) << row.name;
        EXPECT_EQ(plugin.parameterValue(row.id), row.defaultValue) << row.name << " after init";
    }
    EXPECT_FALSE(plugin.parameterInfo(6));
    EXPECT_FALSE(plugin.parameterValue(6));
    EXPECT_FALSE(plugin.parameterValue(clap::kInvalidId));
}

struct TextRow {
    clap::Id id;
    double value;
    const char* text;
};

TEST(ClapIdentity, ValuesShowTheVstEditionsTextsWithTheirUnit) {
    // Percentages show as the VST 2.4 edition shows the fraction the sound
    // plays: value / 100 in single precision, times 100, truncated (53 is
    // 0.52999997f and shows 52).
    const TextRow rows[] = {
        {0, 0, "1/1"},       {0, 5, "1/8"},        {0, 4.5, "1/8"},     {0, 4.49, "1/6"},   {0, 11, "1/64"},
        {0, 99, "1/64"},     {0, -3, "1/1"},       {1, 0, "4/1"},       {1, 3, "1/2"},      {1, 4, "1/4"},
        {2, 70, "70 %"},     {2, 0, "0 %"},        {2, 100, "100 %"},   {2, 33.3, "33 %"},  {3, 99.99, "99 %"},
        {4, 150, "100 %"},   {5, -20, "0 %"},      {5, 0.5, "0 %"},     {4, 53, "52 %"},
    };
    const claphost::HostObject host;
    const claphost::ClapInstance plugin(slicecastClapLibrary(), host);
    for (const TextRow& row : rows)
        EXPECT_EQ(plugin.valueToText(row.id, row.value), std::optional<std::string>(row.text))
            << "id " << row.id << ", value " << row.value;
    EXPECT_FALSE(plugin.valueToText(6, 1.0));
    // A text that does not fit with its NUL is refused, not cut.
    EXPECT_FALSE(plugin.valueToText(0, 11, 4));
    EXPECT_EQ(plugin.valueToText(0, 11, 5), std::optional<std::string>("1/64"));
    EXPECT_FALSE(plugin.valueToText(2, 100, 5));
}

TEST(ClapIdentity, EveryTextShownIsReadBackToItsValue) {
    const claphost::HostObject host;
    const claphost::ClapInstance plugin(slicecastClapLibrary(), host);
    for (clap::Id id = 0; id < 6; ++id) {
        const double maximum = plugin.parameterInfo(id)->maxValue;
        for (double value = 0; value <= maximum; value += 1.0) {
            const auto text = plugin.valueToText(id, value);
            ASSERT_TRUE(text);
            const auto back = plugin.textToValue(id, *text);
            ASSERT_TRUE(back) << *text;
            EXPECT_EQ(plugin.valueToText(id, *back), text) << "id " << id << ", " << *text;
        }
    }
}

TEST(ClapIdentity, TextsAreReadWithOrWithoutTheUnitAndNonsenseIsRefused) {
    const struct {
        clap::Id id;
        const char* text;
        std::optional<double> value;
    } rows[] = {
        {0, "1/8", 5},      {0, " 1/64 ", 11}, {0, "1/5", {}},    {0, "8", {}},     {0, "", {}},
        {1, "1/1", 2},      {1, "4/1", 0},     {1, "1/8", {}},    {2, "70", 70},    {2, "70 %", 70},
        {2, "70%", 70},     {2, "12.5 %", 12.5}, {2, "250", 100}, {2, "-4", 0},     {3, "abc", {}},
        {3, "7 0", {}},     {3, "%", {}},      {3, "nan", {}},    {3, "inf", {}},   {6, "70", {}},
    };
    const claphost::HostObject host;
    const claphost::ClapInstance plugin(slicecastClapLibrary(), host);
    for (const auto& row : rows) EXPECT_EQ(plugin.textToValue(row.id, row.text), row.value) << row.id << " '" << row.text << "'";
}

}  // namespace
