// `slicecast info`: what a host sees of an effect.
#pragma once

#include <string>

namespace slicecastcli {

// Loads the effect, makes it ready as for a render at 44100 Hz, and prints
// what its format tells of it (identity, channels, ports) and every parameter.
void runInfo(const std::string& pluginPath);

}  // namespace slicecastcli
