// The hosts of the formats that not every build has: LV2 needs lilv, which
// only the Linux builds use. The build picks lv2_loader.cpp where it has
// lilv and lv2_loader_missing.cpp elsewhere.
#pragma once

#include <memory>
#include <string>

#include "hosted_effect.h"

namespace slicecastcli {

// An LV2 plug-in from its bundle folder or URI; throws where this build
// cannot host LV2 or the plug-in cannot be loaded.
std::unique_ptr<vsthost::HostedEffect> loadLv2Effect(const std::string& bundleOrUri);

}  // namespace slicecastcli
