// The smallest and largest sample of a stretch of two channels, as the
// summary's columns need them: a plain loop and, where the processor has
// it, an AVX2 one, chosen once per instance with the sound's own loops.
#pragma once

#include <cstdint>

#include "live_summary.h"
#include "processor_features.h"

namespace slicecast {

struct StereoRange {
    SampleRange left;
    SampleRange right;
};

// Samples that are not numbers are left out; a stretch of none gives an
// empty range (lowest +inf, highest -inf). frames must be above 0.
using StretchRangeKernel = StereoRange (*)(const float* left, const float* right, std::int32_t frames) noexcept;

// The same for four channels at once (a block's input and output, where
// the output does not overwrite the input): ranges[i] of channels[i].
using QuadRangeKernel = void (*)(const float* const* channels, std::int32_t frames, SampleRange* ranges) noexcept;

StretchRangeKernel stretchRangeKernelFor(LoopSet loops) noexcept;
QuadRangeKernel quadRangeKernelFor(LoopSet loops) noexcept;

}  // namespace slicecast
