#pragma once
// Turns on flush-to-zero and denormals-are-zero for its lifetime and restores
// the previous floating-point mode afterwards, so that decaying tails never
// reach the slow denormal range while the engine renders. Audio thread.

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

class DenormalGuard {
public:
#if defined(__SSE__) || defined(__x86_64__)
    DenormalGuard() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero); }
    ~DenormalGuard() { _mm_setcsr(saved_); }
#else
    DenormalGuard() = default;
#endif
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#if defined(__SSE__) || defined(__x86_64__)
    static constexpr unsigned kFlushToZero = 0x8000;    // MXCSR bit 15
    static constexpr unsigned kDenormalsAreZero = 0x0040; // MXCSR bit 6
    unsigned saved_;
#endif
};
