#pragma once
// Float-to-integer conversions that truncate toward zero like a cast but stay
// defined for NaN, infinities and values beyond the integer range. Two policies:
// - floatToInt32 / doubleToInt32 / floatToInt64 give the "integer indefinite" value (INT32_MIN,
//   INT64_MIN) for NaN and out-of-range input, exactly what the x86 truncating
//   conversion produces: a phase increment at or above half the sample rate reads
//   0x80000000, the same as the pitch-increment table. Used while rendering.
// - truncToInt32 / truncToInt64 / truncClamp saturate and read NaN as 0, so that a
//   wild host value becomes the nearest step. Used by parameter conversion.
// All of them run on any thread and never allocate.

#include <cmath>
#include <cstdint>

#if defined(__SSE2__) || defined(__x86_64__)
#include <immintrin.h>
#endif

// Truncates toward zero; NaN and |x| >= 2^31 give INT32_MIN.
inline int32_t floatToInt32(float x)
{
#if defined(__SSE2__) || defined(__x86_64__)
    return _mm_cvttss_si32(_mm_set_ss(x));
#else
    if (x > -2147483648.0f && x < 2147483648.0f) return static_cast<int32_t>(x);
    return INT32_MIN;
#endif
}

// Same for a double, without rounding it to float first.
inline int32_t doubleToInt32(double x)
{
#if defined(__SSE2__) || defined(__x86_64__)
    return _mm_cvttsd_si32(_mm_set_sd(x));
#else
    if (x > -2147483649.0 && x < 2147483648.0) return static_cast<int32_t>(x);
    return INT32_MIN;
#endif
}

// Truncates toward zero; NaN and |x| >= 2^63 give INT64_MIN.
inline int64_t floatToInt64(float x)
{
#if defined(__x86_64__)
    return _mm_cvttss_si64(_mm_set_ss(x));
#else
    if (x > -9223372036854775808.0f && x < 9223372036854775808.0f) return static_cast<int64_t>(x);
    return INT64_MIN;
#endif
}

// Truncates x toward zero; NaN gives 0, values beyond int32 saturate.
inline int32_t truncToInt32(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return INT32_MAX;
    if (x <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(x);
}

// Truncates x toward zero; NaN gives 0, values beyond int64 saturate.
inline int64_t truncToInt64(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= 9223372036854775807.0) return INT64_MAX;
    if (x <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(x);
}

// Truncates x toward zero (NaN counts as 0) and clamps the result into lo..hi.
inline int32_t truncClamp(double x, int32_t lo, int32_t hi)
{
    const int32_t n = truncToInt32(x);
    return n < lo ? lo : (n > hi ? hi : n);
}
