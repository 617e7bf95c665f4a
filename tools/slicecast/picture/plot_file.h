// Writes the picture of a render to a file: PNG painted by the raster (the
// same pixels as the web page and on every platform), SVG through cairo,
// which keeps its shapes and text as vectors.
#pragma once

#include <string>

#include "plot_drawing.h"

namespace slicecastcli {

// Whether the extension of path is one the picture can be written as.
bool isPlotFile(const std::string& path);

// Writes the picture to file (PNG or SVG as plotName's extension says);
// throws when it cannot.
void writePlot(const picture::PlotContent& content, const std::string& plotName, const std::string& file);

}  // namespace slicecastcli
