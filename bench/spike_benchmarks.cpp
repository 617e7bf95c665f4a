// Block-to-block steadiness over one whole update period in which the
// repeat gain decays into the subnormal range: "DecayRate" 0.5 halves the
// gain 256 times per 4-bar period of 1/64-bar slices, so after about 126
// repeats every processed sample would be a subnormal product, which many
// processors compute many times slower. Reported: the worst block against
// a typical one, and the same for a control run without decay ("DecayRate"
// 1), whose spread comes from everything but subnormals: blocks that hold
// more stretches of frames, and the capture buffers leaving the caches.
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "bench_session.h"
#include "parameter_indices.h"

namespace {

// Four bars at 120 BPM and 48 kHz.
constexpr std::int64_t kPeriodFrames = 4 * 4 * 24000;

const bench::Settings kDecayIntoSubnormals{
    {bench::kWaveLength, 1.0f}, {bench::kUpdatePeriod, 0.0f}, {bench::kDecayRate, 0.5f}};
const bench::Settings kNoDecay{{bench::kWaveLength, 1.0f}, {bench::kUpdatePeriod, 0.0f}, {bench::kDecayRate, 1.0f}};

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void blocksOfOnePeriod(benchmark::State& state, const bench::Settings& settings) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    // Each iteration plays exactly one period from its first sample on. A
    // spike caused by the effect comes back at the same block of every
    // period, an interruption of the machine does not: each block's
    // fastest time over all periods keeps the first and drops the second.
    // Where an instance's memory happens to lie can make a few blocks slow
    // in every period it plays (a page of its capture that shares cache
    // sets with the signal); the periods are therefore shared out among
    // several instances, whose memory lies elsewhere, and such a block is
    // fast in the others.
    constexpr int kInstances = 4;
    std::vector<std::unique_ptr<bench::BenchSession>> sessions;
    for (int i = 0; i < kInstances; ++i) {
        sessions.push_back(std::make_unique<bench::BenchSession>(
            blockSize, settings, bench::noise(static_cast<std::size_t>(blockSize), 1.0f)));
    }
    const auto blocksPerPeriod = static_cast<std::size_t>(kPeriodFrames / blockSize);
    if (kPeriodFrames % blockSize != 0) state.SkipWithError("the block size must divide the period");
    std::vector<double> fastest(blocksPerPeriod, 1e300);
    std::int64_t period = 0;
    for (auto _ : state) {
        // Each instance plays its share of the periods one after another,
        // so that its capture is as warm as a single instance's would be.
        bench::BenchSession& session = *sessions[static_cast<std::size_t>(period * kInstances / state.max_iterations)];
        for (std::size_t block = 0; block < blocksPerPeriod; ++block) {
            const auto start = std::chrono::steady_clock::now();
            session.processBlock();
            const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
            fastest[block] = std::min(fastest[block], elapsed.count());
        }
        ++period;
    }
    const double worst = *std::max_element(fastest.begin(), fastest.end());
    const double typical = median(fastest);
    state.counters["worst block ns"] = worst;
    state.counters["typical block ns"] = typical;
    state.counters["worst/typical"] = worst / typical;
    bench::reportFrames(state, blockSize, static_cast<std::int64_t>(blocksPerPeriod));
}

}  // namespace

// Block sizes that divide the period, so that every iteration starts at a
// capture.
BENCHMARK_CAPTURE(blocksOfOnePeriod, decay_into_subnormals, kDecayIntoSubnormals)
    ->Arg(64)->Arg(512)->Arg(1024)->Iterations(100);
BENCHMARK_CAPTURE(blocksOfOnePeriod, control_without_decay, kNoDecay)
    ->Arg(64)->Arg(512)->Arg(1024)->Iterations(100);
