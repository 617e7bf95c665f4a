// The factory presets as CLAP hosts find them: a preset-discovery factory
// with one provider, which declares one location inside the plug-in and,
// when crawled, each preset by its name and its key (the table's), for
// this plug-in. Loading one by its key is the plug-in's preset-load
// extension (slicecast_clap.h). Everything here is constant: any thread,
// any number of providers at once.
#pragma once

#include <cstdint>

#include "clap_abi.h"

namespace slicecast {

extern const clap::PresetDiscoveryFactory presetDiscoveryFactory;

// The preset a load names: the plug-in location and a known key; -1 for
// anything else.
std::int32_t presetOfLocation(std::uint32_t locationKind, const char* location, const char* loadKey) noexcept;

}  // namespace slicecast
