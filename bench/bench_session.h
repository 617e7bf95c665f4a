// What every benchmark of the plug-in needs: the built library, loaded once;
// a host whose transport plays at 48 kHz and 120 BPM; one instance switched
// on with the scenario's parameters; and one block of input and output.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "block_renderer.h"
#include "host.h"
#include "plugin_instance.h"

namespace bench {

constexpr double kSampleRate = 48000.0;
constexpr double kTempo = 120.0;

VstPluginMainProc slicecastEntry();

struct ParameterValue {
    VstInt32 index;
    float value;
};
using Settings = std::vector<ParameterValue>;

// Uniform noise in [-scale, scale], the same for every run.
vsthost::StereoBuffer noise(std::size_t frames, float scale);

class BenchSession {
public:
    enum class Buffers { Separate, InPlace };

    BenchSession(std::int32_t blockSize, const Settings& settings, vsthost::StereoBuffer input,
                 Buffers buffers = Buffers::Separate);

    // One block through the record's processReplacing; the transport then
    // moves on by the block, as a playing host's does.
    void processBlock();

    std::int32_t blockSize() const { return blockSize_; }

private:
    std::int32_t blockSize_;
    vsthost::Host host_;
    vsthost::PluginInstance instance_;
    vsthost::StereoBuffer input_;
    vsthost::StereoBuffer output_;
    float* inputs_[2];
    float* outputs_[2];
};

// Counters that make every processing figure comparable: frames per block,
// time per stereo frame, and how many times faster than real time.
void reportFrames(benchmark::State& state, std::int32_t blockSize, std::int64_t blocksPerIteration = 1);

}  // namespace bench
