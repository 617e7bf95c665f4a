#include "pass_shaping.h"

#include <algorithm>
#include <limits>

#include "float_to_int.h"

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

// Everything a stretch of frames reads and writes. The capture buffers are
// the effect's own, so no host buffer lies in them; and a stretch never
// reads a capture position it stores: the live pass reads its input
// instead, a repeat reads below the slice length and stores at or beyond it.
struct StretchIo {
    const float* inLeft;
    const float* inRight;
    float* outLeft;
    float* outRight;
    const float* wetLeft;  // the capture from the read index on
    const float* wetRight;
    float* storeLeft;  // the capture from the write index on; null where nothing is stored
    float* storeRight;
};

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
// through a pointer, and the compiler could not vectorise them. Each frame's
// input pair is read before anything of the frame is written.

// The bulk of a pass, between its fade-in and its gate: the repeat gain and
// the fade, then the mix with the dry signal, the input stored as it goes.
// Every choice that holds for the whole stretch is a template argument, so
// that each loop is as short as its case allows: Live reads the wet signal
// from the input (the live pass), Fades applies the linear fade ("FadeOut"
// not 0), Stores captures the input (below the capacity). The live pass
// always lies below the capacity, as the slice does.
template <bool Live, bool Fades, bool Stores>
SLICECAST_LOOP_BODY void passLoop(const PassShape& shape, float gain, std::int32_t firstIndex, const StretchIo& io,
                                  std::int32_t frames) noexcept {
    static_assert(Stores || !Live, "the live pass is always stored");
    const float* const inLeft = io.inLeft;
    const float* const inRight = io.inRight;
    float* const outLeft = io.outLeft;
    float* const outRight = io.outRight;
    const float* __restrict const wetLeft = io.wetLeft;
    const float* __restrict const wetRight = io.wetRight;
    float* __restrict const storeLeft = io.storeLeft;
    float* __restrict const storeRight = io.storeRight;
    const float fadeOut = shape.parameters.fadeOut;
    const float denominator = shape.fadeDenominator;
    const float dryGain = shape.dryGain;
    const float mix = shape.parameters.mix;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float dryLeft = inLeft[i];
        const float dryRight = inRight[i];
        if constexpr (Stores) {
            storeLeft[i] = dryLeft;
            storeRight[i] = dryRight;
        }
        float wetLeftSample = (Live ? dryLeft : wetLeft[i]) * gain;
        float wetRightSample = (Live ? dryRight : wetRight[i]) * gain;
        if constexpr (Fades) {
            const auto K = static_cast<float>(firstIndex + i);
            const float fade = 1.0f - (K * fadeOut) / denominator;
            wetLeftSample = wetLeftSample * fade;
            wetRightSample = wetRightSample * fade;
        }
        outLeft[i] = dryGain * dryLeft + mix * wetLeftSample;
        outRight[i] = dryGain * dryRight + mix * wetRightSample;
    }
}

// Read indexes 12 or more past the gate length: the processed signal is 0.
template <bool Stores>
SLICECAST_LOOP_BODY void gatedLoop(const PassShape& shape, const StretchIo& io, std::int32_t frames) noexcept {
    const float* const inLeft = io.inLeft;
    const float* const inRight = io.inRight;
    float* const outLeft = io.outLeft;
    float* const outRight = io.outRight;
    float* __restrict const storeLeft = io.storeLeft;
    float* __restrict const storeRight = io.storeRight;
    const float dryGain = shape.dryGain;
    const float silentWet = shape.silentWet;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float dryLeft = inLeft[i];
        const float dryRight = inRight[i];
        if constexpr (Stores) {
            storeLeft[i] = dryLeft;
            storeRight[i] = dryRight;
        }
        outLeft[i] = dryGain * dryLeft + silentWet;
        outRight[i] = dryGain * dryRight + silentWet;
    }
}

// The edges of a pass: its 12-sample fade-in and the 11 samples past the
// gate, at most 12 frames each. The repeat gain, the fade, the fade-in and
// the fade-out after the gate, in this order, then the mix. Too short to
// gain from wider registers, so one version serves both loop sets.
void edgeLoop(const PassShape& shape, StretchRules rules, bool live, float gain, std::int32_t firstIndex,
              const StretchIo& io, std::int32_t frames) noexcept {
    // 12 - (k - gate length) at the first frame; 1 to 11 wherever it is used.
    const std::int32_t firstRemaining = rules.fadesOut ? shape.gateLength + kEdgeFadeLength - firstIndex : 0;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float dryLeft = io.inLeft[i];
        const float dryRight = io.inRight[i];
        if (io.storeLeft != nullptr) {
            io.storeLeft[i] = dryLeft;
            io.storeRight[i] = dryRight;
        }
        const auto K = static_cast<float>(firstIndex + i);
        float wetLeft = (live ? dryLeft : io.wetLeft[i]) * gain;
        float wetRight = (live ? dryRight : io.wetRight[i]) * gain;
        if (shape.fades) {
            const float fade = 1.0f - (K * shape.parameters.fadeOut) / shape.fadeDenominator;
            wetLeft = wetLeft * fade;
            wetRight = wetRight * fade;
        }
        if (rules.fadesIn) {
            wetLeft = (K * wetLeft) / 12.0f;
            wetRight = (K * wetRight) / 12.0f;
        }
        if (rules.fadesOut) {
            // The project's own fade-out past the gate, mirroring the
            // fade-in so that the cut does not click.
            const auto remaining = static_cast<float>(firstRemaining - i);
            wetLeft = (remaining * wetLeft) / 12.0f;
            wetRight = (remaining * wetRight) / 12.0f;
        }
        io.outLeft[i] = shape.dryGain * dryLeft + shape.parameters.mix * wetLeft;
        io.outRight[i] = shape.dryGain * dryRight + shape.parameters.mix * wetRight;
    }
}

using PassKernel = void (*)(const PassShape&, float, std::int32_t, const StretchIo&, std::int32_t) noexcept;
using GatedKernel = void (*)(const PassShape&, const StretchIo&, std::int32_t) noexcept;

// How a stretch between the edges of a pass gets its wet signal.
enum class WetSource { repeatUnstored, repeat, live };  // repeatUnstored: beyond the capacity

// One loop set's loops, by wet source and fade.
struct Kernels {
    PassKernel pass[3][2];
    GatedKernel gated[2];  // by whether the input is stored
};

struct BaselineLoops {
    template <bool Live, bool Fades, bool Stores>
    static void pass(const PassShape& shape, float gain, std::int32_t firstIndex, const StretchIo& io,
                     std::int32_t frames) noexcept {
        passLoop<Live, Fades, Stores>(shape, gain, firstIndex, io, frames);
    }
    template <bool Stores>
    static void gated(const PassShape& shape, const StretchIo& io, std::int32_t frames) noexcept {
        gatedLoop<Stores>(shape, io, frames);
    }
};

#ifdef SLICECAST_AVX2_LOOPS
struct Avx2Loops {
    template <bool Live, bool Fades, bool Stores>
    SLICECAST_TARGET_AVX2 static void pass(const PassShape& shape, float gain, std::int32_t firstIndex,
                                           const StretchIo& io, std::int32_t frames) noexcept {
        passLoop<Live, Fades, Stores>(shape, gain, firstIndex, io, frames);
    }
    template <bool Stores>
    SLICECAST_TARGET_AVX2 static void gated(const PassShape& shape, const StretchIo& io, std::int32_t frames) noexcept {
        gatedLoop<Stores>(shape, io, frames);
    }
};
#endif

template <typename Loops>
constexpr Kernels kernelsOf() noexcept {
    return {{{&Loops::template pass<false, false, false>, &Loops::template pass<false, true, false>},
             {&Loops::template pass<false, false, true>, &Loops::template pass<false, true, true>},
             {&Loops::template pass<true, false, true>, &Loops::template pass<true, true, true>}},
            {&Loops::template gated<false>, &Loops::template gated<true>}};
}

constexpr Kernels kBaselineKernels = kernelsOf<BaselineLoops>();
#ifdef SLICECAST_AVX2_LOOPS
constexpr Kernels kAvx2Kernels = kernelsOf<Avx2Loops>();
#endif

const Kernels& kernelsFor(LoopSet loops) noexcept {
#ifdef SLICECAST_AVX2_LOOPS
    if (loops == LoopSet::avx2) return kAvx2Kernels;
#endif
    static_cast<void>(loops);
    return kBaselineKernels;
}

}  // namespace

void renderPass(const PassShape& shape, CaptureBuffers capture, float repeatGain, PassPosition position,
                const StereoIo& io, std::int32_t frames) noexcept {
    const Kernels& kernels = kernelsFor(shape.loops);
    const bool live = position.readIndex == position.writeIndex;
    // Input beyond the capacity is not stored; the frames that still fit
    // form stretches of their own.
    const std::int64_t storable = std::max<std::int64_t>(0, std::int64_t{kCaptureCapacity} - position.writeIndex);
    for (std::int32_t done = 0; done < frames;) {
        const std::int64_t k = std::int64_t{position.readIndex} + done;
        const bool stores = done < storable;
        std::int64_t length = std::min<std::int64_t>(frames - done, nextRuleChange(shape, k) - k);
        if (stores) length = std::min(length, storable - done);
        const auto stretch = static_cast<std::int32_t>(length);
        const std::size_t stored = std::size_t{position.writeIndex} + static_cast<std::size_t>(done);
        const StretchIo stretchIo{io.inLeft + done,
                                  io.inRight + done,
                                  io.outLeft + done,
                                  io.outRight + done,
                                  capture.left + k,
                                  capture.right + k,
                                  stores ? capture.left + stored : nullptr,
                                  stores ? capture.right + stored : nullptr};
        const StretchRules rules = rulesAt(shape, k);
        const auto firstIndex = static_cast<std::int32_t>(k);
        if (rules.gated) {
            kernels.gated[stores](shape, stretchIo, stretch);
        } else if (rules.fadesIn || rules.fadesOut) {
            edgeLoop(shape, rules, live, repeatGain, firstIndex, stretchIo, stretch);
        } else {
            const WetSource source = live ? WetSource::live : (stores ? WetSource::repeat : WetSource::repeatUnstored);
            kernels.pass[static_cast<int>(source)][shape.fades](shape, repeatGain, firstIndex, stretchIo, stretch);
        }
        done += stretch;
    }
}

}  // namespace slicecast
