// --preset NAME: one of the effect's own presets, by its name (any case),
// loaded the format's own way (a VST 3 program change, CLAP's preset-load,
// an LV2 preset's state) before any --set, so that a render tests what a
// host's preset menu does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hosted_effect.h"

namespace slicecastcli {

// The index of the preset of that name; throws, listing the effect's
// presets (or saying that it has none), when there is none.
std::int32_t presetIndex(pluginhost::HostedEffect& effect, std::string_view name);

// Loads the preset of that name; answers its name as the effect lists it.
std::string loadPreset(pluginhost::HostedEffect& effect, std::string_view name);

}  // namespace slicecastcli
