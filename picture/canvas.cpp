#include "canvas.h"

#include <algorithm>

namespace picture {

namespace {

// One channel: rounded to the nearest of 0..255.
std::uint32_t mix(std::uint32_t destination, std::uint32_t source, std::uint32_t alpha) {
    return (source * alpha + destination * (255 - alpha) + 127) / 255;
}

// source over destination, alpha from 0 (none) to 255 (all of source).
std::uint32_t blend(std::uint32_t destination, Colour source, int alpha) {
    const auto a = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
    if (a == 255) return source.word();
    const std::uint32_t below = destination;
    const std::uint32_t above = source.word();
    const auto channel = [&](int shift) { return mix((below >> shift) & 0xFF, (above >> shift) & 0xFF, a) << shift; };
    const std::uint32_t covered = a + ((below >> 24) * (255 - a) + 127) / 255;
    return (covered << 24) | channel(16) | channel(8) | channel(0);
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), Colour{0, 0, 0}.word()) {}

std::uint32_t Canvas::at(int x, int y) const {
    return pixels_.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x));
}

void Canvas::clear(Colour colour) { std::fill(pixels_.begin(), pixels_.end(), colour.word()); }

void Canvas::fill(int x, int y, int width, int height, Colour colour) {
    if (width <= 0 || height <= 0) return;
    fillArea(x, std::int64_t{x} + width, y, std::int64_t{y} + height, colour);
}

void Canvas::horizontalLine(int x0, int x1, int y, Colour colour) {
    const auto [from, to] = std::minmax(x0, x1);
    fillArea(from, std::int64_t{to} + 1, y, std::int64_t{y} + 1, colour);
}

void Canvas::verticalLine(int x, int y0, int y1, Colour colour) {
    const auto [from, to] = std::minmax(y0, y1);
    fillArea(x, std::int64_t{x} + 1, from, std::int64_t{to} + 1, colour);
}

void Canvas::fillArea(std::int64_t left, std::int64_t right, std::int64_t top, std::int64_t bottom, Colour colour) {
    const auto firstColumn = static_cast<int>(std::max<std::int64_t>(left, 0));
    const auto endColumn = static_cast<int>(std::min<std::int64_t>(right, width_));
    const auto firstRow = static_cast<int>(std::max<std::int64_t>(top, 0));
    const auto endRow = static_cast<int>(std::min<std::int64_t>(bottom, height_));
    const std::uint32_t word = colour.word();
    for (int row = firstRow; row < endRow; ++row) {
        std::uint32_t* line = pixels_.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width_);
        if (colour.alpha >= 255) {
            if (firstColumn < endColumn) std::fill(line + firstColumn, line + endColumn, word);
        } else {
            for (int column = firstColumn; column < endColumn; ++column) {
                line[column] = blend(line[column], colour, colour.alpha);
            }
        }
    }
}

void Canvas::cover(int x, int y, int coverage, Colour colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint32_t& pixel = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                   static_cast<std::size_t>(x)];
    pixel = blend(pixel, colour, (std::clamp(coverage, 0, 255) * std::clamp(colour.alpha, 0, 255) + 127) / 255);
}

}  // namespace picture

