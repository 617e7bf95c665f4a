#include "bench_session.h"

#include <algorithm>
#include <random>

#include "shared_library.h"
#include "vst_entry_point.h"

namespace bench {

VstPluginMainProc slicecastEntry() {
    static const pluginhost::SharedLibrary library(SLICECAST_PLUGIN_PATH);
    return vst2host::entryPointOf(library);
}

pluginhost::StereoBuffer noise(std::size_t frames, float scale) {
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> sample(-scale, scale);
    pluginhost::StereoBuffer buffer(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left[i] = sample(generator);
        buffer.right[i] = sample(generator);
    }
    return buffer;
}

SignalWalk::SignalWalk(std::size_t signalFrames, std::int32_t blockSize) noexcept
    : signalFrames_(signalFrames), blockSize_(static_cast<std::size_t>(blockSize)) {}

std::size_t SignalWalk::next() noexcept {
    if (offset_ + blockSize_ > signalFrames_) offset_ = 0;
    const std::size_t start = offset_;
    offset_ += blockSize_;
    return start;
}

BenchSession::BenchSession(std::int32_t blockSize, const Settings& settings, pluginhost::StereoBuffer input,
                           Buffers buffers)
    : blockSize_(blockSize),
      instance_(host_, slicecastEntry()),
      input_(std::move(input)),
      output_(input_.frames()),
      inPlace_(buffers == Buffers::InPlace),
      walk_(input_.frames(), blockSize) {
    host_.transport = pluginhost::Transport(kSampleRate, kTempo, 0.0);
    host_.blockSize = blockSize;
    instance_.switchOn(static_cast<float>(kSampleRate), blockSize);
    for (const ParameterValue& parameter : settings) instance_.setParameter(parameter.index, parameter.value);
}

void BenchSession::processBlock() {
    const std::size_t start = walk_.next();
    float* inputs[2] = {input_.left.data() + start, input_.right.data() + start};
    float* outputs[2] = {output_.left.data() + start, output_.right.data() + start};
    // In place, the effect's output replaces the signal it walks through:
    // a decaying repeat then keeps feeding itself, as on a track that is
    // processed over and over.
    instance_.processReplacing(inputs, inPlace_ ? inputs : outputs, blockSize_);
    benchmark::ClobberMemory();
    host_.transport.advance(blockSize_);
}

void BenchSession::processEmptyBlock() {
    float* inputs[2] = {input_.left.data(), input_.right.data()};
    float* outputs[2] = {output_.left.data(), output_.right.data()};
    instance_.processReplacing(inputs, outputs, 0);
    benchmark::ClobberMemory();
}

void reportFrames(benchmark::State& state, std::int32_t blockSize, std::int64_t blocksPerIteration) {
    using benchmark::Counter;
    const auto frames = static_cast<double>(blockSize) * static_cast<double>(blocksPerIteration);
    state.counters["block"] = blockSize;
    state.counters["time/frame"] = Counter(frames, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["x realtime"] = Counter(frames / kSampleRate, Counter::kIsIterationInvariantRate);
}

}  // namespace bench
