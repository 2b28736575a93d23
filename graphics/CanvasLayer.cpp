#include "graphics/CanvasLayer.h"

#include <new>

namespace {

// count x size zero bytes (all-zero floats are 0.0f); throws std::bad_alloc as new does.
void* zeroedMemory(uint32_t count, size_t size)
{
    void* memory = std::calloc(count == 0 ? 1 : count, size);
    if (memory == nullptr)
        throw std::bad_alloc();
    return memory;
}

} // namespace

std::unique_ptr<CanvasLayer> CanvasLayer::makeColour(uint32_t width, uint32_t height)
{
    auto layer = std::make_unique<CanvasLayer>();
    layer->width = width;
    layer->height = height;
    layer->count = 4 * width * height;
    layer->bytes.reset(static_cast<uint8_t*>(zeroedMemory(layer->count, sizeof(uint8_t))));
    return layer;
}

std::unique_ptr<CanvasLayer> CanvasLayer::makeCoverage(uint32_t width, uint32_t height)
{
    auto layer = std::make_unique<CanvasLayer>();
    layer->width = width;
    layer->height = height;
    layer->count = width * height;
    layer->floats.reset(static_cast<float*>(zeroedMemory(layer->count, sizeof(float))));
    return layer;
}
