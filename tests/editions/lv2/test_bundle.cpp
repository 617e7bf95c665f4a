// The bundle as a host reads it: the plug-in's URI and name, its features,
// and every port with the symbol hosts save, the VST 2.4 edition's name,
// range, default and, for the two lengths, one scale point per step
// labelled as the VST 2.4 edition displays that step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <lv2/core/lv2.h>
#include <lv2/urid/urid.h>

#include "lv2_edition.h"
#include "lv2_identity.h"
#include "slicecast_plugin.h"

namespace {

using Kind = lv2host::PortInfo::Kind;

struct PortCase {
    std::uint32_t index;
    const char* symbol;
    Kind kind;
    // For control ports: the VST 2.4 parameter it stands for, range, default.
    std::int32_t parameter = -1;
    float minimum = 0.0f;
    float maximum = 0.0f;
    float defaultValue = 0.0f;
    bool stepped = false;
};

void PrintTo(const PortCase& c, std::ostream* out) { *out << c.symbol; }

const PortCase portCases[] = {
    {0, "in_l", Kind::AudioInput},
    {1, "in_r", Kind::AudioInput},
    {2, "out_l", Kind::AudioOutput},
    {3, "out_r", Kind::AudioOutput},
    {4, "wave_length", Kind::ControlInput, 0, 0.0f, 11.0f, 5.0f, true},
    {5, "update_period", Kind::ControlInput, 1, 0.0f, 4.0f, 3.0f, true},
    {6, "rate", Kind::ControlInput, 2, 0.0f, 100.0f, 70.0f},
    {7, "fade_out", Kind::ControlInput, 3, 0.0f, 100.0f, 0.0f},
    {8, "decay_rate", Kind::ControlInput, 4, 0.0f, 100.0f, 100.0f},
    {9, "mix", Kind::ControlInput, 5, 0.0f, 100.0f, 100.0f},
    {10, "control", Kind::AtomInput},
    {11, "notify", Kind::AtomOutput},
};

TEST(Bundle, NamesThePlugInAsTheVstEditionDoes) {
    const auto& plugin = lv2tests::slicecastLv2();
    EXPECT_EQ(plugin.uri(), slicecast::kLv2PluginUri);
    vst2host::Host host;
    vst2host::PluginInstance vst(host, testsupport::slicecastEntry());
    EXPECT_EQ(plugin.name(), vst.effectName());
    EXPECT_EQ(plugin.ports().size(), std::size(portCases));
}

TEST(Bundle, AsksForNoFeatureAndOffersRealTimeUse) {
    const auto& plugin = lv2tests::slicecastLv2();
    EXPECT_TRUE(plugin.requiredFeatures().empty());
    const auto& optional = plugin.optionalFeatures();
    for (const char* feature : {LV2_CORE__hardRTCapable, LV2_URID__map}) {
        EXPECT_NE(std::find(optional.begin(), optional.end(), feature), optional.end()) << feature;
    }
}

TEST(Bundle, IsFoundByItsUriOnTheLv2Path) {
    // What a host does with LV2_PATH set to the build's folder of bundles.
    const std::string folder = lv2tests::bundlePath().substr(0, lv2tests::bundlePath().rfind('/'));
    ASSERT_EQ(setenv("LV2_PATH", folder.c_str(), 1), 0);
    const lv2host::Lv2Plugin byUri(slicecast::kLv2PluginUri);
    EXPECT_EQ(byUri.name(), lv2tests::slicecastLv2().name());
}

// What a host says when there is no such plug-in: a bundle folder without
// a manifest, a URI nobody installed.
TEST(Bundle, HostNamesWhatItCannotFind) {
    const std::string folder = lv2tests::bundlePath().substr(0, lv2tests::bundlePath().rfind('/'));
    ASSERT_EQ(setenv("LV2_PATH", folder.c_str(), 1), 0);
    for (const std::string& missing : {folder, std::string("https://slicecast.tiv-nar.example/plugins/none")}) {
        try {
            const lv2host::Lv2Plugin plugin(missing);
            ADD_FAILURE() << "found a plug-in at " << missing;
        } catch (const lv2host::Lv2HostError& error) {
            EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
        }
    }
}

class BundlePorts : public testing::TestWithParam<PortCase> {};

TEST_P(BundlePorts, KeepTheirIndexSymbolAndMeaning) {
    const PortCase& c = GetParam();
    const auto& port = lv2tests::slicecastLv2().port(c.symbol);
    EXPECT_EQ(port.index, c.index);
    EXPECT_EQ(port.kind, c.kind);
    if (c.kind == Kind::AtomInput) {
        EXPECT_TRUE(port.connectionOptional);
        return;
    }
    if (c.parameter < 0) return;
    vst2host::Host host;
    vst2host::PluginInstance vst(host, testsupport::slicecastEntry());
    EXPECT_EQ(port.name, vst.parameterName(c.parameter));
    EXPECT_EQ(port.minimum, c.minimum);
    EXPECT_EQ(port.maximum, c.maximum);
    EXPECT_EQ(port.defaultValue, c.defaultValue);
    EXPECT_EQ(port.integer, c.stepped);
    EXPECT_EQ(port.enumeration, c.stepped);
    vst2host::PluginInstance fresh(host, testsupport::slicecastEntry());
    if (!c.stepped) {
        EXPECT_TRUE(port.scalePoints.empty());
        // The default is the VST 2.4 edition's, in percent.
        EXPECT_EQ(c.defaultValue / 100.0f, fresh.getParameter(c.parameter));
        return;
    }
    // One point per step, labelled as the VST 2.4 edition displays the step.
    ASSERT_EQ(port.scalePoints.size(), static_cast<std::size_t>(c.maximum) + 1);
    for (std::size_t step = 0; step < port.scalePoints.size(); ++step) {
        EXPECT_EQ(port.scalePoints[step].value, static_cast<float>(step));
        vst.setParameter(c.parameter, (static_cast<float>(step) + 0.5f) / c.maximum);
        EXPECT_EQ(port.scalePoints[step].label, vst.parameterDisplay(c.parameter)) << "step " << step;
    }
    // The default is the VST 2.4 edition's.
    vst.setParameter(c.parameter, (c.defaultValue + 0.5f) / c.maximum);
    EXPECT_EQ(vst.parameterDisplay(c.parameter), fresh.parameterDisplay(c.parameter));
}

INSTANTIATE_TEST_SUITE_P(Ports, BundlePorts, testing::ValuesIn(portCases),
                         [](const testing::TestParamInfo<PortCase>& info) { return std::string(info.param.symbol); });

}  // namespace
