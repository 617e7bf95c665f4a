// The raster's pixels: blending in integers, and every shape clipped to the
// canvas whatever its coordinates (sanitizer builds catch an overflow).
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "canvas.h"

namespace {

using picture::Canvas;
using picture::Colour;

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

struct BlendCase {
    const char* name;
    std::uint32_t below;
    Colour source;
    std::uint32_t expected;
};

// Worked out by hand: each channel (source x alpha + below x (255 - alpha))
// / 255 rounded to nearest, the result's alpha source over below.
const BlendCase kBlendCases[] = {
    {"OpaqueCovers", 0xFF102030, {200, 100, 50}, 0xFFC86432},
    {"NoneLeavesIt", 0xFF102030, {200, 100, 50, 0}, 0xFF102030},
    {"HalfWhiteOverBlack", 0xFF000000, {255, 255, 255, 128}, 0xFF808080},
    {"HalfBlackOverWhite", 0xFFFFFFFF, {0, 0, 0, 128}, 0xFF7F7F7F},
    {"QuarterRedOverBlue", 0xFF0000FF, {255, 0, 0, 64}, 0xFF4000BF},
    {"OverTransparent", 0x00000000, {255, 255, 255, 51}, 0x33333333},
    {"OneStepOverGrey", 0xFF646464, {255, 255, 255, 1}, 0xFF656565},
};

class Blending : public testing::TestWithParam<BlendCase> {};

TEST_P(Blending, RoundsEachChannelToNearest) {
    const BlendCase& c = GetParam();
    Canvas canvas(3, 3);
    canvas.clear(picture::colourOf(c.below));
    canvas.fill(1, 1, 1, 1, c.source);
    EXPECT_EQ(canvas.at(1, 1), c.expected);
    EXPECT_EQ(canvas.at(0, 0), c.below) << "beside the rectangle";
    EXPECT_EQ(canvas.at(2, 2), c.below) << "beside the rectangle";
}

INSTANTIATE_TEST_SUITE_P(Cases, Blending, testing::ValuesIn(kBlendCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A shape and the pixels of a 10 x 8 canvas it must cover: the rectangle
// from left, top to right, bottom (exclusive), or none.
struct ClipCase {
    const char* name;
    void (*draw)(Canvas&, Colour);
    int left;
    int top;
    int right;
    int bottom;
};

const ClipCase kClipCases[] = {
    {"Inside", [](Canvas& c, Colour k) { c.fill(2, 3, 4, 2, k); }, 2, 3, 6, 5},
    {"OverTheLeftTop", [](Canvas& c, Colour k) { c.fill(-5, -5, 7, 6, k); }, 0, 0, 2, 1},
    {"OverTheRightBottom", [](Canvas& c, Colour k) { c.fill(8, 6, 50, 50, k); }, 8, 6, 10, 8},
    {"FromTheSmallestInt", [](Canvas& c, Colour k) { c.fill(kMin, kMin, kMax, kMax, k); }, 0, 0, 0, 0},
    {"ToTheLargestInt", [](Canvas& c, Colour k) { c.fill(3, 2, kMax, kMax, k); }, 3, 2, 10, 8},
    {"AtTheLargestInt", [](Canvas& c, Colour k) { c.fill(kMax, kMax, kMax, kMax, k); }, 0, 0, 0, 0},
    {"NoWidth", [](Canvas& c, Colour k) { c.fill(2, 2, 0, 5, k); }, 0, 0, 0, 0},
    {"NegativeSize", [](Canvas& c, Colour k) { c.fill(5, 5, -3, -3, k); }, 0, 0, 0, 0},
    {"HorizontalLineBothWays", [](Canvas& c, Colour k) { c.horizontalLine(7, 2, 4, k); }, 2, 4, 8, 5},
    {"HorizontalLineAcrossTheInts", [](Canvas& c, Colour k) { c.horizontalLine(kMin, kMax, 0, k); }, 0, 0, 10, 1},
    {"HorizontalLineBelow", [](Canvas& c, Colour k) { c.horizontalLine(kMin, kMax, 8, k); }, 0, 0, 0, 0},
    {"VerticalLineAcrossTheInts", [](Canvas& c, Colour k) { c.verticalLine(9, kMax, kMin, k); }, 9, 0, 10, 8},
    {"VerticalLineEndingAtTheTop", [](Canvas& c, Colour k) { c.verticalLine(4, kMin, 0, k); }, 4, 0, 5, 1},
    {"VerticalLineLeftOfIt", [](Canvas& c, Colour k) { c.verticalLine(-1, 0, 7, k); }, 0, 0, 0, 0},
    {"CoverOutside", [](Canvas& c, Colour k) { c.cover(kMin, 10, 255, k); }, 0, 0, 0, 0},
    {"CoverInside", [](Canvas& c, Colour k) { c.cover(9, 7, 255, k); }, 9, 7, 10, 8},
};

class Clipping : public testing::TestWithParam<ClipCase> {};

TEST_P(Clipping, CoversExactlyThePixelsOnTheCanvas) {
    const ClipCase& c = GetParam();
    constexpr Colour kPaper{255, 255, 255};
    constexpr Colour kInk{10, 20, 30};
    Canvas canvas(10, 8);
    canvas.clear(kPaper);
    c.draw(canvas, kInk);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
            EXPECT_EQ(canvas.at(x, y), (inside ? kInk : kPaper).word()) << "x " << x << " y " << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Clipping, testing::ValuesIn(kClipCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Canvas, PartialCoverageBlendsTheColoursOwnAlphaToo) {
    Canvas canvas(1, 1);
    canvas.clear({0, 0, 0});
    canvas.cover(0, 0, 128, Colour{255, 255, 255, 128});
    // 128 x 128 / 255 rounds to 64.
    EXPECT_EQ(canvas.at(0, 0), 0xFF404040u);
}

}  // namespace
