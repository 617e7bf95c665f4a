#include "processor_features.h"

namespace slicecast {

LoopSet loopSetForThisProcessor() noexcept {
#ifdef SLICECAST_AVX2_LOOPS
    // Reads CPUID once, and the operating system's register-saving state
    // (XGETBV) before it calls AVX2 usable.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) return LoopSet::avx2;
#endif
    return LoopSet::baseline;
}

}  // namespace slicecast
