#include "plot_drawing.h"

#include <algorithm>

#include "plot_layout.h"

namespace picture {

namespace {

using namespace plot;

constexpr double kCaptionSize = 18.0;
constexpr double kLabelSize = 14.0;
// Fewest pixels between two labelled bars, and between two beat ticks.
constexpr int kLabelSpacing = 60;
constexpr int kTickSpacing = 4;

// Vertical lines through every panel, not the gaps between them.
void drawLines(Painter& painter, const std::vector<std::int64_t>& frames, std::int64_t total, int panels,
               Colour colour) {
    for (std::int64_t frame : frames) {
        for (int panel = 0; panel < panels; ++panel) {
            const Rows rows = panelRows(panel, panels);
            painter.column(columnOf(frame, total), rows.top, rows.bottom, colour);
        }
    }
}

void drawWave(Painter& painter, const WaveformSummary& wave, Rows rows, Colour colour) {
    const std::vector<std::optional<SampleRange>> columns = wave.columns();
    for (std::size_t x = 0; x < columns.size(); ++x) {
        if (!columns[x]) continue;
        const int left = kLeft + static_cast<int>(x);
        painter.column(left, waveRow(columns[x]->highest, rows), waveRow(columns[x]->lowest, rows), colour);
    }
}

// name is the panel's kind; side, if any, the channel it shows.
void drawPanelFrame(Painter& painter, Rows rows, const std::string& side, const std::string& name) {
    const int height = rows.bottom - rows.top + 3;
    painter.fill(kLeft - 1, rows.top - 1, plotColumns() + 2, 1, kPanelFrame);
    painter.fill(kLeft - 1, rows.bottom + 1, plotColumns() + 2, 1, kPanelFrame);
    painter.fill(kLeft - 1, rows.top - 1, 1, height, kPanelFrame);
    painter.fill(kRight, rows.top - 1, 1, height, kPanelFrame);
    const double middle = (rows.top + rows.bottom) / 2.0;
    if (!side.empty()) painter.text(10, middle - 4, kLabelSize, side, kText);
    painter.text(10, middle + (side.empty() ? 5 : 14), kLabelSize, name, kText);
}

// Beat ticks under the panels, and bar numbers (counted from 1 at
// position 0) as densely as they stay readable.
void drawAxis(Painter& painter, const std::vector<BeatMark>& beats, std::int64_t total) {
    std::int64_t barsPerLabel = 1;
    const auto bars =
        std::count_if(beats.begin(), beats.end(), [](const BeatMark& mark) { return mark.beat % 4 == 0; });
    while (bars / barsPerLabel * kLabelSpacing > plotColumns()) barsPerLabel *= 2;
    const bool showBeats = static_cast<std::int64_t>(beats.size()) * kTickSpacing <= plotColumns();
    for (const BeatMark& mark : beats) {
        const int x = columnOf(mark.frame, total);
        const bool bar = mark.beat % 4 == 0;
        if (bar) painter.column(x, kBottom + 2, kBottom + 12, kText);
        else if (showBeats) painter.column(x, kBottom + 2, kBottom + 6, kText);
    }
    for (const BeatMark& mark : beats) {
        const std::int64_t barIndex = mark.beat >= 0 ? mark.beat / 4 : (mark.beat - 3) / 4;
        if (mark.beat % 4 != 0 || barIndex % barsPerLabel != 0) continue;
        painter.text(columnOf(mark.frame, total) + 3, kBottom + 26, kLabelSize, std::to_string(barIndex + 1), kText);
    }
    painter.text(10, kBottom + 26, kLabelSize, "bar", kText);
}

}  // namespace

void drawPlot(Painter& painter, const PlotContent& content) {
    painter.fill(0, 0, kWidth, kHeight, kBackground);
    painter.text(10, 30, kCaptionSize, content.title, kText);
    painter.text(10, 58, kLabelSize, content.details, kText);

    const std::int64_t total = content.dry.empty() ? 0 : content.dry.front().frames();
    const int channels = static_cast<int>(content.dry.size());
    const bool stereo = channels == 2;
    for (int channel = 0; channel < channels; ++channel) {
        const std::string side = stereo ? (channel == 0 ? "left" : "right") : "";
        drawPanelFrame(painter, panelRows(2 * channel, 2 * channels), side, "dry");
        drawPanelFrame(painter, panelRows(2 * channel + 1, 2 * channels), side, "processed");
    }
    // Lines first, lighter before darker, so that waveforms stay on top.
    if (content.passes) {
        drawLines(painter, content.passes->passStarts, total, 2 * channels, kPassLine);
        drawLines(painter, content.passes->periodStarts, total, 2 * channels, kPeriodLine);
    } else {
        std::vector<std::int64_t> bars;
        for (const BeatMark& mark : content.beats) {
            if (mark.beat % 4 == 0) bars.push_back(mark.frame);
        }
        drawLines(painter, bars, total, 2 * channels, kBarLine);
    }
    for (int channel = 0; channel < channels; ++channel) {
        const auto index = static_cast<std::size_t>(channel);
        drawWave(painter, content.dry[index], panelRows(2 * channel, 2 * channels), kDryWave);
        drawWave(painter, content.processed[index], panelRows(2 * channel + 1, 2 * channels), kProcessedWave);
    }
    drawAxis(painter, content.beats, total);
}

}  // namespace picture
