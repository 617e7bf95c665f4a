// `slicecast demo`: a drum loop made in code, written dry and as played
// through Slicecast, so that one command shows what the effect does.
#pragma once

#include <string>

#include "console/console.h"

namespace slicecastcli {

// Writes dry.wav, slicecast.wav and its picture slicecast.png into folder (made if missing) and tells
// where they are and which settings were used.
void runDemo(const std::string& pluginPath, const std::string& folder, const Console& console);

}  // namespace slicecastcli
