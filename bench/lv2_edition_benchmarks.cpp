// The LV2 edition as an LV2 host drives it through lilv: the processing
// cases walked through the 64 K-frame signal ("lv2/<case>/<block>"), and
// the edition's own cost per block, a run of no frames that reads the
// control ports, maps them and walks the control port's sequence but plays
// nothing ("lv2/edition_per_block/<events>": an empty sequence, a stopped
// Ardour's, and one time:Position, a rolling one's). Its ports are
// connected once, as a host whose buffers do not move leaves them, so that
// the figure is the edition's run and nothing of the host's.
#include <vector>

#include "bench_session.h"
#include "lv2_instance.h"
#include "lv2_plugin.h"
#include "plain_settings.h"
#include "processing_cases.h"
#include "ratio_reporter.h"

namespace {

const lv2host::Lv2Plugin& slicecastLv2() {
    static const lv2host::Lv2Plugin plugin(SLICECAST_LV2_BUNDLE);
    return plugin;
}

void setPorts(lv2host::Lv2Instance& instance, const bench::Settings& settings) {
    constexpr std::uint32_t kFirstParameterPort = 4;
    for (const bench::ParameterValue& parameter : settings)
        instance.setControl(kFirstParameterPort + static_cast<std::uint32_t>(parameter.index),
                            static_cast<float>(bench::plainValueOf(parameter)));
}

void process(benchmark::State& state, const bench::Settings& settings) {
    const auto blockSize = static_cast<std::int32_t>(state.range(0));
    lv2host::Lv2Instance instance(slicecastLv2(), bench::kSampleRate);
    setPorts(instance, settings);
    const auto input = bench::noise(bench::kSignalFrames, 1.0f);
    pluginhost::StereoBuffer output(input.frames());
    bench::SignalWalk walk(input.frames(), blockSize);
    // A rolling host's position once, then none: the edition carries it on
    // by itself, as between a DAW's events.
    const lv2host::StereoPorts start{input.left.data(), input.right.data(), output.left.data(), output.right.data()};
    instance.run(start, 0, {lv2host::dawPosition(0, true, 0.0, bench::kTempo)});
    instance.run(start, 0);
    for (auto _ : state) {
        const std::size_t at = walk.next();
        instance.runWithTheSameEvents({input.left.data() + at, input.right.data() + at, output.left.data() + at,
                                       output.right.data() + at},
                                      static_cast<std::uint32_t>(blockSize));
        benchmark::ClobberMemory();
    }
    bench::reportFrames(state, blockSize);
}

void editionPerBlock(benchmark::State& state) {
    lv2host::Lv2Instance instance(slicecastLv2(), bench::kSampleRate);
    pluginhost::StereoBuffer buffers(64);
    const lv2host::StereoPorts ports{buffers.left.data(), buffers.right.data(), buffers.left.data(),
                                     buffers.right.data()};
    std::vector<lv2host::TimePosition> events;
    if (state.range(0) > 0) events.push_back(lv2host::dawPosition(0, true, 0.0, bench::kTempo));
    instance.run(ports, 0, events);
    for (auto _ : state) {
        instance.runWithTheSamePorts(0);
        benchmark::ClobberMemory();
    }
    bench::reportBlockCost(state);
}

}  // namespace

BENCHMARK_CAPTURE(process, defaults, bench::kDefaults)->Name("lv2/defaults")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, shortest_slice, bench::kShortestSlice)->Name("lv2/shortest_slice")->Apply(bench::blockSizes);
BENCHMARK_CAPTURE(process, fully_shaped, bench::kFullyShaped)->Name("lv2/fully_shaped")->Apply(bench::blockSizes);
BENCHMARK(editionPerBlock)->Name("lv2/edition_per_block")->ArgName("events")->Arg(0)->Arg(1);
