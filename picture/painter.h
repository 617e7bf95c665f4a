// What a picture is drawn through: filled rectangles and text, in the
// picture's own units. The raster (canvas_painter.h) draws them into pixels
// at any scale; other painters (a vector file) draw the same picture their
// own way.
#pragma once

#include <string_view>

#include "colour.h"

namespace picture {

class Painter {
public:
    virtual ~Painter() = default;

    virtual void fill(int x, int y, int width, int height, Colour colour) = 0;
    // text with its baseline's left end at x, baseline, size units to the em.
    virtual void text(double x, double baseline, double size, std::string_view text, Colour colour) = 0;

    // A one-unit column from row top to row bottom, both included.
    void column(int x, int top, int bottom, Colour colour) { fill(x, top, 1, bottom - top + 1, colour); }
};

}  // namespace picture
