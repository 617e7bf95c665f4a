// A colour as the raster stores it: one 32-bit word 0xAARRGGBB, which is
// what X11 at depth 24 and a 32-bit Windows bitmap take as they are.
#pragma once

#include <cstdint>

namespace picture {

struct Colour {
    int red;
    int green;
    int blue;
    // 255 covers what lies below; less blends with it.
    int alpha = 255;

    constexpr std::uint32_t word() const {
        return (static_cast<std::uint32_t>(alpha & 0xFF) << 24) | (static_cast<std::uint32_t>(red & 0xFF) << 16) |
               (static_cast<std::uint32_t>(green & 0xFF) << 8) | static_cast<std::uint32_t>(blue & 0xFF);
    }
    constexpr Colour withAlpha(int newAlpha) const { return {red, green, blue, newAlpha}; }
    bool operator==(const Colour&) const = default;
};

constexpr Colour colourOf(std::uint32_t word) {
    return {static_cast<int>((word >> 16) & 0xFF), static_cast<int>((word >> 8) & 0xFF),
            static_cast<int>(word & 0xFF), static_cast<int>(word >> 24)};
}

}  // namespace picture
