// What the LV2 edition adds to the sound, per block of 64 frames: reading
// the six control ports through the plain-value mapping, walking the
// control port's sequence and cutting the block at its events. Beside it,
// the sound alone with the same parameters and transport.
//   build/bench/lv2_edition_benchmarks
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <random>

#include "block_renderer.h"
#include "lv2_instance.h"
#include "lv2_plugin.h"
#include "slicecast_sound.h"

namespace {

constexpr double kSampleRate = 48000.0;
constexpr std::uint32_t kFrames = 64;

vsthost::StereoBuffer noise() {
    std::mt19937 random(1);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    vsthost::StereoBuffer buffer(kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) {
        buffer.left[i] = sample(random);
        buffer.right[i] = sample(random);
    }
    return buffer;
}

const lv2host::Lv2Plugin& slicecastLv2() {
    static const lv2host::Lv2Plugin plugin(SLICECAST_LV2_BUNDLE);
    return plugin;
}

// The sound in zero-filled storage, as every edition keeps it.
struct SoundStorage {
    slicecast::SlicecastSound* sound =
        new (std::calloc(1, sizeof(slicecast::SlicecastSound))) slicecast::SlicecastSound;
    ~SoundStorage() {
        sound->~SlicecastSound();
        std::free(sound);
    }
};

void soundAlone(benchmark::State& state) {
    SoundStorage storage;
    const auto input = noise();
    vsthost::StereoBuffer output(kFrames);
    const slicecast::StereoIo io{input.left.data(), input.right.data(), output.left.data(), output.right.data()};
    const slicecast::BlockTransport transport{true, 1.0, true, 120.0};
    for (auto _ : state) {
        storage.sound->process(transport, slicecast::SoundParameters{}, static_cast<float>(kSampleRate), io, kFrames);
        benchmark::DoNotOptimize(output.left.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

// eventCount time:Position events spread over the block (0: an empty
// sequence, a stopped Ardour's).
void lv2Edition(benchmark::State& state) {
    const auto eventCount = static_cast<std::uint32_t>(state.range(0));
    lv2host::Lv2Instance instance(slicecastLv2(), kSampleRate);
    const auto input = noise();
    vsthost::StereoBuffer output(kFrames);
    const lv2host::StereoPorts ports{input.left.data(), input.right.data(), output.left.data(), output.right.data()};
    std::vector<lv2host::TimePosition> events;
    for (std::uint32_t i = 0; i < eventCount; ++i) {
        events.push_back(lv2host::dawPosition(0, true, 1.0, 120.0));
        events.back().offset = i * (kFrames / eventCount);
    }
    instance.run(ports, kFrames, events);
    for (auto _ : state) {
        instance.runWithTheSameEvents(ports, kFrames);
        benchmark::DoNotOptimize(output.left.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

}  // namespace

BENCHMARK(soundAlone)->Name("Sound/64");
BENCHMARK(lv2Edition)->Name("Lv2Edition/64/events")->Arg(0)->Arg(1)->Arg(4);

BENCHMARK_MAIN();
