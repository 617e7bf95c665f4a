// The presets a CLAP library declares through its preset-discovery factory,
// crawled as a host's indexer does: each provider created, initialized
// (declaring its locations), asked for the metadata of every location, and
// destroyed. Only presets that name the plug-in are kept, in the order the
// provider gave them. A library without the factory has none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "clap_library.h"

namespace claphost {

struct IndexedPreset {
    std::string name;
    std::string loadKey;
    std::uint32_t locationKind;
    // None for a location inside the plug-in.
    std::optional<std::string> location;
};

// Throws HostError when a provider refuses to be made, to start or to tell
// a location's presets, or breaks the format's rules while doing so.
std::vector<IndexedPreset> indexPresets(const ClapLibrary& library, const std::string& pluginId);

}  // namespace claphost
