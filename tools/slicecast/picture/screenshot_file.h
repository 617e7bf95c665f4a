// A window's pixels written as a PNG file.
#pragma once

#include <string>

#include "host_window.h"

namespace slicecastcli {

// Throws when the file cannot be written.
void writeScreenshot(const pluginhost::Pixels& pixels, const std::string& file);

}  // namespace slicecastcli
