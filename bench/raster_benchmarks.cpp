// What the raster costs to paint a picture: the render's picture as the
// render tool and the web page paint it, and at the editor's display scales
// a logical 800 x 450 picture of the kinds an editor repaints every frame
// (text labels, filled and blended rectangles, waveform columns).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "canvas_painter.h"
#include "plot_drawing.h"
#include "plot_layout.h"

namespace {

// Four seconds of a stereo sound at 48 kHz with marks every quarter bar.
picture::PlotContent renderContent() {
    constexpr std::int64_t kFrames = 192000;
    picture::PlotContent content;
    std::vector<float> samples(kFrames);
    for (std::int64_t i = 0; i < kFrames; ++i) {
        samples[static_cast<std::size_t>(i)] = static_cast<float>(i % 480) / 240.0f - 1.0f;
    }
    for (int channel = 0; channel < 2; ++channel) {
        content.dry.emplace_back(picture::plot::plotColumns()).add(samples.data(), samples.size());
        content.processed.emplace_back(picture::plot::plotColumns()).add(samples.data(), samples.size());
    }
    content.passes.emplace();
    for (std::int64_t beat = 0; beat < 8; ++beat) {
        content.beats.push_back({beat * 24000, beat});
        content.passes->passStarts.push_back(beat * 24000 + 12000);
        if (beat % 2 == 0) content.passes->periodStarts.push_back(beat * 24000);
    }
    content.title = "loop.wav through J'x Slicecast";
    content.details = "120 BPM   48000 Hz    WaveLength 1/8  UpdatePeriod 1/2  Rate 70 %  FadeOut 0 %";
    return content;
}

void paintRenderPicture(benchmark::State& state) {
    const picture::PlotContent content = renderContent();
    picture::Canvas canvas(picture::plot::kWidth, picture::plot::kHeight);
    for (auto _ : state) {
        picture::CanvasPainter painter(canvas);
        picture::drawPlot(painter, content);
        benchmark::DoNotOptimize(canvas.pixels());
    }
}

// Six labelled sliders and a panel of 800 columns with lines over it.
void paintEditorPicture(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0)) / 2.0;
    picture::Canvas canvas(static_cast<int>(800 * scale), static_cast<int>(450 * scale));
    const char* names[] = {"WaveLength", "UpdatePeriod", "Rate", "FadeOut", "DecayRate", "Mix"};
    for (auto _ : state) {
        picture::CanvasPainter painter(canvas, scale);
        painter.fill(0, 0, 800, 450, picture::Colour{250, 248, 240});
        for (int i = 0; i < 6; ++i) {
            const int y = 20 + 28 * i;
            painter.text(10, y + 14, 13, names[i], picture::Colour{30, 30, 30});
            painter.fill(120, y + 4, 560, 12, picture::Colour{200, 200, 200});
            painter.fill(120, y + 4, 70 * i + 80, 12, picture::Colour{25, 95, 190, 180});
            painter.text(700, y + 14, 13, std::to_string(17 * i) + " %", picture::Colour{30, 30, 30});
        }
        for (int x = 0; x < 780; ++x) {
            painter.column(10 + x, 330 - (x * 7) % 90, 330 + (x * 5) % 80, picture::Colour{110, 110, 110, 120});
            painter.column(10 + x, 340 - (x * 3) % 60, 340 + (x * 11) % 50, picture::Colour{25, 95, 190});
        }
        for (int x = 10; x < 790; x += 48) painter.column(x, 200, 440, picture::Colour{210, 60, 20});
        benchmark::DoNotOptimize(canvas.pixels());
    }
}

}  // namespace

BENCHMARK(paintRenderPicture)->Name("Raster/RenderPicture1600x900")->Unit(benchmark::kMillisecond);
// The argument is twice the scale: 1, 1.5, 2.
BENCHMARK(paintEditorPicture)->Name("Raster/Editor800x450AtHalfScale")->Arg(2)->Arg(3)->Arg(4)->Unit(
    benchmark::kMillisecond);
