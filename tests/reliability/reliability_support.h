// Helpers shared by the reliability tests: parameter presets, and checks
// over whole renders.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "stereo_blocks.h"
#include "host.h"
#include "plugin_instance.h"

namespace reliability {

// The six parameter values, in parameter order.
using Preset = std::array<float, 6>;

// The presets the tests run through: the defaults, a shaped one with every
// stage of the sound active, and extremes of both index parameters.
const std::array<Preset, 4>& presets();
void applyPreset(vst2host::PluginInstance& instance, const Preset& preset);

// A new instance, switched on at the rate, with the preset applied.
std::unique_ptr<vst2host::PluginInstance> openInstance(vst2host::Host& host, float sampleRate,
                                                      const Preset& preset, VstInt32 blockSize = 4096);

bool allFinite(const pluginhost::StereoBuffer& buffer);
// Bit-for-bit equality of both channels (NaNs compare by their bits too).
bool bitIdentical(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b);
// The first frame from which on both channels are exactly zero, or
// buffer.frames() if the last frame is not.
std::size_t silentFrom(const pluginhost::StereoBuffer& buffer);

// A description of where two renders first differ, for failure messages.
std::string firstDifference(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b);

// Processes one block through the record, as input and output arrays.
void processBlock(vst2host::PluginInstance& instance, const float* left, const float* right, float* outLeft,
                  float* outRight, VstInt32 frames);

}  // namespace reliability
