// What one pass over the captured slice sounds like: the repeat gain, the
// linear fade, the 12-sample fade-in, the gate with its 11-sample fade-out,
// and the dry/wet mix, applied to a stretch of frames that reads the
// capture from one read index on at one repeat gain, while the same frames'
// input is captured.
#pragma once

#include <cstdint>

#include "block_plan.h"
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

// The capture buffers: a pass reads its slice from them and stores the
// input it receives into them.
struct CaptureBuffers {
    float* left;
    float* right;
};

// Where a stretch of frames stands in its capture: the read index of its
// first frame (below the slice length) and the sample counter, which is
// where its input is stored. While the two are equal the stretch is the live
// pass and reads back the very input it stores.
struct PassPosition {
    std::uint32_t readIndex;
    std::uint32_t writeIndex;
};

// Stores the input of frames frames into the capture from the write index
// on, as far as the capacity goes, and renders them from the read index on
// at one repeat gain. The read index must not reach the slice length within
// them.
void renderPass(const PassShape& shape, CaptureBuffers capture, float repeatGain, PassPosition position,
                const StereoIo& io, std::int32_t frames) noexcept;

}  // namespace slicecast
