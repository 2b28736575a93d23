#pragma once
// One pixel buffer of a CPixelCanvas: either a colour layer of B, G, R, A bytes
// (4 per pixel, row 0 at the top) or a coverage layer of one float per pixel.
// Owned by the canvas that holds it; UI thread.

#include <cstdint>
#include <cstdlib>
#include <memory>

struct CanvasLayer
{
    // Colour layer of width x height pixels, all bytes 0.
    static std::unique_ptr<CanvasLayer> makeColour(uint32_t width, uint32_t height);
    // Coverage layer of width x height floats, all 0.0.
    static std::unique_ptr<CanvasLayer> makeCoverage(uint32_t width, uint32_t height);

    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t count = 0; // elements: bytes of a colour layer, floats of a coverage layer
    // Zeroed memory from calloc: a large layer gets fresh pages from the system that
    // cost nothing until first written, so layers a canvas never draws into stay free.
    struct FreeMemory
    {
        void operator()(void* memory) const { std::free(memory); }
    };
    std::unique_ptr<uint8_t[], FreeMemory> bytes; // colour layer only
    std::unique_ptr<float[], FreeMemory> floats; // coverage layer only
};

// One (x, y) point of a polyline or of a recorded curve.
struct CanvasPoint
{
    float x;
    float y;
};

// The same in double precision, for the double forms of the drawing calls.
struct CanvasPointD
{
    double x;
    double y;
};
