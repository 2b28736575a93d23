// Reference values of the engine's math functions at 44100 Hz.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/Dravenor.h"

namespace {

class EngineMath : public testing::Test {
protected:
    Dravenor engine;  // built at 44100 Hz
};

struct ExpScaleCase {
    float v, lo, hi, expected;
};

class ExpScaleValues : public testing::TestWithParam<ExpScaleCase> {};

TEST_P(ExpScaleValues, MapsExponentially)
{
    const ExpScaleCase& c = GetParam();
    EXPECT_NEAR(Dravenor::expScale(c.v, c.lo, c.hi), c.expected, c.expected * 2e-7f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpScaleValues,
    testing::Values(ExpScaleCase{0.5f, 0.05f, 100.0f, 2.2360680f},  // geometric mean
                    ExpScaleCase{0.0f, 0.05f, 100.0f, 0.05f}, ExpScaleCase{1.0f, 0.05f, 100.0f, 100.0f},
                    ExpScaleCase{0.0f, 5.0f, 10000.0f, 5.0f}, ExpScaleCase{1.0f, 5.0f, 10000.0f, 10000.0f},
                    ExpScaleCase{0.0f, 0.125f, 64.0f, 0.125f}, ExpScaleCase{1.0f, 100.0f, 20000.0f, 20000.0f}));

TEST_F(EngineMath, TimeCoefficients)
{
    EXPECT_NEAR(engine.expTimeCoef(0.0f, 35.0f, 3500.0f, 0.1f), 0.99850929f, 1e-7f);
    EXPECT_NEAR(engine.expTimeCoef(1.0f, 16.0f, 15000.0f, 0.001f), 0.99998957f, 1e-7f);
    // timeCoef reaches the target after the given time: m^(ms x sr / 1000) = target.
    const float m = engine.timeCoef(40.0f, 0.1f);
    EXPECT_NEAR(std::pow(static_cast<double>(m), 40.0 * 44.1), 0.1, 1e-3);
}

TEST_F(EngineMath, DecayTimes)
{
    const float v[] = {0.0f, 0.3f, 0.999f, 1.0f};
    for (float x : v) {
        const double nominal = Dravenor::expScaleD(x, 5.0, 10000.0);
        EXPECT_NEAR(Dravenor::decayTimeMs(x, 5.0, 10000.0, 0.1), 3.0 * nominal, nominal * 1e-12) << x;
        EXPECT_NEAR(Dravenor::decayTimeMs(x, 16.0, 5000.0, 0.001), Dravenor::expScaleD(x, 16.0, 5000.0),
                    1e-9)
            << x;
    }
}

TEST_F(EngineMath, Decibels)
{
    EXPECT_NEAR(Dravenor::dbToGain(1.0f), 1.1220185f, 1e-7f);
    EXPECT_NEAR(Dravenor::dbToGain(51.0f), 354.81339f, 1e-4f);
    EXPECT_EQ(Dravenor::dbToGainAlt(51.0f), Dravenor::dbToGain(51.0f));
    EXPECT_EQ(Dravenor::gainToDb(0.0f, -99.0f), -99.0f);
    EXPECT_NEAR(Dravenor::gainToDb(10.0f, 0.0f), 20.0f, 1e-5f);
    EXPECT_NEAR(Dravenor::bipolarDbToGain(1.0f, 20.0f), 10.0f, 1e-5f);
    EXPECT_NEAR(Dravenor::bipolarDbToGain(0.5f, 20.0f), 1.0f, 1e-6f);
}

TEST_F(EngineMath, OnePoleCoefficients)
{
    float a = 0, b = 0;
    engine.onePoleLowpassCoefs(1000.0f, a, b);
    EXPECT_NEAR(a, -0.8672083f, 1e-6f);
    EXPECT_NEAR(b, 0.06639586f, 1e-7f);
    // Unity gain at 0 Hz: 2b / (1 + a) = 1.
    EXPECT_NEAR(2.0f * b / (1.0f + a), 1.0f, 1e-5f);
    engine.onePoleHighpassCoefs(1000.0f, a, b);
    EXPECT_NEAR(a, -0.8672083f, 1e-6f);
    EXPECT_NEAR(b, 0.9336041f, 1e-6f);
    // Unity gain at half the rate: 2b / (1 - a) = 1.
    EXPECT_NEAR(2.0f * b / (1.0f - a), 1.0f, 1e-5f);
}

TEST_F(EngineMath, UncalledHelpers)
{
    EXPECT_EQ(Dravenor::bipolarOctaveScale(-1.0f, 2.0f, 3.0f), 0.25f);
    EXPECT_EQ(Dravenor::bipolarOctaveScale(1.0f, 2.0f, 3.0f), 8.0f);
    EXPECT_NEAR(engine.msToRampStep(1000.0f), 1.0f / 44100.0f, 1e-10f);
    EXPECT_NEAR(engine.expRampStep(0.0f, 10.0f, 1000.0f), 1.0f / 441.0f, 1e-8f);
    EXPECT_NEAR(engine.expScaledRampStep(1.0f, 10.0f, 1000.0f, 2.0f), 2.0f / 44100.0f, 1e-9f);
    EXPECT_NEAR(engine.expScaledTimeCoef(0.0f, 35.0f, 3500.0f, 1.0f, 0.1f),
                engine.expTimeCoef(0.0f, 35.0f, 3500.0f, 0.1f), 1e-7f);
    // Shelf: gain 1 at 0 Hz ((b0 + b1) / (1 + a1)) and `gain` at half the rate ((b0 - b1) / (1 - a1)).
    for (float gain : {0.5f, 4.0f}) {
        float a1 = 0, b0 = 0, b1 = 0;
        engine.onePoleShelfCoefs(1000.0f, gain, a1, b0, b1);
        EXPECT_NEAR((b0 + b1) / (1.0f + a1), 1.0f, 1e-4f) << gain;
        EXPECT_NEAR((b0 - b1) / (1.0f - a1), gain, 1e-4f) << gain;
    }
}

} // namespace
