#pragma once
// One pixel buffer of a CPixelCanvas: either a colour layer of B, G, R, A bytes
// (4 per pixel, row 0 at the top) or a coverage layer of one float per pixel.
// Owned by the canvas that holds it; UI thread.

#include <cstdint>
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
    std::unique_ptr<uint8_t[]> bytes; // colour layer only
    std::unique_ptr<float[]> floats; // coverage layer only
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
