// What the processor running the library offers beyond the baseline the
// library is built for. The sample loops exist in a baseline version and,
// on x86 processors of either width, in an AVX2 version; which one runs is
// chosen when an instance is created, from what the processor reports.
//
// The choice is made by the effect itself rather than by the loader (GCC's
// target_clones): that needs ifunc symbols, which Windows DLLs do not have,
// and one mechanism serves every platform alike.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define SLICECAST_AVX2_LOOPS 1
#define SLICECAST_TARGET_AVX2 __attribute__((target("avx2")))
#endif

namespace slicecast {

enum class LoopSet { baseline, avx2 };

// The best loop set this processor (and its operating system, which must
// save the wide registers) runs.
LoopSet loopSetForThisProcessor() noexcept;

}  // namespace slicecast
