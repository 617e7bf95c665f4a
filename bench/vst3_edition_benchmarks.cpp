// The VST 3 edition as a VST 3 host drives it: the processing cases walked
// through the 64 K-frame signal with a playing context per block
// ("vst3/<case>/<block>"). The host keeps its process record, buffers and
// context between blocks and moves them on, as the other formats' hosts
// here keep theirs, so that the figure is the edition's and the sound's.
#include "bench_session.h"
#include "parameter_changes.h"
#include "parameter_tables.h"
#include "plain_settings.h"
#include "processing_cases.h"
#include "ratio_reporter.h"
#include "vst3_instance.h"

namespace {

// The normalized value that plays as the case's VST 2.4 value: a step k of
// N as k / N, a percentage as it is.
double normalizedOf(const bench::ParameterValue& parameter) {
    if (parameter.index == bench::kWaveLength) return bench::plainValueOf(parameter) / slicecast::kMaxWaveLengthIndex;
    if (parameter.index == bench::kUpdatePeriod)
        return bench::plainValueOf(parameter) / slicecast::kMaxUpdatePeriodIndex;
    return parameter.value;
}

void process(benchmark::State& state, const bench::Settings& settings) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    const vst3host::Vst3Module module(SLICECAST_VST3_BUNDLE);
    vst3host::Vst3Instance effect(module);
    effect.start(bench::kSampleRate, 4096);
    const auto changes = vst3host::makeHostObject<vst3host::ParameterChanges>();
    for (const bench::ParameterValue& parameter : settings)
        changes->add(static_cast<vst3::ParamID>(parameter.index), 0, normalizedOf(parameter));
    effect.flush(changes.get());

    const auto input = bench::noise(bench::kSignalFrames, 1.0f);
    pluginhost::StereoBuffer output(input.frames());
    bench::SignalWalk walk(input.frames(), blockSize);
    bench::BlockChannels channels;
    vst3::AudioBusBuffers inputBus{2, 0, {channels.inputs}};
    vst3::AudioBusBuffers outputBus{2, 0, {channels.outputs}};
    vst3::ProcessContext context{};
    context.state = vst3::kPlaying | vst3::kProjectTimeMusicValid | vst3::kTempoValid;
    context.sampleRate = bench::kSampleRate;
    context.tempo = bench::kTempo;
    vst3::ProcessData data{vst3::kRealtime, vst3::kSample32, blockSize, 1, 1, &inputBus, &outputBus,
                           nullptr, nullptr, nullptr, nullptr, &context};
    vst3::IAudioProcessor& processor = effect.processor();
    for (auto _ : state) {
        channels.moveTo(input, output, walk.next());
        processor.process(data);
        context.projectTimeSamples += blockSize;
        context.projectTimeMusic = static_cast<double>(context.projectTimeSamples) * bench::kTempo / 60.0 /
                                   bench::kSampleRate;
        benchmark::ClobberMemory();
    }
    bench::reportFrames(state, blockSize);
}

}  // namespace

BENCHMARK_CAPTURE(process, defaults, bench::kDefaults)->Name("vst3/defaults")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, shortest_slice, bench::kShortestSlice)
    ->Name("vst3/shortest_slice")
    ->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, fully_shaped, bench::kFullyShaped)->Name("vst3/fully_shaped")->Apply(bench::blockSizes);
