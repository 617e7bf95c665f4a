// Where the effect library to load is: the one the user names, or else the
// Slicecast library that was built or installed with this program.
#pragma once

#include <optional>
#include <string>

namespace slicecastcli {

// An URI as it is (an LV2 plug-in's); the user's path made absolute, so
// that dlopen opens that very file instead of searching the library path
// for a bare name; without one, the
// Slicecast library of the build tree (../editions/vst2/slicecast.so), else the
// installed one (../lib/vst/slicecast.so by default, or wherever
// SLICECAST_VST_DIR put it). Throws when there is none.
std::string pluginPath(const std::optional<std::string>& userPath);

}  // namespace slicecastcli
