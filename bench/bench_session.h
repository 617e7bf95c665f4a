// What every benchmark of the plug-in needs: the built library, loaded once;
// a host whose transport plays at 48 kHz and 120 BPM; one instance switched
// on with the scenario's parameters; and a 64 K-frame signal walked through
// block after block, as a host plays a track.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "stereo_blocks.h"
#include "host.h"
#include "plugin_instance.h"

namespace bench {

constexpr double kSampleRate = 48000.0;
constexpr double kTempo = 120.0;
// Every block size measured divides it, so that the walk wraps at a block
// start. Both channels of input and output together (1 MB) outgrow the
// first-level cache, as a real track does.
constexpr std::size_t kSignalFrames = 65536;

VstPluginMainProc slicecastEntry();

struct ParameterValue {
    VstInt32 index;
    float value;
};
using Settings = std::vector<ParameterValue>;

// Uniform noise in [-scale, scale], the same for every run.
pluginhost::StereoBuffer noise(std::size_t frames, float scale);

// Where the next block of a walk through the signal starts.
class SignalWalk {
public:
    SignalWalk(std::size_t signalFrames, std::int32_t blockSize) noexcept;
    std::size_t next() noexcept;

private:
    std::size_t signalFrames_;
    std::size_t blockSize_;
    std::size_t offset_ = 0;
};

// The channel pointers a host hands an effect for a block, kept where the
// host's buffer records point to them and moved along the walk.
struct BlockChannels {
    float* inputs[2] = {};
    float* outputs[2] = {};

    // The effect must not write its inputs: read-only data through the
    // formats' non-const pointers.
    void moveTo(const pluginhost::StereoBuffer& input, pluginhost::StereoBuffer& output, std::size_t at) noexcept {
        inputs[0] = const_cast<float*>(input.left.data() + at);
        inputs[1] = const_cast<float*>(input.right.data() + at);
        outputs[0] = output.left.data() + at;
        outputs[1] = output.right.data() + at;
    }
};

class BenchSession {
public:
    enum class Buffers { Separate, InPlace };

    BenchSession(std::int32_t blockSize, const Settings& settings, pluginhost::StereoBuffer input,
                 Buffers buffers = Buffers::Separate);

    // The next block of the signal through the record's processReplacing;
    // the transport then moves on by the block, as a playing host's does.
    void processBlock();
    // A block of no frames: what the edition does around the sound (entry,
    // time query, parameters) and nothing else.
    void processEmptyBlock();

    std::int32_t blockSize() const { return blockSize_; }

private:
    std::int32_t blockSize_;
    vst2host::Host host_;
    vst2host::PluginInstance instance_;
    pluginhost::StereoBuffer input_;
    pluginhost::StereoBuffer output_;
    bool inPlace_;
    SignalWalk walk_;
};

// Counters that make every processing figure comparable: frames per block,
// time per stereo frame, and how many times faster than real time.
void reportFrames(benchmark::State& state, std::int32_t blockSize, std::int64_t blocksPerIteration = 1);

}  // namespace bench
