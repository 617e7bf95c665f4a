#include "pass_shaping.h"

#include <algorithm>
#include <limits>

#include "float_to_int.h"
#include "processor_features.h"

// The loop bodies are inlined into one function per loop set, so that each
// is vectorised for its instruction set. The same operations in the same
// order give the same bits in either.
#define SLICECAST_LOOP_BODY [[gnu::always_inline]] inline

namespace slicecast {

PassShape::PassShape(const ShapeParameters& p, std::int32_t slice, LoopSet loops) noexcept
    : parameters(p),
      sliceLength(static_cast<float>(slice)),
      fadeDenominator(sliceLength * p.rate),
      gateLength(truncateToInt32(fadeDenominator)),
      // With "FadeOut" at 0 the factor 1 - (K x 0) / (S x rate) is exactly 1
      // for every read index (S x rate > 0 here), and a product with 1 is
      // the value itself: leaving the fade out then gives the same bits.
      fades(p.rate > 0.0f && p.fadeOut != 0.0f),
      fadesIn(p.rate < 1.0f),
      dryGain(1.0f - p.mix),
      silentWet(p.mix * 0.0f),
      loops(loops) {}

namespace {

// Which shaping rules apply to a stretch of read indexes. Every rule
// changes only where the read index crosses 12, the gate length + 1 or
// the gate length + 12, so a stretch between two of these has one set.
struct StretchRules {
    bool fadesIn;          // read index below 12, "Rate" below 1
    bool fadesOut;         // 1 to 11 past the gate length
    bool gated;            // 12 or more past the gate length: silent
};

StretchRules rulesAt(const PassShape& shape, std::int64_t k) noexcept {
    const std::int64_t pastGate = k - shape.gateLength;
    return {k < kEdgeFadeLength && shape.fadesIn, pastGate > 0 && pastGate < kEdgeFadeLength,
            pastGate >= kEdgeFadeLength};
}

std::int64_t nextRuleChange(const PassShape& shape, std::int64_t k) noexcept {
    constexpr std::int64_t kNoChange = std::numeric_limits<std::int64_t>::max();
    const std::int64_t passEnd = std::int64_t{shape.gateLength} + 1;
    const std::int64_t fadeOutEnd = std::int64_t{shape.gateLength} + kEdgeFadeLength;
    const std::int64_t next = k < passEnd ? passEnd : (k < fadeOutEnd ? fadeOutEnd : kNoChange);
    return k < kEdgeFadeLength ? std::min<std::int64_t>(kEdgeFadeLength, next) : next;
}

// The loops keep everything they read besides the samples in local
// values: a store to an output could otherwise change anything reached
// through a pointer, and the compiler could not vectorise them.

// The processed signal of a stretch that is not gated: the repeat gain,
// the fade, the fade-in and the fade-out after the gate, in this order,
// then the mix with the dry signal.
SLICECAST_LOOP_BODY void shapedLoop(const PassShape& shape, StretchRules rules, Capture capture, float gain,
                                    std::int32_t firstIndex, const StereoIo& io, std::int32_t frames) noexcept {
    const float* const inLeft = io.inLeft;
    const float* const inRight = io.inRight;
    float* const outLeft = io.outLeft;
    float* const outRight = io.outRight;
    // The capture buffers are the effect's own: no host buffer lies in them.
    const float* __restrict const wetSourceLeft = capture.left + firstIndex;
    const float* __restrict const wetSourceRight = capture.right + firstIndex;
    const bool fades = shape.fades;
    const bool fadesIn = rules.fadesIn;
    const bool fadesOut = rules.fadesOut;
    const float fadeOut = shape.parameters.fadeOut;
    const float denominator = shape.fadeDenominator;
    const float dryGain = shape.dryGain;
    const float mix = shape.parameters.mix;
    // 12 - (k - gate length) at the first frame; 1 to 11 wherever it is used.
    const std::int32_t firstRemaining = fadesOut ? shape.gateLength + kEdgeFadeLength - firstIndex : 0;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float K = static_cast<float>(firstIndex + i);
        float wetLeft = wetSourceLeft[i] * gain;
        float wetRight = wetSourceRight[i] * gain;
        if (fades) {
            const float fade = 1.0f - (K * fadeOut) / denominator;
            wetLeft = wetLeft * fade;
            wetRight = wetRight * fade;
        }
        if (fadesIn) {
            wetLeft = (K * wetLeft) / 12.0f;
            wetRight = (K * wetRight) / 12.0f;
        }
        if (fadesOut) {
            // The project's own fade-out past the gate, mirroring the
            // fade-in so that the cut does not click.
            const auto remaining = static_cast<float>(firstRemaining - i);
            wetLeft = (remaining * wetLeft) / 12.0f;
            wetRight = (remaining * wetRight) / 12.0f;
        }
        const float dryLeft = inLeft[i];
        const float dryRight = inRight[i];
        outLeft[i] = dryGain * dryLeft + mix * wetLeft;
        outRight[i] = dryGain * dryRight + mix * wetRight;
    }
}

// Read indexes 12 or more past the gate length: the processed signal is 0.
SLICECAST_LOOP_BODY void gatedLoop(const PassShape& shape, const StereoIo& io, std::int32_t frames) noexcept {
    const float* const inLeft = io.inLeft;
    const float* const inRight = io.inRight;
    float* const outLeft = io.outLeft;
    float* const outRight = io.outRight;
    const float dryGain = shape.dryGain;
    const float silentWet = shape.silentWet;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float dryLeft = inLeft[i];
        const float dryRight = inRight[i];
        outLeft[i] = dryGain * dryLeft + silentWet;
        outRight[i] = dryGain * dryRight + silentWet;
    }
}

void shapedBaseline(const PassShape& shape, StretchRules rules, Capture capture, float gain, std::int32_t firstIndex,
                    const StereoIo& io, std::int32_t frames) noexcept {
    shapedLoop(shape, rules, capture, gain, firstIndex, io, frames);
}

void gatedBaseline(const PassShape& shape, const StereoIo& io, std::int32_t frames) noexcept {
    gatedLoop(shape, io, frames);
}

#ifdef SLICECAST_AVX2_LOOPS
SLICECAST_TARGET_AVX2 void shapedAvx2(const PassShape& shape, StretchRules rules, Capture capture, float gain,
                                      std::int32_t firstIndex, const StereoIo& io, std::int32_t frames) noexcept {
    shapedLoop(shape, rules, capture, gain, firstIndex, io, frames);
}

SLICECAST_TARGET_AVX2 void gatedAvx2(const PassShape& shape, const StereoIo& io, std::int32_t frames) noexcept {
    gatedLoop(shape, io, frames);
}
#endif

void renderShaped(const PassShape& shape, StretchRules rules, Capture capture, float gain, std::int32_t firstIndex,
                  const StereoIo& io, std::int32_t frames) noexcept {
#ifdef SLICECAST_AVX2_LOOPS
    if (shape.loops == LoopSet::avx2) return shapedAvx2(shape, rules, capture, gain, firstIndex, io, frames);
#endif
    shapedBaseline(shape, rules, capture, gain, firstIndex, io, frames);
}

void renderGated(const PassShape& shape, const StereoIo& io, std::int32_t frames) noexcept {
#ifdef SLICECAST_AVX2_LOOPS
    if (shape.loops == LoopSet::avx2) return gatedAvx2(shape, io, frames);
#endif
    gatedBaseline(shape, io, frames);
}

}  // namespace

void renderPass(const PassShape& shape, Capture capture, float repeatGain, std::uint32_t readIndex,
                const StereoIo& io, std::int32_t frames) noexcept {
    for (std::int32_t done = 0; done < frames;) {
        const std::int64_t k = std::int64_t{readIndex} + done;
        const auto stretch = static_cast<std::int32_t>(std::min<std::int64_t>(frames - done, nextRuleChange(shape, k) - k));
        const StretchRules rules = rulesAt(shape, k);
        if (rules.gated) {
            renderGated(shape, io.from(done), stretch);
        } else {
            renderShaped(shape, rules, capture, repeatGain, static_cast<std::int32_t>(k), io.from(done), stretch);
        }
        done += stretch;
    }
}

}  // namespace slicecast
