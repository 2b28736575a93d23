// The rate-dependent tables of one engine and the engine's math at reference values.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/Dravenor.h"

namespace {
constexpr int kNote60 = 60 * 128;  // pitch index of MIDI note 60 (261.6255 Hz)
}

TEST(RateTables, PitchIncrementsStopAtHalfTheRateAndCutoffsGrow)
{
    struct Case { double rate; uint32_t note60; };  // trunc(261.6255 x 2^32 / rate)
    auto e = std::make_unique<Dravenor>();
    for (const Case& c : {Case{44100.0, 25480112u}, Case{48000.0, 23409853u}, Case{96000.0, 11704926u}}) {
        e->setSampleRate(c.rate);
        const RateTables& t = *e->tables;
        EXPECT_EQ(t.pitchIncTable[kNote60], c.note60);
        for (int i = 1; i < kPitchTableSize; ++i) {  // at or above half the rate 2^31, none wraps
            const double hz = kPitchBaseHz * std::pow(2.0, i / 1536.0);
            const uint32_t inc = t.pitchIncTable[i];
            const bool below = inc < 0x80000000u && inc >= t.pitchIncTable[i - 1];
            ASSERT_TRUE(hz >= c.rate / 2 * 1.000001 ? inc == 0x80000000u : hz > c.rate / 2 * 0.999999 || below) << i;
        }
        EXPECT_NEAR(t.filterCoefTable[0], 2.0 * std::sin(10.0 * M_PI / (4.0 * c.rate)), 1e-9);
        for (int i = 1; i < kFilterCoefSize; ++i) ASSERT_GT(t.filterCoefTable[i], t.filterCoefTable[i - 1]) << i;
    }
}

TEST(RateTables, PitchesSinesAndSoftClip)
{
    auto e = std::make_unique<Dravenor>();
    const RateTables& t = *e->tables;
    EXPECT_FLOAT_EQ(t.pitchHzTable[0], 8.175796875f);
    EXPECT_NEAR(t.pitchHzTable[69 * 128], 439.99989f, 1e-4f);  // not exactly 440
    EXPECT_FLOAT_EQ(t.pitchHzTable[kNote60], 261.6255f);
    EXPECT_FLOAT_EQ(t.pitchHzTable[kPitchTableSize - 1], float(kPitchBaseHz * std::pow(2.0, 15.0 + 1535.0 / 1536.0)));
    EXPECT_NEAR(t.lfoSineTable[2048], t.lfoSineTable[0], 1e-6f);
    EXPECT_TRUE(t.lfoSineTable[512] == 0.999f && t.lfoSineTable[1536] == -0.999f);
    EXPECT_TRUE(t.chorusSineTable[32768] == 0.999f && t.chorusSineTable[98304] == -0.999f);
    float peak = 0;
    for (float s : t.chorusSineTable) peak = std::max(peak, std::fabs(s));
    EXPECT_FLOAT_EQ(peak, 0.999f);
    EXPECT_EQ(t.softClipTable[0], 0.0f);
    EXPECT_FLOAT_EQ(t.softClipTable[2048], std::tanh(1.0f));
    EXPECT_FLOAT_EQ(t.softClipTable[kSoftClipSize - 1], std::tanh(32767.0f / 2048.0f));
    EXPECT_TRUE(std::isfinite(t.softClipTable[kSoftClipSize]));  // guard entry
}

TEST(RateTables, EnginesAtDifferentRatesStayIndependentAndUnusableRatesAreIgnored)
{
    auto playing = std::make_unique<Dravenor>();
    playing->setSampleRate(48000.0);
    const float coef = playing->tables->filterCoefTable[2000];
    auto second = std::make_unique<Dravenor>();  // built at 44100 Hz
    second->setSampleRate(44100.0);
    EXPECT_EQ(playing->tables->pitchIncTable[kNote60], 23409853u);
    EXPECT_EQ(playing->tables->filterCoefTable[2000], coef);
    EXPECT_EQ(second->tables->pitchIncTable[kNote60], 25480112u);
    for (double rate : {0.0, -44100.0, double(NAN), double(INFINITY), 10.0, 1e9}) {
        second->setSampleRate(rate);
        EXPECT_EQ(second->sampleRate, 44100.0f) << rate;
        EXPECT_EQ(second->tables->pitchIncTable[kNote60], 25480112u) << rate;
    }
}

// Reference values at 44100 Hz; stored programs depend on these exact conversions.
TEST(EngineMath, ReferenceValues)
{
    auto e = std::make_unique<Dravenor>();
    EXPECT_NEAR(Dravenor::expScale(0.5f, 0.05f, 100.0f), 2.2360680f, 5e-7f);  // the geometric mean
    for (auto [lo, hi] : {std::pair{0.05f, 100.0f}, {5.0f, 10000.0f}, {0.125f, 64.0f}, {100.0f, 20000.0f}}) {
        EXPECT_NEAR(Dravenor::expScale(0.0f, lo, hi), lo, lo * 2e-7f);
        EXPECT_NEAR(Dravenor::expScale(1.0f, lo, hi), hi, hi * 2e-7f);
    }
    EXPECT_NEAR(e->expTimeCoef(0.0f, 35.0f, 3500.0f, 0.1f), 0.99850929f, 1e-7f);
    EXPECT_NEAR(e->expTimeCoef(1.0f, 16.0f, 15000.0f, 0.001f), 0.99998957f, 1e-7f);
    EXPECT_NEAR(std::pow(double(e->timeCoef(40.0f, 0.1f)), 40.0 * 44.1), 0.1, 1e-3);  // 0.1 after 40 ms
    for (float v : {0.0f, 0.3f, 0.999f, 1.0f}) {
        const double ms = Dravenor::expScaleD(v, 5.0, 10000.0);
        EXPECT_NEAR(Dravenor::decayTimeMs(v, 5.0, 10000.0, 0.1), 3.0 * ms, ms * 1e-12) << v;
        EXPECT_NEAR(Dravenor::decayTimeMs(v, 16.0, 5000.0, 0.001), Dravenor::expScaleD(v, 16.0, 5000.0), 1e-9) << v;
    }
    EXPECT_NEAR(Dravenor::dbToGain(1.0f), 1.1220185f, 1e-7f);
    EXPECT_NEAR(Dravenor::dbToGain(51.0f), 354.81339f, 1e-4f);
    float a = 0, b = 0;
    e->onePoleLowpassCoefs(1000.0f, a, b);
    EXPECT_TRUE(std::fabs(a + 0.8672083f) < 1e-6f && std::fabs(b - 0.06639586f) < 1e-7f) << a << " " << b;
    e->onePoleHighpassCoefs(1000.0f, a, b);
    EXPECT_TRUE(std::fabs(a + 0.8672083f) < 1e-6f && std::fabs(b - 0.9336041f) < 1e-6f) << a << " " << b;
}
