#include "reliability_support.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include "slicecast_plugin.h"

namespace reliability {

const std::array<Preset, 4>& presets() {
    static const std::array<Preset, 4> all{{
        {5.0f / 11.0f, 0.75f, 0.7f, 0.0f, 1.0f, 1.0f},  // the defaults
        {4.0f / 11.0f, 0.5f, 0.6f, 0.5f, 0.7f, 0.8f},   // every shaping stage at work
        {1.0f, 1.0f, 0.3f, 1.0f, 0.5f, 1.0f},           // 1/64 slices, 1/4-bar periods
        {0.0f, 0.0f, 1.0f, 0.25f, 0.9f, 0.5f},          // one-bar slices, four-bar periods
    }};
    return all;
}

void applyPreset(vst2host::PluginInstance& instance, const Preset& preset) {
    for (VstInt32 index = 0; index < static_cast<VstInt32>(preset.size()); ++index) {
        instance.setParameter(index, preset[static_cast<std::size_t>(index)]);
    }
}

std::unique_ptr<vst2host::PluginInstance> openInstance(vst2host::Host& host, float sampleRate, const Preset& preset,
                                                      VstInt32 blockSize) {
    auto instance = std::make_unique<vst2host::PluginInstance>(host, testsupport::slicecastEntry());
    instance->switchOn(sampleRate, blockSize);
    applyPreset(*instance, preset);
    return instance;
}

bool allFinite(const pluginhost::StereoBuffer& buffer) {
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        if (!std::isfinite(buffer.left[i]) || !std::isfinite(buffer.right[i])) return false;
    }
    return true;
}

bool bitIdentical(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b) {
    const std::size_t bytes = a.frames() * sizeof(float);
    return a.frames() == b.frames() && std::memcmp(a.left.data(), b.left.data(), bytes) == 0 &&
           std::memcmp(a.right.data(), b.right.data(), bytes) == 0;
}

std::size_t silentFrom(const pluginhost::StereoBuffer& buffer) {
    std::size_t frame = buffer.frames();
    while (frame > 0 && buffer.left[frame - 1] == 0.0f && buffer.right[frame - 1] == 0.0f) --frame;
    return frame;
}

std::string firstDifference(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b) {
    if (a.frames() != b.frames()) return "lengths differ";
    for (std::size_t i = 0; i < a.frames(); ++i) {
        if (std::memcmp(&a.left[i], &b.left[i], sizeof(float)) != 0 ||
            std::memcmp(&a.right[i], &b.right[i], sizeof(float)) != 0) {
            std::ostringstream text;
            text << "frame " << i << ": (" << a.left[i] << ", " << a.right[i] << ") vs (" << b.left[i] << ", "
                 << b.right[i] << ")";
            return text.str();
        }
    }
    return "no difference";
}

void processBlock(vst2host::PluginInstance& instance, const float* left, const float* right, float* outLeft,
                  float* outRight, VstInt32 frames) {
    float* inputs[2] = {const_cast<float*>(left), const_cast<float*>(right)};
    float* outputs[2] = {outLeft, outRight};
    instance.processReplacing(inputs, outputs, frames);
}

}  // namespace reliability
