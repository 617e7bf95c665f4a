// Flushes subnormal floats to zero while it lives: results that would be
// subnormal become zero and subnormal operands count as zero. The caller's
// floating-point control state comes back when it goes.
//
// Processing needs this because a decaying repeat gain passes through the
// subnormal range, where many processors compute a product a hundred times
// slower than a normal one, for values far below anything audible.
//
// x86 of either width: MXCSR with FTZ (results) and DAZ (operands). AArch64:
// FPCR.FZ, which flushes both operands and results, so the two give the same
// numbers. WebAssembly has no such mode (its arithmetic keeps subnormals, as
// IEEE 754 has them): there, as on other processors, the guard does nothing
// and subnormals are computed as they come, so a result below 2^-126 in
// magnitude may be kept where x86 and AArch64 give 0.
#pragma once

#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64) || defined(__SSE2__)
#include <xmmintrin.h>
#define SLICECAST_FLOAT_CONTROL 1
#elif defined(__aarch64__)
#define SLICECAST_FLOAT_CONTROL 1
#elif defined(__wasm__)
// No floating-point control state to set.
#endif

namespace slicecast {

#ifdef SLICECAST_FLOAT_CONTROL

#if defined(__aarch64__)
using FloatControl = std::uint64_t;
constexpr FloatControl kFlushSubnormals = 1u << 24;  // FPCR.FZ
inline FloatControl readFloatControl() noexcept {
    FloatControl state;
    __asm__ __volatile__("mrs %0, fpcr" : "=r"(state));
    return state;
}
inline void writeFloatControl(FloatControl state) noexcept { __asm__ __volatile__("msr fpcr, %0" : : "r"(state)); }
#else
using FloatControl = unsigned;
constexpr FloatControl kFlushSubnormals = 0x8000 | 0x0040;  // MXCSR.FTZ | MXCSR.DAZ
inline FloatControl readFloatControl() noexcept { return _mm_getcsr(); }
inline void writeFloatControl(FloatControl state) noexcept { _mm_setcsr(state); }
#endif

class ScopedNoDenormals {
public:
    ScopedNoDenormals() noexcept : callers_(readFloatControl()) {
        const FloatControl flushing = callers_ | kFlushSubnormals;
        // Writing the control register costs more than reading it: hosts
        // that flush already keep theirs untouched.
        changed_ = flushing != callers_;
        if (changed_) writeFloatControl(flushing);
    }
    ~ScopedNoDenormals() {
        if (changed_) writeFloatControl(callers_);
    }
    ScopedNoDenormals(const ScopedNoDenormals&) = delete;
    ScopedNoDenormals& operator=(const ScopedNoDenormals&) = delete;

private:
    FloatControl callers_;
    bool changed_;
};

#else

class ScopedNoDenormals {
public:
    // Written out rather than defaulted: a guard that is declared and never
    // read is this class's whole use, which compilers must not warn about.
    ScopedNoDenormals() noexcept {}
    ScopedNoDenormals(const ScopedNoDenormals&) = delete;
    ScopedNoDenormals& operator=(const ScopedNoDenormals&) = delete;
};

#endif

}  // namespace slicecast
