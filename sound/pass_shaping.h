// What one pass over the captured slice sounds like: the repeat gain, the
// linear fade, the 12-sample fade-in, the gate with its 11-sample fade-out,
// and the dry/wet mix, applied to a stretch of frames that reads the
// capture from one read index on at one repeat gain.
#pragma once

#include <cstdint>

#include "processor_features.h"

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

// The host's channels for a stretch of frames. Inputs and outputs may be
// the same memory: every frame's input pair is read before its output pair
// is written.
struct StereoIo {
    const float* inLeft;
    const float* inRight;
    float* outLeft;
    float* outRight;

    StereoIo from(std::int32_t frame) const noexcept {
        return {inLeft + frame, inRight + frame, outLeft + frame, outRight + frame};
    }
};

// The shaping rules with everything that is constant over a block worked
// out once.
struct PassShape {
    PassShape(const ShapeParameters& parameters, std::int32_t sliceLength, LoopSet loops) noexcept;

    ShapeParameters parameters;
    float sliceLength;       // S
    float fadeDenominator;   // S x rate
    std::int32_t gateLength; // S x rate, truncated
    bool fades;              // rate > 0 and FadeOut not 0 (see the constructor)
    bool fadesIn;            // rate < 1
    float dryGain;           // 1 - mix
    float silentWet;         // mix x 0, the wet term of a gated sample
    LoopSet loops;           // the version of the sample loops that runs
};

// The capture buffers as the passes read them.
struct Capture {
    const float* left;
    const float* right;
};

// Renders frames frames that read the capture from readIndex on, at one
// repeat gain. The read index must not reach the slice length within them.
void renderPass(const PassShape& shape, Capture capture, float repeatGain, std::uint32_t readIndex,
                const StereoIo& io, std::int32_t frames) noexcept;

}  // namespace slicecast
