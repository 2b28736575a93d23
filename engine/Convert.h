#pragma once
// Float-to-integer conversions that truncate toward zero like a cast but stay
// defined for NaN, infinities and values beyond the integer range.

#include <cmath>
#include <cstdint>

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
    int32_t n = truncToInt32(x);
    return n < lo ? lo : (n > hi ? hi : n);
}
