// Canvas pixel writes, anti-aliased segments and aliased lines.
#include "PixelHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testing_helpers;

namespace {

using Cells = std::set<std::pair<uint32_t, uint32_t>>;

// Every cell of columns x0..x1 by rows y0..y1.
Cells block(uint32_t x0, uint32_t x1, uint32_t y0, uint32_t y1)
{
    Cells cells;
    for (uint32_t y = y0; y <= y1; ++y)
        for (uint32_t x = x0; x <= x1; ++x)
            cells.insert({x, y});
    return cells;
}

struct StrokeCase
{
    uint8_t weight, factor;
    float x0, x1; // at picture y 10 / factor
    uint8_t alpha;
    uint32_t firstColumn, lastColumn, firstRow, lastRow;
    float coverage;
};

class HorizontalSegment : public ::testing::TestWithParam<StrokeCase> {};

TEST_P(HorizontalSegment, CoversExactlyItsPixels)
{
    const StrokeCase& c = GetParam();
    CPixelCanvas canvas(32 / c.factor, 32 / c.factor, c.factor, 1);
    canvas.lineWeight = c.weight;
    const float y = 10.0f / c.factor; // layer row 22
    canvas.drawSegment(c.x0, y, c.x1, y, 1, 2, 3, 0, 0, 0, 0, c.alpha);
    const Cells cells = covered(canvas);
    EXPECT_EQ(cells, block(c.firstColumn, c.lastColumn, c.firstRow, c.lastRow));
    for (auto [x, y] : cells)
        EXPECT_FLOAT_EQ(canvas.getCoverage(x, y), c.coverage);
    EXPECT_EQ(rgbAt(canvas, c.firstColumn, c.lastRow), std::tuple(1, 2, 3));
}

// Weight 1 samples at pixel centres (x + 0.5), so reaches the end column; alpha below 250
// covers by its square root.
INSTANTIATE_TEST_SUITE_P(Weights, HorizontalSegment,
    ::testing::Values(StrokeCase{1, 1, 0, 20, 255, 0, 20, 22, 22, 1.0f}, StrokeCase{2, 1, 0, 20, 255, 0, 19, 21, 22, 1.0f},
        StrokeCase{3, 1, 0, 20, 255, 0, 19, 20, 22, 1.0f}, StrokeCase{2, 1, 2, 10, 255, 2, 9, 21, 22, 1.0f},
        StrokeCase{2, 1, 2, 10, 250, 2, 9, 21, 22, 1.0f},
        StrokeCase{2, 1, 2, 10, 249, 2, 9, 21, 22, std::sqrt(249.0f / 255.0f)},
        StrokeCase{2, 2, 2, 6, 255, 4, 11, 21, 22, 1.0f}));

TEST(Segment, LeftOfTheCanvasDrawsNothingAndACrossingOneItsVisiblePart)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.drawSegment(-20, 10, -1, 12, 255, 255, 255, 0, 0, 0, 0, 255);
    canvas.drawSegment(40, 10, 33, 20, 255, 255, 255, 0, 0, 0, 0, 255);
    EXPECT_TRUE(covered(canvas).empty());
    canvas.drawSegment(-10, 10, 5, 10, 255, 255, 255, 0, 0, 0, 0, 255);
    const Cells cells = covered(canvas);
    EXPECT_FALSE(cells.empty());
    for (auto [x, y] : cells)
        EXPECT_LE(x, 4u);
}

TEST(Segment, SteepSegmentCoversEveryRow)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.drawSegment(10, 2, 11, 28, 255, 255, 255, 0, 0, 0, 0, 255);
    for (uint32_t row = 5; row <= 28; ++row)
    {
        float sum = 0;
        for (uint32_t x = 7; x <= 13; ++x)
            sum += canvas.getCoverage(x, row);
        EXPECT_GT(sum, 0.9f) << "row " << row;
    }
}

TEST(Segment, LongOnePixelCurveGoesToTheAreaFillAndUnknownWeightsOnlyRecord)
{
    for (int span : {16, 17})
    {
        CPixelCanvas canvas(40, 40, 1, 1);
        canvas.lineWeight = 1;
        canvas.recordCurve = 1;
        canvas.drawSegment(2, 5, float(2 + span), 12, 255, 255, 255, 0.3f, 2, 0, 0, 255);
        // The area fill records nothing; the segment itself records its column range.
        EXPECT_EQ(canvas.recordedEnd, span == 16 ? 18 : 0);
        EXPECT_FALSE(covered(canvas).empty());
    }
    CPixelCanvas straight(40, 40, 1, 1); // a straight segment of the same length stays here
    straight.lineWeight = 1;
    straight.drawSegment(2, 5, 19, 12, 255, 255, 255, 0.3f, 0, 0, 0, 255);
    EXPECT_EQ(straight.recordedEnd, 19);
    for (uint8_t weight : {0, 4})
    {
        CPixelCanvas canvas(32, 32, 1, 1);
        canvas.lineWeight = weight;
        canvas.recordCurve = 1;
        canvas.drawSegment(2, 10, 10, 12, 255, 255, 255, 0, 0, 0, 0, 255);
        EXPECT_TRUE(covered(canvas).empty());
        EXPECT_EQ(std::tuple(canvas.recordedFirst, canvas.recordedEnd, canvas.pointBuffer[5].x), std::tuple(2, 10, 5.0f));
        EXPECT_GT(canvas.pointBuffer[5].y, 9.0f);
    }
}

TEST(Segment, ShapeOneHalfIsAStraightLine)
{
    for (int type : {1, 2, 4})
    {
        CPixelCanvas straight(40, 40, 1, 1), curve(40, 40, 1, 1);
        straight.drawSegment(3, 4, 15, 13, 255, 255, 255, 0, 0, 0, 0, 255);
        curve.drawSegment(3, 4, 15, 13, 255, 255, 255, 0.5f, type, 0, 0, 255);
        for (uint32_t y = 0; y < 40; ++y)
            for (uint32_t x = 0; x < 40; ++x)
                ASSERT_NEAR(curve.getCoverage(x, y), straight.getCoverage(x, y), 2e-3) << type;
    }
    // A long steep one-pixel curve is drawn by the area fill, row by row: it still lies on
    // the straight segment.
    CPixelCanvas straight(24, 24, 1, 1), curve(24, 24, 1, 1);
    straight.lineWeight = curve.lineWeight = 1;
    straight.drawSegment(4, 2, 10, 22, 255, 255, 255, 0.5f, 0, 0, 0, 255);
    curve.drawSegment(4, 2, 10, 22, 255, 255, 255, 0.5f, 2, 0, 0, 255);
    for (uint32_t row = 2; row <= 20; ++row)
        EXPECT_NEAR(inkCentre(curve, row), inkCentre(straight, row), 1.0f) << "row " << row;
}

TEST(Segment, BendCurveRisesAboveTheChord)
{
    CPixelCanvas canvas(40, 40, 1, 1);
    canvas.recordCurve = 1;
    canvas.drawSegment(0, 0, 16, 16, 255, 255, 255, 0.1f, 2, 0, 0, 255);
    EXPECT_GT(canvas.pointBuffer[8].y, 10.0f); // u^e with e < 1 rises fast
    for (auto [x, y] : covered(canvas)) // every pixel of the middle lies above the chord
        EXPECT_TRUE(x < 4 || x > 12 || 40 - y > x) << x << "," << y;
}

struct PlotCase
{
    void (CPixelCanvas::*plot)(uint32_t, uint32_t, uint8_t, uint8_t, uint8_t, float);
    float given;
    float coverage;
    int red;
};

class Plots : public ::testing::TestWithParam<PlotCase> {};

TEST_P(Plots, MeetTheStoredPixel)
{
    // Stored: red 100 at 0.5; given: red 200 above 0.6, else 50.
    const PlotCase& c = GetParam();
    CPixelCanvas canvas(4, 4, 1, 1);
    canvas.plotSet(1, 1, 100, 100, 100, 0.5f);
    const uint8_t v = c.given > 0.6f ? 200 : 50;
    (canvas.*c.plot)(1, 1, v, v, v, c.given);
    (canvas.*c.plot)(4, 1, 1, 1, 1, 1.0f); // outside: dropped
    (canvas.*c.plot)(uint32_t(-1), 0, 1, 1, 1, 1.0f);
    EXPECT_EQ(std::tuple(canvas.getCoverage(1, 1), std::get<0>(rgbAt(canvas, 1, 1))), std::tuple(c.coverage, c.red));
}

INSTANTIATE_TEST_SUITE_P(Rules, Plots,
    ::testing::Values(PlotCase{&CPixelCanvas::plotMax, 0.5f, 0.5f, 100}, PlotCase{&CPixelCanvas::plotMax, 0.7f, 0.7f, 200},
        PlotCase{&CPixelCanvas::plotMax, 0.3f, 0.5f, 100}, PlotCase{&CPixelCanvas::plotMin, 0.3f, 0.3f, 50},
        PlotCase{&CPixelCanvas::plotMin, 0.7f, 0.5f, 100}, PlotCase{&CPixelCanvas::plotDarker, 0.3f, 0.3f, 50},
        PlotCase{&CPixelCanvas::plotDarker, 0.7f, 0.5f, 100}, PlotCase{&CPixelCanvas::plotLighter, 0.7f, 0.7f, 200},
        PlotCase{&CPixelCanvas::plotLighter, 0.3f, 0.5f, 100}, PlotCase{&CPixelCanvas::plotXor, 1.0f, 1.0f, 100 ^ 200},
        PlotCase{&CPixelCanvas::plotSet, 0.3f, 0.3f, 50}));

TEST(LineInt, SquarePenRectangleAndLeftClip)
{
    CPixelCanvas pen(16, 16, 1, 1), rect(16, 16, 1, 1), clipped(16, 16, 1, 1);
    pen.lineWeight = 3;
    pen.drawLineInt(5, 5, 5, 5, 9, 9, 9, 255);
    EXPECT_EQ(covered(pen), block(5, 7, 10, 12)); // row 16 - 5 - 1 = 10
    rect.lineWeight = 1;
    rect.drawRect(2, 2, 6, 5, 9, 9, 9, 255);
    EXPECT_EQ(covered(rect).size(), 14u); // 5 x 4 outline
    clipped.lineWeight = 1;
    clipped.drawLineInt(-4, 0, 4, 8, 9, 9, 9, 128);
    EXPECT_EQ(std::tuple(clipped.recordedFirst, clipped.recordedEnd), std::tuple(0, 4));
    // The clipped start is (0, 4): layer row 16 - 4 - 1 = 11.
    EXPECT_FLOAT_EQ(clipped.getCoverage(0, 11), 128.0f / 255.0f);
    EXPECT_EQ(clipped.getCoverage(4, 7), clipped.getCoverage(0, 11));
}

TEST(Point, AtYZeroFallsOutsideTheLayer)
{
    CPixelCanvas canvas(8, 8, 1, 1);
    canvas.plotPoint(3, 0, 1, 2, 3, 255);
    EXPECT_TRUE(covered(canvas).empty());
    canvas.plotPoint(3, 1, 1, 2, 3, 100);
    EXPECT_FLOAT_EQ(canvas.getCoverage(3, 7), 100.0f / 255.0f);
    canvas.plotPoint(3, 2, 1, 2, 3, 254);
    EXPECT_EQ(canvas.getCoverage(3, 6), 1.0f);
}

TEST(FillRect, OpaqueSetsAndTranslucentBlends)
{
    CPixelCanvas canvas(8, 8, 1, 1);
    canvas.fillRect(1, 1, 3, 4, 200, 100, 0, 255);
    canvas.fillRect(5, 5, 5, 6, 1, 1, 1, 255); // zero width: nothing
    // Columns 1..3 inclusive, rows from 8 - 4 = 4 up to (not including) 8 - 1 = 7.
    EXPECT_EQ(covered(canvas), block(1, 3, 4, 6));
    canvas.fillRect(1, 1, 3, 4, 0, 0, 0, 51); // a = 0.2
    EXPECT_EQ(std::tuple(rgbAt(canvas, 2, 5), canvas.getCoverage(2, 5)), std::tuple(std::tuple(160, 80, 0), 1.0f));
}

TEST(Polyline, NeedsTwoPointsAndAcceptsThePointBuffer)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.pointBuffer[0] = {2, 5};
    canvas.drawPolyline(canvas.pointBuffer.get(), 1, 255, 255, 255, 255);
    EXPECT_TRUE(covered(canvas).empty());
    canvas.pointBuffer[1] = {12, 5};
    canvas.pointBuffer[2] = {12, 20};
    canvas.drawPolyline(canvas.pointBuffer.get(), 3, 255, 255, 255, 255);
    CanvasPointD points[2] = {{2.0, 25.0}, {12.0, 25.0}};
    canvas.drawPolyline(points, 2, 255, 255, 255, 255);
    EXPECT_EQ(std::tuple(canvas.getCoverage(6, 27), canvas.getCoverage(6, 7)), std::tuple(1.0f, 1.0f));
}

TEST(Segment, FarOutsideCoordinatesAreSafe)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    canvas.drawSegment(-1e9f, -1e9f, 1e9f, 1e9f, 255, 255, 255, 0, 0, 0, 0, 255);
    canvas.drawLineInt(-2000000000, -2000000000, 2000000000, 2000000000, 1, 1, 1, 255);
    canvas.fillRect(-1e300, -1e300, 1e300, 1e300, 1, 1, 1, 255);
}

} // namespace
