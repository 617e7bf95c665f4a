// Flushes subnormal floats to zero while it lives: results that would be
// subnormal become zero (FTZ) and subnormal operands count as zero (DAZ).
// The caller's floating-point control state comes back when it goes.
//
// Processing needs this because a decaying repeat gain passes through the
// subnormal range, where many processors compute a product a hundred times
// slower than a normal one, for values far below anything audible.
//
// Only x86-64 (MXCSR) is handled; on other processors the guard does
// nothing and subnormals are computed as they come.
#pragma once

#if defined(__x86_64__) || defined(_M_X64)
#include <xmmintrin.h>
#define SLICECAST_HAS_MXCSR 1
#endif

namespace slicecast {

#ifdef SLICECAST_HAS_MXCSR

class ScopedNoDenormals {
public:
    static constexpr unsigned kFlushToZero = 0x8000;     // MXCSR.FTZ
    static constexpr unsigned kDenormalsAreZero = 0x0040; // MXCSR.DAZ

    ScopedNoDenormals() noexcept : callers_(_mm_getcsr()) {
        const unsigned flushing = callers_ | kFlushToZero | kDenormalsAreZero;
        // Writing MXCSR costs more than reading it: hosts that flush
        // already keep their register untouched.
        changed_ = flushing != callers_;
        if (changed_) _mm_setcsr(flushing);
    }
    ~ScopedNoDenormals() {
        if (changed_) _mm_setcsr(callers_);
    }
    ScopedNoDenormals(const ScopedNoDenormals&) = delete;
    ScopedNoDenormals& operator=(const ScopedNoDenormals&) = delete;

private:
    unsigned callers_;
    bool changed_;
};

#else

class ScopedNoDenormals {
public:
    ScopedNoDenormals() noexcept = default;
    ScopedNoDenormals(const ScopedNoDenormals&) = delete;
    ScopedNoDenormals& operator=(const ScopedNoDenormals&) = delete;
};

#endif

}  // namespace slicecast
