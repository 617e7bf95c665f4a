// Text for the raster: DejaVu Sans, built into the binary (see
// embedded_font.h), drawn through stb_truetype with a pen that keeps its
// fraction of a pixel from glyph to glyph and the font's own kerning. Sizes
// are pixels to the em, as with any other text renderer; a size above 2000
// pixels, not above 0 or not a number draws nothing.
#pragma once

#include <memory>
#include <string_view>

#include "canvas.h"
#include "colour.h"

namespace picture {

class Font {
public:
    // The built-in font, read on first use.
    static const Font& sans();

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // How far text moves the pen, in pixels.
    float advance(std::string_view text, float size) const;
    // How far the font reaches above the baseline and below it, in pixels.
    float ascent(float size) const;
    float descent(float size) const;
    // text (UTF-8) with its baseline's left end at x, baseline. Returns
    // where the pen stops.
    float draw(Canvas& canvas, float x, int baseline, float size, std::string_view text, Colour colour) const;

private:
    struct Face;
    explicit Font(std::unique_ptr<Face> face);

    std::unique_ptr<Face> face_;
};

}  // namespace picture
