// `slicecast info`: what a host sees of an effect.
#pragma once

#include <string>

namespace slicecastcli {

// Loads the effect, switches it on as for a render at 44100 Hz, and prints
// its identity, channels, flags, category and every parameter.
void runInfo(const std::string& pluginPath);

}  // namespace slicecastcli
