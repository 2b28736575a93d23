// Canvas strokes and fills given numbers that are not finite, or a shape outside 0..1:
// what they draw, what they record and what they leave of the caller's points.
#include "PixelHelpers.h"
#include "vstgui/lib/coffscreencontext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

using namespace testing_helpers;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();
const float kFar = 3e38f; // finite, but twice it is not

// Everything a drawing call may change, as bytes: the drawing pair, the recorded range
// and pointBuffer.
std::vector<uint8_t> stateOf(const CPixelCanvas& canvas)
{
    std::vector<uint8_t> bytes;
    auto append = [&](const void* data, size_t size) {
        const auto* b = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), b, b + size);
    };
    const CanvasLayer* colour = canvas.getDrawingColour();
    append(colour->bytes.get(), colour->count);
    append(canvas.getDrawingCoverage()->floats.get(), sizeof(float) * canvas.getDrawingCoverage()->count);
    append(&canvas.recordedFirst, sizeof canvas.recordedFirst);
    append(&canvas.recordedEnd, sizeof canvas.recordedEnd);
    append(canvas.pointBuffer.get(), sizeof(CanvasPoint) * (colour->width + canvas.getSupersampling()));
    return bytes;
}

using Draw = std::function<void(CPixelCanvas&, float)>;

struct NumberCase
{
    const char* name;
    uint8_t weight;
    Draw prepare; // may be empty; runs before the canvas is looked at
    Draw draw;
};

const NumberCase kNumberCases[] = {
    {"SegmentStart", 2, {}, [](CPixelCanvas& c, float v) { c.drawSegment(v, 5, 20, 20, 9, 9, 9, 0.5f, 0, 0, 0, 255); }},
    {"SegmentEndHeight", 2, {}, [](CPixelCanvas& c, float v) { c.drawSegment(0, 5, 20, v, 9, 9, 9, 0.5f, 0, 0, 0, 255); }},
    {"CurveShape", 2, {}, [](CPixelCanvas& c, float v) { c.drawSegment(2, 5, 14, 12, 9, 9, 9, v, 2, 0, 0, 255); }},
    // Weight 1 hands long curves to the area fill.
    {"AreaCurveShape", 1, {}, [](CPixelCanvas& c, float v) { c.drawSegment(0, 2, 30, 28, 9, 9, 9, v, 2, 1, 0.5f, 255); }},
    {"AreaFillShape", 1, {}, [](CPixelCanvas& c, float v) { c.fillSegmentArea(0, 2, 30, 28, 9, 9, 9, v, 2, 1, 0.5f, 255); }},
    {"BendCurveShape", 2, {}, [](CPixelCanvas& c, float v) { c.drawCurve(2, 5, 14, 20, 9, 9, 9, v); }},
    {"PowerCurveShape", 2, {}, [](CPixelCanvas& c, float v) { c.drawPowerCurve(2, 5, 14, 20, 9, 9, 9, v); }},
    {"MirroredCurveShape", 2, {}, [](CPixelCanvas& c, float v) { c.drawMirroredCurve(2, 5, 14, 20, 9, 9, 9, v); }},
    {"CurveAndFillShape", 2, {}, [](CPixelCanvas& c, float v) { c.drawCurveAndFill(2, 5, 14, 20, 9, 9, 9, v); }},
    {"RectangleTop", 2, {}, [](CPixelCanvas& c, float v) { c.fillRect(2, v, 20, 10, 9, 9, 9, 255); }},
    // One bad point among good ones: the whole call draws nothing, not only its segment.
    {"PolylineLastPoint", 2, {},
        [](CPixelCanvas& c, float v) {
            const CanvasPoint p[4] = {{2, 4}, {10, 12}, {20, 6}, {28, 10 + v}};
            c.drawPolyline(p, 4, 9, 9, 9, 255);
        }},
    {"DoublePolylineLastPoint", 2, {},
        [](CPixelCanvas& c, float v) {
            const CanvasPointD p[4] = {{2, 4}, {10, 12}, {20, 6}, {28 + v, 10}};
            c.drawPolyline(p, 4, 9, 9, 9, 255);
        }},
    {"AliasedPolylineLastPoint", 2, {},
        [](CPixelCanvas& c, float v) {
            const CanvasPointD p[4] = {{2, 4}, {10, 12}, {20, 6}, {28, 10 + v}};
            c.drawLineInt(p, 4, 9, 9, 9, 255);
        }},
    {"FillUnderLastPoint", 2, {},
        [](CPixelCanvas& c, float v) {
            CanvasPoint p[3] = {{2, 10}, {6, 12}, {10, 12 + v}};
            c.fillUnderCurve(p, 3, 9, 9, 9, 1.0f);
        }},
    {"FillToCentreLastPoint", 2, {},
        [](CPixelCanvas& c, float v) {
            CanvasPoint p[3] = {{2, 10}, {6, 12}, {10 + v, 12}};
            c.fillToCentre(p, 3, 9, 9, 9);
        }},
    {"DoubleFillToCentreLastPoint", 2, {},
        [](CPixelCanvas& c, float v) {
            const CanvasPointD p[3] = {{2, 10}, {6, 12}, {10, 12 + v}};
            c.fillToCentre(p, 3, 9, 9, 9, 1.0f);
        }},
    {"FillRecordedCurve", 2,
        [](CPixelCanvas& c, float v) {
            c.recordCurve = 1;
            c.recordedFirst = 3;
            c.recordedEnd = 7;
            for (int i = 3; i < 7; ++i)
                c.pointBuffer[i] = {float(i), i == 5 ? 10 + v : 10.0f};
        },
        [](CPixelCanvas& c, float) { c.fillUnderCurve(nullptr, 0, 9, 9, 9, 0.0f); }},
    {"BandStart", 2, {},
        [](CPixelCanvas& c, float v) {
            float q[4] = {2 + v, 10, 4, 12};
            c.fillColumnBand(q, 9, 9, 9, 1.0f);
        }},
    {"BandBottom", 2, {},
        [](CPixelCanvas& c, float v) {
            float q[4] = {2, 10, 4, 12 + v};
            c.fillColumnBand(q, 9, 9, 9, 1.0f);
        }},
};

class NotFinite : public ::testing::TestWithParam<std::tuple<NumberCase, float>> {};

// The call draws nothing and records nothing, while the same call with 0.5 in the place of
// the bad number draws.
TEST_P(NotFinite, DrawsNothing)
{
    const auto& [c, bad] = GetParam();
    CPixelCanvas canvas(32, 32, 1, 1), control(32, 32, 1, 1);
    canvas.lineWeight = control.lineWeight = c.weight;
    if (c.prepare)
    {
        c.prepare(canvas, bad);
        c.prepare(control, 0.5f);
    }
    const std::vector<uint8_t> before = stateOf(canvas);
    c.draw(canvas, bad);
    EXPECT_TRUE(stateOf(canvas) == before);
    c.draw(control, 0.5f);
    EXPECT_FALSE(covered(control).empty());
}

INSTANTIATE_TEST_SUITE_P(Table, NotFinite, ::testing::Combine(::testing::ValuesIn(kNumberCases), ::testing::Values(kNaN, kInf, -kInf)),
    [](const auto& info) {
        const float v = std::get<1>(info.param);
        return std::string(std::get<0>(info.param).name) + (std::isnan(v) ? "NaN" : v > 0 ? "Inf" : "MinusInf");
    });

struct SpanCase
{
    const char* name;
    uint8_t factor;
    std::function<void(CPixelCanvas&)> draw;
};

class InfiniteSpan : public ::testing::TestWithParam<SpanCase> {};

// Finite coordinates whose distance, or whose place on a supersampled canvas, is not
// finite: nothing is drawn (the band and curve fills used to step through 10^15 columns).
TEST_P(InfiniteSpan, DrawsNothing)
{
    const SpanCase& c = GetParam();
    CPixelCanvas canvas(32, 32, c.factor, 1);
    const std::vector<uint8_t> before = stateOf(canvas);
    c.draw(canvas);
    EXPECT_TRUE(stateOf(canvas) == before);
}

INSTANTIATE_TEST_SUITE_P(Table, InfiniteSpan,
    ::testing::Values(SpanCase{"LineAcross", 1, [](CPixelCanvas& c) { c.drawLine(-kFar, 5, kFar, 20, 9, 9, 9, 255); }},
        SpanCase{"LineUpward", 1, [](CPixelCanvas& c) { c.drawLine(5, -kFar, 20, kFar, 9, 9, 9, 255); }},
        SpanCase{"LineSupersampled", 2, [](CPixelCanvas& c) { c.drawLine(kFar, 5, 20, 20, 9, 9, 9, 255); }},
        SpanCase{"AreaCurve", 1,
            [](CPixelCanvas& c) {
                c.lineWeight = 1;
                c.drawSegment(-kFar, 2, kFar, 28, 9, 9, 9, 0.3f, 2, 1, 0.5f, 255);
            }},
        SpanCase{"PolylineLastStep", 1,
            [](CPixelCanvas& c) {
                const CanvasPoint p[4] = {{2, 4}, {10, 12}, {-kFar, 6}, {kFar, 8}};
                c.drawPolyline(p, 4, 9, 9, 9, 255);
            }},
        SpanCase{"FillUnderLastStep", 1,
            [](CPixelCanvas& c) {
                CanvasPoint p[4] = {{2, 10}, {6, 12}, {-kFar, 12}, {kFar, 12}};
                c.fillUnderCurve(p, 4, 9, 9, 9, 1.0f);
            }},
        SpanCase{"BandAcross", 1,
            [](CPixelCanvas& c) {
                float q[4] = {-kFar, kFar, 4, 12};
                c.fillColumnBand(q, 9, 9, 9, 1.0f);
            }},
        SpanCase{"BandUpward", 1,
            [](CPixelCanvas& c) {
                float q[4] = {2, 10, -kFar, kFar};
                c.fillColumnBand(q, 9, 9, 9, 1.0f);
            }}),
    [](const auto& info) { return std::string(info.param.name); });

// A supersampled fill moves the last x of the caller's points and a band flips the
// caller's rows; a call that draws nothing leaves them as they were.
TEST(NotFiniteFills, LeaveTheCallersPointsAlone)
{
    CPixelCanvas canvas(32, 32, 2, 1);
    CanvasPoint points[3] = {{2, 10}, {6, kNaN}, {10, 12}};
    const CanvasPoint givenPoints[3] = {points[0], points[1], points[2]};
    canvas.fillUnderCurve(points, 3, 9, 9, 9, 1.0f);
    EXPECT_EQ(std::memcmp(points, givenPoints, sizeof points), 0);
    float q[4] = {2, 10, 4, kInf};
    const float givenQ[4] = {2, 10, 4, kInf};
    canvas.fillColumnBand(q, 9, 9, 9, 1.0f);
    EXPECT_EQ(std::memcmp(q, givenQ, sizeof q), 0);
}

struct ShapeCase
{
    const char* name;
    uint8_t weight; // 1: long curves go to the area fill
    float x0, y0, x1, y1;
    float shape;
    size_t missing; // pixels the straight segment has and the bent one lacks
};

class ShapeOutsideTheRange : public ::testing::TestWithParam<ShapeCase> {};

// Along a segment without width or height, a bend curve whose shape lies outside 0..1 meets
// 0 x infinity at its first or last sample: that sample marks nothing, and everything else is
// drawn as the straight segment.
TEST_P(ShapeOutsideTheRange, DropsOnlyTheSampleAtNoNumber)
{
    const ShapeCase& c = GetParam();
    CPixelCanvas bent(32, 32, 1, 1), straight(32, 32, 1, 1);
    bent.lineWeight = straight.lineWeight = c.weight;
    bent.drawSegment(c.x0, c.y0, c.x1, c.y1, 9, 9, 9, c.shape, 2, 0, 0, 255);
    straight.drawSegment(c.x0, c.y0, c.x1, c.y1, 9, 9, 9, 0.5f, 2, 0, 0, 255);
    const auto drawn = covered(bent), expected = covered(straight);
    size_t missing = 0;
    for (const auto& pixel : expected)
        missing += drawn.count(pixel) == 0;
    EXPECT_EQ(missing, c.missing);
    for (const auto& pixel : drawn)
        EXPECT_EQ(expected.count(pixel), 1u) << pixel.first << "," << pixel.second;
}

INSTANTIATE_TEST_SUITE_P(Table, ShapeOutsideTheRange,
    // The stroke's first row is drawn by its first sample alone (2 pixels at weight 2); its
    // first column and last row have other samples too. The area fill has one sample per
    // row or column, of one pixel at weight 1.
    ::testing::Values(ShapeCase{"StrokeUpwardBelowZero", 2, 10, 4, 10, 14, -1.0f, 2},
        ShapeCase{"StrokeUpwardAboveOne", 2, 10, 4, 10, 14, 2.0f, 0},
        ShapeCase{"StrokeAcrossBelowMinusTwo", 2, 2, 10, 14, 10, -3.0f, 0},
        ShapeCase{"AreaUpwardBelowZero", 1, 10, 2, 10, 30, -1.0f, 1},
        ShapeCase{"AreaUpwardAboveOne", 1, 10, 2, 10, 30, 2.0f, 1},
        ShapeCase{"AreaAcrossBelowMinusTwo", 1, 2, 10, 30, 10, -3.0f, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct FarCase
{
    const char* name;
    uint8_t weight;
    Draw draw;
};

class FarCoordinates : public ::testing::TestWithParam<std::tuple<FarCase, float>> {};

// Finite coordinates beyond the int range: the call draws as it does with a coordinate twice
// as far (each is taken at the int range's end, or its samples lie outside the layer), and no
// conversion to an integer is undefined (the sanitizer build checks that).
TEST_P(FarCoordinates, DrawTheSameHoweverFar)
{
    const auto& [c, far] = GetParam();
    CPixelCanvas canvas(32, 32, 1, 1), farther(32, 32, 1, 1);
    canvas.lineWeight = farther.lineWeight = c.weight;
    canvas.recordCurve = farther.recordCurve = 1;
    c.draw(canvas, far);
    c.draw(farther, 2 * far);
    EXPECT_TRUE(stateOf(canvas) == stateOf(farther));
}

INSTANTIATE_TEST_SUITE_P(Table, FarCoordinates,
    ::testing::Combine(::testing::Values(
        // Weight 1 hands long curves to the area fill, in whole pixels.
        FarCase{"AreaCurveEnd", 1, [](CPixelCanvas& c, float v) { c.drawSegment(0, 2, v, 28, 9, 9, 9, 0.5f, 2, 1, 0.5f, 255); }},
        FarCase{"AreaCurveHeight", 1, [](CPixelCanvas& c, float v) { c.drawSegment(0, 2, 30, v, 9, 9, 9, 0.5f, 2, 1, 0.5f, 255); }},
        FarCase{"FlatStroke", 2, [](CPixelCanvas& c, float v) { c.drawSegment(2, v, 10, v, 9, 9, 9, 0.5f, 0, 0, 0, 255); }},
        FarCase{"SteepStroke", 2, [](CPixelCanvas& c, float v) { c.drawSegment(2, v, 30, 28, 9, 9, 9, 0.5f, 0, 0, 0, 255); }},
        FarCase{"AliasedPolyline", 2,
            [](CPixelCanvas& c, float v) {
                const CanvasPointD p[3] = {{2, 4}, {10, v}, {v, 6}};
                c.drawLineInt(p, 3, 9, 9, 9, 255);
            }}),
        ::testing::Values(1e10f, -1e10f, 1e38f, -1e38f)),
    [](const auto& info) {
        const float v = std::get<1>(info.param);
        return std::string(std::get<0>(info.param).name) + (v > 0 ? "Plus" : "Minus") + (std::fabs(v) > 1e20f ? "1e38" : "1e10");
    });

struct CoverageCase
{
    const char* name;
    float good; // a coverage with which the call changes the canvas
    Draw draw; // the call, given the coverage
    std::function<void(CPixelCanvas&)> same; // what the call with a bad coverage must equal; may be empty
};

// Pixel (3, 4) and the rest start at coverage 0.3; layer 2 is empty.
void prepareCoverage(CPixelCanvas& c)
{
    c.clear(40, 50, 60);
    c.setCoverage(0.3f);
}

const CoverageCase kCoverageCases[] = {
    {"SetCoverage", 0.7f, [](CPixelCanvas& c, float v) { c.setCoverage(v); }, {}},
    {"PlotSet", 0.7f, [](CPixelCanvas& c, float v) { c.plotSet(3, 4, 9, 9, 9, v); }, {}},
    {"PlotMax", 0.7f, [](CPixelCanvas& c, float v) { c.plotMax(3, 4, 9, 9, 9, v); }, {}},
    {"PlotMin", 0.1f, [](CPixelCanvas& c, float v) { c.plotMin(3, 4, 9, 9, 9, v); }, {}},
    {"PlotDarker", 0.1f, [](CPixelCanvas& c, float v) { c.plotDarker(3, 4, 9, 9, 9, v); }, {}},
    {"PlotLighter", 0.7f, [](CPixelCanvas& c, float v) { c.plotLighter(3, 4, 99, 99, 99, v); }, {}},
    {"PlotXor", 1.0f, [](CPixelCanvas& c, float v) { c.plotXor(3, 4, 9, 9, 9, v); }, {}},
    {"CopyLayerFactor", 0.7f, [](CPixelCanvas& c, float v) { c.copyLayerRect(2, 1, 0, 0, 0, 0, 8, 8, v); }, {}},
    // The fill's coverage: the stroke is drawn, the area below it is not.
    {"AreaFill", 0.9f, [](CPixelCanvas& c, float v) { c.fillSegmentArea(0, 2, 30, 28, 9, 9, 9, 0.5f, 2, 1, v, 255); },
        [](CPixelCanvas& c) { c.fillSegmentArea(0, 2, 30, 28, 9, 9, 9, 0.5f, 2, 0, 0.9f, 255); }},
    {"SegmentFill", 0.9f,
        [](CPixelCanvas& c, float v) {
            c.lineWeight = 1;
            c.drawSegment(0, 2, 30, 28, 9, 9, 9, 0.5f, 2, 1, v, 255);
        },
        [](CPixelCanvas& c) {
            c.lineWeight = 1;
            c.drawSegment(0, 2, 30, 28, 9, 9, 9, 0.5f, 2, 0, 0.9f, 255);
        }},
};

class CoverageNotFinite : public ::testing::TestWithParam<std::tuple<CoverageCase, float>> {};

// A coverage that is not a finite number counts as none: the pixels keep what they had.
TEST_P(CoverageNotFinite, LeavesThePixels)
{
    const auto& [c, bad] = GetParam();
    CPixelCanvas canvas(32, 32, 1, 2), expected(32, 32, 1, 2), control(32, 32, 1, 2);
    for (CPixelCanvas* each : {&canvas, &expected, &control})
        prepareCoverage(*each);
    if (c.same)
        c.same(expected);
    c.draw(canvas, bad);
    EXPECT_TRUE(stateOf(canvas) == stateOf(expected));
    c.draw(control, c.good);
    EXPECT_FALSE(stateOf(control) == stateOf(expected));
}

INSTANTIATE_TEST_SUITE_P(Table, CoverageNotFinite,
    ::testing::Combine(::testing::ValuesIn(kCoverageCases), ::testing::Values(kNaN, kInf, -kInf)),
    [](const auto& info) {
        const float v = std::get<1>(info.param);
        return std::string(std::get<0>(info.param).name) + (std::isnan(v) ? "NaN" : v > 0 ? "Inf" : "MinusInf");
    });

// Coverages that reach the layer directly: one that is not finite leaves the base as it is;
// one far above 1 blends to some byte without an undefined conversion. A destination that
// is not finite draws nothing into the context.
TEST(CoverageNotFinite, ComposeLeavesTheBase)
{
    CPixelCanvas canvas(4, 4, 1, 1);
    canvas.setBackgroundColor(10, 20, 30);
    canvas.clear(200, 100, 50);
    float* coverage = canvas.getDrawingCoverage()->floats.get();
    coverage[0] = kNaN;
    coverage[1] = kInf;
    coverage[2] = -kInf;
    coverage[4] = 1e30f;
    coverage[5] = kFar;
    auto context = VSTGUI::COffscreenContext::create(nullptr, 4, 4);
    for (const float bad : {kNaN, kInf, -kInf})
    {
        for (const VSTGUI::CRect& dest : {VSTGUI::CRect(bad, 0, 4, 4), VSTGUI::CRect(0, bad, 4, 4),
                 VSTGUI::CRect(0, 0, bad, 4), VSTGUI::CRect(0, 0, 4, bad)})
            canvas.compose(context, dest);
        EXPECT_FALSE(context->hasFailed()) << bad;
    }
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(pixelAt(canvas.getOutput(), x, 0), (Bgra{30, 20, 10, 255})) << x;
    EXPECT_EQ(pixelAt(canvas.getOutput(), 3, 0), (Bgra{50, 100, 200, 255}));
    EXPECT_EQ(pixelAt(context->getBitmap(), 3, 0), Bgra{});
    canvas.compose(context, VSTGUI::CRect(0, 0, 4, 4));
    EXPECT_EQ(pixelAt(context->getBitmap(), 3, 0), (Bgra{50, 100, 200, 255}));
}

} // namespace
