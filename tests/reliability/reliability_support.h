// Helpers shared by the reliability tests: a host whose time answer a test
// scripts block by block, parameter presets, and checks over whole renders.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "block_renderer.h"
#include "host.h"
#include "plugin_instance.h"

namespace reliability {

// A host that answers the time query with whatever record the test chose
// for the coming block: the transport's (default), another record, or none.
class ScriptedTimeHost : public vsthost::Host {
public:
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override;

    // Answer this record (or null) instead of the transport's.
    void answerWith(VstTimeInfo* record) {
        useTransport_ = false;
        record_ = record;
    }
    void answerWithTransport() { useTransport_ = true; }

    int timeQueries = 0;

private:
    bool useTransport_ = true;
    VstTimeInfo* record_ = nullptr;
};

// The six parameter values, in parameter order.
using Preset = std::array<float, 6>;

// The presets the tests run through: the defaults, a shaped one with every
// stage of the sound active, and extremes of both index parameters.
const std::array<Preset, 4>& presets();
void applyPreset(vsthost::PluginInstance& instance, const Preset& preset);

// A new instance, switched on at the rate, with the preset applied.
std::unique_ptr<vsthost::PluginInstance> openInstance(vsthost::Host& host, float sampleRate,
                                                      const Preset& preset, VstInt32 blockSize = 4096);

bool allFinite(const vsthost::StereoBuffer& buffer);
// Bit-for-bit equality of both channels (NaNs compare by their bits too).
bool bitIdentical(const vsthost::StereoBuffer& a, const vsthost::StereoBuffer& b);
// The first frame from which on both channels are exactly zero, or
// buffer.frames() if the last frame is not.
std::size_t silentFrom(const vsthost::StereoBuffer& buffer);

// A description of where two renders first differ, for failure messages.
std::string firstDifference(const vsthost::StereoBuffer& a, const vsthost::StereoBuffer& b);

// Processes one block through the record, as input and output arrays.
void processBlock(vsthost::PluginInstance& instance, const float* left, const float* right, float* outLeft,
                  float* outRight, VstInt32 frames);

}  // namespace reliability
