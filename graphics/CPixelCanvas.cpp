// CPixelCanvas: construction, layers, background and copies between layers.
#include "graphics/CPixelCanvas.h"

#include "graphics/PixelAccess.h"
#include "vstgui/lib/cbitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

using VSTGUI::CBitmap;

namespace {

// Largest layer the canvas makes: the colour layer's byte count must fit its uint32 count.
constexpr uint64_t kMaxLayerBytes = 0xFFFFFFFFull;

// True when a colour layer of (factor x width) x (factor x height) pixels stays within
// kMaxLayerBytes. The pixel count is compared with what the limit leaves per pixel, so
// that no product can wrap around in 64 bits, even for sides of 2^31 and more.
bool layerFits(uint32_t width, uint32_t height, uint32_t factor)
{
    return uint64_t{width} * height <= kMaxLayerBytes / (4ull * factor * factor);
}

uint32_t absSize(int32_t v)
{
    return v < 0 ? static_cast<uint32_t>(-static_cast<int64_t>(v)) : static_cast<uint32_t>(v);
}

} // namespace

CPixelCanvas::CPixelCanvas(int32_t w, int32_t h, uint8_t supersampling, uint32_t extraLayers)
{
    resetDefaults(supersampling);
    allocate(w, h, extraLayers);
}

CPixelCanvas::CPixelCanvas(uint8_t supersampling)
{
    resetDefaults(supersampling);
}

CPixelCanvas::CPixelCanvas(CBitmap* bitmap, uint8_t supersampling, uint32_t extraLayers)
{
    resetDefaults(supersampling);
    setBitmap(bitmap, extraLayers);
}

CPixelCanvas::~CPixelCanvas()
{
    release();
}

void CPixelCanvas::resetDefaults(uint8_t supersampling)
{
    smoothDownsample = 0;
    recordedFirst = recordedEnd = 0;
    recordCurve = 0;
    lineWeight = 2;
    layerCount = 1;
    stepSize = 0.25f;
    factor = (supersampling >= 2 && supersampling <= 16) ? supersampling : 1;
}

void CPixelCanvas::freeBuffers()
{
    fillInner.reset();
    fillEdge.reset();
    profileSize = 0;
    if (pointBuffer)
        recordedFirst = recordedEnd = 0;
    pointBuffer.reset();
    pointCount = 0;
}

void CPixelCanvas::freePairs()
{
    drawColour = oneColour = drawCoverage = oneCoverage = nullptr;
    for (int i = 0; i < kMaxLayers; ++i)
    {
        colour[i].reset();
        coverage[i].reset();
    }
}

void CPixelCanvas::releaseOutput()
{
    if (output != nullptr)
        output->forget();
    output = nullptr;
}

void CPixelCanvas::allocate(int32_t w, int32_t h, uint32_t extraLayers)
{
    width = absSize(w);
    height = absSize(h);
    if (!layerFits(width, height, factor))
        width = height = 0; // too large to address: the canvas stays empty rather than overflow
    if (factor >= 2)
        layerCount = 2;
    else
        layerCount = static_cast<int32_t>(std::clamp<uint64_t>(uint64_t{extraLayers} + 1, 2, kMaxLayers));

    freePairs();
    for (int i = 0; i < layerCount; ++i)
    {
        colour[i] = CanvasLayer::makeColour(width, height);
        coverage[i] = CanvasLayer::makeCoverage(width, height);
    }
    if (factor >= 2)
    {
        colour[2] = CanvasLayer::makeColour(factor * width, factor * height);
        coverage[2] = CanvasLayer::makeCoverage(factor * width, factor * height);
        drawColour = colour[2].get();
        drawCoverage = coverage[2].get();
        oneColour = colour[1].get();
        oneCoverage = coverage[1].get();
    }
    else
    {
        drawColour = colour[1].get();
        drawCoverage = coverage[1].get();
    }

    freeBuffers();
    releaseOutput();

    profileSize = drawColour->height + factor;
    fillInner = std::make_unique<float[]>(profileSize);
    fillEdge = std::make_unique<float[]>(profileSize);
    pointCount = drawColour->width + factor;
    pointBuffer = std::make_unique<CanvasPoint[]>(pointCount);
    output = new CBitmap(static_cast<VSTGUI::CCoord>(width), static_cast<VSTGUI::CCoord>(height));
}

void CPixelCanvas::setBitmap(CBitmap* bitmap, uint32_t extraLayers)
{
    if (bitmap == nullptr || bitmap->getPlatformBitmap() == nullptr)
        return;
    release();
    loadBitmapPixels(bitmap);
    allocate(static_cast<int32_t>(bitmap->getWidth()), static_cast<int32_t>(bitmap->getHeight()), extraLayers);
}

void CPixelCanvas::loadBitmapPixels(CBitmap* bitmap)
{
    background.reset();
    if (bitmap == nullptr || bitmap->getPlatformBitmap() == nullptr)
        return;
    uint32_t w = static_cast<uint32_t>(std::abs(static_cast<int64_t>(bitmap->getWidth()))) & ~3u;
    uint32_t h = static_cast<uint32_t>(std::abs(static_cast<int64_t>(bitmap->getHeight())));
    if (!layerFits(w, h, 1))
        return;
    background = CanvasLayer::makeColour(w, h);
    // Byte copy in order, regardless of the bitmap's row length: a picture whose width is
    // not a multiple of 4 gives a narrower (sheared) background that compose leaves out.
    if (PixelAccessRef from = lockPixels(bitmap))
        std::memcpy(background->bytes.get(), from->getAddress(), std::min<uint64_t>(background->count, pixelRoom(*from)));
}

void CPixelCanvas::release()
{
    background.reset();
    freeBuffers();
    recordedFirst = recordedEnd = 0;
    recordCurve = 0;
    freePairs();
    releaseOutput();
    width = height = 0;
}

void CPixelCanvas::clear(uint8_t r, uint8_t g, uint8_t b)
{
    if (drawColour == nullptr)
        return;
    uint8_t* p = drawColour->bytes.get();
    if (r == g && g == b)
    {
        std::memset(p, r, drawColour->count);
    }
    else
    {
        for (uint32_t i = 0; i + 3 < drawColour->count; i += 4)
        {
            p[i] = b;
            p[i + 1] = g;
            p[i + 2] = r;
        }
    }
    if (drawCoverage != nullptr)
        std::fill_n(drawCoverage->floats.get(), drawCoverage->count, 1.0f);
}

void CPixelCanvas::setBackgroundColor(uint8_t r, uint8_t g, uint8_t b)
{
    if (width == 0 || height == 0)
        return;
    if (!background)
        background = CanvasLayer::makeColour(width, height);
    uint8_t* p = background->bytes.get();
    for (uint32_t i = 0; i + 3 < background->count; i += 4)
    {
        p[i] = b;
        p[i + 1] = g;
        p[i + 2] = r;
        p[i + 3] = 255;
    }
}

void CPixelCanvas::setBackgroundColor(const uint8_t rgb[3])
{
    setBackgroundColor(rgb[0], rgb[1], rgb[2]);
}

void CPixelCanvas::setCoverage(float value)
{
    if (!std::isfinite(value))
        return;
    float c = std::clamp(value, 0.0f, 1.0f);
    if (drawCoverage != nullptr)
        std::fill_n(drawCoverage->floats.get(), drawCoverage->count, c);
    if (oneCoverage != nullptr)
        std::fill_n(oneCoverage->floats.get(), oneCoverage->count, c);
}

void CPixelCanvas::copyRegion(const CPixelCanvas* source, uint32_t x, uint32_t y, int32_t columnLimit,
    int32_t rowLimit, bool fromBackground, bool toBackground)
{
    if (source == nullptr)
        return;
    const CanvasLayer* from = fromBackground ? source->background.get() : source->drawColour;
    if (from == nullptr)
        return;
    // The fit is checked against the layer actually read: a background may be narrower
    // than its canvas, a supersampled drawing layer larger.
    if (static_cast<int64_t>(from->width) - x < static_cast<int64_t>(width)
        || static_cast<int64_t>(from->height) - y < static_cast<int64_t>(height))
        return;
    const float* fromCoverage = nullptr;
    if (!fromBackground)
    {
        if (source->drawCoverage == nullptr || source->drawCoverage->width != from->width)
            return;
        fromCoverage = source->drawCoverage->floats.get();
    }
    // A new background takes its place only after the copy: the source may be this
    // canvas's own background, which must be read as it was before the call.
    std::unique_ptr<CanvasLayer> made;
    CanvasLayer* target = colour[1].get();
    if (toBackground)
    {
        made = CanvasLayer::makeColour(width, height);
        target = made.get();
    }
    if (target == nullptr)
        return;
    const bool writeCoverage = !toBackground && drawCoverage != nullptr;
    const uint32_t columns = columnLimit > 0 ? std::min<uint32_t>(width, columnLimit) : width;
    const uint32_t rows = rowLimit > 0 ? std::min<uint32_t>(height, rowLimit) : height;
    for (uint32_t c = 0; c < columns; ++c)
    {
        for (uint32_t r = 0; r < rows; ++r)
        {
            uint64_t s = static_cast<uint64_t>(y + r) * from->width + x + c;
            uint64_t d = static_cast<uint64_t>(r) * width + c;
            if (writeCoverage)
                drawCoverage->floats[d] = fromBackground ? 1.0f : fromCoverage[s];
            std::memcpy(&target->bytes[4 * d], &from->bytes[4 * s], 4);
        }
    }
    if (made)
        background = std::move(made);
}

void CPixelCanvas::copyLayer(uint32_t i, uint32_t j)
{
    if (i >= kMaxLayers || j >= kMaxLayers)
        return;
    if (!colour[i] || !coverage[i] || !colour[j] || !coverage[j])
        return;
    // Only between pairs of equal size: the supersampled pair is larger than the others.
    if (colour[i]->count != colour[j]->count || coverage[i]->count != coverage[j]->count)
        return;
    std::memcpy(colour[j]->bytes.get(), colour[i]->bytes.get(), colour[j]->count);
    std::memcpy(coverage[j]->floats.get(), coverage[i]->floats.get(), sizeof(float) * coverage[j]->count);
}

void CPixelCanvas::copyLayerRect(int32_t i, int32_t j, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
    int32_t h, float scale)
{
    i = std::clamp(i, 0, kMaxLayers - 1);
    j = std::clamp(j, 0, kMaxLayers - 1);
    if (i == j || !colour[i] || !coverage[i] || !colour[j] || !coverage[j])
        return;
    if (width == 0 || height == 0 || !std::isfinite(scale))
        return;
    scale = std::clamp(scale, 0.0f, 1.0f);
    const int64_t W = width, H = height;
    int64_t x0 = std::clamp<int64_t>(sx, 0, W - 1), x1 = std::clamp<int64_t>(dx, 0, W - 1);
    int64_t y0 = std::clamp<int64_t>(sy, 0, H - 1), y1 = std::clamp<int64_t>(dy, 0, H - 1);
    // The end is clamped to the last index, so the last column and row are never copied.
    int64_t cw = std::min(std::min(std::max<int64_t>(x0 + w, 0), W - 1) - x0,
        std::min(std::max<int64_t>(x1 + w, 0), W - 1) - x1);
    int64_t ch = std::min(std::min(std::max<int64_t>(y0 + h, 0), H - 1) - y0,
        std::min(std::max<int64_t>(y1 + h, 0), H - 1) - y1);
    if (cw <= 0 || ch <= 0)
        return;
    for (int64_t k = 0; k < ch; ++k)
    {
        int64_t s = (y0 + k) * W + x0;
        int64_t d = (y1 + k) * W + x1;
        std::memmove(&colour[j]->bytes[4 * d], &colour[i]->bytes[4 * s], 4 * cw);
        if (scale == 1.0f)
            std::memmove(&coverage[j]->floats[d], &coverage[i]->floats[s], sizeof(float) * cw);
        else
            for (int64_t n = 0; n < cw; ++n)
                coverage[j]->floats[d + n] = coverage[i]->floats[s + n] * scale;
    }
}

float CPixelCanvas::getCoverage(uint32_t x, uint32_t y) const
{
    if (drawColour == nullptr || drawCoverage == nullptr || x >= drawColour->width || y >= drawColour->height)
        return 0.0f;
    return drawCoverage->floats[x + drawCoverage->width * y];
}
