// Text, marks and waveform columns land where the layout puts them, at
// every display scale: read back from the raster's own pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "canvas_painter.h"
#include "font.h"
#include "plot_layout.h"
#include "raster_pictures.h"

namespace {

namespace plot = picture::plot;
using picture::Canvas;
using picture::Colour;

// The pixels a unit column x covers at scale (the painter's rule).
int firstPixel(int x, double scale) { return static_cast<int>(std::floor(x * scale)); }

struct Box {
    int left = 0;
    int top = 0;
    int right = -1;  // inclusive; none inked when right < left
    int bottom = -1;
};

// The smallest box around every pixel that is not the background.
Box inkedBox(const Canvas& canvas, std::uint32_t background) {
    Box box{canvas.width(), canvas.height(), -1, -1};
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.at(x, y) == background) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        }
    }
    return box;
}

class AtScale : public testing::TestWithParam<double> {
protected:
    static const picture::PlotContent& content() {
        static const picture::PlotContent drawn = rastertest::renderContent();
        return drawn;
    }
    // The render's picture at this scale.
    Canvas render() const {
        const double scale = GetParam();
        Canvas canvas(static_cast<int>(plot::kWidth * scale), static_cast<int>(plot::kHeight * scale));
        picture::CanvasPainter painter(canvas, scale);
        picture::drawPlot(painter, content());
        return canvas;
    }
};

TEST_P(AtScale, TextInksWithinItsAdvanceAndTheFontsHeight) {
    const double scale = GetParam();
    const std::string words = "WaveLength 1/64 AVATAR";
    constexpr double kSize = 14.0;
    constexpr Colour kPaper{255, 255, 255};
    Canvas canvas(static_cast<int>(400 * scale), static_cast<int>(60 * scale));
    canvas.clear(kPaper);
    picture::CanvasPainter painter(canvas, scale);
    painter.text(20.5, 40, kSize, words, Colour{0, 0, 0});
    const picture::Font& font = picture::Font::sans();
    const float size = static_cast<float>(kSize * scale);
    const Box ink = inkedBox(canvas, kPaper.word());
    const double left = 20.5 * scale;
    const double baseline = std::floor(40 * scale);
    // Glyphs may reach a pixel beyond their advance on either side.
    EXPECT_GE(ink.left, static_cast<int>(left) - 1);
    EXPECT_LE(ink.left, static_cast<int>(left) + 2 * scale);
    EXPECT_LE(ink.right, static_cast<int>(left + font.advance(words, size)) + 1);
    EXPECT_GE(ink.right, static_cast<int>(left + font.advance(words, size)) - 3 * scale);
    EXPECT_GE(ink.top, static_cast<int>(baseline - font.ascent(size)));
    EXPECT_LE(ink.top, static_cast<int>(baseline - 0.6 * size)) << "capitals reach well above the baseline";
    EXPECT_LE(ink.bottom, static_cast<int>(baseline + font.descent(size)));
    EXPECT_GT(ink.bottom, static_cast<int>(baseline)) << "the '/' reaches below the baseline";
}

TEST_P(AtScale, PeriodAndPassLinesWhereTheirFramesAre) {
    const double scale = GetParam();
    const Canvas canvas = render();
    const picture::PassMarks& marks = *content().passes;
    const std::int64_t total = content().dry.front().frames();
    ASSERT_GT(marks.periodStarts.size(), 5u);
    ASSERT_GT(marks.passStarts.size(), 10u);
    std::vector<int> periodColumns;
    for (std::int64_t frame : marks.periodStarts) periodColumns.push_back(plot::columnOf(frame, total));
    for (int panel = 0; panel < 4; ++panel) {
        // Just inside the panel's top, which the waveforms never reach.
        const int y = firstPixel(plot::panelRows(panel, 4).top + 1, scale);
        for (int column : periodColumns) {
            EXPECT_EQ(canvas.at(firstPixel(column, scale), y), plot::kPeriodLine.word()) << "column " << column;
        }
        for (std::int64_t frame : marks.passStarts) {
            const int column = plot::columnOf(frame, total);
            if (std::find(periodColumns.begin(), periodColumns.end(), column) != periodColumns.end()) continue;
            EXPECT_EQ(canvas.at(firstPixel(column, scale), y), plot::kPassLine.word()) << "column " << column;
        }
    }
    // Between the lines, the panel's background.
    const int y = firstPixel(plot::panelRows(0, 4).top + 1, scale);
    EXPECT_EQ(canvas.at(firstPixel(periodColumns[1] - 2, scale), y), plot::kBackground.word());
}

TEST_P(AtScale, WaveformColumnsReachTheirExtremes) {
    const double scale = GetParam();
    const Canvas canvas = render();
    const auto columns = content().processed.front().columns();
    const plot::Rows rows = plot::panelRows(1, 4);
    for (std::size_t x = 0; x < columns.size(); x += 37) {
        ASSERT_TRUE(columns[x].has_value());
        const int pixelX = firstPixel(plot::kLeft + static_cast<int>(x), scale);
        const int highest = plot::waveRow(columns[x]->highest, rows);
        const int lowest = plot::waveRow(columns[x]->lowest, rows);
        EXPECT_EQ(canvas.at(pixelX, firstPixel(highest, scale)), plot::kProcessedWave.word()) << "x " << x;
        EXPECT_EQ(canvas.at(pixelX, firstPixel(lowest, scale)), plot::kProcessedWave.word()) << "x " << x;
        // Nothing of the wave above its highest sample.
        if (highest > rows.top + 1) {
            EXPECT_NE(canvas.at(pixelX, firstPixel(highest - 1, scale)), plot::kProcessedWave.word()) << "x " << x;
        }
    }
}

TEST_P(AtScale, BarNumbersUnderTheirTicks) {
    const double scale = GetParam();
    const Canvas canvas = render();
    const std::int64_t total = content().dry.front().frames();
    int bars = 0;
    for (const picture::BeatMark& mark : content().beats) {
        if (mark.beat % 4 != 0) continue;
        ++bars;
        const int x = plot::columnOf(mark.frame, total);
        EXPECT_EQ(canvas.at(firstPixel(x, scale), firstPixel(plot::kBottom + 10, scale)), plot::kText.word());
        // The number's ink, a few pixels right of the tick, above its baseline.
        bool inked = false;
        for (int dx = 3; dx < 12 && !inked; ++dx) {
            for (int dy = 2; dy < 10 && !inked; ++dy) {
                inked = canvas.at(firstPixel(x + dx, scale), firstPixel(plot::kBottom + 26 - dy, scale)) !=
                        plot::kBackground.word();
            }
        }
        EXPECT_TRUE(inked) << "bar " << mark.beat / 4 + 1;
    }
    EXPECT_GT(bars, 3);
}

INSTANTIATE_TEST_SUITE_P(Scales, AtScale, testing::ValuesIn(rastertest::kScales),
                         [](const auto& info) { return "x" + std::to_string(static_cast<int>(info.param * 10)); });

TEST(Text, KerningAndSizeMoveThePen) {
    const picture::Font& font = picture::Font::sans();
    EXPECT_LT(font.advance("AV", 20.0f), font.advance("A", 20.0f) + font.advance("V", 20.0f));
    EXPECT_FLOAT_EQ(font.advance("Slicecast", 28.0f), 2.0f * font.advance("Slicecast", 14.0f));
    EXPECT_EQ(font.advance("", 14.0f), 0.0f);
    // A byte that starts no UTF-8 sequence still moves the pen.
    EXPECT_GT(font.advance("\xFF", 14.0f), 0.0f);
}

// Text anywhere, at any size: nothing drawn off the canvas, nothing at a
// size that is no size (sanitizer builds catch an overflow).
TEST(Text, OffTheCanvasOrAtNoSizeDrawsNothing) {
    constexpr Colour kPaper{255, 255, 255};
    const float sizes[] = {14.0f, 0.0f, -3.0f, 1.0e9f, std::numeric_limits<float>::quiet_NaN()};
    const float places[] = {-1.0e9f, -200.0f, 1.0e9f, std::numeric_limits<float>::infinity()};
    for (float size : sizes) {
        for (float x : places) {
            Canvas canvas(50, 20);
            canvas.clear(kPaper);
            picture::Font::sans().draw(canvas, x, 15, size, "Slicecast", Colour{0, 0, 0});
            picture::Font::sans().draw(canvas, 2.0f, std::numeric_limits<int>::max(), size, "Slicecast", Colour{0, 0, 0});
            EXPECT_EQ(inkedBox(canvas, kPaper.word()).right, -1) << "size " << size << " at " << x;
        }
    }
}

}  // namespace
