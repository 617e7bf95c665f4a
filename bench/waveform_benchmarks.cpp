// What the render tool's picture costs while a render streams by: every
// sample of every drawn channel goes through a waveform summary.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "plot_layout.h"
#include "waveform_summary.h"

namespace {

constexpr std::size_t kChunk = 65536;

void summariseWaveform(benchmark::State& state) {
    std::vector<float> chunk(kChunk);
    for (std::size_t i = 0; i < kChunk; ++i) chunk[i] = static_cast<float>(std::sin(0.01 * static_cast<double>(i)));
    picture::WaveformSummary summary(picture::plot::plotColumns());
    for (auto _ : state) {
        summary.add(chunk.data(), chunk.size());
        benchmark::DoNotOptimize(summary.frames());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kChunk));
}

}  // namespace

BENCHMARK(summariseWaveform)->Name("WaveformSummary/64kFrames")->Unit(benchmark::kMicrosecond);
