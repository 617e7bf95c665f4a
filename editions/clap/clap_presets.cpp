#include "clap_presets.h"

#include <cstring>
#include <new>

#include "clap_identity.h"
#include "factory_presets.h"
#include "slicecast_identity.h"

namespace slicecast {

namespace {

const clap::PresetProviderDescriptor providerDescriptor{clap::kVersion, "example.tiv-nar.slicecast.factory-presets",
                                                        "J'x Slicecast factory presets", kVendorString};

// The provider keeps only the indexer it was made for.
struct Provider {
    clap::PresetProvider provider;
    const clap::PresetIndexer* indexer;
};

const clap::PresetIndexer& indexerOf(const clap::PresetProvider* provider) noexcept {
    return *static_cast<const Provider*>(provider->providerData)->indexer;
}

bool SLICECAST_CLAP_CALL providerInit(const clap::PresetProvider* provider) {
    const clap::PresetIndexer& indexer = indexerOf(provider);
    if (indexer.declareLocation == nullptr) return false;
    const clap::PresetLocation location{clap::kPresetIsFactoryContent, "Factory", clap::kPresetLocationPlugin, nullptr};
    return indexer.declareLocation(&indexer, &location);
}

void SLICECAST_CLAP_CALL providerDestroy(const clap::PresetProvider* provider) {
    delete static_cast<Provider*>(provider->providerData);
}

bool SLICECAST_CLAP_CALL providerMetadata(const clap::PresetProvider*, std::uint32_t locationKind,
                                          const char* location, const clap::PresetMetadataReceiver* receiver) {
    if (receiver == nullptr || locationKind != clap::kPresetLocationPlugin || location != nullptr) return false;
    if (receiver->beginPreset == nullptr || receiver->addPluginId == nullptr) return false;
    const clap::UniversalPluginId plugin{"clap", kClapPluginId};
    for (const FactoryPreset& preset : factoryPresets) {
        if (!receiver->beginPreset(receiver, preset.name, preset.key)) break;
        receiver->addPluginId(receiver, &plugin);
        if (receiver->setFlags != nullptr) receiver->setFlags(receiver, clap::kPresetIsFactoryContent);
        if (receiver->addCreator != nullptr) receiver->addCreator(receiver, kVendorString);
    }
    return true;
}

const void* SLICECAST_CLAP_CALL providerExtension(const clap::PresetProvider*, const char*) { return nullptr; }

std::uint32_t SLICECAST_CLAP_CALL providerCount(const clap::PresetDiscoveryFactory*) { return 1; }

const clap::PresetProviderDescriptor* SLICECAST_CLAP_CALL providerDescriptorAt(const clap::PresetDiscoveryFactory*,
                                                                               std::uint32_t index) {
    return index == 0 ? &providerDescriptor : nullptr;
}

// The host may not be called before init: creating only keeps it.
const clap::PresetProvider* SLICECAST_CLAP_CALL createProvider(const clap::PresetDiscoveryFactory*,
                                                               const clap::PresetIndexer* indexer,
                                                               const char* providerId) {
    if (indexer == nullptr || providerId == nullptr || std::strcmp(providerId, providerDescriptor.id) != 0)
        return nullptr;
    auto* made = new (std::nothrow) Provider{{&providerDescriptor, nullptr, &providerInit, &providerDestroy,
                                              &providerMetadata, &providerExtension},
                                             indexer};
    if (made == nullptr) return nullptr;
    made->provider.providerData = made;
    return &made->provider;
}

}  // namespace

const clap::PresetDiscoveryFactory presetDiscoveryFactory{&providerCount, &providerDescriptorAt, &createProvider};

std::int32_t presetOfLocation(std::uint32_t locationKind, const char* location, const char* loadKey) noexcept {
    if (locationKind != clap::kPresetLocationPlugin || location != nullptr || loadKey == nullptr) return -1;
    return factoryPresetOfKey(loadKey);
}

}  // namespace slicecast
