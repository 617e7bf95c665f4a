// The CLAP edition as a CLAP host drives it: the processing cases walked
// through the 64 K-frame signal with a playing transport per block
// ("clap/<case>/<block>"), and the edition's own cost per 64-frame block
// ("clap/edition_per_block/<events>": none, one parameter value, one
// transport, each at the block's middle).
//
// CLAP allows no block of no frames, so the own cost is timed as the
// difference: a batch of blocks through the edition, then the same blocks
// through the sound alone, with the same parameters and transports.
#include <chrono>
#include <cstdlib>
#include <new>
#include <vector>

#include "bench_session.h"
#include "clap_event_list.h"
#include "clap_instance.h"
#include "clap_transport.h"
#include "plain_settings.h"
#include "processing_cases.h"
#include "ratio_reporter.h"
#include "slicecast_sound.h"

namespace {

double quarterNotesAfter(std::uint64_t frames) {
    return static_cast<double>(frames) * bench::kTempo / 60.0 / bench::kSampleRate;
}

// An instance of slicecast.clap, active and processing, with blocks of up
// to 4096 frames.
struct ClapRig {
    claphost::ClapLibrary library{SLICECAST_CLAP_PATH};
    claphost::HostObject host;
    claphost::ClapInstance plugin{library, host};

    explicit ClapRig(const bench::Settings& settings) {
        claphost::EventList values;
        for (const bench::ParameterValue& parameter : settings)
            values.addParamValue(0, static_cast<clap::Id>(parameter.index), bench::plainValueOf(parameter));
        plugin.flush(values);
        plugin.activate(bench::kSampleRate, 1, 4096);
        plugin.startProcessing();
    }
};

void process(benchmark::State& state, const bench::Settings& settings) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    ClapRig rig(settings);
    const auto input = bench::noise(bench::kSignalFrames, 1.0f);
    vsthost::StereoBuffer output(input.frames());
    bench::SignalWalk walk(input.frames(), blockSize);
    std::uint64_t played = 0;
    for (auto _ : state) {
        const std::size_t at = walk.next();
        const clap::EventTransport transport = claphost::playingTransport(quarterNotesAfter(played), bench::kTempo);
        rig.plugin.process({input.left.data() + at, input.right.data() + at, output.left.data() + at,
                            output.right.data() + at, static_cast<std::uint32_t>(blockSize), &transport});
        played += static_cast<std::uint64_t>(blockSize);
        benchmark::ClobberMemory();
    }
    bench::reportFrames(state, blockSize);
}

// The sound in zero-filled storage, as the edition keeps it.
struct SoundAlone {
    slicecast::SlicecastSound* sound =
        new (std::calloc(1, sizeof(slicecast::SlicecastSound))) slicecast::SlicecastSound;
    ~SoundAlone() {
        sound->~SlicecastSound();
        std::free(sound);
    }
};

enum class BlockEvents { None, OneParameterValue, OneTransport };

void editionPerBlock(benchmark::State& state, BlockEvents kind) {
    constexpr std::uint32_t kFrames = 64;
    constexpr std::uint32_t kMiddle = kFrames / 2;
    constexpr std::size_t kBatch = 256;
    ClapRig rig(bench::kDefaults);
    SoundAlone alone;
    const auto input = bench::noise(kFrames, 1.0f);
    vsthost::StereoBuffer output(kFrames);
    const slicecast::StereoIo io{input.left.data(), input.right.data(), output.left.data(), output.right.data()};

    // The batch's transports and events, made before the clock runs; the
    // parameter value alternates so that every event is a change.
    std::vector<clap::EventTransport> transports;
    std::vector<claphost::EventList> events(kBatch);
    for (std::size_t block = 0; block < kBatch; ++block) {
        transports.push_back(claphost::playingTransport(quarterNotesAfter(block * kFrames), bench::kTempo));
        if (kind == BlockEvents::OneParameterValue) events[block].addParamValue(kMiddle, 5, block % 2 ? 99.0 : 100.0);
        if (kind == BlockEvents::OneTransport)
            events[block].addTransport(kMiddle, claphost::playingTransport(quarterNotesAfter(block * kFrames + kMiddle),
                                                                           bench::kTempo));
    }
    const float sampleRate = static_cast<float>(bench::kSampleRate);
    const auto transportOf = [](const clap::EventTransport& transport) {
        return slicecast::BlockTransport{true, static_cast<double>(transport.songPosBeats) / clap::kBeatTimeFactor,
                                         true, transport.tempo};
    };

    using Clock = std::chrono::steady_clock;
    Clock::duration throughEdition{};
    Clock::duration soundAlone{};
    for (auto _ : state) {
        const auto start = Clock::now();
        for (std::size_t block = 0; block < kBatch; ++block)
            rig.plugin.process({io.inLeft, io.inRight, io.outLeft, io.outRight, kFrames, &transports[block],
                                &events[block]});
        const auto editionDone = Clock::now();
        for (std::size_t block = 0; block < kBatch; ++block) {
            const slicecast::SoundParameters parameters{};
            if (kind == BlockEvents::None) {
                alone.sound->process(transportOf(transports[block]), parameters, sampleRate, io, kFrames);
                continue;
            }
            // The edition cuts the block at its event: the sound plays both
            // halves.
            alone.sound->process(transportOf(transports[block]), parameters, sampleRate, io, kMiddle);
            const slicecast::StereoIo rest{io.inLeft + kMiddle, io.inRight + kMiddle, io.outLeft + kMiddle,
                                           io.outRight + kMiddle};
            slicecast::BlockTransport then = transportOf(transports[block]);
            if (kind == BlockEvents::OneTransport)
                then = transportOf(claphost::playingTransport(quarterNotesAfter(block * kFrames + kMiddle),
                                                              bench::kTempo));
            else
                then.positionKnown = false;
            alone.sound->process(then, parameters, sampleRate, rest, kFrames - kMiddle);
        }
        soundAlone += Clock::now() - editionDone;
        throughEdition += editionDone - start;
        benchmark::ClobberMemory();
    }
    const double blocks = static_cast<double>(state.iterations()) * kBatch;
    bench::reportBlockCost(state, std::chrono::duration<double>(throughEdition - soundAlone).count() / blocks);
}

}  // namespace

BENCHMARK_CAPTURE(process, defaults, bench::kDefaults)->Name("clap/defaults")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, shortest_slice, bench::kShortestSlice)->Name("clap/shortest_slice")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, fully_shaped, bench::kFullyShaped)->Name("clap/fully_shaped")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(editionPerBlock, none, BlockEvents::None)->Name("clap/edition_per_block/events:0");
BENCHMARK_CAPTURE(editionPerBlock, parameter, BlockEvents::OneParameterValue)
    ->Name("clap/edition_per_block/parameter_value:1");
BENCHMARK_CAPTURE(editionPerBlock, transport, BlockEvents::OneTransport)->Name("clap/edition_per_block/transport:1");
