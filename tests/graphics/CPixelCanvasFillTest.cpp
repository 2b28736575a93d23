// Canvas area fills and circles: the coverage they leave, probed pixel by pixel.
#include "PixelHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace testing_helpers;

namespace {

struct Probe
{
    uint32_t x, y; // layer column and row
    float coverage;
};

struct FillCase
{
    const char* name;
    int32_t width, height;
    std::function<void(CPixelCanvas&)> draw;
    std::vector<Probe> probes;
};

class Fills : public ::testing::TestWithParam<FillCase> {};

TEST_P(Fills, LeaveTheirCoverage)
{
    const FillCase& c = GetParam();
    CPixelCanvas canvas(c.width, c.height, 1, 1);
    c.draw(canvas);
    for (const Probe& p : c.probes)
        EXPECT_NEAR(canvas.getCoverage(p.x, p.y), p.coverage, 1e-6) << c.name << " at " << p.x << ", " << p.y;
}

CanvasPoint flat[2] = {{2, 10}, {6, 10}};
CanvasPoint aboveTop[2] = {{2, 10.5f}, {6, 10.5f}}; // every row filled; the curve clamps to row 0
CanvasPoint top[2] = {{2, 100}, {6, 100}};
CanvasPoint bottom[2] = {{2, 0}, {6, 0}};
CanvasPoint backwards[3] = {{2, 10}, {3, 10}, {2, 14}}; // the second pair starts in column 2 again
const float alpha100 = std::sqrt(100.0f / 255.0f);

INSTANTIATE_TEST_SUITE_P(Table, Fills,
    ::testing::Values(
        // Strength 0: flat, the flanking columns half covered; the curve on row 6 (fraction 0).
        FillCase{"underFlat", 16, 16, [](CPixelCanvas& c) { c.fillUnderCurve(flat, 2, 255, 255, 255, 0.0f); },
            {{1, 7, 0.5f}, {2, 7, 1}, {6, 15, 1}, {7, 15, 0.5f}, {1, 12, 0.5f}, {8, 12, 0}, {4, 6, 0}}},
        // Strength 2: (1 - row / 10) x 0.4 + 0.6, edges half that, curve 0.5 x k (k = 0.6).
        FillCase{"underStrong", 10, 10, [](CPixelCanvas& c) { c.fillUnderCurve(aboveTop, 2, 255, 255, 255, 2.0f); },
            {{4, 1, 0.96f}, {4, 5, 0.8f}, {4, 9, 0.64f}, {1, 5, 0.4f}, {4, 0, 0.3f}}},
        FillCase{"skipsRepeatedColumn", 16, 16, [](CPixelCanvas& c) { c.fillUnderCurve(backwards, 3, 255, 255, 255, 0.0f); },
            {{3, 8, 1}, {3, 4, 0}}},
        // Mirrored profile, 0.3 at the middle row, rising to 0.5 at the top and bottom.
        FillCase{"centreFromTop", 20, 100, [](CPixelCanvas& c) { c.fillToCentre(top, 2, 255, 255, 255, 1.0f); },
            {{4, 50, 0.3f}, {4, 1, 0.496f}, {4, 51, 0}, {4, 0, 0.3f}}},
        FillCase{"centreFromBottom", 20, 100, [](CPixelCanvas& c) { c.fillToCentre(bottom, 2, 255, 255, 255, 1.0f); },
            {{4, 50, 0.3f}, {4, 99, 0.496f}, {4, 49, 0}}},
        // Rows -24 to 66 are clamped to the picture before they index the rising profile.
        FillCase{"bandClamped", 16, 16,
            [](CPixelCanvas& c) {
                float q[4] = {2, 8, -50, 40};
                c.fillColumnBand(q, 255, 255, 255, 1.0f);
                float none[4] = {2, 8, 5, 5}; // no height: nothing
                c.fillColumnBand(none, 1, 1, 1, 1.0f);
            },
            {{4, 0, 0.3f}, {4, 15, 0.4875f}}},
        FillCase{"bandFlat", 16, 16,
            [](CPixelCanvas& c) {
                float q[4] = {2, 8, 4, 12};
                c.fillColumnBand(q, 255, 255, 255, 0.0f);
            },
            {{5, 4, 1}, {5, 11, 1}, {1, 8, 0.5f}, {5, 3, 0}}},
        // Flat at picture y 20 (row 13): mode 2 fills down to the bottom; at y 28 (row 5)
        // mode 3 fills down to the middle row.
        FillCase{"segmentBelow", 32, 32,
            [](CPixelCanvas& c) { c.fillSegmentArea(0, 20, 20, 20, 255, 255, 255, 0.5f, 0, 2, 0.6f, 255); },
            {{10, 20, 0.6f}, {10, 31, 0.6f}, {10, 5, 0}}},
        FillCase{"segmentToCentre", 32, 32,
            [](CPixelCanvas& c) { c.fillSegmentArea(0, 28, 20, 28, 255, 255, 255, 0.5f, 0, 3, 0.6f, 255); },
            {{10, 15, 0.6f}, {10, 16, 0}}},
        FillCase{"segmentAbove", 32, 32,
            [](CPixelCanvas& c) { c.fillSegmentArea(0, 0, 20, 20, 255, 255, 255, 0.5f, 0, 1, 0.7f, 255); },
            {{3, 0, 0.7f}, {3, 26, 0.7f}, {17, 12, 0.7f}, {10, 31, 0}}},
        // Recorded bend curve filled below at strength 0.5: (1 - row / 40) x 0.1 + 0.15.
        FillCase{"curveAndFill", 40, 40, [](CPixelCanvas& c) { c.drawCurveAndFill(2, 5, 14, 20, 255, 255, 255, 0.3f); },
            {{8, 38, 0.155f}}},
        // Radius 1 to 4 from tables (row = picture y + 1), alpha below 250 scales them.
        FillCase{"disc1", 32, 32, [](CPixelCanvas& c) { c.fillCircle(10, 10, 1, 255, 255, 255, 255); },
            {{10, 21, 1}, {9, 21, 0.9f}, {11, 21, 0.9f}, {10, 20, 0.9f}, {10, 22, 0.9f}, {9, 20, 0.3f}, {11, 22, 0.3f},
                {12, 21, 0}}},
        FillCase{"disc3", 32, 32,
            [](CPixelCanvas& c) {
                c.fillCircle(10, 10, 3, 255, 255, 255, 100);
                c.fillCircle(5, 5, 0, 255, 255, 255, 255);
            },
            {{10, 21, alpha100}, {13, 21, 0.95f * alpha100}, {12, 19, 0.94f * alpha100}, {13, 18, 0}, {5, 26, 0}}},
        FillCase{"disc8", 40, 40, [](CPixelCanvas& c) { c.fillCircle(20, 19, 8, 255, 255, 255, 255); },
            {{20, 20, 1}, {15, 20, 1}, {20, 2, 0}}}));

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

TEST(FillRecorded, NeedsARecordingOfTwoColumns)
{
    CPixelCanvas canvas(16, 16, 1, 1), other(16, 16, 1, 1);
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
    other.fillUnderCurve(nullptr, 0, 255, 255, 255, 0.0f); // not recording: nothing
    EXPECT_EQ(other.getCoverage(3, 12), 0.0f);
    other.drawCurveAndFill(2, 5, 14, 20, 255, 255, 255, 0.3f);
    EXPECT_EQ(other.recordCurve, 0); // recording ends with the fill
    EXPECT_EQ(other.recordedFirst, 2);
}

TEST(Circle, OutlineNeedsRadiusTwo)
{
    CPixelCanvas one(16, 16, 1, 1), two(16, 16, 1, 1);
    one.drawCircle(8, 8, 1, 255, 255, 255, 255);
    two.drawCircle(8, 8, 2, 255, 255, 255, 255);
    EXPECT_TRUE(covered(one).empty());
    EXPECT_GT(covered(two).size(), 4u);
    EXPECT_GT(two.getCoverage(10, 8), 0.0f); // the first vertex (cx + 2, cy), reached again at the end
}

TEST(PowerScale, Value)
{
    EXPECT_FLOAT_EQ(CPixelCanvas::powerScale(0.5f, 1.0f, 4.0f), 2.0f);
    EXPECT_FLOAT_EQ(CPixelCanvas::powerScale(1.0f, 2.0f, 8.0f), 8.0f);
}

} // namespace
