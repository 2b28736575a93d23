#include "graphics/BitmapScaling.h"

#include "graphics/PixelAccess.h"
#include "graphics/PixelMath.h"
#include "vstgui/lib/cbitmap.h"

#include <algorithm>
#include <cmath>
#include <memory>

using VSTGUI::CBitmap;
using VSTGUI::IPlatformBitmapPixelAccess;
using pixel_math::clampToByte;

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

void sharpenInPlace(uint8_t* pixels, uint32_t rowBytes, int32_t width, int32_t height, const ChannelOrder& order)
{
    if (width <= 2 || height <= 2)
        return;
    const int channels[3] = {order.r, order.g, order.b};
    for (int32_t y = 1; y < height - 1; ++y)
    {
        for (int32_t x = 1; x < width - 1; ++x)
        {
            uint8_t* p = pixels + y * rowBytes + 4 * x;
            if (p[order.r] <= 5 || p[order.g] <= 5 || p[order.b] <= 5)
                continue; // near-black pixels stay as they are
            const uint8_t* ul = p - rowBytes - 4;
            const uint8_t* ur = p - rowBytes + 4;
            const uint8_t* ll = p + rowBytes - 4;
            const uint8_t* lr = p + rowBytes + 4;
            for (int c : channels)
            {
                float diag = static_cast<float>(ul[c]) + static_cast<float>(ur[c]) + static_cast<float>(ll[c])
                    + static_cast<float>(lr[c]);
                float v = 1.2f * static_cast<float>(p[c]) - 0.05f * diag;
                p[c] = clampToByte(v);
            }
        }
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
    const int channels[4] = {order.r, order.g, order.b, order.a};
    // Row offsets follow each accessor's own row length (packed rows: 4 x width).
    const uint32_t srcRow = from->getBytesPerRow();
    const uint32_t dstRow = to->getBytesPerRow();
    std::unique_ptr<uint32_t[]> rowOffset(new uint32_t[sh]);
    for (int32_t y = 0; y < sh; ++y)
        rowOffset[y] = static_cast<uint32_t>(y) * srcRow;

    const float stepX = static_cast<float>(sw) / static_cast<float>(width);
    const float stepY = static_cast<float>(sh) / static_cast<float>(height);
    // A box is never smaller than 2 x 2 source pixels, so for steps below 2 boxes overlap.
    const int32_t bw = std::max(static_cast<int32_t>(std::floor(stepX)), 2);
    const int32_t bh = std::max(static_cast<int32_t>(std::floor(stepY)), 2);

    for (int32_t y = 0; y < height; ++y)
    {
        const BoxSpan rows = boxSpan(y, stepY, sh, bh);
        const int32_t t = rows.first, b = rows.last;
        const float fy = rows.fraction;
        for (int32_t x = 0; x < width; ++x)
        {
            const BoxSpan columns = boxSpan(x, stepX, sw, bw);
            const int32_t l = columns.first, r = columns.last;
            const float fx = columns.fraction;

            float sum[4] = {0, 0, 0, 0};
            float total = 0.0f;
            auto add = [&](int32_t row, int32_t col, float w) {
                const uint8_t* p = src + rowOffset[row] + 4 * col;
                for (int c = 0; c < 4; ++c)
                    sum[c] += static_cast<float>(p[channels[c]]) * w;
                total += w;
            };
            add(t, l, (1.0f - fy) * (1.0f - fx));
            add(b, l, fy * (1.0f - fx));
            add(t, r, (1.0f - fy) * fx);
            add(b, r, fy * fx);
            for (int32_t k = 1; k < bw; ++k)
            {
                const int32_t col = std::min(l + k, sw - 1);
                add(t, col, 1.0f - fy);
                add(b, col, fy);
            }
            for (int32_t j = 1; j < bh; ++j)
            {
                const int32_t row = std::min(t + j, sh - 1);
                add(row, l, 1.0f - fx);
                add(row, r, fx);
                for (int32_t k = 1; k < bw; ++k)
                    add(row, std::min(l + k, sw - 1), 1.0f);
            }
            uint8_t* q = dst + static_cast<size_t>(y) * dstRow + 4 * x;
            for (int c = 0; c < 4; ++c)
            {
                float v = total > 0.0f ? sum[c] / total : 0.0f;
                q[channels[c]] = clampToByte(v);
            }
        }
    }
    if (sharpen)
        sharpenInPlace(dst, dstRow, width, height, order);
    return target;
}
