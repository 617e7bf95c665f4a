// What one pass over the captured slice sounds like: the repeat gain, the
// linear fade, the 12-sample fade-in, the gate with its 11-sample fade-out,
// and the dry/wet mix, applied to a stretch of frames that reads the
// capture from one read index on at one repeat gain, while the same frames'
// input is captured.
#pragma once

#include <cstdint>

#include "block_plan.h"
#include "float_to_int.h"
#include "processor_features.h"
#include "stereo_io.h"

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

// The shaping rules with everything that is constant over a block worked
// out once. Defined here, so that it compiles into the block's own loop.
struct PassShape {
    PassShape(const ShapeParameters& p, std::int32_t slice, LoopSet loopSet) noexcept
        : parameters(p),
          sliceLengthSamples(slice),
          sliceLength(static_cast<float>(slice)),
          fadeDenominator(sliceLength * p.rate),
          gateLength(truncateToInt32(fadeDenominator)),
          // With "FadeOut" at 0 the factor 1 - (K x 0) / (S x rate) is
          // exactly 1 for every read index (S x rate > 0 here), and a
          // product with 1 is the value itself: leaving the fade out then
          // gives the same bits.
          fades(p.rate > 0.0f && p.fadeOut != 0.0f),
          // Past the gate the linear fade holds the factor of the last
          // audible read index. Carried on, 1 - (K x FadeOut) / (S x rate)
          // would fall below 1 - FadeOut there, and far below 0 once S x
          // rate is a tiny fraction of the 11 samples, throwing the output
          // far past full scale. Held, the wet gain stays within [0, 1].
          heldFade(fades ? 1.0f - (static_cast<float>(gateLength) * p.fadeOut) / fadeDenominator : 1.0f),
          fadesIn(p.rate < 1.0f),
          dryGain(1.0f - p.mix),
          silentWet(p.mix * 0.0f),
          loops(loopSet) {}

    // The first read index after k at which another shaping rule applies:
    // the rules change only where the read index reaches 12 (the end of the
    // fade-in), the gate length + 1 (the start of the fade-out after the
    // gate) and the gate length + 12 (silence).
    std::int64_t nextRuleChange(std::int64_t k) const noexcept {
        const std::int64_t passEnd = std::int64_t{gateLength} + 1;
        const std::int64_t fadeOutEnd = std::int64_t{gateLength} + kEdgeFadeLength;
        const std::int64_t next = k < passEnd ? passEnd : (k < fadeOutEnd ? fadeOutEnd : kNoRuleChange);
        return k < kEdgeFadeLength && next > kEdgeFadeLength ? kEdgeFadeLength : next;
    }
    static constexpr std::int64_t kNoRuleChange = std::int64_t{1} << 62;

    ShapeParameters parameters;
    std::int32_t sliceLengthSamples;
    float sliceLength;       // S
    float fadeDenominator;   // S x rate
    std::int32_t gateLength; // S x rate, truncated
    bool fades;              // rate > 0 and FadeOut not 0 (see the constructor)
    float heldFade;          // the fade factor past the gate (see the constructor)
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

// Everything a stretch of frames reads and writes: the host's buffers from
// the stretch's first frame on, the capture from its read index on (the wet
// signal of a repeat) and from its write index on (where its input is
// stored; null beyond the capacity, where nothing is stored). The capture
// buffers are the effect's own, so no host buffer lies in them; and a
// stretch never reads a capture position it stores: the live pass reads its
// input instead, a repeat reads below the slice length and stores at or
// beyond it.
struct StretchIo {
    const float* inLeft;
    const float* inRight;
    float* outLeft;
    float* outRight;
    const float* wetLeft;
    const float* wetRight;
    float* storeLeft;
    float* storeRight;
};

inline StretchIo stretchIoAt(const StereoIo& io, std::int32_t frame, CaptureBuffers capture,
                             PassPosition position) noexcept {
    const bool stores = position.writeIndex < static_cast<std::uint32_t>(kCaptureCapacity);
    return {io.inLeft + frame,
            io.inRight + frame,
            io.outLeft + frame,
            io.outRight + frame,
            capture.left + position.readIndex,
            capture.right + position.readIndex,
            stores ? capture.left + position.writeIndex : nullptr,
            stores ? capture.right + position.writeIndex : nullptr};
}

// Stores the input of a stretch of frames into the capture and renders them
// at one repeat gain, from the read index firstIndex on.
using StretchKernel = void (*)(const PassShape& shape, float gain, std::int32_t firstIndex, const StretchIo& io,
                               std::int32_t frames) noexcept;

// The loop for the stretch that starts at a position, and how many frames
// from there on it may take at most: as many as share one set of rules (up
// to the read index nextRuleChange gives) and lie on one side of the
// capacity, beyond which nothing is stored. The stretch must lie within one
// pass (the read index stays below the slice length); layout is how the
// block's buffers lie (layoutOf).
struct StretchLoop {
    StretchKernel kernel;
    std::int64_t reach;
};
StretchLoop stretchLoopAt(const PassShape& shape, BufferLayout layout, PassPosition position) noexcept;

}  // namespace slicecast
