// The sound of the effect in plain C++, with no knowledge of any host: it
// captures the input from every update-period boundary on and plays the
// first slice of the capture again and again, decaying, faded, gated and
// mixed with the dry signal.
#pragma once

#include <cstdint>

#include "block_plan.h"

namespace slicecast {

// The four shaping parameters, as received from the host.
struct ShapeParameters {
    float rate = 0.7f;
    float fadeOut = 0.0f;
    float decayRate = 1.0f;
    float mix = 1.0f;
};

// Length of the fade-in at the start of every pass, and of the fade-out
// after the gate.
constexpr std::int32_t kEdgeFadeLength = 12;

class SliceRepeater {
public:
    // The capture buffers are not cleared here: the repeater lives inside the
    // effect object, whose storage is zero-filled when it is allocated, so a
    // new instance starts with silent buffers without touching 3.8 MB of
    // memory before it is needed.
    SliceRepeater() = default;

    // Processes frames stereo frames. Inputs and outputs may be the same
    // memory: each input pair is read before its output pair is written.
    void process(const BlockPlan& plan, const ShapeParameters& shape, const float* inLeft,
                 const float* inRight, float* outLeft, float* outRight, std::int32_t frames) noexcept;

    std::uint32_t sampleCounter() const noexcept { return sampleCounter_; }
    float repeatGain() const noexcept { return repeatGain_; }
    double lastPosition() const noexcept { return lastPosition_; }

private:
    std::uint32_t sampleCounter_ = 0;
    float repeatGain_ = 0.0f;
    double lastPosition_ = -500.0;
    float captureLeft_[kCaptureCapacity];
    float captureRight_[kCaptureCapacity];
};

}  // namespace slicecast
