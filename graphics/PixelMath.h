#pragma once
// Small arithmetic shared by the graphics sources (canvas strokes and fills,
// bitmap scaling, bitmap text): conversions between picture values, layer
// positions and colour bytes, and the checks that keep numbers that are not
// finite out of the drawing calls. Any thread, no allocation.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pixel_math {

// Layer position from a signed value: negative values wrap to huge ones, which
// the plot operations reject as outside the layer.
inline uint32_t u32(int64_t v)
{
    return static_cast<uint32_t>(v);
}

// Fractional part of |v|.
inline float fraction(float v)
{
    const float a = std::fabs(v);
    return a - std::trunc(a);
}

// Coverage of a fully covered pixel at an alpha of 0..255: sqrt(alpha / 255)
// below 250, else 1 (250 and above count as opaque).
inline float fullCoverage(uint8_t alpha)
{
    return alpha < 250 ? std::sqrt(static_cast<float>(alpha) / 255.0f) : 1.0f;
}

// A value truncated toward zero to int32; values beyond its range give its ends and no
// number gives 0 (a plain conversion of either is undefined).
inline int32_t saturateInt32(double v)
{
    return std::isnan(v) ? 0 : static_cast<int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

// A colour channel from a float: clamped to 0..255, then truncated.
inline uint8_t clampToByte(float v)
{
    return static_cast<uint8_t>(static_cast<int>(std::clamp(v, 0.0f, 255.0f)));
}

// True when every value is a finite number. The drawing calls take no NaN or
// infinity as a coordinate, span, shape or scale: such a call draws nothing.
template <typename... T>
bool allFinite(T... values)
{
    return (std::isfinite(values) && ...);
}

// True when every point of a polyline, and every step in x and in y from one point
// to the next, is finite.
template <typename Point>
bool finitePolyline(const Point* points, int64_t n)
{
    for (int64_t i = 0; i < n; ++i)
    {
        if (!allFinite(points[i].x, points[i].y))
            return false;
        if (i > 0 && !allFinite(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y))
            return false;
    }
    return true;
}

// Multiplies each value by the supersampling factor when the canvas supersamples
// (factor 2 or more); picture units become drawing-layer pixels.
template <typename... T>
void supersample(uint8_t factor, T&... values)
{
    if (factor >= 2)
        ((values *= factor), ...);
}

} // namespace pixel_math
