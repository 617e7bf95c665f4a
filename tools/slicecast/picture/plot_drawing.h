// Draws the picture of a render (see plot_layout.h) with cairo, as PNG or
// SVG by the file's extension.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "beat_grid.h"
#include "pass_marks.h"
#include "waveform_summary.h"

namespace slicecastcli {

struct PlotContent {
    // One of each per channel: what went into the effect and what came out.
    std::vector<WaveformSummary> dry;
    std::vector<WaveformSummary> processed;
    std::vector<BeatMark> beats;
    // Slicecast's periods and passes; without them the bars are drawn.
    std::optional<PassMarks> passes;
    std::string title;
    std::string details;
};

// Whether the extension of path is one the picture can be written as.
bool isPlotFile(const std::string& path);

// Writes the picture to file (PNG or SVG as plotName's extension says);
// throws when cairo cannot.
void drawPlot(const PlotContent& content, const std::string& plotName, const std::string& file);

// cairo and fontconfig keep the fonts they found for the life of the
// process. The tool draws at most one picture per run, so it gives them
// back afterwards: leak checkers then see the tool's own memory only. No
// cairo object may be alive, and no other thread drawing.
void releaseFontCaches();

}  // namespace slicecastcli
