#include "raster_pictures.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>

#include "canvas_painter.h"
#include "plot_layout.h"

namespace rastertest {

namespace {

using picture::Colour;
using picture::Painter;

constexpr Colour kPaper{250, 248, 240};
constexpr Colour kInk{30, 30, 30};

// Words chosen for kerning pairs, digits, fractions, a percent sign and
// letters beyond ASCII.
void drawText(Painter& painter) {
    painter.fill(0, 0, kWidth, kHeight, kPaper);
    const double sizes[] = {9.0, 11.5, 14.0, 18.0, 27.0};
    double baseline = 30.0;
    for (double size : sizes) {
        painter.text(10.3, baseline, size, "AVATAR WaveLength 1/64 UpdatePeriod 4/1 Rate 99 % - Tiv-nar", kInk);
        painter.text(12.7, baseline + size * 1.2, size,
                     "DecayRate 0.1 FadeOut Mix -Huge! \xC3\xA9t\xC3\xA9 \xE2\x80\x94 x", Colour{25, 95, 190});
        baseline += size * 2.8;
    }
    painter.text(790, 440, 14.0, "clipped at the right edge", kInk);
    painter.text(-20, 5, 14.0, "and the top left", kInk);
}

// Rectangles over each other at several alphas, and some far beyond the
// canvas, with coordinates near the integer limits.
void drawRectangles(Painter& painter) {
    painter.fill(0, 0, kWidth, kHeight, kPaper);
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const int alphas[] = {255, 200, 128, 64, 1};
    for (int i = 0; i < 5; ++i) {
        painter.fill(40 + 60 * i, 40 + 30 * i, 200, 120, Colour{210, 60, 20, alphas[i]});
        painter.fill(400 + 50 * i, 60, 70, 300, Colour{25, 95, 190, alphas[4 - i]});
    }
    painter.fill(-50, 300, 120, 40, Colour{0, 150, 60, 160});
    painter.fill(760, 420, 500, 500, Colour{0, 150, 60, 90});
    painter.fill(kMin, 380, kMax, 10, Colour{110, 110, 110});
    painter.fill(kMax - 5, 0, kMax, kMax, kInk);
    painter.fill(kMin, kMin, kMax, kMax, kInk);
    painter.fill(100, 395, 0, 40, kInk);
    painter.fill(100, 395, -30, 40, kInk);
    for (int x = 0; x < 200; x += 3) painter.column(300 + x, 400 - x / 10, 440, Colour{245, 200, 170, 100 + x / 2});
}

// A sine-like wave of period 1 from basic arithmetic alone, which rounds the
// same everywhere (the maths library's sin does not).
double wave(double time) {
    const double phase = std::fmod(time, 1.0);
    return phase < 0.5 ? 16.0 * phase * (0.5 - phase) : -16.0 * (phase - 0.5) * (1.0 - phase);
}

}  // namespace

picture::PlotContent renderContent() {
    constexpr double kSampleRate = 44100.0;
    constexpr std::int32_t kBlock = 300;
    constexpr std::int32_t kBlocks = 1200;
    picture::PlotContent content;
    for (int channel = 0; channel < 2; ++channel) {
        content.dry.emplace_back(picture::plot::plotColumns());
        content.processed.emplace_back(picture::plot::plotColumns());
    }
    // Quarter-bar slices every half bar; at block 700 the tempo steps from
    // 120 to 150 BPM and the slices become eighths.
    picture::PassTracker passes(static_cast<float>(kSampleRate), 3, 3);
    std::vector<float> block(kBlock);
    double position = 0.0;
    for (std::int32_t index = 0; index < kBlocks; ++index) {
        const double tempo = index < 700 ? 120.0 : 150.0;
        if (index == 700) passes.setWaveLength(5);
        const picture::PictureBlock played{std::int64_t{index} * kBlock, kBlock,
                                           {kSampleRate, position, tempo, true, true, true}};
        picture::addBeats(played, content.beats);
        passes.play(played);
        position += tempo / 60.0 / kSampleRate * kBlock;
        for (int channel = 0; channel < 2; ++channel) {
            for (std::int32_t i = 0; i < kBlock; ++i) {
                const double t = static_cast<double>(std::int64_t{index} * kBlock + i) / kSampleRate;
                const double decay = 0.8 * (1.0 - std::fmod(t * (channel == 0 ? 2.0 : 3.0), 1.0));
                block[static_cast<std::size_t>(i)] =
                    static_cast<float>(decay * wave(t * (channel == 0 ? 150.0 : 250.0)));
            }
            content.dry[static_cast<std::size_t>(channel)].add(block.data(), block.size());
            for (float& sample : block) sample *= 0.61f;
            content.processed[static_cast<std::size_t>(channel)].add(block.data(), block.size());
        }
    }
    content.passes = passes.marks();
    content.title = "drums.wav through J'x Slicecast";
    content.details = "120 to 150 BPM   44100 Hz    WaveLength 1/4  UpdatePeriod 1/2  Rate 70 %";
    return content;
}

std::vector<RasterPicture> rasterPictures() {
    const picture::PlotContent content = renderContent();
    struct Kind {
        const char* name;
        int width;
        int height;
        std::function<void(Painter&)> draw;
    };
    const Kind kinds[] = {
        {"text", kWidth, kHeight, drawText},
        {"rectangles", kWidth, kHeight, drawRectangles},
        {"render", picture::plot::kWidth, picture::plot::kHeight,
         [&content](Painter& painter) { picture::drawPlot(painter, content); }},
    };
    std::vector<RasterPicture> pictures;
    for (const Kind& kind : kinds) {
        for (double scale : kScales) {
            char name[64];
            std::snprintf(name, sizeof name, "%s@%g", kind.name, scale);
            picture::Canvas canvas(static_cast<int>(kind.width * scale), static_cast<int>(kind.height * scale));
            picture::CanvasPainter painter(canvas, scale);
            kind.draw(painter);
            pictures.push_back({name, std::move(canvas)});
        }
    }
    return pictures;
}

std::string pixelHash(const picture::Canvas& canvas) {
    std::uint64_t hash = 14695981039346656037ull;
    const std::size_t count = static_cast<std::size_t>(canvas.width()) * static_cast<std::size_t>(canvas.height());
    for (std::size_t i = 0; i < count; ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (canvas.pixels()[i] >> shift) & 0xFF;
            hash *= 1099511628211ull;
        }
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace rastertest
