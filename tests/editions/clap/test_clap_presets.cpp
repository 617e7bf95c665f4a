// The factory presets as a CLAP host meets them: the preset-discovery
// factory under both its ids, crawled as an indexer does, and the
// preset-load extension under both its ids, which loads a preset by its key
// (telling the host), refuses what is none, and is heard from the next
// block's start, as values flushed between blocks are.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "clap_pair.h"
#include "clap_preset_index.h"
#include "clap_transport.h"
#include "factory_presets.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_plugin.h"

namespace {

using claptest::ClapRig;
using slicecast::factoryPresets;

constexpr double kRate = 44100.0;
constexpr const char* kPluginId = "example.tiv-nar.slicecast";

std::array<double, 6> valuesOf(const claphost::ClapInstance& plugin) {
    std::array<double, 6> values{};
    for (clap::Id id = 0; id < 6; ++id) values[id] = *plugin.parameterValue(id);
    return values;
}

const clap::PluginPresetLoad& presetLoad(const claphost::ClapInstance& plugin) {
    const auto* extension = static_cast<const clap::PluginPresetLoad*>(plugin.extension(clap::kExtPresetLoad));
    EXPECT_NE(extension, nullptr);
    return *extension;
}

TEST(ClapPresets, TheDiscoveryFactoryDeclaresTheFourteenInsideThePlugin) {
    const claphost::ClapLibrary& library = testsupport::slicecastClapLibrary();
    const void* factory = library.entry().getFactory(clap::kPresetDiscoveryFactoryId);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(library.entry().getFactory(clap::kPresetDiscoveryFactoryDraftId), factory);

    const std::vector<claphost::IndexedPreset> presets = claphost::indexPresets(library, kPluginId);
    ASSERT_EQ(presets.size(), factoryPresets.size());
    for (std::size_t i = 0; i < presets.size(); ++i) {
        EXPECT_EQ(presets[i].name, factoryPresets[i].name);
        EXPECT_EQ(presets[i].loadKey, factoryPresets[i].key);
        EXPECT_EQ(presets[i].locationKind, clap::kPresetLocationPlugin);
        EXPECT_FALSE(presets[i].location) << "a location inside the plug-in is null";
    }
    EXPECT_TRUE(claphost::indexPresets(library, "another.plugin").empty()) << "each preset names this plug-in";

    // The provider is the factory's, and answers only for its own id.
    const auto& discovery = *static_cast<const clap::PresetDiscoveryFactory*>(factory);
    ASSERT_EQ(discovery.count(&discovery), 1u);
    const clap::PresetProviderDescriptor* descriptor = discovery.getDescriptor(&discovery, 0);
    EXPECT_EQ(discovery.getDescriptor(&discovery, 1), nullptr);
    const clap::PresetIndexer indexer{clap::kVersion, "test", "", "", "", nullptr, nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(discovery.create(&discovery, &indexer, "no.such.provider"), nullptr);
    const clap::PresetProvider* provider = discovery.create(&discovery, &indexer, descriptor->id);
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->desc, descriptor);
    const clap::PresetMetadataReceiver receiver{};
    EXPECT_FALSE(provider->getMetadata(provider, clap::kPresetLocationFile, "/tmp", &receiver)) << "no file presets";
    provider->destroy(provider);
}

TEST(ClapPresets, PresetLoadSetsThePresetsValuesByItsKeyAndTellsTheHost) {
    for (std::size_t i = 0; i < factoryPresets.size(); ++i) {
        ClapRig rig(kRate);
        const clap::PluginPresetLoad& load = presetLoad(rig.plugin);
        EXPECT_EQ(rig.plugin.extension(clap::kExtPresetLoadDraft), &load);
        EXPECT_TRUE(load.fromLocation(&rig.plugin.plugin(), clap::kPresetLocationPlugin, nullptr,
                                      factoryPresets[i].key));
        EXPECT_EQ(valuesOf(rig.plugin), factoryPresets[i].plain) << factoryPresets[i].name;
        EXPECT_EQ(rig.host.presetsLoaded(), std::vector<std::string>{factoryPresets[i].key});
        EXPECT_EQ(rig.host.paramsCalls(), 1) << "the host rescans the values";
    }
    const struct {
        const char* name;
        std::uint32_t kind;
        const char* location;
        const char* key;
    } refused[] = {
        {"an unknown key", clap::kPresetLocationPlugin, nullptr, "warm"},
        {"a file location", clap::kPresetLocationFile, "/presets/default", "default"},
        {"a path for the plug-in", clap::kPresetLocationPlugin, "/presets", "default"},
        {"no key", clap::kPresetLocationPlugin, nullptr, nullptr},
    };
    for (const auto& row : refused) {
        ClapRig rig(kRate);
        EXPECT_FALSE(presetLoad(rig.plugin).fromLocation(&rig.plugin.plugin(), row.kind, row.location, row.key))
            << row.name;
        EXPECT_EQ(valuesOf(rig.plugin), slicecast::kDefaultPlainValues) << row.name;
        EXPECT_EQ(rig.host.presetErrors().size(), 1u) << row.name;
        EXPECT_TRUE(rig.host.presetsLoaded().empty()) << row.name;
    }
}

TEST(ClapPresets, APresetLoadedWhilePlayingIsHeardFromTheNextBlockAsItsValuesSentThere) {
    constexpr std::uint32_t kBlock = 8192;
    const auto input = testsupport::noise(3 * kBlock, 12);
    for (const std::size_t preset : {std::size_t{2}, std::size_t{10}}) {
        const auto render = [&](bool loaded) {
            ClapRig rig(kRate, kBlock);
            pluginhost::StereoBuffer output(input.frames());
            for (std::size_t block = 0; block < 3; ++block) {
                const std::size_t at = block * kBlock;
                claphost::EventList atFirstFrame;
                if (block == 1 && loaded) {
                    EXPECT_TRUE(presetLoad(rig.plugin).fromLocation(&rig.plugin.plugin(), clap::kPresetLocationPlugin,
                                                                    nullptr, factoryPresets[preset].key));
                } else if (block == 1) {
                    for (clap::Id id = 0; id < 6; ++id)
                        atFirstFrame.addParamValue(0, id, factoryPresets[preset].plain[id]);
                }
                const clap::EventTransport transport =
                    claphost::playingTransport(static_cast<double>(at) * 2.0 / kRate, 120.0);
                rig.plugin.process({&input.left[at], &input.right[at], &output.left[at], &output.right[at], kBlock,
                                    &transport, &atFirstFrame});
            }
            return output;
        };
        EXPECT_TRUE(claptest::sameBits(render(true), render(false))) << factoryPresets[preset].name;
    }
}

}  // namespace
