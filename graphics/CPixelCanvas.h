#pragma once
// CPixelCanvas: the GUI side's software rasteriser. Up to six pairs of layers
// (B, G, R, A bytes beside a float coverage per pixel), an optional background,
// a drawing pair that the drawing operations write, and composition of the
// pairs over a base into a VSTGUI bitmap that the canvas owns.
// Picture coordinates of the drawing calls grow upward from the bottom edge.
// Everything runs on the UI thread.

#include "graphics/CanvasLayer.h"
#include "vstgui/lib/crect.h"
#include "vstgui/lib/vstguifwd.h"

#include <cstdint>
#include <memory>

class CPixelCanvas
{
public:
    static constexpr int kMaxLayers = 6;

    // ---- construction and layers (UI thread) ----
    // Defaults, then allocate(width, height, extraLayers).
    CPixelCanvas(int32_t width, int32_t height, uint8_t supersampling, uint32_t extraLayers);
    // Defaults only: no layer, no buffer, no output.
    explicit CPixelCanvas(uint8_t supersampling = 1);
    // Defaults, then setBitmap(bitmap, extraLayers).
    CPixelCanvas(VSTGUI::CBitmap* bitmap, uint8_t supersampling, uint32_t extraLayers);
    // Releases everything.
    ~CPixelCanvas();
    CPixelCanvas(const CPixelCanvas&) = delete;
    CPixelCanvas& operator=(const CPixelCanvas&) = delete;

    // (Re)makes the layer pairs, buffers and output at |width| x |height|; keeps the background.
    void allocate(int32_t width, int32_t height, uint32_t extraLayers);
    // Drops everything, takes the bitmap's pixels as background and its size.
    void setBitmap(VSTGUI::CBitmap* bitmap, uint32_t extraLayers);
    // Replaces the background by the bitmap's pixels (width rounded down to a multiple of 4).
    void loadBitmapPixels(VSTGUI::CBitmap* bitmap);
    // Frees every layer, buffer and the output; back to the empty state.
    void release();

    // Fills the drawing pair with a colour and coverage 1.0 (grey also sets alpha).
    void clear(uint8_t r, uint8_t g, uint8_t b);
    // Fills the background (made on first use) with an opaque colour.
    void setBackgroundColor(uint8_t r, uint8_t g, uint8_t b);
    // Same with a three-byte colour r, g, b.
    void setBackgroundColor(const uint8_t rgb[3]);
    // Sets every drawing (and 1:1) coverage to value clamped to 0..1; a value that is not finite changes nothing.
    void setCoverage(float value);
    // Composes the pairs over the base into the output; draws it into context at dest when given
    // and finite. A layer pixel whose coverage is not finite leaves the base as it is.
    void compose(VSTGUI::CDrawContext* context, const VSTGUI::CRect& dest);
    // Composes and copies the output into a target bitmap of the canvas's exact size.
    void copyToBitmap(VSTGUI::CBitmap* target);
    // Copies a width x height rectangle at (x, y) of the source into layer 1 or the background.
    void copyRegion(const CPixelCanvas* source, uint32_t x, uint32_t y, int32_t columnLimit, int32_t rowLimit,
        bool fromBackground, bool toBackground);
    // Copies pair i into pair j (both must exist and be the same size).
    void copyLayer(uint32_t i, uint32_t j);
    // Copies a rectangle from pair i to pair j, the coverage scaled by factor (not finite: no copy).
    void copyLayerRect(int32_t i, int32_t j, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h,
        float factor);
    // Coverage of the drawing pair at layer column x, row y; 0.0 outside.
    float getCoverage(uint32_t x, uint32_t y) const;

    // ---- pixel writes (layer column x, row y; out-of-layer writes and coverages that are
    // not finite numbers are dropped) ----
    // Writes colour and coverage unconditionally.
    void plotSet(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float coverage);
    // Writes only where the new coverage is greater than the stored one.
    void plotMax(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float coverage);
    // Writes only where the new coverage is smaller than the stored one.
    void plotMin(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float coverage);
    // Coverage = smaller of the two; colour only where darker.
    void plotDarker(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float coverage);
    // Coverage = greater of the two; colour only where lighter.
    void plotLighter(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float coverage);
    // Colour and truncated coverage combined by XOR.
    void plotXor(uint32_t x, uint32_t y, uint8_t r, uint8_t g, uint8_t b, float coverage);
    // Reads the drawing pixel at layer column x, row y; zeros outside.
    void getPixel(uint32_t x, uint32_t y, uint8_t& r, uint8_t& g, uint8_t& b) const;

    // ---- strokes (picture coordinates, y up) ----
    // The strokes and fills draw nothing when a coordinate, a span between two of them or the
    // shape is not a finite number.
    // Anti-aliased segment or curve (curveType 0 straight, 1 power, 2 bend, 4 mirrored bend).
    void drawSegment(float x0, float y0, float x1, float y1, uint8_t r, uint8_t g, uint8_t b, float shape,
        int32_t curveType, uint8_t fillMode, float fillCoverage, uint8_t alpha);
    // drawSegment from integer end points.
    void drawSegmentInt(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
        float shape, int32_t curveType, uint8_t fillMode, float fillCoverage, uint8_t alpha);
    // Straight anti-aliased line.
    void drawLine(float x0, float y0, float x1, float y1, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // drawLine from each of n points to the next (points may be pointBuffer).
    void drawPolyline(const CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // The same from double points (converted to floats first).
    void drawPolyline(const CanvasPointD* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // Bend curve, no fill.
    void drawCurve(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b, float shape);
    // Power curve with the range reset and fill mode 1.
    void drawPowerCurve(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
        float shape);
    // Mirrored bend curve.
    void drawMirroredCurve(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
        float shape);
    // Aliased line with a square pen of lineWeight pixels.
    void drawLineInt(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // Aliased polyline through n double points, each truncated to integers (saturated to int32).
    void drawLineInt(const CanvasPointD* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // Rectangle outline of four aliased lines.
    void drawRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // One unconditional plot at picture (x, y).
    void plotPoint(int32_t x, int32_t y, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // Filled rectangle; below alpha 250 blended over what is there.
    void fillRect(double left, double top, double right, double bottom, uint8_t r, uint8_t g, uint8_t b,
        uint8_t alpha);

    // ---- area fills and circles ----
    // Integer-stepped curve stroke plus an area fill (fillMode 1 above, 2 below, 3 to the middle row).
    void fillSegmentArea(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
        float shape, int32_t curveType, uint8_t fillMode, float fillCoverage, uint8_t alpha);
    // Fill from the curve through the points (or the recorded curve when null) down to the bottom row.
    void fillUnderCurve(CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, float strength);
    // Fill from the curve to the middle row.
    void fillToCentre(CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, float strength);
    // Same with strength 0.
    void fillToCentre(CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b);
    // Double points, copied into pointBuffer first.
    void fillToCentre(const CanvasPointD* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, float strength);
    // Same with strength 0.
    void fillToCentre(const CanvasPointD* points, int32_t n, uint8_t r, uint8_t g, uint8_t b);
    // Band fill between rows y0 and y1 over columns x0..x1 with an anti-aliased sloped edge; q = {x0, x1, y0, y1}.
    void fillColumnBand(float q[4], uint8_t r, uint8_t g, uint8_t b, float strength);
    // Bend curve recorded and filled below.
    void drawCurveAndFill(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t r, uint8_t g, uint8_t b,
        float shape);
    // Filled anti-aliased disc around picture (cx, cy + 1).
    void fillCircle(int32_t cx, int32_t cy, int32_t radius, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // Circle outline as a closed polygon of 2 radius - 1 sides.
    void drawCircle(int32_t cx, int32_t cy, int32_t radius, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
    // b x (c / b)^a.
    static float powerScale(float a, float b, float c);

    // ---- accessors (UI thread) ----
    // Size of the 1:1 picture in pixels.
    uint32_t getWidth() const { return width; }
    uint32_t getHeight() const { return height; }
    // Supersampling factor of the drawing pair (1: none).
    uint8_t getSupersampling() const { return factor; }
    // Layer pairs in use.
    int32_t getLayerCount() const { return layerCount; }
    // The owned output bitmap (null before allocate); hold a reference to keep it.
    VSTGUI::CBitmap* getOutput() const { return output; }
    // The background, or null without one.
    const CanvasLayer* getBackground() const { return background.get(); }
    // Colour and coverage layer of pair i, or null.
    const CanvasLayer* getColourLayer(int i) const { return i >= 0 && i < kMaxLayers ? colour[i].get() : nullptr; }
    const CanvasLayer* getCoverageLayer(int i) const
    {
        return i >= 0 && i < kMaxLayers ? coverage[i].get() : nullptr;
    }
    // The pair that the drawing operations write.
    CanvasLayer* getDrawingColour() const { return drawColour; }
    CanvasLayer* getDrawingCoverage() const { return drawCoverage; }

    // Reduction of a supersampled drawing: 0 block average, set: 2 x 2 sample with glow.
    uint8_t smoothDownsample = 0;
    // Step along the major axis of a segment, pixels.
    float stepSize = 0.25f;
    // Input of drawPolyline and record of the last curve; drawing width + factor points.
    std::unique_ptr<CanvasPoint[]> pointBuffer;
    // Column range of the last recorded curve.
    int32_t recordedFirst = 0;
    int32_t recordedEnd = 0;
    // While set, the strokes store each drawn column's height in pointBuffer.
    uint8_t recordCurve = 0;
    // Stroke width in pixels, 1..3; other values draw nothing.
    uint8_t lineWeight = 2;

private:
    void resetDefaults(uint8_t supersampling);
    void freeBuffers();
    void freePairs();
    // Drops the canvas's reference on its output bitmap.
    void releaseOutput();
    void blockAverage();
    void sampleWithGlow();
    // Colour bytes of drawing pixel (x, y), its coverage in cover; null outside the drawing pair
    // and when the coverage to write is not a finite number (such a plot leaves the pixel alone).
    uint8_t* drawPixel(uint32_t x, uint32_t y, float coverage, float*& cover) const;
    // One cross-section of a stroke with plotMax: the leading pixel (col, row) at coverage e,
    // lineWeight - 1 inner pixels at a, the trailing pixel at a - e, each (dc, dr) from the last.
    void plotCrossSection(int32_t col, int32_t row, int32_t dc, int32_t dr, uint8_t r, uint8_t g, uint8_t b,
        float e, float a);
    // Curve functions of the column pass (g) and the row pass (h).
    static float curveG(float u, float shape, int32_t curveType);
    static float curveH(float w, float shape, int32_t curveType);
    enum class Profile { Falling, Mirrored, Rising };
    // Writes the fill profile for rows 0..H and answers the edge factor k.
    float makeProfile(Profile profile, float strength);
    void fillRow(int32_t col, int32_t row, uint8_t r, uint8_t g, uint8_t b);
    void fillCurveColumns(CanvasPoint* points, int32_t n, uint8_t r, uint8_t g, uint8_t b, float strength,
        bool toCentre);

    uint32_t width = 0;
    uint32_t height = 0;
    VSTGUI::CBitmap* output = nullptr;
    CanvasLayer* drawColour = nullptr;
    CanvasLayer* oneColour = nullptr;
    CanvasLayer* drawCoverage = nullptr;
    CanvasLayer* oneCoverage = nullptr;
    std::unique_ptr<CanvasLayer> background;
    std::unique_ptr<CanvasLayer> colour[kMaxLayers];
    std::unique_ptr<CanvasLayer> coverage[kMaxLayers];
    int32_t layerCount = 1;
    std::unique_ptr<float[]> fillInner; // coverage of the filled columns per layer row
    std::unique_ptr<float[]> fillEdge; // coverage of the two flanking columns per layer row
    uint32_t profileSize = 0;
    uint32_t pointCount = 0;
    uint8_t factor = 1;
};
