// The cost of one block of processing through the VST 2.4 entry, next to the
// cost of merely copying the block's input to its output: the summary after
// the run gives every processing figure as a multiple of the copy at the
// same block size. Both walk through the same 64 K-frame signal.
#include <cstring>

#include "bench_session.h"
#include "parameter_indices.h"
#include "processing_cases.h"
#include "ratio_reporter.h"
#include "scoped_no_denormals.h"

namespace {

using bench::Settings;

void copyBaseline(benchmark::State& state) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    const auto input = bench::noise(bench::kSignalFrames, 1.0f);
    pluginhost::StereoBuffer output(input.frames());
    bench::SignalWalk walk(input.frames(), blockSize);
    const auto bytes = sizeof(float) * static_cast<std::size_t>(blockSize);
    for (auto _ : state) {
        const std::size_t start = walk.next();
        std::memcpy(output.left.data() + start, input.left.data() + start, bytes);
        std::memcpy(output.right.data() + start, input.right.data() + start, bytes);
        benchmark::ClobberMemory();
    }
    bench::reportFrames(state, blockSize);
}

void process(benchmark::State& state, const Settings& settings, float inputScale,
             bench::BenchSession::Buffers buffers = bench::BenchSession::Buffers::Separate) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    bench::BenchSession session(blockSize, settings, bench::noise(bench::kSignalFrames, inputScale), buffers);
    for (auto _ : state) session.processBlock();
    bench::reportFrames(state, blockSize);
}

// As process, in a host whose audio thread flushes subnormals already, as
// many do: the effect then leaves the floating-point control register
// alone instead of writing it twice per block.
void processInFlushingHost(benchmark::State& state, const Settings& settings) {
    const slicecast::ScopedNoDenormals hostFlushes;
    process(state, settings, 1.0f);
}

// The edition around the sound: the host's call through the record, the
// time query, the parameters read and handed over; a block of no frames
// does all of it and leaves the sound at once.
void editionPerBlock(benchmark::State& state) {
    bench::BenchSession session(64, bench::kDefaults, bench::noise(64, 1.0f));
    for (auto _ : state) session.processEmptyBlock();
    bench::reportBlockCost(state);
}

}  // namespace

BENCHMARK(copyBaseline)->Name("Copy")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, defaults, bench::kDefaults, 1.0f)->Name("vst2/defaults")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, shortest_slice, bench::kShortestSlice, 1.0f)
    ->Name("vst2/shortest_slice")
    ->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, fully_shaped, bench::kFullyShaped, 1.0f)
    ->Name("vst2/fully_shaped")
    ->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, defaults_in_place, bench::kDefaults, 1.0f, bench::BenchSession::Buffers::InPlace)
    ->Name("vst2/defaults_in_place")
    ->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, subnormal_input, bench::kDefaults, bench::kSubnormalScale)
    ->Name("vst2/subnormal_input")
    ->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(processInFlushingHost, defaults, bench::kDefaults)
    ->Name("vst2/defaults_host_flushes")
    ->Apply(bench::blockSizes);
BENCHMARK(editionPerBlock)->Name("vst2/edition_per_block");
