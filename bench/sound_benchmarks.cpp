// The sound alone, without any plug-in format around it: the same cases as
// the editions' processing benchmarks, fed with the transport a playing
// host reports. An edition's figure above this one is the edition's own
// cost per block.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "bench_session.h"
#include "parameter_values.h"
#include "processing_cases.h"
#include "slicecast_sound.h"
#include "summary_ring.h"

namespace {

slicecast::SoundParameters soundParametersOf(const bench::Settings& settings) {
    slicecast::SoundParameters parameters;
    for (const bench::ParameterValue& setting : settings) {
        switch (setting.index) {
            case bench::kWaveLength: parameters.waveLengthIndex = slicecast::waveLengthIndexFor(setting.value); break;
            case bench::kUpdatePeriod:
                parameters.updatePeriodIndex = slicecast::updatePeriodIndexFor(setting.value);
                break;
            case bench::kRate: parameters.shape.rate = setting.value; break;
            case bench::kFadeOut: parameters.shape.fadeOut = setting.value; break;
            case bench::kDecayRate: parameters.shape.decayRate = setting.value; break;
            case bench::kMix: parameters.shape.mix = setting.value; break;
            default: break;
        }
    }
    return parameters;
}

// The sound keeps its capture buffers inside itself and must start from
// zero-filled storage, as every edition allocates it.
struct FreeSound {
    void operator()(slicecast::SlicecastSound* sound) const {
        sound->~SlicecastSound();
        std::free(sound);
    }
};
using SoundPointer = std::unique_ptr<slicecast::SlicecastSound, FreeSound>;

SoundPointer newSound() {
    void* storage = std::calloc(1, sizeof(slicecast::SlicecastSound));
    if (storage == nullptr) throw std::bad_alloc();
    return SoundPointer(new (storage) slicecast::SlicecastSound);
}

// Blocks of noise walked through the sound in order, the transport moving
// on as the sound played it; play hands one block to the sound.
template <typename Play>
void playBlocks(benchmark::State& state, const bench::Settings& settings, Play&& play) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    const SoundPointer sound = newSound();
    const slicecast::SoundParameters parameters = soundParametersOf(settings);
    const auto input = bench::noise(bench::kSignalFrames, 1.0f);
    pluginhost::StereoBuffer output(input.frames());
    bench::SignalWalk walk(input.frames(), blockSize);
    slicecast::BlockTransport transport{true, 0.0, true, bench::kTempo};
    const auto sampleRate = static_cast<float>(bench::kSampleRate);
    for (auto _ : state) {
        const std::size_t start = walk.next();
        const slicecast::StereoIo io{input.left.data() + start, input.right.data() + start,
                                     output.left.data() + start, output.right.data() + start};
        play(*sound, transport, parameters, sampleRate, io, blockSize);
        transport.position = sound->runningPosition();
        benchmark::ClobberMemory();
    }
    bench::reportFrames(state, blockSize);
}

void soundAlone(benchmark::State& state, const bench::Settings& settings) {
    playBlocks(state, settings, [](slicecast::SlicecastSound& sound, const auto&... block) { sound.process(block...); });
}

// The summary an open editor reads, into a ring as the editions keep it.
struct RingSink final : slicecast::SummarySink {
    slicecast::SummaryRing ring;
    void take(const slicecast::SummaryRecord& record) noexcept override { ring.publish(record); }
};

// The same blocks with an editor open: each block summed up into a ring,
// as the editions keep it. Beside sound/<case>, the difference per frame is
// what the summary costs (the summary lists it).
void soundSummedUp(benchmark::State& state, const bench::Settings& settings) {
    slicecast::BlockSummariser summariser;
    const auto sink = std::make_unique<RingSink>();
    sink->ring.addReader();
    playBlocks(state, settings, [&](slicecast::SlicecastSound& sound, const auto&... block) {
        sound.process(block..., summariser, *sink);
    });
}

}  // namespace

BENCHMARK_CAPTURE(soundSummedUp, defaults, bench::kDefaults)->Name("summary/defaults")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(soundSummedUp, shortest_slice, bench::kShortestSlice)
    ->Name("summary/shortest_slice")
    ->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(soundSummedUp, shortest_period, bench::kShortestPeriod)
    ->Name("summary/shortest_period")
    ->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(soundAlone, shortest_period, bench::kShortestPeriod)
    ->Name("sound/shortest_period")
    ->Apply(bench::blockSizes);

BENCHMARK_CAPTURE(soundAlone, defaults, bench::kDefaults)->Name("sound/defaults")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(soundAlone, shortest_slice, bench::kShortestSlice)
    ->Name("sound/shortest_slice")
    ->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(soundAlone, fully_shaped, bench::kFullyShaped)->Name("sound/fully_shaped")->Apply(bench::blockSizes);
