// The library's one export, clap_entry, with the plug-in factory and the
// descriptor behind it, and the preset-discovery factory. Everything else
// in the library is hidden.
#include <cstring>

#include "clap_abi.h"
#include "clap_identity.h"
#include "clap_presets.h"
#include "slicecast_clap.h"
#include "slicecast_identity.h"

namespace {

using slicecast::SlicecastClap;

const clap::PluginDescriptor descriptor{clap::kVersion,
                                        slicecast::kClapPluginId,
                                        slicecast::kEffectName,
                                        slicecast::kVendorString,
                                        "",
                                        "",
                                        "",
                                        SLICECAST_VERSION,
                                        "Tempo-locked stereo slice repeat",
                                        slicecast::kClapFeatures};

// init and deinit hold nothing: all the library's data is constant, so
// any number of calls in any order is harmless.
bool SLICECAST_CLAP_CALL entryInit(const char*) { return true; }

void SLICECAST_CLAP_CALL entryDeinit() {}

std::uint32_t SLICECAST_CLAP_CALL pluginCount(const clap::PluginFactory*) { return 1; }

const clap::PluginDescriptor* SLICECAST_CLAP_CALL pluginDescriptor(const clap::PluginFactory*, std::uint32_t index) {
    return index == 0 ? &descriptor : nullptr;
}

const clap::Plugin* SLICECAST_CLAP_CALL createPlugin(const clap::PluginFactory*, const clap::Host* host,
                                                     const char* pluginId) {
    if (host == nullptr || pluginId == nullptr || !clap::isCompatible(host->clapVersion)) return nullptr;
    if (std::strcmp(pluginId, descriptor.id) != 0) return nullptr;
    return SlicecastClap::create(&descriptor, host);
}

const clap::PluginFactory factory{&pluginCount, &pluginDescriptor, &createPlugin};

const void* SLICECAST_CLAP_CALL entryFactory(const char* factoryId) {
    if (factoryId == nullptr) return nullptr;
    if (std::strcmp(factoryId, clap::kPluginFactoryId) == 0) return &factory;
    if (std::strcmp(factoryId, clap::kPresetDiscoveryFactoryId) == 0 ||
        std::strcmp(factoryId, clap::kPresetDiscoveryFactoryDraftId) == 0)
        return &slicecast::presetDiscoveryFactory;
    return nullptr;
}

}  // namespace

extern "C" SLICECAST_CLAP_EXPORT const clap::PluginEntry clap_entry{clap::kVersion, &entryInit, &entryDeinit,
                                                                    &entryFactory};
