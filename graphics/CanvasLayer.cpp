#include "graphics/CanvasLayer.h"

std::unique_ptr<CanvasLayer> CanvasLayer::makeColour(uint32_t width, uint32_t height)
{
    auto layer = std::make_unique<CanvasLayer>();
    layer->width = width;
    layer->height = height;
    layer->count = 4 * width * height;
    layer->bytes = std::make_unique<uint8_t[]>(layer->count); // value-initialised: zero
    return layer;
}

std::unique_ptr<CanvasLayer> CanvasLayer::makeCoverage(uint32_t width, uint32_t height)
{
    auto layer = std::make_unique<CanvasLayer>();
    layer->width = width;
    layer->height = height;
    layer->count = width * height;
    layer->floats = std::make_unique<float[]>(layer->count);
    return layer;
}
