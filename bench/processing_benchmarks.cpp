// The cost of one block of processing, next to the cost of merely copying
// the block's input to its output: the summary after the run gives every
// processing figure as a multiple of the copy at the same block size.
#include <algorithm>

#include "bench_session.h"
#include "parameter_indices.h"

namespace {

using bench::Settings;

const Settings kDefaults{};
const Settings kShortestSlice{{bench::kWaveLength, 1.0f}};
// Every stage of the sound at work: the linear fade, decaying repeats, a
// dry/wet blend and one-bar periods.
const Settings kFullyShaped{{bench::kUpdatePeriod, 0.5f}, {bench::kRate, 0.6f}, {bench::kFadeOut, 0.5f},
                            {bench::kDecayRate, 0.7f}, {bench::kMix, 0.8f}};

void copyBaseline(benchmark::State& state) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    const auto input = bench::noise(static_cast<std::size_t>(blockSize), 1.0f);
    vsthost::StereoBuffer output(input.frames());
    for (auto _ : state) {
        std::copy(input.left.begin(), input.left.end(), output.left.begin());
        std::copy(input.right.begin(), input.right.end(), output.right.begin());
        benchmark::DoNotOptimize(output.left.data());
        benchmark::DoNotOptimize(output.right.data());
        benchmark::ClobberMemory();
    }
    bench::reportFrames(state, blockSize);
}

void process(benchmark::State& state, const Settings& settings, float inputScale,
             bench::BenchSession::Buffers buffers = bench::BenchSession::Buffers::Separate) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    bench::BenchSession session(blockSize, settings, bench::noise(static_cast<std::size_t>(blockSize), inputScale),
                                buffers);
    for (auto _ : state) session.processBlock();
    bench::reportFrames(state, blockSize);
}

// Input so quiet that every sample is subnormal.
constexpr float kSubnormalScale = 1e-39f;

void blockSizes(benchmark::internal::Benchmark* benchmark) { benchmark->Arg(64)->Arg(512)->Arg(4096); }

}  // namespace

BENCHMARK(copyBaseline)->Name("Copy")->Apply(blockSizes);
BENCHMARK_CAPTURE(process, defaults, kDefaults, 1.0f)->Apply(blockSizes);
BENCHMARK_CAPTURE(process, defaults_in_place, kDefaults, 1.0f, bench::BenchSession::Buffers::InPlace)
    ->Apply(blockSizes);
BENCHMARK_CAPTURE(process, shortest_slice, kShortestSlice, 1.0f)->Apply(blockSizes);
BENCHMARK_CAPTURE(process, fully_shaped, kFullyShaped, 1.0f)->Apply(blockSizes);
BENCHMARK_CAPTURE(process, subnormal_input, kDefaults, kSubnormalScale)->Apply(blockSizes);
