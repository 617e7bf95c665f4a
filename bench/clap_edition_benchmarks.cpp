// What the CLAP edition adds to each 64-frame block, beside the sound's own
// cost: the same sound called directly, then through slicecast.clap as a
// host calls it with a transport and no events, with parameter events
// (each one cuts the block and maps the values again), and with transport
// events.
//   build/bench/clap_edition_benchmarks
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "clap_event_list.h"
#include "clap_instance.h"
#include "clap_transport.h"
#include "slicecast_sound.h"

namespace {

constexpr std::uint32_t kFrames = 64;
constexpr double kRate = 48000.0;
constexpr double kTempo = 120.0;

struct Buffers {
    std::vector<float> inLeft = std::vector<float>(kFrames, 0.25f);
    std::vector<float> inRight = std::vector<float>(kFrames, -0.25f);
    std::vector<float> outLeft = std::vector<float>(kFrames);
    std::vector<float> outRight = std::vector<float>(kFrames);
};

double positionAfter(std::uint64_t blocks) { return static_cast<double>(blocks * kFrames) * kTempo / 60.0 / kRate; }

void soundAlone(benchmark::State& state) {
    // The sound lives in zero-filled heap storage, as the editions keep it.
    void* storage = std::calloc(1, sizeof(slicecast::SlicecastSound));
    auto* sound = new (storage) slicecast::SlicecastSound;
    Buffers buffers;
    const slicecast::SoundParameters parameters;
    std::uint64_t blocks = 0;
    for (auto _ : state) {
        const slicecast::BlockTransport transport{true, positionAfter(blocks++), true, kTempo};
        sound->process(transport, parameters, static_cast<float>(kRate),
                       {buffers.inLeft.data(), buffers.inRight.data(), buffers.outLeft.data(), buffers.outRight.data()},
                       kFrames);
        benchmark::DoNotOptimize(buffers.outLeft.data());
    }
    sound->~SlicecastSound();
    std::free(storage);
}

// events(list, block) fills a block's event list. The lists and transports
// of 256 blocks are made before the clock runs and played in turn.
template <typename Events>
void throughTheEdition(benchmark::State& state, Events events) {
    const claphost::ClapLibrary library(SLICECAST_CLAP_PATH);
    const claphost::HostObject host;
    claphost::ClapInstance plugin(library, host);
    plugin.activate(kRate, 1, kFrames);
    plugin.startProcessing();
    Buffers buffers;
    constexpr std::size_t kPrepared = 256;
    std::vector<claphost::EventList> lists(kPrepared);
    std::vector<clap::EventTransport> transports;
    for (std::size_t block = 0; block < kPrepared; ++block) {
        events(lists[block], block);
        transports.push_back(claphost::playingTransport(positionAfter(block), kTempo));
    }
    std::size_t block = 0;
    for (auto _ : state) {
        plugin.process({buffers.inLeft.data(), buffers.inRight.data(), buffers.outLeft.data(), buffers.outRight.data(),
                        kFrames, &transports[block], &lists[block]});
        benchmark::DoNotOptimize(buffers.outLeft.data());
        block = (block + 1) % kPrepared;
    }
}

void noEvents(benchmark::State& state) {
    throughTheEdition(state, [](claphost::EventList&, std::uint64_t) {});
}

void parameterEvents(benchmark::State& state) {
    const auto count = static_cast<std::uint32_t>(state.range(0));
    throughTheEdition(state, [count](claphost::EventList& list, std::uint64_t block) {
        for (std::uint32_t i = 0; i < count; ++i)
            list.addParamValue(i * kFrames / count, 2 + i % 4, static_cast<double>((block + i) % 101));
    });
}

void transportEvents(benchmark::State& state) {
    throughTheEdition(state, [](claphost::EventList& list, std::uint64_t block) {
        list.addTransport(kFrames / 2, claphost::playingTransport(positionAfter(block) + 0.01, kTempo + 1.0));
    });
}

}  // namespace

BENCHMARK(soundAlone)->Name("Block64/SoundAlone");
BENCHMARK(noEvents)->Name("Block64/Clap/NoEvents");
BENCHMARK(parameterEvents)->Name("Block64/Clap/ParameterEvents")->Arg(1)->Arg(4)->Arg(16);
BENCHMARK(transportEvents)->Name("Block64/Clap/OneTransportEvent");
