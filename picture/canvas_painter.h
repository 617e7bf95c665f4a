// A painter that draws into a canvas, scale pixels to the unit (1, 1.5, 2
// for a display's scale). A rectangle covers the pixels from its scaled left
// and top edges, rounded down, to its scaled right and bottom edges, rounded
// down: shapes that touch in units touch in pixels, with no gap and no
// overlap, and every edge is crisp.
#pragma once

#include "canvas.h"
#include "painter.h"

namespace picture {

class CanvasPainter final : public Painter {
public:
    explicit CanvasPainter(Canvas& canvas, double scale = 1.0) : canvas_(canvas), scale_(scale) {}

    void fill(int x, int y, int width, int height, Colour colour) override;
    void text(double x, double baseline, double size, std::string_view text, Colour colour) override;

    double scale() const { return scale_; }

private:
    Canvas& canvas_;
    double scale_;
};

}  // namespace picture
