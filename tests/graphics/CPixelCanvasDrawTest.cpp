// Canvas pixel writes, anti-aliased segments and aliased lines.
#include "graphics/CPixelCanvas.h"

#include "CaseName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace {

// Layer (column, row) pairs whose coverage is above zero.
std::set<std::pair<uint32_t, uint32_t>> covered(const CPixelCanvas& canvas)
{
    std::set<std::pair<uint32_t, uint32_t>> out;
    const CanvasLayer* layer = canvas.getDrawingColour();
    for (uint32_t y = 0; y < layer->height; ++y)
        for (uint32_t x = 0; x < layer->width; ++x)
            if (canvas.getCoverage(x, y) > 0.0f)
                out.insert({x, y});
    return out;
}

struct WeightCase
{
    uint8_t weight;
    uint32_t firstRow; // rows firstRow..lastRow get coverage 1.0
    uint32_t lastRow;
    uint32_t lastColumn;
};

class HorizontalSegment : public ::testing::TestWithParam<WeightCase> {};

TEST_P(HorizontalSegment, ExactCoverage)
{
    const WeightCase& c = GetParam();
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.lineWeight = c.weight;
    canvas.drawSegment(0, 10, 20, 10, 255, 255, 255, 0, 0, 0, 0, 255);
    auto cells = covered(canvas);
    if (c.lastRow < c.firstRow)
    {
        EXPECT_TRUE(cells.empty());
        return;
    }
    std::set<std::pair<uint32_t, uint32_t>> expected;
    for (uint32_t row = c.firstRow; row <= c.lastRow; ++row)
        for (uint32_t col = 0; col <= c.lastColumn; ++col)
            expected.insert({col, row});
    EXPECT_EQ(cells, expected);
    for (auto [x, y] : cells)
        EXPECT_EQ(canvas.getCoverage(x, y), 1.0f);
}

// y = 10 is layer row 22; weight 1 samples at pixel centres (x + 0.5), so reaches column 20.
INSTANTIATE_TEST_SUITE_P(Weights, HorizontalSegment,
    ::testing::Values(WeightCase{1, 22, 22, 20}, WeightCase{2, 21, 22, 19}, WeightCase{3, 20, 22, 19},
        WeightCase{0, 1, 0, 0}, WeightCase{4, 1, 0, 0}),
    [](const ::testing::TestParamInfo<WeightCase>& info) {
        return caseName(info.index, "weight", int(info.param.weight));
    });

TEST(Segment, AlphaBelow250TakesTheSquareRoot)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.drawSegment(2, 10, 10, 10, 1, 2, 3, 0, 0, 0, 0, 249);
    EXPECT_NEAR(canvas.getCoverage(5, 22), std::sqrt(249.0f / 255.0f), 1e-6);
    EXPECT_NEAR(canvas.getCoverage(5, 22), 0.988f, 1e-3);
    CPixelCanvas full(32, 32, 1, 1);
    full.drawSegment(2, 10, 10, 10, 1, 2, 3, 0, 0, 0, 0, 250);
    EXPECT_EQ(full.getCoverage(5, 22), 1.0f);
    uint8_t r, g, b;
    full.getPixel(5, 22, r, g, b);
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 2);
    EXPECT_EQ(b, 3);
}

TEST(Segment, ShortSegmentStartsAtItsFirstSample)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.drawSegment(2, 10, 10, 10, 255, 255, 255, 0, 0, 0, 0, 255);
    EXPECT_EQ(canvas.getCoverage(2, 22), 1.0f);
    EXPECT_EQ(canvas.getCoverage(9, 22), 1.0f);
    EXPECT_EQ(canvas.getCoverage(10, 22), 0.0f);
    EXPECT_EQ(canvas.getCoverage(1, 22), 0.0f);
}

TEST(Segment, LeftOfTheCanvasDrawsNothingAndACrossingOneItsVisiblePart)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.drawSegment(-20, 10, -1, 12, 255, 255, 255, 0, 0, 0, 0, 255);
    canvas.drawSegment(40, 10, 33, 20, 255, 255, 255, 0, 0, 0, 0, 255);
    EXPECT_TRUE(covered(canvas).empty());
    canvas.drawSegment(-10, 10, 5, 10, 255, 255, 255, 0, 0, 0, 0, 255);
    auto cells = covered(canvas);
    EXPECT_FALSE(cells.empty());
    for (auto [x, y] : cells)
        EXPECT_LE(x, 4u);
}

TEST(Segment, SteepSegmentIsDrawnByTheRowPass)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.drawSegment(10, 2, 11, 28, 255, 255, 255, 0, 0, 0, 0, 255);
    // Every row the segment spans has ink near column 10.
    for (uint32_t row = 5; row <= 28; ++row)
    {
        float sum = 0;
        for (uint32_t x = 7; x <= 13; ++x)
            sum += canvas.getCoverage(x, row);
        EXPECT_GT(sum, 0.9f) << "row " << row;
    }
}

TEST(Segment, LongWeightOneCurveGoesToTheAreaFill)
{
    for (int span : {16, 17})
    {
        CPixelCanvas canvas(40, 40, 1, 1);
        canvas.lineWeight = 1;
        canvas.recordCurve = 1;
        canvas.drawSegment(2, 5, float(2 + span), 12, 255, 255, 255, 0.3f, 2, 0, 0, 255);
        // The area fill records nothing; the segment itself records its column range.
        if (span == 16)
        {
            EXPECT_EQ(canvas.recordedFirst, 2);
            EXPECT_EQ(canvas.recordedEnd, 18);
        }
        else
        {
            EXPECT_EQ(canvas.recordedEnd, 0);
        }
        EXPECT_FALSE(covered(canvas).empty());
    }
    // A straight segment of the same length stays here.
    CPixelCanvas straight(40, 40, 1, 1);
    straight.lineWeight = 1;
    straight.drawSegment(2, 5, 19, 12, 255, 255, 255, 0.3f, 0, 0, 0, 255);
    EXPECT_EQ(straight.recordedEnd, 19);
}

TEST(Segment, UnknownWeightDrawsNothingButRecords)
{
    for (uint8_t weight : {0, 4})
    {
        CPixelCanvas canvas(32, 32, 1, 1);
        canvas.lineWeight = weight;
        canvas.recordCurve = 1;
        canvas.drawSegment(2, 10, 10, 12, 255, 255, 255, 0, 0, 0, 0, 255);
        EXPECT_TRUE(covered(canvas).empty());
        EXPECT_EQ(canvas.recordedFirst, 2);
        EXPECT_EQ(canvas.recordedEnd, 10);
        EXPECT_EQ(canvas.pointBuffer[5].x, 5.0f);
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
}

TEST(Segment, BendCurveSagsBelowTheChord)
{
    CPixelCanvas canvas(40, 40, 1, 1);
    canvas.recordCurve = 1;
    canvas.drawSegment(0, 0, 16, 16, 255, 255, 255, 0.1f, 2, 0, 0, 255);
    // u^e(0.1) with e < 1 rises fast: at the middle the curve is well above the chord.
    EXPECT_GT(canvas.pointBuffer[8].y, 10.0f);
}

struct PlotCase
{
    const char* name;
    void (CPixelCanvas::*plot)(uint32_t, uint32_t, uint8_t, uint8_t, uint8_t, float);
    float given;
    float coverage;
    uint8_t red;
};

class Plots : public ::testing::TestWithParam<PlotCase> {};

TEST_P(Plots, MeetTheStoredPixel)
{
    const PlotCase& c = GetParam();
    CPixelCanvas canvas(4, 4, 1, 1);
    canvas.plotSet(1, 1, 100, 100, 100, 0.5f);
    (canvas.*c.plot)(1, 1, c.given > 0.6f ? 200 : 50, c.given > 0.6f ? 200 : 50, c.given > 0.6f ? 200 : 50, c.given);
    uint8_t r, g, b;
    canvas.getPixel(1, 1, r, g, b);
    EXPECT_FLOAT_EQ(canvas.getCoverage(1, 1), c.coverage) << c.name;
    EXPECT_EQ(r, c.red) << c.name;
    (canvas.*c.plot)(4, 1, 1, 1, 1, 1.0f); // outside: dropped
    (canvas.*c.plot)(uint32_t(-1), 0, 1, 1, 1, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(Rules, Plots,
    ::testing::Values(PlotCase{"max equal", &CPixelCanvas::plotMax, 0.5f, 0.5f, 100},
        PlotCase{"max greater", &CPixelCanvas::plotMax, 0.7f, 0.7f, 200},
        PlotCase{"max smaller", &CPixelCanvas::plotMax, 0.3f, 0.5f, 100},
        PlotCase{"min smaller", &CPixelCanvas::plotMin, 0.3f, 0.3f, 50},
        PlotCase{"min greater", &CPixelCanvas::plotMin, 0.7f, 0.5f, 100},
        PlotCase{"darker", &CPixelCanvas::plotDarker, 0.3f, 0.3f, 50},
        PlotCase{"darker not", &CPixelCanvas::plotDarker, 0.7f, 0.5f, 100},
        PlotCase{"lighter", &CPixelCanvas::plotLighter, 0.7f, 0.7f, 200},
        PlotCase{"lighter not", &CPixelCanvas::plotLighter, 0.3f, 0.5f, 100},
        PlotCase{"xor", &CPixelCanvas::plotXor, 1.0f, 1.0f, 100 ^ 200},
        PlotCase{"set", &CPixelCanvas::plotSet, 0.3f, 0.3f, 50}),
    [](const ::testing::TestParamInfo<PlotCase>& info) { return caseName(info.index, info.param.name); });

TEST(LineInt, WeightThreeDrawsASquarePen)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    canvas.lineWeight = 3;
    canvas.drawLineInt(5, 5, 5, 5, 9, 9, 9, 255);
    std::set<std::pair<uint32_t, uint32_t>> expected;
    for (uint32_t x = 5; x < 8; ++x)
        for (uint32_t y = 10; y < 13; ++y) // row = 16 - 5 - 1 = 10
            expected.insert({x, y});
    EXPECT_EQ(covered(canvas), expected);
}

TEST(LineInt, ClipsAtTheLeftEdgeAndRecordsTheRange)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    canvas.lineWeight = 1;
    canvas.drawLineInt(-4, 0, 4, 8, 9, 9, 9, 128);
    EXPECT_EQ(canvas.recordedFirst, 0);
    EXPECT_EQ(canvas.recordedEnd, 4);
    // The clipped start is (0, 4): layer row 16 - 4 - 1 = 11.
    EXPECT_NEAR(canvas.getCoverage(0, 11), 128.0f / 255.0f, 1e-6);
    EXPECT_EQ(canvas.getCoverage(4, 7), canvas.getCoverage(0, 11));
}

TEST(LineInt, RectangleHasFourSides)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    canvas.lineWeight = 1;
    canvas.drawRect(2, 2, 6, 5, 9, 9, 9, 255);
    EXPECT_EQ(covered(canvas).size(), 14u); // 5 x 4 outline
}

TEST(Point, AtYZeroFallsOutsideTheLayer)
{
    CPixelCanvas canvas(8, 8, 1, 1);
    canvas.plotPoint(3, 0, 1, 2, 3, 255);
    EXPECT_TRUE(covered(canvas).empty());
    canvas.plotPoint(3, 1, 1, 2, 3, 100);
    EXPECT_NEAR(canvas.getCoverage(3, 7), 100.0f / 255.0f, 1e-6);
    canvas.plotPoint(3, 2, 1, 2, 3, 254);
    EXPECT_EQ(canvas.getCoverage(3, 6), 1.0f);
}

TEST(FillRect, OpaqueSetsAndTranslucentBlends)
{
    CPixelCanvas canvas(8, 8, 1, 1);
    canvas.fillRect(1, 1, 3, 4, 200, 100, 0, 255);
    // Columns 1..3 inclusive, rows from 8 - 4 = 4 up to (not including) 8 - 1 = 7.
    EXPECT_EQ(covered(canvas).size(), 9u);
    EXPECT_EQ(canvas.getCoverage(1, 4), 1.0f);
    EXPECT_EQ(canvas.getCoverage(3, 6), 1.0f);
    EXPECT_EQ(canvas.getCoverage(3, 7), 0.0f);
    canvas.fillRect(1, 1, 3, 4, 0, 0, 0, 51); // a = 0.2
    uint8_t r, g, b;
    canvas.getPixel(2, 5, r, g, b);
    EXPECT_EQ(r, 160);
    EXPECT_EQ(g, 80);
    EXPECT_EQ(canvas.getCoverage(2, 5), 1.0f);
    canvas.fillRect(5, 5, 5, 6, 1, 1, 1, 255); // zero width: nothing
    EXPECT_EQ(canvas.getCoverage(5, 2), 0.0f);
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
    EXPECT_EQ(canvas.getCoverage(6, 27), 1.0f);
    CanvasPointD points[2] = {{2.0, 25.0}, {12.0, 25.0}};
    canvas.drawPolyline(points, 2, 255, 255, 255, 255);
    EXPECT_EQ(canvas.getCoverage(6, 7), 1.0f);
}

TEST(Supersampling, CoordinatesAreMultiplied)
{
    CPixelCanvas canvas(16, 16, 2, 1);
    canvas.drawSegment(2, 5, 6, 5, 255, 255, 255, 0, 0, 0, 0, 255);
    // y = 5 is supersampled row 32 - 10 = 22; columns 4..11.
    EXPECT_EQ(canvas.getCoverage(4, 22), 1.0f);
    EXPECT_EQ(canvas.getCoverage(11, 22), 1.0f);
    EXPECT_EQ(canvas.getCoverage(12, 22), 0.0f);
}

TEST(Segment, FarOutsideCoordinatesAreSafe)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    canvas.drawSegment(-1e9f, -1e9f, 1e9f, 1e9f, 255, 255, 255, 0, 0, 0, 0, 255);
    canvas.drawLineInt(-2000000000, -2000000000, 2000000000, 2000000000, 1, 1, 1, 255);
    canvas.fillRect(-1e300, -1e300, 1e300, 1e300, 1, 1, 1, 255);
    SUCCEED();
}

} // namespace
