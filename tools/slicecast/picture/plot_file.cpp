#include "plot_file.h"

#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <memory>
#include <stdexcept>

#include "canvas_painter.h"
#include "plot_layout.h"
#include "sound_files/output_format.h"

namespace slicecastcli {

namespace {

struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using Context = std::unique_ptr<cairo_t, ContextRelease>;

void check(cairo_status_t status, const std::string& plotName) {
    if (status != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write " + plotName + ": " + cairo_status_to_string(status));
    }
}

// The picture as vectors: whole-unit rectangles without antialiasing, and
// text in the system's sans-serif font.
class SvgPainter final : public picture::Painter {
public:
    explicit SvgPainter(cairo_t* cr) : cr_(cr) {
        cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
        cairo_select_font_face(cr_, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    }

    void fill(int x, int y, int width, int height, picture::Colour colour) override {
        setColour(colour);
        cairo_rectangle(cr_, x, y, width, height);
        cairo_fill(cr_);
    }

    void text(double x, double baseline, double size, std::string_view text, picture::Colour colour) override {
        setColour(colour);
        cairo_set_font_size(cr_, size);
        cairo_move_to(cr_, x, baseline);
        cairo_show_text(cr_, std::string(text).c_str());
    }

private:
    void setColour(picture::Colour colour) {
        cairo_set_source_rgba(cr_, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0, colour.alpha / 255.0);
    }

    cairo_t* cr_;
};

// cairo and fontconfig keep what they set up (the fonts they found, the
// PNG writer's tables) for the life of the process. The tool writes at most
// one picture per run, so it gives them back afterwards: leak checkers then
// see the tool's own memory only. No cairo object may be alive, and no other
// thread drawing.
void releaseCairo() {
    cairo_debug_reset_static_data();
    FcFini();
}

void writeSvg(const picture::PlotContent& content, const std::string& plotName, const std::string& file) {
    const Surface surface(cairo_svg_surface_create(file.c_str(), picture::plot::kWidth, picture::plot::kHeight));
    check(cairo_surface_status(surface.get()), plotName);
    {
        const Context context(cairo_create(surface.get()));
        SvgPainter painter(context.get());
        picture::drawPlot(painter, content);
        check(cairo_status(context.get()), plotName);
    }
    cairo_surface_finish(surface.get());
    check(cairo_surface_status(surface.get()), plotName);
}

// The raster's pixels (0xAARRGGBB, opaque) are what cairo's RGB24 surface
// holds: written as PNG with no conversion.
void writePng(const picture::PlotContent& content, const std::string& plotName, const std::string& file) {
    picture::Canvas canvas(picture::plot::kWidth, picture::plot::kHeight);
    picture::CanvasPainter painter(canvas);
    picture::drawPlot(painter, content);
    const Surface surface(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(canvas.pixels()),
                                                              CAIRO_FORMAT_RGB24, canvas.width(), canvas.height(),
                                                              canvas.width() * 4));
    check(cairo_surface_status(surface.get()), plotName);
    check(cairo_surface_write_to_png(surface.get(), file.c_str()), plotName);
}

}  // namespace

bool isPlotFile(const std::string& path) {
    const std::string extension = extensionOf(path);
    return extension == "png" || extension == "svg";
}

void writePlot(const picture::PlotContent& content, const std::string& plotName, const std::string& file) {
    try {
        if (extensionOf(plotName) == "svg") writeSvg(content, plotName, file);
        else writePng(content, plotName, file);
    } catch (...) {
        releaseCairo();
        throw;
    }
    releaseCairo();
}

}  // namespace slicecastcli
