#pragma once
// Float to integer truncation that is defined for every input: NaN and values
// outside the target range give the "integer indefinite" value (0x80000000 for
// int32), exactly what the x86 truncating conversion produces and what the
// pitch-increment table holds at and above half the sample rate.

#include <cstdint>

#if defined(__SSE2__) || defined(__x86_64__)
#include <immintrin.h>
#endif

// Truncates toward zero; NaN and |x| >= 2^31 give INT32_MIN. Any thread.
inline int32_t floatToInt32(float x) {
#if defined(__SSE2__) || defined(__x86_64__)
    return _mm_cvttss_si32(_mm_set_ss(x));
#else
    if (x > -2147483648.0f && x < 2147483648.0f) return static_cast<int32_t>(x);
    return INT32_MIN;
#endif
}

// Truncates toward zero; NaN and |x| >= 2^63 give INT64_MIN. Any thread.
inline int64_t floatToInt64(float x) {
#if defined(__x86_64__)
    return _mm_cvttss_si64(_mm_set_ss(x));
#else
    if (x > -9223372036854775808.0f && x < 9223372036854775808.0f) return static_cast<int64_t>(x);
    return INT64_MIN;
#endif
}
