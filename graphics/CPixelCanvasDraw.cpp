// CPixelCanvas: pixel writes, anti-aliased segments, curves and lines.
#include "graphics/CPixelCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "graphics/PixelMath.h"

using namespace pixel_math;

namespace {

// (3, 3) Pade approximant of exp(y).
float padeExp3(float y)
{
    return (120.0f + 60.0f * y + 12.0f * y * y + y * y * y) / (120.0f - 60.0f * y + 12.0f * y * y - y * y * y);
}

// (2, 2) Pade approximant of exp(y).
float padeExp2(float y)
{
    return (12.0f + 6.0f * y + y * y) / (12.0f - 6.0f * y + y * y);
}

// Bend exponent, about 16^s / 4: 0.25 at s = 0, 1.00001 at 0.5, 4.067 at 1.
float bendExponent(float s)
{
    return 0.25f * padeExp3(2.7724f * s);
}

// Power exponent: 1/7 at s = 0, 1 at 0.5, 7 at 1.
float powerExponent(float s)
{
    return padeExp2(4.0f * s - 2.0f);
}

bool isCurve(int32_t type)
{
    return type == 1 || type == 2 || type == 4;
}

} // namespace

// ---------------------------------------------------------------- pixel writes

uint8_t* CPixelCanvas::drawPixel(uint32_t x, uint32_t y, float coverage, float*& cover) const
{
    if (drawColour == nullptr || x >= drawColour->width || y >= drawColour->height || !std::isfinite(coverage))
        return nullptr;
    const uint32_t i = x + drawCoverage->width * y;
    cover = &drawCoverage->floats[i];
    return &drawColour->bytes[4 * i];
}

namespace {
void storeColour(uint8_t* p, uint8_t r, uint8_t g, uint8_t b)
{
    p[0] = b;
    p[1] = g;
    p[2] = r;
}
} // namespace

void CPixelCanvas::plotSet(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float c)
{
    float* cover = nullptr;
    uint8_t* p = drawPixel(x, y, c, cover);
    if (p == nullptr)
        return;
    *cover = c;
    storeColour(p, r, g, b);
}

void CPixelCanvas::plotMax(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float c)
{
    float* cover = nullptr;
    uint8_t* p = drawPixel(x, y, c, cover);
    if (p == nullptr || !(c > *cover))
        return;
    *cover = c;
    storeColour(p, r, g, b);
}

void CPixelCanvas::plotMin(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float c)
{
    float* cover = nullptr;
    uint8_t* p = drawPixel(x, y, c, cover);
    if (p == nullptr || !(*cover > c))
        return;
    *cover = c;
    storeColour(p, r, g, b);
}

void CPixelCanvas::plotDarker(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float c)
{
    float* cover = nullptr;
    uint8_t* p = drawPixel(x, y, c, cover);
    if (p == nullptr)
        return;
    *cover = std::min(c, *cover);
    if (r + g + b < p[0] + p[1] + p[2])
        storeColour(p, r, g, b);
}

void CPixelCanvas::plotLighter(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float c)
{
    float* cover = nullptr;
    uint8_t* p = drawPixel(x, y, c, cover);
    if (p == nullptr)
        return;
    *cover = std::max(c, *cover);
    if (r + g + b > p[0] + p[1] + p[2])
        storeColour(p, r, g, b);
}

void CPixelCanvas::plotXor(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float c)
{
    float* cover = nullptr;
    uint8_t* p = drawPixel(x, y, c, cover);
    if (p == nullptr)
        return;
    // Coverages beyond the int range are clamped first so the truncation stays defined; a stored
    // coverage that is no number (written into the layer directly) counts as 0.
    auto whole = [](float v) { return std::isnan(v) ? 0 : static_cast<int>(std::clamp(v, -1e9f, 1e9f)); };
    int stored = whole(*cover);
    int given = whole(c);
    *cover = std::clamp(static_cast<float>(stored ^ given), 0.0f, 1.0f);
    p[0] ^= b;
    p[1] ^= g;
    p[2] ^= r;
}

void CPixelCanvas::getPixel(uint32_t x, uint32_t y, uint8_t& r, uint8_t& g, uint8_t& b) const
{
    r = g = b = 0;
    if (drawColour == nullptr || x >= drawColour->width || y >= drawColour->height)
        return;
    const uint8_t* p = &drawColour->bytes[4 * (x + drawColour->width * y)];
    r = p[2];
    g = p[1];
    b = p[0];
}

// ---------------------------------------------------------------- curves

float CPixelCanvas::curveG(float u, float s, int32_t type)
{
    switch (type)
    {
    case 1:
        return 1.0f - std::pow(1.0f - u, powerExponent(1.0f - s));
    case 2:
        return s < 0.5f ? std::pow(u, bendExponent(s)) : 1.0f - std::pow(1.0f - u, bendExponent(1.0f - s));
    case 4:
        return s > 0.5f ? std::pow(u, bendExponent(s)) : 1.0f - std::pow(1.0f - u, bendExponent(1.0f - s));
    default:
        return u;
    }
}

float CPixelCanvas::curveH(float w, float s, int32_t type)
{
    switch (type)
    {
    case 1:
        return 1.0f - std::pow(1.0f - w, powerExponent(s));
    case 2:
        return s < 0.5f ? std::pow(w, bendExponent(1.0f - s)) : 1.0f - std::pow(1.0f - w, bendExponent(s));
    case 4:
        return s > 0.5f ? std::pow(w, bendExponent(1.0f - s)) : 1.0f - std::pow(1.0f - w, bendExponent(s));
    default:
        return w;
    }
}

// ---------------------------------------------------------------- segments

void CPixelCanvas::plotCrossSection(int32_t col, int32_t row, int32_t dc, int32_t dr, uint8_t r, uint8_t g,
    uint8_t b, float e, float a)
{
    if (lineWeight < 1 || lineWeight > 3)
        return;
    // Leading pixel, lineWeight - 1 inner pixels, trailing pixel.
    plotMax(u32(col), u32(row), r, g, b, e);
    for (int32_t k = 1; k < lineWeight; ++k)
        plotMax(u32(int64_t{col} + k * dc), u32(int64_t{row} + k * dr), r, g, b, a);
    plotMax(u32(int64_t{col} + lineWeight * dc), u32(int64_t{row} + lineWeight * dr), r, g, b, a - e);
}

void CPixelCanvas::drawSegment(float x0, float y0, float x1, float y1, uint8_t r, uint8_t g, uint8_t b,
    float shape, int32_t curveType, uint8_t fillMode, float fillCoverage, uint8_t alpha)
{
    if (drawColour == nullptr)
        return;
    const float givenX0 = x0, givenY0 = y0, givenX1 = x1, givenY1 = y1;
    supersample(factor, x0, y0, x1, y1);
    const float W = static_cast<float>(drawColour->width);
    const float H = static_cast<float>(drawColour->height);
    const int32_t iH = static_cast<int32_t>(drawColour->height);
    if ((x0 < 0 && x1 < 0) || (x0 > W && x1 > W))
        return;
    const float dx = std::fabs(x1 - x0);
    const float dy = std::fabs(y1 - y0);
    if (!allFinite(x0, y0, x1, y1, dx, dy, shape))
        return;
    const bool isLong = dx > 16 || dy > 16; // long strokes: the passes split steep and flat parts
    if (lineWeight == 1 && isLong && curveType != 0)
    {
        // The area fill applies the supersampling factor itself.
        fillSegmentArea(saturateInt32(givenX0), saturateInt32(givenY0), saturateInt32(givenX1),
            saturateInt32(givenY1), r, g, b, shape, curveType, fillMode, fillCoverage, alpha);
        return;
    }
    y0 = H - y0;
    y1 = H - y1;
    if (x0 > x1)
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const float a = fullCoverage(alpha);
    const float sigma = y1 >= y0 ? 1.0f : -1.0f;
    const float rise = sigma * dy;
    float ox = 0.0f, oy = 0.0f;
    int32_t rb = 0;
    if (lineWeight == 1)
    {
        ox = 0.5f;
        oy = y1 < y0 ? -1.0f : 0.0f;
        rb = y1 >= y0 ? 1 : 2;
    }

    if (dx > 0)
    {
        const float xs = std::max(0.0f, x0);
        const float xe = std::min(W, x1);
        recordedFirst = static_cast<int32_t>(xs);
        recordedEnd = static_cast<int32_t>(xe);
        float prev = -1.0f;
        for (float x = xs; x < xe; x += stepSize)
        {
            const float u = (x - x0) / dx;
            const float Y = !isCurve(curveType) ? y0 + (x - x0) * rise / dx : y0 + rise * curveG(u, shape, curveType);
            const float jump = std::fabs(prev - Y);
            prev = Y;
            // A shape outside 0..1 can put a sample at infinity or at no number: it marks nothing;
            // nor does one far outside the layer (beyond the int range its row is undefined).
            if ((isLong && jump >= 1.0f) || !(std::fabs(Y) <= 2e9f))
                continue;
            const int32_t col = static_cast<int32_t>(x + ox);
            const int32_t row = rb + static_cast<int32_t>(Y + oy);
            if (row < 0 || row > iH)
                continue;
            float e = fraction(Y);
            if (alpha < 250)
                e *= a;
            // A one-pixel stroke has no row above the curve's own.
            plotCrossSection(col, lineWeight == 1 ? row : row + 1, 0, -1, r, g, b, e, a);
            if (recordCurve && pointBuffer && col >= 0 && static_cast<uint32_t>(col) < pointCount)
                pointBuffer[col] = CanvasPoint{static_cast<float>(col), static_cast<float>(iH - row)};
        }
    }

    if (dy > 0)
    {
        const float ylo = std::min(y0, y1), yhi = std::max(y0, y1);
        const float vs = std::max(0.0f, ylo);
        const float ve = std::min(H, yhi) - (lineWeight == 1 ? stepSize : 0.0f);
        if (ve < vs)
            return;
        const int32_t iW = static_cast<int32_t>(drawColour->width);
        float prev = -1.0f;
        for (float v = vs; v <= ve; v += stepSize)
        {
            const float t = v - ylo;
            const float w = t / dy;
            const float X = !isCurve(curveType) ? x0 + dx * t / dy : x0 + dx * curveH(w, shape, curveType);
            const float jump = std::fabs(prev - X);
            prev = X;
            if (!(X >= -2e9f && X <= 2e9f)) // far outside, or no number (a shape outside 0..1)
                continue;
            const int32_t col = static_cast<int32_t>(X);
            if ((isLong && jump > 1.0f) || col < 0 || col >= iW)
                continue;
            const float rowAt = y0 + sigma * t - ox;
            if (!(std::fabs(rowAt) <= 2e9f)) // far outside the layer: beyond the int range
                continue;
            int32_t row = rb + static_cast<int32_t>(rowAt);
            if (lineWeight == 1 && sigma < 0)
                row -= 1;
            float e = X - static_cast<float>(col);
            if (alpha < 250)
                e *= a;
            plotCrossSection(col + 1, row, -1, 0, r, g, b, e, a);
            if (recordCurve && pointBuffer && static_cast<uint32_t>(col) < pointCount)
                pointBuffer[col] = CanvasPoint{static_cast<float>(col), static_cast<float>(iH - row)};
        }
    }
}

void CPixelCanvas::drawSegmentInt(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
    float shape, int32_t curveType, uint8_t fillMode, float fillCoverage, uint8_t alpha)
{
    drawSegment(static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1), static_cast<float>(y1), r, g,
        b, shape, curveType, fillMode, fillCoverage, alpha);
}

void CPixelCanvas::drawLine(float x0, float y0, float x1, float y1, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha)
{
    drawSegment(x0, y0, x1, y1, r, g, b, 0.0f, 0, 0, 0.0f, alpha);
}

void CPixelCanvas::drawPolyline(const CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b,
    uint8_t alpha)
{
    if (drawColour == nullptr || points == nullptr || n < 2 || !finitePolyline(points, n))
        return;
    for (int32_t i = 0; i + 1 < n; ++i)
        drawLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, r, g, b, alpha);
}

void CPixelCanvas::drawPolyline(const CanvasPointD* points, int32_t n, uint8_t r, uint8_t g, uint8_t b,
    uint8_t alpha)
{
    if (drawColour == nullptr || points == nullptr || n < 2)
        return;
    std::vector<CanvasPoint> floats(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        floats[i] = CanvasPoint{static_cast<float>(points[i].x), static_cast<float>(points[i].y)};
    drawPolyline(floats.data(), n, r, g, b, alpha);
}

void CPixelCanvas::drawCurve(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
    float shape)
{
    drawSegmentInt(x0, y0, x1, y1, r, g, b, shape, 2, 0, 0.2f, 255);
}

void CPixelCanvas::drawPowerCurve(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
    float shape)
{
    recordedFirst = recordedEnd = 0;
    drawSegmentInt(x0, y0, x1, y1, r, g, b, shape, 1, 1, 0.2f, 255);
}

void CPixelCanvas::drawMirroredCurve(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g,
    uint8_t b, float shape)
{
    drawSegmentInt(x0, y0, x1, y1, r, g, b, shape, 4, 0, 0.0f, 255);
}

// ---------------------------------------------------------------- aliased lines

void CPixelCanvas::drawLineInt(int32_t ix0, int32_t iy0, int32_t ix1, int32_t iy1, uint8_t r, uint8_t g, uint8_t b,
    uint8_t alpha)
{
    if (drawColour == nullptr)
        return;
    int64_t x0 = ix0, y0 = iy0, x1 = ix1, y1 = iy1;
    if (x0 > x1)
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    supersample(factor, x0, y0, x1, y1);
    const int64_t W = drawColour->width, H = drawColour->height;
    y0 = H - y0 - 1;
    y1 = H - y1 - 1;
    if ((x0 < 0 && x1 < 0) || x0 > W)
        return;
    {
        // Clip to columns 0..W, moving y toward the other end by the truncated share.
        const int64_t dx = std::llabs(x1 - x0), dy = std::llabs(y1 - y0);
        if (x0 < 0)
        {
            int64_t shift = (-x0 * dy) / dx;
            y0 += y1 > y0 ? shift : -shift;
            x0 = 0;
        }
        if (x1 > W)
        {
            int64_t shift = ((x1 - W) * dy) / dx;
            y1 += y0 > y1 ? shift : -shift;
            x1 = W;
        }
    }
    int64_t pen = factor;
    if (lineWeight == 2)
        pen = factor < 2 ? 2 : 2 * factor - 1;
    else if (lineWeight == 3)
        pen = factor < 2 ? 3 : 3 * factor - 1;
    const float k = alpha < 250 ? std::clamp(static_cast<float>(alpha) / 255.0f, 0.0f, 1.0f) : 1.0f;
    recordedFirst = static_cast<int32_t>(x0);
    recordedEnd = static_cast<int32_t>(x1);

    const int64_t dx = std::llabs(x1 - x0), dy = std::llabs(y1 - y0);
    const int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int64_t err = 2 * (dx - dy);
    int64_t x = x0, y = y0;
    uint64_t steps = 0;
    for (;;)
    {
        for (int64_t i = 0; i < pen; ++i)
        {
            for (int64_t j = 0; j < pen; ++j)
            {
                plotSet(u32(x + i), u32(y + j), r, g, b, k);
                if (recordCurve && pointBuffer && W > 0)
                {
                    int64_t c = std::clamp<int64_t>(x + i, 0, W - 1);
                    pointBuffer[c] = CanvasPoint{static_cast<float>(c), static_cast<float>(H - (y + j))};
                }
            }
        }
        ++steps;
        if (steps >= drawColour->count || (x == x1 && y == y1) || x >= W)
            break;
        const int64_t e = err;
        if (e > -dy)
        {
            x += sx;
            err -= 2 * dy;
        }
        if (e < dx)
        {
            y += sy;
            err += 2 * dx;
        }
    }
}

void CPixelCanvas::drawLineInt(const CanvasPointD* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha)
{
    if (points == nullptr || !finitePolyline(points, n))
        return;
    for (int32_t i = 0; i + 1 < n; ++i)
        drawLineInt(saturateInt32(points[i].x), saturateInt32(points[i].y), saturateInt32(points[i + 1].x),
            saturateInt32(points[i + 1].y), r, g, b, alpha);
}

void CPixelCanvas::drawRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
    uint8_t alpha)
{
    drawLineInt(x0, y0, x1, y0, r, g, b, alpha);
    drawLineInt(x1, y0, x1, y1, r, g, b, alpha);
    drawLineInt(x1, y1, x0, y1, r, g, b, alpha);
    drawLineInt(x0, y1, x0, y0, r, g, b, alpha);
}

void CPixelCanvas::plotPoint(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha)
{
    if (drawColour == nullptr)
        return;
    int64_t px = x, py = y;
    supersample(factor, px, py);
    if (px < 0 || px >= drawColour->width)
        return;
    const float c = alpha < 254 ? static_cast<float>(alpha) / 255.0f : 1.0f;
    plotSet(u32(px), u32(drawColour->height - py), r, g, b, c);
}

void CPixelCanvas::fillRect(double left, double top, double right, double bottom, uint8_t r, uint8_t g, uint8_t b,
    uint8_t alpha)
{
    if (drawColour == nullptr || left == right || top == bottom)
        return;
    if (!allFinite(left, top, right, bottom))
        return;
    const float a = std::clamp(static_cast<float>(alpha) / 255.0f, 0.0f, 1.0f);
    supersample(factor, left, top, right, bottom);
    const int64_t W = drawColour->width, H = drawColour->height;
    auto toInt = [](double v) { return static_cast<int64_t>(std::clamp(v, -4e18, 4e18)); };
    const int64_t c0 = std::max<int64_t>(0, toInt(std::min(left, right)));
    const int64_t c1 = std::min<int64_t>(W, toInt(std::max(left, right)));
    const int64_t ya = toInt(std::min(top, bottom)), yb = toInt(std::max(top, bottom));
    const int64_t ra = H - std::max<int64_t>(ya, 0), rbottom = H - std::min<int64_t>(yb, H);
    const int64_t r0 = std::min(ra, rbottom), r1 = std::max(ra, rbottom);
    for (int64_t row = std::max<int64_t>(r0, 0); row < std::min(r1, H); ++row)
    {
        for (int64_t col = c0; col <= c1 && col < W; ++col)
        {
            if (alpha >= 250)
            {
                plotSet(u32(col), u32(row), r, g, b, a);
                continue;
            }
            const uint32_t i = static_cast<uint32_t>(col + W * row);
            const uint8_t* p = &drawColour->bytes[4 * i];
            auto mix = [a](uint8_t stored, uint8_t given) { return clampToByte(stored * (1.0f - a) + given * a); };
            const uint8_t nr = mix(p[2], r), ng = mix(p[1], g), nb = mix(p[0], b);
            const float c0v = drawCoverage->floats[i];
            plotSet(u32(col), u32(row), nr, ng, nb, std::clamp(c0v + a, 0.0f, 1.0f));
        }
    }
}
