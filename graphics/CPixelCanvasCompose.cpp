// CPixelCanvas: composition. The supersampled drawing pair is reduced to 1:1, the
// layer pairs are blended over the base and the result goes into the output bitmap.
#include "graphics/CPixelCanvas.h"

#include "graphics/PixelAccess.h"
#include "graphics/PixelMath.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using VSTGUI::CBitmap;

namespace {

// Copies count bytes into a bitmap's pixels, as many as fit.
void copyIntoBitmap(CBitmap* bitmap, const uint8_t* bytes, uint64_t count)
{
    if (PixelAccessRef to = lockPixels(bitmap))
        std::memcpy(to->getAddress(), bytes, std::min(count, pixelRoom(*to)));
}

} // namespace

void CPixelCanvas::blockAverage()
{
    // Needs at least 4 columns as well as 4 rows: the loops run to width - 4 and height - 4.
    if (height < 4 || width < 4)
        return;
    const uint32_t f = factor;
    const uint32_t sw = drawColour->width;
    const uint8_t* src = drawColour->bytes.get();
    const float* srcCov = drawCoverage->floats.get();
    uint8_t* dst = oneColour->bytes.get();
    float* dstCov = oneCoverage ? oneCoverage->floats.get() : nullptr;
    const uint32_t area = f * f;
    for (uint32_t x = 0; x <= width - 4; ++x)
    {
        for (uint32_t y = 0; y <= height - 4; ++y)
        {
            uint32_t sumB = 0, sumG = 0, sumR = 0;
            float sumC = 0.0f;
            const uint32_t x0 = f * x + f - 1, y0 = f * y + f - 1;
            for (uint32_t j = 0; j < f; ++j)
            {
                for (uint32_t i = 0; i < f; ++i)
                {
                    uint32_t s = (x0 + i) + sw * (y0 + j);
                    sumB += src[4 * s];
                    sumG += src[4 * s + 1];
                    sumR += src[4 * s + 2];
                    sumC += srcCov[s];
                }
            }
            uint32_t d = x + width * y;
            dst[4 * d] = static_cast<uint8_t>(sumB / area);
            dst[4 * d + 1] = static_cast<uint8_t>(sumG / area);
            dst[4 * d + 2] = static_cast<uint8_t>(sumR / area);
            if (dstCov)
                dstCov[d] = sumC / static_cast<float>(area);
        }
    }
}

void CPixelCanvas::sampleWithGlow()
{
    const uint32_t f = factor;
    const uint32_t sw = drawColour->width;
    const uint8_t* src = drawColour->bytes.get();
    const float* srcCov = drawCoverage->floats.get();
    uint8_t* dst = oneColour->bytes.get();
    float* dstCov = oneCoverage ? oneCoverage->floats.get() : nullptr;
    for (uint32_t y = 0; y < height; ++y)
    {
        for (uint32_t x = 0; x < width; ++x)
        {
            const uint32_t s[4] = {f * x + sw * f * y, f * x + 1 + sw * f * y, f * x + sw * (f * y + 1),
                f * x + 1 + sw * (f * y + 1)};
            uint32_t d = x + width * y;
            float c = 0.0f;
            for (uint32_t k : s)
                c += srcCov[k];
            if (dstCov)
                dstCov[d] = std::clamp(0.25f * c, 0.0f, 1.0f);
            for (int ch = 0; ch < 3; ++ch)
            {
                uint32_t sum = 0;
                for (uint32_t k : s)
                    sum += src[4 * k + ch];
                // 0.88 darkens the plain average a little; the glow pass below brightens edges again.
                int v = static_cast<int>(static_cast<float>(sum >> 2) * 0.88f);
                dst[4 * d + ch] = static_cast<uint8_t>(std::min(255, v));
            }
        }
    }
    if (width < 3 || height < 3)
        return;
    // Glow: neighbours are read as they were before the pass.
    std::unique_ptr<uint8_t[]> before(new uint8_t[oneColour->count]);
    std::memcpy(before.get(), dst, oneColour->count);
    for (uint32_t y = 1; y + 2 <= height; ++y)
    {
        for (uint32_t x = 1; x + 2 <= width; ++x)
        {
            uint32_t d = x + width * y;
            for (int ch = 0; ch < 3; ++ch)
            {
                int right = before[4 * (d + 1) + ch];
                int lower = before[4 * (d + width) + ch];
                dst[4 * d + ch] = static_cast<uint8_t>(std::min(255, before[4 * d + ch] + ((right + lower) >> 3)));
            }
        }
    }
}

void CPixelCanvas::compose(VSTGUI::CDrawContext* context, const VSTGUI::CRect& dest)
{
    if (output == nullptr || drawColour == nullptr || drawCoverage == nullptr)
        return;
    if (factor >= 2)
    {
        if (oneColour == nullptr)
            return;
        if (smoothDownsample == 0)
            blockAverage();
        else
            sampleWithGlow();
    }
    int base = 1;
    if (background)
    {
        base = 0;
        if (colour[0] && background->count == colour[0]->count)
            std::memcpy(colour[0]->bytes.get(), background->bytes.get(), background->count);
    }
    CanvasLayer* baseColour = colour[base].get();
    if (baseColour == nullptr)
        return;
    uint8_t* basePixels = baseColour->bytes.get();
    const uint32_t pixels = coverage[0] ? std::min(coverage[0]->count, baseColour->count / 4) : 0;
    for (int i = base + 1; i < layerCount; ++i)
    {
        if (!coverage[i] || !colour[i])
            continue;
        const float* cov = coverage[i]->floats.get();
        const uint8_t* layer = colour[i]->bytes.get();
        const uint32_t n = std::min(pixels, coverage[i]->count);
        for (uint32_t p = 0; p < n; ++p)
        {
            float c = cov[p];
            // Below 5 % the layer leaves the base as it is; so does a coverage that is not finite.
            if (c < 0.05f || !std::isfinite(c))
                continue;
            for (int ch = 0; ch < 3; ++ch)
            {
                float v = basePixels[4 * p + ch] * (1.0f - c) + layer[4 * p + ch] * c;
                // A coverage far above 1 (plotSet takes any) can take the blend beyond int, or to no number.
                basePixels[4 * p + ch] = static_cast<uint8_t>(pixel_math::saturateInt32(v));
            }
        }
    }
    copyIntoBitmap(output, basePixels, baseColour->count);
    if (context != nullptr && pixel_math::allFinite(dest.left, dest.top, dest.right, dest.bottom))
        context->drawBitmap(output, dest, VSTGUI::CPoint(0, 0), 1.0f);
}

void CPixelCanvas::copyToBitmap(CBitmap* target)
{
    if (target == nullptr || output == nullptr)
        return;
    if (target->getWidth() != static_cast<double>(width) || target->getHeight() != static_cast<double>(height))
        return;
    compose(nullptr, VSTGUI::CRect());
    PixelAccessRef from = lockPixels(output);
    PixelAccessRef to = lockPixels(target);
    if (from && to)
        std::memcpy(to->getAddress(), from->getAddress(), std::min({uint64_t{4} * width * height, pixelRoom(*from), pixelRoom(*to)}));
}
