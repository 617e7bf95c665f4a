// `slicecast edit`: opens an effect's own editor in a window of this host
// and plays a sound through the effect in real time, looping, with the
// transport moving, as a DAW would while its user works the editor. No
// sound card is needed: the output is played to nowhere. With a screenshot
// file it writes the window's pixels at a point in time and quits.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "console/console.h"

namespace slicecastcli {

struct EditOptions {
    // A sound file; none plays the demo's drum loop.
    std::optional<std::string> input;
    double tempo = 120.0;
    // NAME=VALUE, applied in order before the editor opens.
    std::vector<std::string> settings;
    // The display scale told to the editor; 0 tells none.
    double scale = 0.0;
    // Where to write the window's pixels as PNG (none if empty), and how
    // many seconds after the editor opened.
    std::string screenshot;
    double at = 2.0;
};

void runEdit(const std::string& pluginPath, const EditOptions& options, const Console& console);

}  // namespace slicecastcli
