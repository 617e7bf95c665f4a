#include "font.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "embedded_font.h"

// The one place stb_truetype is compiled, with the project's flags (no
// contraction, SSE2 on 32-bit x86), so that its rounding is the same on
// every platform.
#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

namespace picture {

struct Font::Face {
    stbtt_fontinfo info;
};

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr float kFarOff = 1.0e6f;
// Sizes beyond these (or not numbers) draw nothing: stb_truetype turns
// glyph boxes into ints.
constexpr float kLargestSize = 2000.0f;

bool drawable(float size) { return size > 0.0f && size <= kLargestSize; }

// The next code point of UTF-8 text from at on; a byte that starts no
// valid sequence stands for itself as the replacement character.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto first = static_cast<unsigned char>(text[at++]);
    if (first < 0x80) return first;
    const int more = first >= 0xF0 ? 3 : first >= 0xE0 ? 2 : first >= 0xC0 ? 1 : 0;
    if (more == 0 || first >= 0xF8) return kReplacement;
    char32_t point = first & (0x3F >> more);
    for (int i = 0; i < more; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) return kReplacement;
        point = (point << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return point;
}

// Walks text glyph by glyph: each glyph with the pen where it is drawn.
template <typename Visit>
float walk(const stbtt_fontinfo& info, float x, float scale, std::string_view text, Visit visit) {
    int previous = 0;
    for (std::size_t at = 0; at < text.size();) {
        const int glyph = stbtt_FindGlyphIndex(&info, static_cast<int>(nextCodePoint(text, at)));
        if (previous != 0) x += scale * static_cast<float>(stbtt_GetGlyphKernAdvance(&info, previous, glyph));
        visit(glyph, x);
        int advance = 0;
        int bearing = 0;
        stbtt_GetGlyphHMetrics(&info, glyph, &advance, &bearing);
        x += scale * static_cast<float>(advance);
        previous = glyph;
    }
    return x;
}

}  // namespace

const Font& Font::sans() {
    static const Font font([] {
        auto face = std::make_unique<Face>();
        stbtt_InitFont(&face->info, kDejaVuSans, stbtt_GetFontOffsetForIndex(kDejaVuSans, 0));
        return face;
    }());
    return font;
}

Font::Font(std::unique_ptr<Face> face) : face_(std::move(face)) {}

Font::~Font() = default;

float Font::advance(std::string_view text, float size) const {
    if (!drawable(size)) return 0.0f;
    const float scale = stbtt_ScaleForMappingEmToPixels(&face_->info, size);
    return walk(face_->info, 0.0f, scale, text, [](int, float) {});
}

float Font::ascent(float size) const {
    int ascent = 0;
    int descent = 0;
    int gap = 0;
    stbtt_GetFontVMetrics(&face_->info, &ascent, &descent, &gap);
    return stbtt_ScaleForMappingEmToPixels(&face_->info, size) * static_cast<float>(ascent);
}

float Font::descent(float size) const {
    int ascent = 0;
    int descent = 0;
    int gap = 0;
    stbtt_GetFontVMetrics(&face_->info, &ascent, &descent, &gap);
    return -stbtt_ScaleForMappingEmToPixels(&face_->info, size) * static_cast<float>(descent);
}

float Font::draw(Canvas& canvas, float x, int baseline, float size, std::string_view text, Colour colour) const {
    if (!drawable(size)) return x;
    const stbtt_fontinfo& info = face_->info;
    const float scale = stbtt_ScaleForMappingEmToPixels(&info, size);
    const bool farBaseline = !(static_cast<float>(baseline) > -kFarOff && static_cast<float>(baseline) < kFarOff);
    std::vector<unsigned char> coverage;
    return walk(info, x, scale, text, [&](int glyph, float pen) {
        const float whole = std::floor(pen);
        // Far off any canvas (or not a number): nothing to draw, and no
        // position an int can hold.
        if (!(whole > -kFarOff && whole < kFarOff) || farBaseline) return;
        const float shift = pen - whole;
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        stbtt_GetGlyphBitmapBoxSubpixel(&info, glyph, scale, scale, shift, 0.0f, &left, &top, &right, &bottom);
        const int width = right - left;
        const int height = bottom - top;
        if (width <= 0 || height <= 0) return;
        coverage.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        stbtt_MakeGlyphBitmapSubpixel(&info, coverage.data(), width, height, width, scale, scale, shift, 0.0f, glyph);
        const int originX = static_cast<int>(whole) + left;
        const int originY = baseline + top;
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                const unsigned char covered = coverage[static_cast<std::size_t>(row * width + column)];
                if (covered != 0) canvas.cover(originX + column, originY + row, covered, colour);
            }
        }
    });
}

}  // namespace picture
