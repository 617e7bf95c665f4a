// The CLAP edition as a CLAP host drives it: the processing cases walked
// through the 64 K-frame signal with a playing transport per block
// ("clap/<case>/<block>"), and the edition's own cost per 64-frame block
// ("clap/edition_per_block/<events>": none, one parameter value, one
// transport, each at the block's middle).
//
// CLAP allows no block of no frames, so the own cost is timed as the
// difference: a batch of blocks through the edition's process call, and the
// same blocks through the sound alone, cut where the edition cuts them and
// with the same parameters and transports.
#include <array>
#include <chrono>
#include <cstdlib>
#include <new>
#include <vector>

#include "bench_session.h"
#include "clap_event_list.h"
#include "clap_instance.h"
#include "clap_transport.h"
#include "plain_parameters.h"
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
    pluginhost::StereoBuffer output(input.frames());
    bench::SignalWalk walk(input.frames(), blockSize);
    // The host keeps its process record, buffers and transport between
    // blocks and moves them on, as the VST 2.4 benchmark's host keeps its
    // time record: the figure is the edition's and the sound's, not the
    // test host's checks and record building.
    bench::BlockChannels channels;
    const clap::AudioBuffer inputBuffer{channels.inputs, nullptr, 2, 0, 0};
    clap::AudioBuffer outputBuffer{channels.outputs, nullptr, 2, 0, 0};
    const claphost::EventList none;
    const claphost::EventSink sink;
    clap::EventTransport transport = claphost::playingTransport(0.0, bench::kTempo);
    const clap::Process call{-1,
                             static_cast<std::uint32_t>(blockSize),
                             &transport,
                             &inputBuffer,
                             &outputBuffer,
                             1,
                             1,
                             none.inputEvents(),
                             sink.outputEvents()};
    const clap::Plugin& plugin = rig.plugin.plugin();
    std::uint64_t played = 0;
    for (auto _ : state) {
        channels.moveTo(input, output, walk.next());
        transport.songPosBeats = claphost::beatTimeOf(quarterNotesAfter(played));
        plugin.process(&plugin, &call);
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

// What the sound alone plays of one block: the whole block, or its two
// halves when the edition cuts it at an event, each with the transport and
// values the edition hands the sound there.
struct SoundHalves {
    slicecast::BlockTransport first;
    slicecast::BlockTransport second;
    slicecast::SoundParameters secondParameters;
};

slicecast::BlockTransport soundTransportOf(const clap::EventTransport& transport) {
    return {true, static_cast<double>(transport.songPosBeats) / clap::kBeatTimeFactor, true, transport.tempo};
}

slicecast::SoundParameters withMix(double mixPercent) {
    std::array<double, 6> plain = slicecast::kDefaultPlainValues;
    plain[slicecast::kMix] = mixPercent;
    return slicecast::soundParametersFromPlain(plain);
}

void editionPerBlock(benchmark::State& state, BlockEvents kind) {
    constexpr std::uint32_t kFrames = 64;
    constexpr std::uint32_t kMiddle = kFrames / 2;
    constexpr std::size_t kBatch = 256;
    ClapRig rig(bench::kDefaults);
    SoundAlone alone;
    const auto input = bench::noise(kFrames, 1.0f);
    pluginhost::StereoBuffer output(kFrames);
    const slicecast::StereoIo io{input.left.data(), input.right.data(), output.left.data(), output.right.data()};
    const slicecast::StereoIo rest{io.inLeft + kMiddle, io.inRight + kMiddle, io.outLeft + kMiddle,
                                   io.outRight + kMiddle};

    // The batch's transports, events and process records, and what the sound
    // alone plays of each block, all made before the clock runs, as a host
    // keeps its records between blocks: the figure holds the edition's call
    // and nothing of the host's checks or record building. The parameter
    // value alternates so that every event is a change.
    std::vector<clap::EventTransport> transports;
    std::vector<claphost::EventList> events(kBatch);
    std::vector<SoundHalves> halves;
    for (std::size_t block = 0; block < kBatch; ++block) {
        transports.push_back(claphost::playingTransport(quarterNotesAfter(block * kFrames), bench::kTempo));
        SoundHalves sound{soundTransportOf(transports.back()), soundTransportOf(transports.back()), withMix(100.0)};
        sound.second.positionKnown = false;
        if (kind == BlockEvents::OneParameterValue) {
            const double mix = block % 2 ? 99.0 : 100.0;
            events[block].addParamValue(kMiddle, slicecast::kMix, mix);
            sound.secondParameters = withMix(mix);
        }
        if (kind == BlockEvents::OneTransport) {
            const clap::EventTransport moved =
                claphost::playingTransport(quarterNotesAfter(block * kFrames + kMiddle), bench::kTempo);
            events[block].addTransport(kMiddle, moved);
            sound.second = soundTransportOf(moved);
        }
        halves.push_back(sound);
    }
    float* inputs[2] = {const_cast<float*>(io.inLeft), const_cast<float*>(io.inRight)};
    float* outputs[2] = {io.outLeft, io.outRight};
    const clap::AudioBuffer inputBuffer{inputs, nullptr, 2, 0, 0};
    clap::AudioBuffer outputBuffer{outputs, nullptr, 2, 0, 0};
    const claphost::EventSink sink;
    std::vector<clap::Process> calls;
    for (std::size_t block = 0; block < kBatch; ++block)
        calls.push_back({-1, kFrames, &transports[block], &inputBuffer, &outputBuffer, 1, 1,
                         events[block].inputEvents(), sink.outputEvents()});
    const clap::Plugin& plugin = rig.plugin.plugin();
    if (plugin.process(&plugin, &calls.front()) != clap::kProcessContinue) {
        state.SkipWithError("the edition refused a block");
        return;
    }
    const slicecast::SoundParameters defaults = withMix(100.0);
    const float sampleRate = static_cast<float>(bench::kSampleRate);

    using Clock = std::chrono::steady_clock;
    const auto throughEdition = [&] {
        const auto start = Clock::now();
        for (const clap::Process& call : calls) plugin.process(&plugin, &call);
        return Clock::now() - start;
    };
    const auto throughSoundAlone = [&] {
        const auto start = Clock::now();
        for (const SoundHalves& sound : halves) {
            if (kind == BlockEvents::None) {
                alone.sound->process(sound.first, defaults, sampleRate, io, kFrames);
                continue;
            }
            // The edition cuts the block at its event: the sound plays both
            // halves.
            alone.sound->process(sound.first, defaults, sampleRate, io, kMiddle);
            alone.sound->process(sound.second, sound.secondParameters, sampleRate, rest, kFrames - kMiddle);
        }
        return Clock::now() - start;
    };
    Clock::duration edition{};
    Clock::duration soundAlone{};
    bool editionFirst = true;
    for (auto _ : state) {
        // Which batch runs first alternates, so that neither always finds
        // the caches as the other left them.
        if (editionFirst) {
            edition += throughEdition();
            soundAlone += throughSoundAlone();
        } else {
            soundAlone += throughSoundAlone();
            edition += throughEdition();
        }
        editionFirst = !editionFirst;
        benchmark::ClobberMemory();
    }
    const double blocks = static_cast<double>(state.iterations()) * kBatch;
    bench::reportBlockCost(state, std::chrono::duration<double>(edition - soundAlone).count() / blocks);
}

}  // namespace

BENCHMARK_CAPTURE(process, defaults, bench::kDefaults)->Name("clap/defaults")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, shortest_slice, bench::kShortestSlice)->Name("clap/shortest_slice")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, fully_shaped, bench::kFullyShaped)->Name("clap/fully_shaped")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(editionPerBlock, none, BlockEvents::None)->Name("clap/edition_per_block/events:0");
BENCHMARK_CAPTURE(editionPerBlock, parameter, BlockEvents::OneParameterValue)
    ->Name("clap/edition_per_block/parameter_value:1");
BENCHMARK_CAPTURE(editionPerBlock, transport, BlockEvents::OneTransport)->Name("clap/edition_per_block/transport:1");
