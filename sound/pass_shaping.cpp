#include "pass_shaping.h"

#include <algorithm>

// The loop bodies are inlined into one function per loop set, so that each
// is vectorised for its instruction set. The same operations in the same
// order give the same bits in either.
#define SLICECAST_LOOP_BODY [[gnu::always_inline]] inline

namespace slicecast {

namespace {

// Which shaping rules apply to a stretch of read indexes (see
// PassShape::nextRuleChange).
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

// The loops keep everything they read besides the samples in local
// values, and every pointer they get is a restrict parameter (the compiler
// honours restrict on parameters, also once inlined): a store to an output
// could otherwise change anything reached through a pointer, and the
// compiler could not vectorise them, or only behind a check of every pair
// of buffers at every call. That holds because the capture buffers are the
// effect's own and the block's layout was checked once (BufferLayout). In
// place, a loop reads and writes each channel through one pointer, the
// output. Each frame's input pair is read before anything of the frame is
// written.

// Which fade of the edges of a pass a stretch lies in.
enum class EdgeFade { none, fadeIn, fadeOut };

// A pass up to its gate and the 11 samples past it: the repeat gain, the
// fade, the fade-in and the fade-out after the gate, in this order, then the
// mix with the dry signal, the input stored as it goes.
// Every choice that holds for the whole stretch is a template argument, so
// that each loop is as short as its case allows: InPlace reads the input
// from the output buffers, EdgeFade adds the fade-in or the fade-out past
// the gate, Live reads the wet signal from the input (the live pass), Fades
// applies the linear fade ("FadeOut" not 0), Stores captures the input
// (below the capacity). The live pass always lies below the capacity, as the
// slice does.
template <bool InPlace, EdgeFade Edge, bool Live, bool Fades, bool Stores>
SLICECAST_LOOP_BODY void passLoop(const PassShape& shape, float gain, std::int32_t firstIndex,
                                  const float* __restrict inLeft, const float* __restrict inRight,
                                  float* __restrict outLeft, float* __restrict outRight,
                                  const float* __restrict wetLeft, const float* __restrict wetRight,
                                  float* __restrict storeLeft, float* __restrict storeRight,
                                  std::int32_t frames) noexcept {
    static_assert(Stores || !Live, "the live pass is always stored");
    const float fadeOut = shape.parameters.fadeOut;
    const float denominator = shape.fadeDenominator;
    const float heldFade = shape.heldFade;
    const float dryGain = shape.dryGain;
    const float mix = shape.parameters.mix;
    // 12 - (k - gate length) at the first frame; 1 to 11 wherever it is
    // used. Only worked out where it is used: an absurd Rate saturates the
    // gate length at the largest int, where the sum would overflow.
    std::int32_t firstRemaining = 0;
    if constexpr (Edge == EdgeFade::fadeOut) firstRemaining = shape.gateLength + kEdgeFadeLength - firstIndex;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float dryLeft = InPlace ? outLeft[i] : inLeft[i];
        const float dryRight = InPlace ? outRight[i] : inRight[i];
        if constexpr (Stores) {
            storeLeft[i] = dryLeft;
            storeRight[i] = dryRight;
        }
        const auto K = static_cast<float>(firstIndex + i);
        float wetLeftSample = (Live ? dryLeft : wetLeft[i]) * gain;
        float wetRightSample = (Live ? dryRight : wetRight[i]) * gain;
        if constexpr (Fades) {
            const float fade = Edge == EdgeFade::fadeOut ? heldFade : 1.0f - (K * fadeOut) / denominator;
            wetLeftSample = wetLeftSample * fade;
            wetRightSample = wetRightSample * fade;
        }
        if constexpr (Edge == EdgeFade::fadeIn) {
            wetLeftSample = (K * wetLeftSample) / 12.0f;
            wetRightSample = (K * wetRightSample) / 12.0f;
        }
        if constexpr (Edge == EdgeFade::fadeOut) {
            // The project's own fade-out past the gate, mirroring the
            // fade-in so that the cut does not click.
            const auto remaining = static_cast<float>(firstRemaining - i);
            wetLeftSample = (remaining * wetLeftSample) / 12.0f;
            wetRightSample = (remaining * wetRightSample) / 12.0f;
        }
        outLeft[i] = dryGain * dryLeft + mix * wetLeftSample;
        outRight[i] = dryGain * dryRight + mix * wetRightSample;
    }
}

// Read indexes 12 or more past the gate length: the processed signal is 0.
template <bool InPlace, bool Stores>
SLICECAST_LOOP_BODY void gatedLoop(const PassShape& shape, const float* __restrict inLeft,
                                   const float* __restrict inRight, float* __restrict outLeft,
                                   float* __restrict outRight, float* __restrict storeLeft,
                                   float* __restrict storeRight, std::int32_t frames) noexcept {
    const float dryGain = shape.dryGain;
    const float silentWet = shape.silentWet;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float dryLeft = InPlace ? outLeft[i] : inLeft[i];
        const float dryRight = InPlace ? outRight[i] : inRight[i];
        if constexpr (Stores) {
            storeLeft[i] = dryLeft;
            storeRight[i] = dryRight;
        }
        outLeft[i] = dryGain * dryLeft + silentWet;
        outRight[i] = dryGain * dryRight + silentWet;
    }
}

// Every rule at once, frame by frame: every stretch of a block whose
// buffers are tangled, and the few read indexes in both the fade-in and the
// fade-out past the gate (a gate length below 11). The repeat gain, the
// fade, the fade-in and the fade-out after the gate, in this order, then the
// mix; a gated frame's wet signal is 0, so that its mix term is mix x 0 as
// in the gated loop. Too rare to gain from wider registers, so one version
// serves both loop sets.
void generalLoop(const PassShape& shape, float gain, std::int32_t firstIndex, const StretchIo& io,
                 std::int32_t frames) noexcept {
    const StretchRules rules = rulesAt(shape, firstIndex);
    // The live pass reads the wet signal where it stores its input.
    const bool live = io.wetLeft == io.storeLeft;
    // 12 - (k - gate length) at the first frame; 1 to 11 wherever it is used.
    const std::int32_t firstRemaining = rules.fadesOut ? shape.gateLength + kEdgeFadeLength - firstIndex : 0;
    for (std::int32_t i = 0; i < frames; ++i) {
        const float dryLeft = io.inLeft[i];
        const float dryRight = io.inRight[i];
        if (io.storeLeft != nullptr) {
            io.storeLeft[i] = dryLeft;
            io.storeRight[i] = dryRight;
        }
        float wetLeft = 0.0f;
        float wetRight = 0.0f;
        if (!rules.gated) {
            const auto K = static_cast<float>(firstIndex + i);
            wetLeft = (live ? dryLeft : io.wetLeft[i]) * gain;
            wetRight = (live ? dryRight : io.wetRight[i]) * gain;
            if (shape.fades) {
                const float fade = rules.fadesOut ? shape.heldFade
                                                  : 1.0f - (K * shape.parameters.fadeOut) / shape.fadeDenominator;
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
        }
        io.outLeft[i] = shape.dryGain * dryLeft + shape.parameters.mix * wetLeft;
        io.outRight[i] = shape.dryGain * dryRight + shape.parameters.mix * wetRight;
    }
}


// How a stretch between the edges of a pass gets its wet signal.
enum class WetSource { repeatUnstored, repeat, live };  // repeatUnstored: beyond the capacity

// One loop set's loops, by layout (separate, in place), then by edge fade,
// wet source and fade, or by whether the input is stored.
struct Kernels {
    StretchKernel pass[2][3][3][2];
    StretchKernel gated[2][2];
};

struct BaselineLoops {
    template <bool InPlace, EdgeFade Edge, bool Live, bool Fades, bool Stores>
    static void pass(const PassShape& shape, float gain, std::int32_t firstIndex, const StretchIo& io,
                     std::int32_t frames) noexcept {
        passLoop<InPlace, Edge, Live, Fades, Stores>(shape, gain, firstIndex, io.inLeft, io.inRight, io.outLeft,
                                                     io.outRight, io.wetLeft, io.wetRight, io.storeLeft,
                                                     io.storeRight, frames);
    }
    template <bool InPlace, bool Stores>
    static void gated(const PassShape& shape, float, std::int32_t, const StretchIo& io, std::int32_t frames) noexcept {
        gatedLoop<InPlace, Stores>(shape, io.inLeft, io.inRight, io.outLeft, io.outRight, io.storeLeft,
                                   io.storeRight, frames);
    }
};

#ifdef SLICECAST_AVX2_LOOPS
struct Avx2Loops {
    template <bool InPlace, EdgeFade Edge, bool Live, bool Fades, bool Stores>
    SLICECAST_TARGET_AVX2 static void pass(const PassShape& shape, float gain, std::int32_t firstIndex,
                                           const StretchIo& io, std::int32_t frames) noexcept {
        passLoop<InPlace, Edge, Live, Fades, Stores>(shape, gain, firstIndex, io.inLeft, io.inRight, io.outLeft,
                                                     io.outRight, io.wetLeft, io.wetRight, io.storeLeft,
                                                     io.storeRight, frames);
    }
    template <bool InPlace, bool Stores>
    SLICECAST_TARGET_AVX2 static void gated(const PassShape& shape, float, std::int32_t, const StretchIo& io,
                                            std::int32_t frames) noexcept {
        gatedLoop<InPlace, Stores>(shape, io.inLeft, io.inRight, io.outLeft, io.outRight, io.storeLeft,
                                   io.storeRight, frames);
    }
};
#endif

template <typename Loops, bool InPlace, EdgeFade Edge>
constexpr void addPassKernels(Kernels& kernels) noexcept {
    auto& pass = kernels.pass[InPlace][static_cast<int>(Edge)];
    pass[0][0] = &Loops::template pass<InPlace, Edge, false, false, false>;
    pass[0][1] = &Loops::template pass<InPlace, Edge, false, true, false>;
    pass[1][0] = &Loops::template pass<InPlace, Edge, false, false, true>;
    pass[1][1] = &Loops::template pass<InPlace, Edge, false, true, true>;
    pass[2][0] = &Loops::template pass<InPlace, Edge, true, false, true>;
    pass[2][1] = &Loops::template pass<InPlace, Edge, true, true, true>;
}

template <typename Loops, bool InPlace>
constexpr void addKernels(Kernels& kernels) noexcept {
    addPassKernels<Loops, InPlace, EdgeFade::none>(kernels);
    addPassKernels<Loops, InPlace, EdgeFade::fadeIn>(kernels);
    addPassKernels<Loops, InPlace, EdgeFade::fadeOut>(kernels);
    kernels.gated[InPlace][0] = &Loops::template gated<InPlace, false>;
    kernels.gated[InPlace][1] = &Loops::template gated<InPlace, true>;
}

template <typename Loops>
constexpr Kernels kernelsOf() noexcept {
    Kernels kernels{};
    addKernels<Loops, false>(kernels);
    addKernels<Loops, true>(kernels);
    return kernels;
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

StretchLoop stretchLoopAt(const PassShape& shape, BufferLayout layout, PassPosition position) noexcept {
    const std::uint32_t k = position.readIndex;
    const auto capacity = static_cast<std::uint32_t>(kCaptureCapacity);
    const bool stores = position.writeIndex < capacity;
    std::int64_t reach = shape.nextRuleChange(k) - k;
    if (stores) reach = std::min<std::int64_t>(reach, capacity - position.writeIndex);

    const StretchRules rules = rulesAt(shape, k);
    if (layout == BufferLayout::tangled || (rules.fadesIn && rules.fadesOut)) return {&generalLoop, reach};
    const Kernels& kernels = kernelsFor(shape.loops);
    const bool inPlace = layout == BufferLayout::inPlace;
    if (rules.gated) return {kernels.gated[inPlace][stores], reach};
    const EdgeFade edge = rules.fadesIn ? EdgeFade::fadeIn : (rules.fadesOut ? EdgeFade::fadeOut : EdgeFade::none);
    const bool live = k == position.writeIndex;
    const WetSource source = live ? WetSource::live : (stores ? WetSource::repeat : WetSource::repeatUnstored);
    return {kernels.pass[inPlace][static_cast<int>(edge)][static_cast<int>(source)][shape.fades], reach};
}

}  // namespace slicecast
