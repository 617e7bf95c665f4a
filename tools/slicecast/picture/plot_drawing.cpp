#include "plot_drawing.h"

#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "sound_files/output_format.h"
#include "plot_layout.h"

namespace slicecastcli {

namespace {

using namespace plot;

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

constexpr double kCaptionSize = 18.0;
constexpr double kLabelSize = 14.0;
// Fewest pixels between two labelled bars, and between two beat ticks.
constexpr int kLabelSpacing = 60;
constexpr int kTickSpacing = 4;

void setColour(cairo_t* cr, Colour colour) {
    cairo_set_source_rgb(cr, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

// A one-pixel column from row top to row bottom, both included.
void column(cairo_t* cr, int x, int top, int bottom) {
    cairo_rectangle(cr, x, top, 1, bottom - top + 1);
}

void text(cairo_t* cr, double x, double y, double size, const std::string& words) {
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, words.c_str());
}

// Vertical lines through every panel, not the gaps between them.
void drawLines(cairo_t* cr, const std::vector<std::int64_t>& frames, std::int64_t total, int panels, Colour colour) {
    setColour(cr, colour);
    for (std::int64_t frame : frames) {
        for (int panel = 0; panel < panels; ++panel) {
            const Rows rows = panelRows(panel, panels);
            column(cr, columnOf(frame, total), rows.top, rows.bottom);
        }
    }
    cairo_fill(cr);
}

void drawWave(cairo_t* cr, const WaveformSummary& wave, Rows rows, Colour colour) {
    const double middle = (rows.top + rows.bottom) / 2.0;
    const double half = (rows.bottom - rows.top) / 2.0;
    const auto rowOf = [&](float sample) {
        return static_cast<int>(middle - std::clamp(sample, -1.0f, 1.0f) * half + 0.5);
    };
    setColour(cr, colour);
    const std::vector<std::optional<SampleRange>> columns = wave.columns();
    for (std::size_t x = 0; x < columns.size(); ++x) {
        if (!columns[x]) continue;
        column(cr, kLeft + static_cast<int>(x), rowOf(columns[x]->highest), rowOf(columns[x]->lowest));
    }
    cairo_fill(cr);
}

// name is the panel's kind; side, if any, the channel it shows.
void drawPanelFrame(cairo_t* cr, Rows rows, const std::string& side, const std::string& name) {
    setColour(cr, kPanelFrame);
    cairo_rectangle(cr, kLeft - 1, rows.top - 1, plotColumns() + 2, rows.bottom - rows.top + 3);
    cairo_rectangle(cr, kLeft, rows.top, plotColumns(), rows.bottom - rows.top + 1);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_fill(cr);
    setColour(cr, kText);
    const double middle = (rows.top + rows.bottom) / 2.0;
    if (!side.empty()) text(cr, 10, middle - 4, kLabelSize, side);
    text(cr, 10, middle + (side.empty() ? 5 : 14), kLabelSize, name);
}

// Beat ticks under the panels, and bar numbers (counted from 1 at
// position 0) as densely as they stay readable.
void drawAxis(cairo_t* cr, const std::vector<BeatMark>& beats, std::int64_t total) {
    std::int64_t barsPerLabel = 1;
    const auto bars =
        std::count_if(beats.begin(), beats.end(), [](const BeatMark& mark) { return mark.beat % 4 == 0; });
    while (bars / barsPerLabel * kLabelSpacing > plotColumns()) barsPerLabel *= 2;
    const bool showBeats = static_cast<std::int64_t>(beats.size()) * kTickSpacing <= plotColumns();
    setColour(cr, kText);
    for (const BeatMark& mark : beats) {
        const int x = columnOf(mark.frame, total);
        const bool bar = mark.beat % 4 == 0;
        if (bar) column(cr, x, kBottom + 2, kBottom + 12);
        else if (showBeats) column(cr, x, kBottom + 2, kBottom + 6);
    }
    cairo_fill(cr);
    for (const BeatMark& mark : beats) {
        const std::int64_t barIndex = mark.beat >= 0 ? mark.beat / 4 : (mark.beat - 3) / 4;
        if (mark.beat % 4 != 0 || barIndex % barsPerLabel != 0) continue;
        text(cr, columnOf(mark.frame, total) + 3, kBottom + 26, kLabelSize, std::to_string(barIndex + 1));
    }
    text(cr, 10, kBottom + 26, kLabelSize, "bar");
}

void drawAll(cairo_t* cr, const PlotContent& content) {
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    setColour(cr, kBackground);
    cairo_paint(cr);
    setColour(cr, kText);
    text(cr, 10, 30, kCaptionSize, content.title);
    text(cr, 10, 58, kLabelSize, content.details);

    const std::int64_t total = content.dry.empty() ? 0 : content.dry.front().frames();
    const int channels = static_cast<int>(content.dry.size());
    const bool stereo = channels == 2;
    for (int channel = 0; channel < channels; ++channel) {
        const std::string side = stereo ? (channel == 0 ? "left" : "right") : "";
        drawPanelFrame(cr, panelRows(2 * channel, 2 * channels), side, "dry");
        drawPanelFrame(cr, panelRows(2 * channel + 1, 2 * channels), side, "processed");
    }
    // Lines first, lighter before darker, so that waveforms stay on top.
    if (content.passes) {
        drawLines(cr, content.passes->passStarts, total, 2 * channels, kPassLine);
        drawLines(cr, content.passes->periodStarts, total, 2 * channels, kPeriodLine);
    } else {
        std::vector<std::int64_t> bars;
        for (const BeatMark& mark : content.beats) {
            if (mark.beat % 4 == 0) bars.push_back(mark.frame);
        }
        drawLines(cr, bars, total, 2 * channels, kBarLine);
    }
    for (int channel = 0; channel < channels; ++channel) {
        const auto index = static_cast<std::size_t>(channel);
        drawWave(cr, content.dry[index], panelRows(2 * channel, 2 * channels), kDryWave);
        drawWave(cr, content.processed[index], panelRows(2 * channel + 1, 2 * channels), kProcessedWave);
    }
    drawAxis(cr, content.beats, total);
}

void check(cairo_status_t status, const std::string& plotName) {
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + plotName + ": " + cairo_status_to_string(status));
    }
}

}  // namespace

bool isPlotFile(const std::string& path) {
    const std::string extension = extensionOf(path);
    return extension == "png" || extension == "svg";
}

void drawPlot(const PlotContent& content, const std::string& plotName, const std::string& file) {
    const bool svg = extensionOf(plotName) == "svg";
    const Surface surface(svg ? cairo_svg_surface_create(file.c_str(), kWidth, kHeight)
                              : cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight));
    check(cairo_surface_status(surface.get()), plotName);
    {
        const Context context(cairo_create(surface.get()));
        drawAll(context.get(), content);
        check(cairo_status(context.get()), plotName);
    }
    if (!svg) check(cairo_surface_write_to_png(surface.get(), file.c_str()), plotName);
    cairo_surface_finish(surface.get());
    check(cairo_surface_status(surface.get()), plotName);
}

void releaseFontCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace slicecastcli
