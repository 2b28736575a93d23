#include "graphics/BitmapScaling.h"

#include "graphics/PixelAccess.h"
#include "graphics/PixelMath.h"
#include "vstgui/lib/cbitmap.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using VSTGUI::CBitmap;
using VSTGUI::IPlatformBitmapPixelAccess;

namespace {

// Largest side the scaler makes; far beyond any skin picture, well inside int32.
constexpr float kMaxSide = 1 << 20;

struct ChannelOrder
{
    int r, g, b, a;
};

ChannelOrder channelOrder(IPlatformBitmapPixelAccess::PixelFormat format)
{
    switch (format)
    {
    case IPlatformBitmapPixelAccess::kARGB:
        return {1, 2, 3, 0};
    case IPlatformBitmapPixelAccess::kRGBA:
        return {0, 1, 2, 3};
    case IPlatformBitmapPixelAccess::kABGR:
        return {3, 2, 1, 0};
    case IPlatformBitmapPixelAccess::kBGRA:
    default:
        return {2, 1, 0, 3};
    }
}

// floorf(side x factor) in single precision; -1 when it is not a usable number.
int32_t scaledSide(double side, float factor)
{
    float v = std::floor(static_cast<float>(side) * factor);
    if (!(v >= 0.0f) || v >= kMaxSide)
        return -1;
    return static_cast<int32_t>(v);
}

int32_t cutToFrames(int32_t side, int32_t frames)
{
    if (frames <= 1)
        return side;
    side = (side / frames) * frames;
    return side == 0 ? frames : side; // at least one pixel per frame
}

// Source box of one target row or column: first and last source index (clamped to
// the source) and the fractional weight of the box's far edge.
struct BoxSpan
{
    int32_t first, last;
    float fraction;
};

BoxSpan boxSpan(int32_t target, float step, int32_t sourceSize, int32_t boxSize)
{
    const float s = static_cast<float>(target) * step;
    const int32_t whole = static_cast<int32_t>(s);
    const int32_t first = whole >= sourceSize ? sourceSize - 1 : whole;
    return {first, first + boxSize >= sourceSize ? sourceSize - 1 : first + boxSize, s - static_cast<float>(whole)};
}

// The four bytes of one pixel as floats, in memory order. The resampler and the
// sharpening work on all four at once; each lane sees the same operations, in the
// same order, as a channel computed on its own, so the results are the same bytes.
using PixelLanes = float __attribute__((vector_size(16)));
using PixelBytes = uint8_t __attribute__((vector_size(4)));
using PixelInts = int32_t __attribute__((vector_size(16)));

inline PixelLanes lanesOf(const uint8_t* pixel)
{
#if defined(__SSE2__)
    // Zero-extends the four bytes to 32 bits and converts them: four instructions.
    int32_t packed;
    std::memcpy(&packed, pixel, sizeof(packed));
    const __m128i zero = _mm_setzero_si128();
    const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(packed), zero);
    return reinterpret_cast<PixelLanes>(_mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero)));
#else
    PixelBytes bytes;
    std::memcpy(&bytes, pixel, sizeof(bytes));
    return __builtin_convertvector(bytes, PixelLanes);
#endif
}

// Each lane clamped to 0..255 and truncated, as clampToByte does for one value, and
// written as the four bytes of a pixel.
inline void storeLanes(uint8_t* pixel, PixelLanes v)
{
    const PixelLanes low = {0.0f, 0.0f, 0.0f, 0.0f};
    const PixelLanes high = {255.0f, 255.0f, 255.0f, 255.0f};
    v = v < low ? low : v;
    v = high < v ? high : v;
#if defined(__SSE2__)
    const __m128i ints = _mm_cvttps_epi32(reinterpret_cast<__m128>(v));
    const __m128i words = _mm_packs_epi32(ints, ints);
    const int32_t packed = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(pixel, &packed, sizeof(packed));
#else
    const PixelInts ints = __builtin_convertvector(v, PixelInts);
    for (int c = 0; c < 4; ++c)
        pixel[c] = static_cast<uint8_t>(ints[c]);
#endif
}

void sharpenInPlace(uint8_t* pixels, uint32_t rowBytes, int32_t width, int32_t height, const ChannelOrder& order)
{
    if (width <= 2 || height <= 2)
        return;
    const int channels[3] = {order.r, order.g, order.b};
    // In place, row by row: a pixel sees its upper neighbours sharpened, its lower ones not yet.
    for (int32_t y = 1; y < height - 1; ++y)
    {
        for (int32_t x = 1; x < width - 1; ++x)
        {
            uint8_t* p = pixels + y * rowBytes + 4 * x;
            if (p[order.r] <= 5 || p[order.g] <= 5 || p[order.b] <= 5)
                continue; // near-black pixels stay as they are
            const PixelLanes diag = lanesOf(p - rowBytes - 4) + lanesOf(p - rowBytes + 4) + lanesOf(p + rowBytes - 4)
                + lanesOf(p + rowBytes + 4);
            uint8_t sharp[4];
            storeLanes(sharp, 1.2f * lanesOf(p) - 0.05f * diag);
            for (int c : channels)
                p[c] = sharp[c];
        }
    }
}

// The source rows one target row reads, as floats (PixelLanes per pixel): each source
// row is converted once while the target rows that read it are made.
class SourceRows
{
public:
    SourceRows(const uint8_t* pixels, uint32_t rowBytes, int32_t width, int32_t capacity)
    : pixels(pixels), rowBytes(rowBytes), width(width), capacity(capacity),
      lanes(new PixelLanes[static_cast<size_t>(width) * capacity]), held(new int32_t[capacity])
    {
        std::fill(held.get(), held.get() + capacity, -1);
    }

    // Row y as floats. Rows are asked for in rising order, so the lowest one held goes.
    const PixelLanes* row(int32_t y)
    {
        int32_t slot = 0;
        for (int32_t i = 0; i < capacity; ++i)
        {
            if (held[i] == y)
                return &lanes[static_cast<size_t>(i) * width];
            if (held[i] < held[slot])
                slot = i;
        }
        PixelLanes* out = &lanes[static_cast<size_t>(slot) * width];
        const uint8_t* in = pixels + static_cast<size_t>(y) * rowBytes;
        for (int32_t x = 0; x < width; ++x)
            out[x] = lanesOf(in + 4 * x);
        held[slot] = y;
        return out;
    }

private:
    const uint8_t* pixels;
    uint32_t rowBytes;
    int32_t width, capacity;
    std::unique_ptr<PixelLanes[]> lanes;
    std::unique_ptr<int32_t[]> held;
};

// One target row. Every source pixel of a target pixel's box adds value x weight to
// the pixel's sums and its weight to the total, in a fixed order: the four corners,
// the top and bottom edges, then the rows below. Four target pixels are summed side by
// side (lane i of a weight vector is pixel i's weight; the chains run in parallel);
// past the right edge the last pixel is computed again and not stored.
void resampleRow(SourceRows& rows, const BoxSpan& box, int32_t bh, const BoxSpan* columnBox, int32_t bw,
    int32_t sw, int32_t sh, int32_t width, uint8_t* out)
{
    constexpr int32_t kGroup = 4;
    const float fy = box.fraction;
    for (int32_t x0 = 0; x0 < width; x0 += kGroup)
    {
        int32_t l[kGroup], r[kGroup];
        PixelLanes fx, sum[kGroup];
        for (int32_t i = 0; i < kGroup; ++i)
        {
            const BoxSpan& column = columnBox[std::min(x0 + i, width - 1)];
            l[i] = column.first;
            r[i] = column.last;
            fx[i] = column.fraction;
            sum[i] = PixelLanes {0.0f, 0.0f, 0.0f, 0.0f};
        }
        PixelLanes total = {0.0f, 0.0f, 0.0f, 0.0f};
        // Adds source pixel column[i] of row with weight lane i, for every pixel i.
        auto add = [&](const PixelLanes* row, auto column, PixelLanes weight) {
            for (int32_t i = 0; i < kGroup; ++i)
                sum[i] += row[column(i)] * weight[i];
            total += weight;
        };
        auto left = [&](int32_t i) { return l[i]; };
        auto right = [&](int32_t i) { return r[i]; };
        const PixelLanes one = {1.0f, 1.0f, 1.0f, 1.0f};
        const PixelLanes* top = rows.row(box.first);
        const PixelLanes* bottom = rows.row(box.last);
        add(top, left, (1.0f - fy) * (one - fx));
        add(bottom, left, fy * (one - fx));
        add(top, right, (1.0f - fy) * fx);
        add(bottom, right, fy * fx);
        for (int32_t k = 1; k < bw; ++k)
        {
            auto inner = [&](int32_t i) { return std::min(l[i] + k, sw - 1); };
            add(top, inner, (1.0f - fy) * one);
            add(bottom, inner, fy * one);
        }
        for (int32_t j = 1; j < bh; ++j)
        {
            const PixelLanes* row = rows.row(std::min(box.first + j, sh - 1));
            add(row, left, one - fx);
            add(row, right, fx);
            for (int32_t k = 1; k < bw; ++k)
                add(row, [&](int32_t i) { return std::min(l[i] + k, sw - 1); }, one);
        }
        for (int32_t i = 0; i < kGroup && x0 + i < width; ++i)
            storeLanes(out + 4 * (x0 + i), total[i] > 0.0f ? sum[i] / total[i] : PixelLanes {0.0f, 0.0f, 0.0f, 0.0f});
    }
}

} // namespace

bool computeScaledSize(double srcWidth, double srcHeight, float factor, int32_t verticalFrames,
    int32_t horizontalFrames, int32_t& width, int32_t& height)
{
    width = height = 0;
    if (!(factor > 0.0f) || !std::isfinite(factor))
        return false;
    int32_t w = scaledSide(srcWidth, factor);
    int32_t h = scaledSide(srcHeight, factor);
    if (w < 0 || h < 0)
        return false;
    h = cutToFrames(h, verticalFrames);
    w = cutToFrames(w, horizontalFrames);
    if (w <= 0 || h <= 0)
        return false;
    width = w;
    height = h;
    return true;
}

CBitmap* scaleBitmapToFrames(CBitmap* source, float factor, int32_t verticalFrames, int32_t horizontalFrames,
    bool sharpen)
{
    if (source == nullptr || source->getPlatformBitmap() == nullptr)
        return nullptr;
    int32_t width = 0, height = 0;
    if (!computeScaledSize(source->getWidth(), source->getHeight(), factor, verticalFrames, horizontalFrames, width,
            height))
        return nullptr;
    return resampleBitmap(source, width, height, sharpen);
}

CBitmap* scaleBitmap(CBitmap* source, float factor, int32_t verticalFrames, int32_t horizontalFrames, bool sharpen)
{
    return scaleBitmapToFrames(source, factor, verticalFrames, horizontalFrames, sharpen);
}

CBitmap* resampleBitmap(CBitmap* source, int32_t width, int32_t height, bool sharpen)
{
    if (source == nullptr || width <= 0 || height <= 0)
        return nullptr;
    PixelAccessRef from = lockPixels(source);
    if (!from)
        return nullptr;
    auto* target = new CBitmap(static_cast<VSTGUI::CCoord>(width), static_cast<VSTGUI::CCoord>(height));
    PixelAccessRef to = lockPixels(target);
    if (!to)
        return target;
    const uint8_t* src = from->getAddress();
    uint8_t* dst = to->getAddress();
    const int32_t sw = static_cast<int32_t>(source->getWidth());
    const int32_t sh = static_cast<int32_t>(source->getHeight());
    if (src == nullptr || dst == nullptr || sw <= 0 || sh <= 0 || to->getBitmapWidth() < static_cast<uint32_t>(width)
        || to->getBitmapHeight() < static_cast<uint32_t>(height) || from->getBitmapWidth() < static_cast<uint32_t>(sw)
        || from->getBitmapHeight() < static_cast<uint32_t>(sh))
        return target;
    const ChannelOrder order = channelOrder(to->getPixelFormat());
    const float stepX = static_cast<float>(sw) / static_cast<float>(width);
    const float stepY = static_cast<float>(sh) / static_cast<float>(height);
    // A box is never smaller than 2 x 2 source pixels, so for steps below 2 boxes overlap.
    const int32_t bw = std::max(static_cast<int32_t>(std::floor(stepX)), 2);
    const int32_t bh = std::max(static_cast<int32_t>(std::floor(stepY)), 2);
    // The column boxes are the same for every row.
    std::unique_ptr<BoxSpan[]> columnBox(new BoxSpan[width]);
    for (int32_t x = 0; x < width; ++x)
        columnBox[x] = boxSpan(x, stepX, sw, bw);
    // Row offsets follow each accessor's own row length (packed rows: 4 x width).
    SourceRows rows(src, from->getBytesPerRow(), sw, bh + 1);
    const uint32_t dstRow = to->getBytesPerRow();
    for (int32_t y = 0; y < height; ++y)
        resampleRow(rows, boxSpan(y, stepY, sh, bh), bh, columnBox.get(), bw, sw, sh, width,
            dst + static_cast<size_t>(y) * dstRow);
    if (sharpen)
        sharpenInPlace(dst, dstRow, width, height, order);
    return target;
}
