// CPixelCanvas: area fills and circles. Every write goes through plotMax, so a
// fill never lowers a coverage that is already there.
#include "graphics/CPixelCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "graphics/PixelMath.h"

using namespace pixel_math;

namespace {

// Truncation of a float that may lie far outside the int range.
int64_t trunc64(float v)
{
    return static_cast<int64_t>(std::clamp(v, -1e15f, 1e15f));
}

// Disc coverages for radii 1..4: (r + 1) x (r + 1) entries, row-major, (0, 0) the outer corner.
const float kDisc1[] = {0.30f, 0.90f, 0.90f, 1.00f};
const float kDisc2[] = {0.40f, 0.58f, 0.92f, 0.58f, 0.90f, 1.00f, 0.92f, 1.00f, 1.00f};
const float kDisc3[] = {0.00f, 0.15f, 0.68f, 0.95f, 0.15f, 0.94f, 1.00f, 1.00f, 0.68f, 1.00f, 1.00f, 1.00f, 0.95f,
    1.00f, 1.00f, 1.00f};
const float kDisc4[] = {0.00f, 0.00f, 0.30f, 0.75f, 0.95f, 0.00f, 0.52f, 1.00f, 1.00f, 1.00f, 0.30f, 1.00f, 1.00f,
    1.00f, 1.00f, 0.75f, 1.00f, 1.00f, 1.00f, 1.00f, 0.95f, 1.00f, 1.00f, 1.00f, 1.00f};
const float* const kDiscs[] = {nullptr, kDisc1, kDisc2, kDisc3, kDisc4};

} // namespace

float CPixelCanvas::makeProfile(Profile profile, float strength)
{
    const float s = std::clamp(strength, 0.0f, 2.0f);
    const uint32_t H = drawColour->height;
    const uint32_t rows = std::min(H + 1, profileSize);
    if (s < 0.01f)
    {
        std::fill_n(fillInner.get(), rows, 1.0f);
        std::fill_n(fillEdge.get(), rows, 0.5f);
        return 1.0f;
    }
    const float fh = static_cast<float>(H);
    const uint32_t m = H / 2;
    for (uint32_t i = 0; i < rows; ++i)
    {
        float v = 0.0f;
        switch (profile)
        {
        case Profile::Falling:
            v = (1.0f - static_cast<float>(i) / fh) * 0.2f * s + 0.3f * s;
            break;
        case Profile::Rising:
            v = (static_cast<float>(i) / fh) * 0.2f * s + 0.3f * s;
            break;
        case Profile::Mirrored:
            if (i <= m)
                v = (1.0f - (m > 0 ? static_cast<float>(i) / static_cast<float>(m) : 0.0f)) * 0.2f * s + 0.3f * s;
            else
                v = fillInner[H - i];
            break;
        }
        fillInner[i] = v;
        fillEdge[i] = 0.5f * v;
    }
    return 0.3f * s;
}

void CPixelCanvas::fillRow(int32_t col, int32_t row, uint8_t r, uint8_t g, uint8_t b)
{
    if (row < 0 || static_cast<uint32_t>(row) >= profileSize)
        return;
    const float inner = fillInner[row], edge = fillEdge[row];
    for (int32_t i = 0; i < factor; ++i)
        plotMax(u32(int64_t{col} + i), u32(row), r, g, b, inner);
    plotMax(u32(int64_t{col} - 1), u32(row), r, g, b, edge);
    plotMax(u32(int64_t{col} + factor), u32(row), r, g, b, edge);
}

void CPixelCanvas::fillCurveColumns(CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b,
    float strength, bool toCentre)
{
    if (drawColour == nullptr || !fillInner || !fillEdge)
        return;
    const int32_t W = static_cast<int32_t>(drawColour->width);
    const int32_t H = static_cast<int32_t>(drawColour->height);
    if (points == nullptr)
    {
        if (!recordCurve || !pointBuffer)
            return;
        n = recordedEnd - recordedFirst;
        if (!(n > 1 && recordedFirst < W) || recordedFirst < 0
            || static_cast<uint64_t>(recordedEnd) > pointCount)
            return;
        points = pointBuffer.get() + recordedFirst;
    }
    if (n < 2 || H <= 1 || !finitePolyline(points, n))
        return;
    const float k = makeProfile(toCentre ? Profile::Mirrored : Profile::Falling, strength);
    if (factor >= 2)
        points[n - 1].x += 1.0f;
    const int32_t m = H / 2;
    int64_t previousC0 = -1;
    for (int32_t i = 1; i < n; ++i)
    {
        const CanvasPoint A = points[i - 1], B = points[i];
        const int64_t c0 = trunc64(std::min(A.x, B.x));
        if (c0 == previousC0)
            continue;
        previousC0 = c0;
        const float YA = static_cast<float>(H) - A.y, YB = static_cast<float>(H) - B.y;
        const float span = std::fabs(B.x - A.x);
        const float slope = span > 0 ? std::fabs(YB - YA) / span : 0.0f;
        const int64_t columns = trunc64(span);
        float t = 0.0f;
        for (int64_t c = c0; c <= c0 + columns; ++c, t += slope)
        {
            const float Y = YB > YA ? YA + t : YA - t;
            if (c < 0 || c > W)
                continue;
            int64_t top = trunc64(Y);
            int64_t col = c;
            supersample(factor, top, col);
            const int32_t row = static_cast<int32_t>(std::clamp<int64_t>(top, 0, H));
            const int32_t x = static_cast<int32_t>(col);
            float curve = fraction(Y) * k;
            if (!toCentre)
            {
                for (int32_t v = H; v > row; --v)
                    fillRow(x, v, r, g, b);
            }
            else if (row < m)
            {
                for (int32_t v = m; v > row; --v)
                    fillRow(x, v, r, g, b);
                curve = (1.0f - fraction(Y)) * k;
            }
            else
            {
                for (int32_t v = m; v < row; ++v)
                    fillRow(x, v, r, g, b);
            }
            for (int32_t f = 0; f < factor; ++f)
                plotMax(u32(int64_t{x} + f), u32(row), r, g, b, curve);
        }
    }
}

void CPixelCanvas::fillUnderCurve(CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, float strength)
{
    fillCurveColumns(points, n, r, g, b, strength, false);
}

void CPixelCanvas::fillToCentre(CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, float strength)
{
    fillCurveColumns(points, n, r, g, b, strength, true);
}

void CPixelCanvas::fillToCentre(CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b)
{
    fillCurveColumns(points, n, r, g, b, 0.0f, true);
}

void CPixelCanvas::fillToCentre(const CanvasPointD* points, int32_t n, uint8_t r, uint8_t g, uint8_t b,
    float strength)
{
    if (!pointBuffer || drawColour == nullptr || points == nullptr)
        return;
    if (n < 2 || static_cast<uint32_t>(n) >= drawColour->width || !finitePolyline(points, n))
        return;
    for (int32_t i = 0; i < n; ++i)
        pointBuffer[i] = CanvasPoint{static_cast<float>(points[i].x), static_cast<float>(points[i].y)};
    fillCurveColumns(pointBuffer.get(), n, r, g, b, strength, true);
}

void CPixelCanvas::fillToCentre(const CanvasPointD* points, int32_t n, uint8_t r, uint8_t g, uint8_t b)
{
    fillToCentre(points, n, r, g, b, 0.0f);
}

void CPixelCanvas::fillColumnBand(float q[4], uint8_t r, uint8_t g, uint8_t b, float strength)
{
    if (drawColour == nullptr || q == nullptr || !fillInner || !fillEdge)
        return;
    const int32_t W = static_cast<int32_t>(drawColour->width);
    const int32_t H = static_cast<int32_t>(drawColour->height);
    if (H < 2 || W < 2 || !allFinite(q[0], q[1], q[2], q[3], q[1] - q[0], q[2] - q[3]))
        return;
    if (trunc64(std::fabs(q[1] - q[0])) == 0 || trunc64(std::fabs(q[2] - q[3])) == 0)
        return;
    if (factor >= 2)
        q[1] += 1.0f;
    const float k = makeProfile(Profile::Rising, strength);
    q[2] = static_cast<float>(H) - q[2];
    q[3] = static_cast<float>(H) - q[3];
    const float ylo = std::min(q[2], q[3]), yhi = std::max(q[2], q[3]);
    const float span = std::fabs(q[1] - q[0]);
    const float slope = (yhi - ylo) / span;
    const int64_t first = trunc64(std::min(q[0], q[1]));
    const int64_t columns = trunc64(span);
    // Rows are clamped to the picture before they index the fill profile.
    const int64_t rowFirst = std::max<int64_t>(0, trunc64(ylo));
    const float rowEnd = std::min(yhi, static_cast<float>(H));
    float t = 0.0f;
    for (int64_t c = first; c <= first + columns; ++c, t += slope)
    {
        const float Y = ylo + t;
        if (c < 0 || c > W)
            continue;
        int64_t col = c;
        int64_t y = trunc64(Y);
        supersample(factor, col, y);
        for (int64_t v = rowFirst; static_cast<float>(v) < rowEnd; ++v)
            fillRow(static_cast<int32_t>(col), static_cast<int32_t>(v), r, g, b);
        const int64_t row = std::min<int64_t>(H, std::max<int64_t>(0, y));
        for (int32_t f = 0; f < factor; ++f)
            plotMax(u32(col + f), u32(row), r, g, b, fraction(Y) * k);
    }
}

void CPixelCanvas::fillSegmentArea(int32_t ix0, int32_t iy0, int32_t ix1, int32_t iy1, uint8_t r, uint8_t g,
    uint8_t b, float shape, int32_t curveType, uint8_t fillMode, float fillCoverage, uint8_t alpha)
{
    if (drawColour == nullptr || !std::isfinite(shape))
        return;
    int64_t x0 = ix0, y0 = iy0, x1 = ix1, y1 = iy1;
    supersample(factor, x0, y0, x1, y1);
    const float a = fullCoverage(alpha);
    const int64_t W = drawColour->width, H = drawColour->height;
    y0 = H - y0;
    y1 = H - y1;
    if (!((x0 >= 0 || x1 >= 0) && (x0 <= W || x1 <= W)))
        return;
    if (x0 > x1)
    {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int64_t dx = std::llabs(x1 - x0), dy = std::llabs(y1 - y0);
    const int64_t sigma = y1 >= y0 ? 1 : -1;
    const int64_t d = y1 < y0 ? -1 : 0;
    const int64_t m = H >> 1;
    auto plot = [&](int64_t col, int64_t row, float c) { plotMax(u32(col), u32(row), r, g, b, c); };

    if (dy > 0)
    {
        const int64_t ylo = std::min(y0, y1);
        int64_t prev = x0;
        for (int64_t v = std::max<int64_t>(0, ylo); v <= std::min(H, std::max(y0, y1)); ++v)
        {
            const float t = static_cast<float>(v - ylo);
            const float X = static_cast<float>(dx) * curveH(t / static_cast<float>(dy), shape, curveType);
            if (std::isnan(X)) // a shape outside 0..1 can give a sample at no number: it marks nothing
                continue;
            const int64_t iX = trunc64(X);
            float e = fraction(X);
            if (alpha < 250)
                e *= a;
            if (std::llabs(prev - iX) <= 1)
            {
                const int64_t row = y0 + d + sigma * static_cast<int64_t>(t);
                const int64_t col = x0 + iX + 2;
                if (col >= 0 && col < W)
                {
                    if (lineWeight == 2)
                    {
                        plot(col + 1, row, e);
                        plot(col, row, a);
                    }
                    else if (lineWeight == 3)
                    {
                        plot(col + 2, row, e);
                        plot(col + 1, row, a);
                        plot(col, row, a);
                    }
                    else
                    {
                        plot(col, row, e);
                    }
                    plot(col - 1, row, a - e);
                }
            }
            prev = iX;
        }
    }

    if (dx > 0)
    {
        int64_t prev = y0;
        const int64_t last = dx - (std::max(x1, W + 2) - (W + 2));
        for (int64_t c = std::max<int64_t>(0, -2 - x0); c <= last; ++c)
        {
            const float Y = static_cast<float>(dy)
                * curveG(static_cast<float>(c) / static_cast<float>(dx), shape, curveType);
            if (std::isnan(Y))
                continue;
            const int64_t iY = trunc64(Y);
            float e = fraction(Y);
            if (alpha < 250)
                e *= a;
            const int64_t col = x0 + c + 1;
            const int64_t row = y0 + sigma + d + sigma * iY;
            if (std::llabs(prev - iY) <= 1 && row >= 0 && row < H)
            {
                if (lineWeight == 2)
                {
                    plot(col, row, e);
                    plot(col, row - sigma, a);
                    plot(col, row - 2 * sigma, a - e);
                }
                else if (lineWeight == 3)
                {
                    plot(col, row, e);
                    plot(col, row - sigma, a);
                    plot(col, row - 2 * sigma, a);
                    plot(col, row - 3 * sigma, a - e);
                }
                else
                {
                    plot(col, row, e);
                    plot(col, row - sigma, a - e);
                }
            }
            if (fillMode != 0 && col >= 0 && col < W)
            {
                const int64_t rf = std::clamp<int64_t>(row, 0, H);
                int64_t from = 0, to = 0;
                if (fillMode == 1)
                    to = rf;
                else if (fillMode == 2)
                    from = rf, to = H;
                else if (fillMode == 3)
                {
                    if (rf < m)
                        from = rf, to = m;
                    else
                        from = m, to = rf;
                }
                for (int64_t v = from; v < to; ++v)
                    plot(col, v, fillCoverage);
            }
            prev = iY;
        }
    }
}

void CPixelCanvas::drawCurveAndFill(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g,
    uint8_t b, float shape)
{
    recordedFirst = recordedEnd = 0;
    recordCurve = 1;
    drawSegmentInt(x0, y0, x1, y1, r, g, b, shape, 2, 1, 0.3f, 255);
    fillUnderCurve(nullptr, 0, r, g, b, 0.5f);
    recordCurve = 0;
}

void CPixelCanvas::fillCircle(int32_t cx, int32_t cy, int32_t radius, uint8_t r, uint8_t g, uint8_t b,
    uint8_t alpha)
{
    if (radius <= 0 || drawColour == nullptr)
        return;
    int64_t x = cx, y = int64_t{cy} + 1, R = radius;
    supersample(factor, x, y, R);
    const int64_t H = drawColour->height;
    const int64_t rc = H - std::clamp<int64_t>(y, 0, H);
    if (R > 4)
    {
        for (int64_t dy = -R; dy <= R; ++dy)
        {
            const double half = std::sqrt(static_cast<double>(R * R - dy * dy));
            drawLine(static_cast<float>(x - std::floor(half)), static_cast<float>(y + dy),
                static_cast<float>(x + std::ceil(half)), static_cast<float>(y + dy), r, g, b, alpha);
        }
        const int32_t ix = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
        const int32_t iy = static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX));
        const int32_t ir = static_cast<int32_t>(std::min<int64_t>(R, INT32_MAX - 1));
        drawCircle(ix, iy, ir - 1, r, g, b, alpha);
        drawCircle(ix, iy, ir, r, g, b, alpha);
        drawCircle(ix, iy, ir + 1, r, g, b, alpha);
        return;
    }
    const float a = fullCoverage(alpha);
    const float* table = kDiscs[R];
    for (int64_t j = 0; j <= R; ++j)
    {
        for (int64_t i = 0; i <= R; ++i)
        {
            float v = table[j * (R + 1) + i];
            if (alpha < 250)
                v *= a;
            plotMax(u32(x + R - i), u32(rc + R - j), r, g, b, v);
            plotMax(u32(x + R - i), u32(rc - R + j), r, g, b, v);
            plotMax(u32(x - R + i), u32(rc + R - j), r, g, b, v);
            plotMax(u32(x - R + i), u32(rc - R + j), r, g, b, v);
        }
    }
}

void CPixelCanvas::drawCircle(int32_t cx, int32_t cy, int32_t radius, uint8_t r, uint8_t g, uint8_t b,
    uint8_t alpha)
{
    float x = static_cast<float>(cx), y = static_cast<float>(cy), R = static_cast<float>(radius);
    supersample(factor, x, y, R);
    if (R < 2.0f || R > 1e6f)
        return;
    const int32_t ir = static_cast<int32_t>(R);
    const int32_t sides = 2 * ir - 1;
    float px = x + R, py = y;
    for (int32_t i = 1; i <= 2 * ir - 1; ++i)
    {
        const float angle = static_cast<float>(i) * 6.2831855f / static_cast<float>(sides);
        float cxo = std::cos(angle) * R;
        float syo = std::sin(angle) * R;
        if (cxo <= 0.0f)
            cxo += 1.0f;
        if (syo <= 0.0f)
            syo += 1.0f;
        const float vx = x + cxo, vy = y + syo;
        drawLine(px, py, vx, vy, r, g, b, alpha);
        px = vx;
        py = vy;
    }
}

float CPixelCanvas::powerScale(float a, float b, float c)
{
    return std::exp(std::log(c / b) * a) * b;
}
