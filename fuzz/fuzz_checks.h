// What the fuzz targets hold every door to beyond "no crash". A failed
// check aborts, so that libFuzzer keeps the input that made it fail.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace slicecastfuzz {

// The targets feed samples from -1 to 1; the sound repeats and fades what
// it captured and mixes it with the dry input, so nothing it plays may
// leave that range by more than the rounding of the mix.
constexpr float kOutputBound = 1.0001f;

inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void requireBounded(const float* samples, std::size_t count, const char* what) {
    for (std::size_t i = 0; i < count; ++i) require(std::fabs(samples[i]) <= kOutputBound, what);
}

// Tells the first sample that differs, to make a failure readable.
inline void requireSameBits(const float* a, const float* b, std::size_t count, const char* what) {
    if (std::memcmp(a, b, count * sizeof(float)) == 0) return;
    std::size_t at = 0;
    while (std::memcmp(a + at, b + at, sizeof(float)) == 0) ++at;
    std::fprintf(stderr, "sample %zu of %zu: %a against %a\n", at, count, static_cast<double>(a[at]),
                 static_cast<double>(b[at]));
    require(false, what);
}

}  // namespace slicecastfuzz
