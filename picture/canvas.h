// A picture in memory: 32-bit pixels (see colour.h), row after row with no
// padding, drawn without antialiasing so that a shape covers whole pixels.
// Every drawing call clips to the canvas, whatever its coordinates; all
// blending is integer arithmetic, so a picture is the same to the bit on
// every platform.
#pragma once

#include <cstdint>
#include <vector>

#include "colour.h"

namespace picture {

class Canvas {
public:
    // Opaque black until drawn on.
    Canvas(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint32_t* pixels() const { return pixels_.data(); }
    std::uint32_t* pixels() { return pixels_.data(); }
    // The pixel at x, y, which must lie on the canvas.
    std::uint32_t at(int x, int y) const;

    // The whole canvas in one colour, its alpha as given (no blending).
    void clear(Colour colour);
    // A filled rectangle, blended by the colour's alpha.
    void fill(int x, int y, int width, int height, Colour colour);
    // One-pixel lines, both ends included, in either order.
    void horizontalLine(int x0, int x1, int y, Colour colour);
    void verticalLine(int x, int y0, int y1, Colour colour);
    // One pixel covered coverage/255 of the way (text's edges), blended by
    // the colour's alpha too.
    void cover(int x, int y, int coverage, Colour colour);

private:
    // Half-open spans in 64 bits: the callers' ends may lie one past the
    // integer limits.
    void fillArea(std::int64_t left, std::int64_t right, std::int64_t top, std::int64_t bottom, Colour colour);

    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace picture
