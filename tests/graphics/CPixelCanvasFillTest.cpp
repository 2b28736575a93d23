// Canvas area fills and circles.
#include "graphics/CPixelCanvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(FillUnderCurve, StrengthZeroFillsFlatWithHalfCoveredEdges)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    CanvasPoint points[2] = {{2, 10}, {6, 10}};
    canvas.fillUnderCurve(points, 2, 255, 255, 255, 0.0f);
    // The curve lies on layer row 6: rows 7..15 are filled, row 16 lies outside.
    for (uint32_t row = 7; row < 16; ++row)
    {
        EXPECT_EQ(canvas.getCoverage(1, row), 0.5f);
        for (uint32_t col = 2; col <= 6; ++col)
            EXPECT_EQ(canvas.getCoverage(col, row), 1.0f);
        EXPECT_EQ(canvas.getCoverage(7, row), 0.5f);
        EXPECT_EQ(canvas.getCoverage(8, row), 0.0f);
    }
    EXPECT_EQ(canvas.getCoverage(4, 6), 0.0f); // the curve pixel's fraction is 0
}

TEST(FillUnderCurve, StrengthTwoFallsFromOneToPointSix)
{
    CPixelCanvas canvas(10, 10, 1, 1);
    CanvasPoint points[2] = {{2, 10.5f}, {6, 10.5f}}; // above the top: every row is filled
    canvas.fillUnderCurve(points, 2, 255, 255, 255, 2.0f);
    // inner(row) = (1 - row / 10) x 0.4 + 0.6.
    for (uint32_t row = 1; row < 10; ++row)
        EXPECT_NEAR(canvas.getCoverage(4, row), (1.0f - row / 10.0f) * 0.4f + 0.6f, 1e-6) << row;
    EXPECT_NEAR(canvas.getCoverage(1, 5), 0.5f * 0.8f, 1e-6);
    // Row 0 holds the curve (Y = -0.5 clamps to row 0) with fraction 0.5 x k (k = 0.6).
    EXPECT_NEAR(canvas.getCoverage(4, 0), 0.3f, 1e-6);
}

TEST(FillToCentre, MirroredProfileOnAHundredRows)
{
    CPixelCanvas top(20, 100, 1, 1), bottom(20, 100, 1, 1);
    CanvasPoint high[2] = {{2, 100}, {6, 100}};
    CanvasPoint low[2] = {{2, 0}, {6, 0}};
    top.fillToCentre(high, 2, 255, 255, 255, 1.0f);
    bottom.fillToCentre(low, 2, 255, 255, 255, 1.0f);
    EXPECT_NEAR(top.getCoverage(4, 50), 0.3f, 1e-6);
    EXPECT_NEAR(top.getCoverage(4, 1), (1.0f - 1.0f / 50) * 0.2f + 0.3f, 1e-6);
    EXPECT_EQ(top.getCoverage(4, 51), 0.0f);
    EXPECT_NEAR(top.getCoverage(4, 0), 0.3f, 1e-6); // curve pixel: (1 - 0) x k
    EXPECT_NEAR(bottom.getCoverage(4, 50), 0.3f, 1e-6);
    EXPECT_NEAR(bottom.getCoverage(4, 99), (1.0f - 1.0f / 50) * 0.2f + 0.3f, 1e-6);
    EXPECT_EQ(bottom.getCoverage(4, 49), 0.0f);
}

TEST(FillToCentre, DoublePointsNeedFewerPointsThanColumns)
{
    CPixelCanvas canvas(8, 8, 1, 1);
    CanvasPointD points[8] = {};
    for (int i = 0; i < 8; ++i)
        points[i] = {double(i), 8.0};
    canvas.fillToCentre(points, 8, 255, 255, 255);
    EXPECT_EQ(canvas.getCoverage(3, 2), 0.0f);
    canvas.fillToCentre(points, 4, 255, 255, 255);
    EXPECT_EQ(canvas.getCoverage(2, 2), 1.0f);
    EXPECT_EQ(canvas.pointBuffer[3].x, 3.0f);
}

TEST(FillRecorded, RangeOfOneColumnFillsNothing)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    canvas.recordCurve = 1;
    canvas.pointBuffer[3] = {3, 8};
    canvas.pointBuffer[4] = {4, 8};
    canvas.recordedFirst = 3;
    canvas.recordedEnd = 4;
    canvas.fillUnderCurve(nullptr, 0, 255, 255, 255, 0.0f);
    EXPECT_EQ(canvas.getCoverage(3, 12), 0.0f);
    canvas.recordedEnd = 5;
    canvas.fillUnderCurve(nullptr, 0, 255, 255, 255, 0.0f);
    EXPECT_EQ(canvas.getCoverage(3, 12), 1.0f);
    canvas.recordCurve = 0; // not recording: the recorded curve is not used
    CPixelCanvas other(16, 16, 1, 1);
    other.fillUnderCurve(nullptr, 0, 255, 255, 255, 0.0f);
    EXPECT_EQ(other.getCoverage(3, 12), 0.0f);
}

TEST(FillUnderCurve, PairStartingInThePreviousPairsColumnIsSkipped)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    // Second pair starts in column 2 again; drawn, it would fill column 3 from row 3 down.
    CanvasPoint points[3] = {{2, 10}, {3, 10}, {2, 14}};
    canvas.fillUnderCurve(points, 3, 255, 255, 255, 0.0f);
    EXPECT_EQ(canvas.getCoverage(3, 8), 1.0f);
    EXPECT_EQ(canvas.getCoverage(3, 4), 0.0f);
}

TEST(FillSegmentArea, ModeOneFillsFromTheTopDownToTheCurve)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.fillSegmentArea(0, 0, 20, 20, 255, 255, 255, 0.5f, 0, 1, 0.7f, 255);
    // Column c + 1 holds the curve at row 30 - c; every row above it is filled.
    for (int c = 2; c < 18; ++c)
    {
        for (int row = 0; row < 29 - c; ++row)
            ASSERT_GE(canvas.getCoverage(c + 1, row), 0.7f) << c << "," << row;
        EXPECT_EQ(canvas.getCoverage(c + 1, 31), 0.0f);
    }
}

TEST(FillSegmentArea, ModesTwoAndThree)
{
    CPixelCanvas below(32, 32, 1, 1), centre(32, 32, 1, 1);
    below.fillSegmentArea(0, 20, 20, 20, 255, 255, 255, 0.5f, 0, 2, 0.6f, 255);
    centre.fillSegmentArea(0, 28, 20, 28, 255, 255, 255, 0.5f, 0, 3, 0.6f, 255);
    // Flat at picture y 20: row = 12 + 1 = 13; mode 2 fills rows 13..31.
    EXPECT_GE(below.getCoverage(10, 20), 0.6f);
    EXPECT_GE(below.getCoverage(10, 31), 0.6f);
    EXPECT_EQ(below.getCoverage(10, 5), 0.0f);
    // y 28: row 5 < middle row 16: rows 5..15 filled.
    EXPECT_GE(centre.getCoverage(10, 15), 0.6f);
    EXPECT_EQ(centre.getCoverage(10, 16), 0.0f);
}

TEST(FillColumnBand, RowsOutsideThePictureAreClampedBeforeTheProfile)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    float q[4] = {2, 8, -50, 40}; // rows from -24 to 66
    canvas.fillColumnBand(q, 255, 255, 255, 1.0f);
    EXPECT_EQ(q[2], 66.0f); // the caller's array is flipped
    EXPECT_NEAR(canvas.getCoverage(4, 0), 0.3f, 1e-6);
    EXPECT_NEAR(canvas.getCoverage(4, 15), (15.0f / 16) * 0.2f + 0.3f, 1e-6);
    float flat[4] = {2, 8, 5, 5};
    canvas.fillColumnBand(flat, 1, 1, 1, 1.0f); // no height: nothing
}

TEST(FillColumnBand, StrengthZeroIsFlat)
{
    CPixelCanvas canvas(16, 16, 1, 1);
    float q[4] = {2, 8, 4, 12};
    canvas.fillColumnBand(q, 255, 255, 255, 0.0f);
    // Rows 4 .. 11 (y 12 -> row 4, y 4 -> row 12).
    EXPECT_EQ(canvas.getCoverage(5, 4), 1.0f);
    EXPECT_EQ(canvas.getCoverage(5, 11), 1.0f);
    EXPECT_EQ(canvas.getCoverage(1, 8), 0.5f);
}

TEST(Circle, RadiusOneDisc)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.fillCircle(10, 10, 1, 255, 255, 255, 255);
    const uint32_t row = 32 - 11; // centre row: picture y = cy + 1
    EXPECT_FLOAT_EQ(canvas.getCoverage(10, row), 1.0f);
    EXPECT_FLOAT_EQ(canvas.getCoverage(9, row), 0.9f);
    EXPECT_FLOAT_EQ(canvas.getCoverage(11, row), 0.9f);
    EXPECT_FLOAT_EQ(canvas.getCoverage(10, row - 1), 0.9f);
    EXPECT_FLOAT_EQ(canvas.getCoverage(10, row + 1), 0.9f);
    EXPECT_FLOAT_EQ(canvas.getCoverage(9, row - 1), 0.3f);
    EXPECT_FLOAT_EQ(canvas.getCoverage(11, row + 1), 0.3f);
    EXPECT_FLOAT_EQ(canvas.getCoverage(12, row), 0.0f);
}

TEST(Circle, SmallDiscsFollowTheTableAndAlpha)
{
    CPixelCanvas canvas(32, 32, 1, 1);
    canvas.fillCircle(10, 10, 3, 255, 255, 255, 100);
    const uint32_t row = 21;
    const float a = std::sqrt(100.0f / 255.0f);
    EXPECT_NEAR(canvas.getCoverage(10, row), a, 1e-6);
    EXPECT_NEAR(canvas.getCoverage(13, row), 0.95f * a, 1e-6); // entry (0, 3)
    EXPECT_NEAR(canvas.getCoverage(12, row - 2), 0.94f * a, 1e-6); // entry (1, 1)
    EXPECT_EQ(canvas.getCoverage(13, row - 3), 0.0f); // the corner
    canvas.fillCircle(5, 5, 0, 255, 255, 255, 255);
}

TEST(Circle, LargeDiscIsFilledLines)
{
    CPixelCanvas canvas(40, 40, 1, 1);
    canvas.fillCircle(20, 19, 8, 255, 255, 255, 255);
    EXPECT_EQ(canvas.getCoverage(20, 20), 1.0f);
    EXPECT_EQ(canvas.getCoverage(15, 20), 1.0f);
    EXPECT_EQ(canvas.getCoverage(20, 2), 0.0f);
}

TEST(Circle, OutlineNeedsRadiusTwo)
{
    CPixelCanvas one(16, 16, 1, 1), two(16, 16, 1, 1);
    one.drawCircle(8, 8, 1, 255, 255, 255, 255);
    two.drawCircle(8, 8, 2, 255, 255, 255, 255);
    float sumOne = 0, sumTwo = 0;
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x)
        {
            sumOne += one.getCoverage(x, y);
            sumTwo += two.getCoverage(x, y);
        }
    EXPECT_EQ(sumOne, 0.0f);
    EXPECT_GT(sumTwo, 3.0f);
    EXPECT_GT(two.getCoverage(10, 8), 0.0f); // the first vertex (cx + 2, cy), reached again at the end
}

TEST(CurveAndFill, RecordsThenFillsBelow)
{
    CPixelCanvas canvas(40, 40, 1, 1);
    canvas.drawCurveAndFill(2, 5, 14, 20, 255, 255, 255, 0.3f);
    EXPECT_EQ(canvas.recordCurve, 0);
    EXPECT_EQ(canvas.recordedFirst, 2);
    // Filled down to the bottom with strength 0.5: inner = (1 - row / 40) x 0.1 + 0.15.
    EXPECT_NEAR(canvas.getCoverage(8, 38), (1.0f - 38.0f / 40) * 0.1f + 0.15f, 1e-6);
}

TEST(PowerScale, Value)
{
    EXPECT_FLOAT_EQ(CPixelCanvas::powerScale(0.5f, 1.0f, 4.0f), 2.0f);
    EXPECT_FLOAT_EQ(CPixelCanvas::powerScale(1.0f, 2.0f, 8.0f), 8.0f);
}

} // namespace
