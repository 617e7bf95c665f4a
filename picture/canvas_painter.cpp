#include "canvas_painter.h"

#include <algorithm>
#include <cmath>

#include "font.h"

namespace picture {

namespace {

// A scaled edge in pixels, kept just outside the canvas when it lies
// beyond it, so that it always fits an int.
int edge(double units, double scale, int size) {
    return static_cast<int>(std::clamp(std::floor(units * scale), -1.0, static_cast<double>(size) + 1.0));
}

}  // namespace

void CanvasPainter::fill(int x, int y, int width, int height, Colour colour) {
    if (width <= 0 || height <= 0) return;
    const int left = edge(x, scale_, canvas_.width());
    const int right = edge(static_cast<double>(x) + width, scale_, canvas_.width());
    const int top = edge(y, scale_, canvas_.height());
    const int bottom = edge(static_cast<double>(y) + height, scale_, canvas_.height());
    // Never thinner than a pixel: a one-unit line stays visible at any
    // scale.
    canvas_.fill(left, top, std::max(right - left, 1), std::max(bottom - top, 1), colour);
}

void CanvasPainter::text(double x, double baseline, double size, std::string_view text, Colour colour) {
    const double row = std::clamp(std::floor(baseline * scale_), -1.0e6, 1.0e6);
    Font::sans().draw(canvas_, static_cast<float>(x * scale_), static_cast<int>(row), static_cast<float>(size * scale_),
                      text, colour);
}

}  // namespace picture
