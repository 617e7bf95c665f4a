#include "stretch_ranges.h"

#include <limits>

#ifdef SLICECAST_AVX2_LOOPS
#include <immintrin.h>
#endif

namespace slicecast {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

// x < low ? x : low keeps the range when x is not a number, as the vector
// instructions below do.
inline void widen(SampleRange& range, float x) noexcept {
    range.lowest = x < range.lowest ? x : range.lowest;
    range.highest = x > range.highest ? x : range.highest;
}

StereoRange plainRanges(const float* left, const float* right, std::int32_t frames) noexcept {
    StereoRange range{{kInfinity, -kInfinity}, {kInfinity, -kInfinity}};
    for (std::int32_t i = 0; i < frames; ++i) {
        widen(range.left, left[i]);
        widen(range.right, right[i]);
    }
    return range;
}

void plainQuadRanges(const float* const* channels, std::int32_t frames, SampleRange* ranges) noexcept {
    const StereoRange first = plainRanges(channels[0], channels[1], frames);
    const StereoRange second = plainRanges(channels[2], channels[3], frames);
    ranges[0] = first.left;
    ranges[1] = first.right;
    ranges[2] = second.left;
    ranges[3] = second.right;
}

#ifdef SLICECAST_AVX2_LOOPS
// Eight frames at a time; a stretch that is not a multiple of eight ends
// with the last eight frames again, which a range takes twice unchanged.
// The four running vectors are then folded into one: lanes 0-3 of each
// half hold left low, right low, left high (negated), right high (negated)
// before the halves are combined.
struct Avx2Running {
    __m256 leftLow, leftHigh, rightLow, rightHigh;
};

SLICECAST_TARGET_AVX2 inline void takeEight(Avx2Running& running, const float* left, const float* right) noexcept {
    const __m256 l = _mm256_loadu_ps(left);
    const __m256 r = _mm256_loadu_ps(right);
    running.leftLow = _mm256_min_ps(l, running.leftLow);
    running.leftHigh = _mm256_max_ps(l, running.leftHigh);
    running.rightLow = _mm256_min_ps(r, running.rightLow);
    running.rightHigh = _mm256_max_ps(r, running.rightHigh);
}

SLICECAST_TARGET_AVX2 StereoRange avx2Ranges(const float* left, const float* right, std::int32_t frames) noexcept {
    if (frames < 8) return plainRanges(left, right, frames);
    const __m256 infinity = _mm256_set1_ps(kInfinity);
    const __m256 minusInfinity = _mm256_set1_ps(-kInfinity);
    Avx2Running running{infinity, minusInfinity, infinity, minusInfinity};
    std::int32_t at = 0;
    for (; at + 8 <= frames; at += 8) takeEight(running, left + at, right + at);
    if (at < frames) takeEight(running, left + frames - 8, right + frames - 8);
    const auto [leftLow, leftHigh, rightLow, rightHigh] = running;
    // Highs as negated lows, so that one minimum folds all four.
    const __m256 sign = _mm256_set1_ps(-0.0f);
    const __m256 a = _mm256_unpacklo_ps(leftLow, rightLow);  // lL0 rL0 lL1 rL1 | lL4 rL4 lL5 rL5
    const __m256 b = _mm256_unpackhi_ps(leftLow, rightLow);
    const __m256 c = _mm256_unpacklo_ps(_mm256_xor_ps(leftHigh, sign), _mm256_xor_ps(rightHigh, sign));
    const __m256 d = _mm256_unpackhi_ps(_mm256_xor_ps(leftHigh, sign), _mm256_xor_ps(rightHigh, sign));
    const __m256 lows = _mm256_min_ps(a, b);    // lL rL lL rL per half
    const __m256 highs = _mm256_min_ps(c, d);
    const __m256 e = _mm256_shuffle_ps(lows, highs, 0x44);  // lL rL -lH -rH (first pairs)
    const __m256 f = _mm256_shuffle_ps(lows, highs, 0xEE);  // the second pairs
    const __m256 g = _mm256_min_ps(e, f);
    const __m128 folded = _mm_min_ps(_mm256_castps256_ps128(g), _mm256_extractf128_ps(g, 1));
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, folded);
    return {{lanes[0], -lanes[2]}, {lanes[1], -lanes[3]}};
}

// Four running vectors folded lane-wise into one value each, with fold
// (minimum or maximum): lanes 0-3 of the result are a, b, c and d.
template <__m256 (*Fold)(__m256, __m256)>
SLICECAST_TARGET_AVX2 inline __m128 foldFour(__m256 a, __m256 b, __m256 c, __m256 d) noexcept {
    const __m256 ab = Fold(_mm256_unpacklo_ps(a, b), _mm256_unpackhi_ps(a, b));  // a b a b | a b a b
    const __m256 cd = Fold(_mm256_unpacklo_ps(c, d), _mm256_unpackhi_ps(c, d));
    const __m256 abcd = Fold(_mm256_shuffle_ps(ab, cd, 0x44), _mm256_shuffle_ps(ab, cd, 0xEE));  // a b c d | a b c d
    const __m256 halves = Fold(abcd, _mm256_permute2f128_ps(abcd, abcd, 1));
    return _mm256_castps256_ps128(halves);
}

SLICECAST_TARGET_AVX2 inline __m256 minimum(__m256 a, __m256 b) { return _mm256_min_ps(a, b); }
SLICECAST_TARGET_AVX2 inline __m256 maximum(__m256 a, __m256 b) { return _mm256_max_ps(a, b); }

// The running vectors as named values, so that they stay in registers
// (an array of them is kept in memory, each step waiting for the last).
struct Avx2QuadRunning {
    __m256 low0, low1, low2, low3, high0, high1, high2, high3;
};

SLICECAST_TARGET_AVX2 inline void takeEightOfFour(Avx2QuadRunning& r, const float* const* channels,
                                                 std::int32_t at) noexcept {
    const __m256 x0 = _mm256_loadu_ps(channels[0] + at);
    const __m256 x1 = _mm256_loadu_ps(channels[1] + at);
    const __m256 x2 = _mm256_loadu_ps(channels[2] + at);
    const __m256 x3 = _mm256_loadu_ps(channels[3] + at);
    r.low0 = _mm256_min_ps(x0, r.low0);
    r.low1 = _mm256_min_ps(x1, r.low1);
    r.low2 = _mm256_min_ps(x2, r.low2);
    r.low3 = _mm256_min_ps(x3, r.low3);
    r.high0 = _mm256_max_ps(x0, r.high0);
    r.high1 = _mm256_max_ps(x1, r.high1);
    r.high2 = _mm256_max_ps(x2, r.high2);
    r.high3 = _mm256_max_ps(x3, r.high3);
}

SLICECAST_TARGET_AVX2 void avx2QuadRanges(const float* const* channels, std::int32_t frames,
                                          SampleRange* ranges) noexcept {
    if (frames < 8) {
        plainQuadRanges(channels, frames, ranges);
        return;
    }
    const __m256 infinity = _mm256_set1_ps(kInfinity);
    const __m256 minusInfinity = _mm256_set1_ps(-kInfinity);
    Avx2QuadRunning r{infinity,      infinity,      infinity,      infinity,
                      minusInfinity, minusInfinity, minusInfinity, minusInfinity};
    std::int32_t at = 0;
    for (; at + 8 <= frames; at += 8) takeEightOfFour(r, channels, at);
    if (at < frames) takeEightOfFour(r, channels, frames - 8);
    alignas(16) float lows[4];
    alignas(16) float highs[4];
    _mm_store_ps(lows, foldFour<minimum>(r.low0, r.low1, r.low2, r.low3));
    _mm_store_ps(highs, foldFour<maximum>(r.high0, r.high1, r.high2, r.high3));
    for (int c = 0; c < 4; ++c) ranges[c] = {lows[c], highs[c]};
}
#endif

}  // namespace

QuadRangeKernel quadRangeKernelFor(LoopSet loops) noexcept {
#ifdef SLICECAST_AVX2_LOOPS
    if (loops == LoopSet::avx2) return avx2QuadRanges;
#endif
    static_cast<void>(loops);
    return plainQuadRanges;
}

StretchRangeKernel stretchRangeKernelFor(LoopSet loops) noexcept {
#ifdef SLICECAST_AVX2_LOOPS
    if (loops == LoopSet::avx2) return avx2Ranges;
#endif
    static_cast<void>(loops);
    return plainRanges;
}

}  // namespace slicecast
