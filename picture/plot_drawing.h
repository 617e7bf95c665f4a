// Draws the picture of a render (see plot_layout.h) through a painter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "beat_marks.h"
#include "painter.h"
#include "pass_marks.h"
#include "waveform_summary.h"

namespace picture {

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

void drawPlot(Painter& painter, const PlotContent& content);

}  // namespace picture
