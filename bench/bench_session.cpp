#include "bench_session.h"

#include <algorithm>
#include <iterator>
#include <random>

#include "plugin_library.h"

namespace bench {

VstPluginMainProc slicecastEntry() {
    static const vsthost::PluginLibrary library(SLICECAST_PLUGIN_PATH);
    return library.entryPoint();
}

vsthost::StereoBuffer noise(std::size_t frames, float scale) {
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> sample(-scale, scale);
    vsthost::StereoBuffer buffer(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left[i] = sample(generator);
        buffer.right[i] = sample(generator);
    }
    return buffer;
}

BenchSession::BenchSession(std::int32_t blockSize, const Settings& settings, vsthost::StereoBuffer input,
                           Buffers buffers)
    : blockSize_(blockSize),
      instance_(host_, slicecastEntry()),
      input_(std::move(input)),
      output_(input_.frames()),
      inputs_{input_.left.data(), input_.right.data()},
      outputs_{output_.left.data(), output_.right.data()} {
    if (buffers == Buffers::InPlace) std::copy(std::begin(inputs_), std::end(inputs_), std::begin(outputs_));
    host_.transport = vsthost::Transport(kSampleRate, kTempo, 0.0);
    host_.blockSize = blockSize;
    instance_.switchOn(static_cast<float>(kSampleRate), blockSize);
    for (const ParameterValue& parameter : settings) instance_.setParameter(parameter.index, parameter.value);
}

void BenchSession::processBlock() {
    instance_.processReplacing(inputs_, outputs_, blockSize_);
    benchmark::DoNotOptimize(outputs_[0][0]);
    benchmark::ClobberMemory();
    host_.transport.advance(blockSize_);
}

void reportFrames(benchmark::State& state, std::int32_t blockSize, std::int64_t blocksPerIteration) {
    using benchmark::Counter;
    const auto frames = static_cast<double>(blockSize) * static_cast<double>(blocksPerIteration);
    state.counters["block"] = blockSize;
    state.counters["time/frame"] = Counter(frames, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["x realtime"] = Counter(frames / kSampleRate, Counter::kIsIterationInvariantRate);
}

}  // namespace bench
