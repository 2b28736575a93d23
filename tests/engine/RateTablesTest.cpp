// The rate-dependent tables of one engine.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/Dravenor.h"

namespace {

constexpr int kNote60 = 60 * 128;  // pitch index of MIDI note 60 (261.6255 Hz)

struct RateCase {
    double rate;
    uint32_t note60Increment;  // trunc(261.6255 x 2^32 / rate)
};

class RateTablesAtRate : public testing::TestWithParam<RateCase> {
protected:
    Dravenor engine;
};

TEST_P(RateTablesAtRate, PitchIncrementsAndNyquist)
{
    const RateCase& c = GetParam();
    engine.setSampleRate(c.rate);
    const RateTables& t = *engine.tables;
    EXPECT_EQ(t.pitchIncTable[kNote60], c.note60Increment);
    EXPECT_FLOAT_EQ(engine.phaseIncPerHz, static_cast<float>(4294967296.0 / c.rate));
    // Every pitch at or above half the rate has the increment 2^31, none wraps.
    for (int i = 0; i < kPitchTableSize; ++i) {
        const double hz = kPitchBaseHz * std::pow(2.0, i / 1536.0);
        if (hz >= c.rate / 2 * 1.000001) {
            EXPECT_EQ(t.pitchIncTable[i], 0x80000000u) << i;
        } else if (hz < c.rate / 2 * 0.999999) {
            EXPECT_LT(t.pitchIncTable[i], 0x80000000u) << i;
            if (i > 0) {
                EXPECT_GE(t.pitchIncTable[i], t.pitchIncTable[i - 1]) << i;
            }
        }
    }
    // Cutoff coefficients start at 10 Hz and grow monotonically.
    EXPECT_NEAR(t.filterCoefTable[0], 2.0 * std::sin(10.0 * M_PI / (4.0 * c.rate)), 1e-9);
    for (int i = 1; i < kFilterCoefSize; ++i) {
        EXPECT_GT(t.filterCoefTable[i], t.filterCoefTable[i - 1]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, RateTablesAtRate,
                         testing::Values(RateCase{44100.0, 25480112u}, RateCase{48000.0, 23409853u},
                                         RateCase{96000.0, 11704926u}));

TEST(RateTables, PitchFrequencies)
{
    Dravenor engine;
    const RateTables& t = *engine.tables;
    EXPECT_FLOAT_EQ(t.pitchHzTable[0], 8.175796875f);
    EXPECT_NEAR(t.pitchHzTable[69 * 128], 439.99989f, 1e-4f);  // not exactly 440
    EXPECT_FLOAT_EQ(t.pitchHzTable[kNote60], 261.6255f);
    EXPECT_FLOAT_EQ(t.pitchHzTable[kPitchTableSize - 1],
                    static_cast<float>(kPitchBaseHz * std::pow(2.0, 15.0 + 1535.0 / 1536.0)));
}

TEST(RateTables, SinesAndSoftClip)
{
    Dravenor engine;
    const RateTables& t = *engine.tables;
    EXPECT_NEAR(t.lfoSineTable[2048], t.lfoSineTable[0], 1e-6f);
    EXPECT_FLOAT_EQ(t.lfoSineTable[512], 0.999f);
    EXPECT_FLOAT_EQ(t.lfoSineTable[1536], -0.999f);
    EXPECT_FLOAT_EQ(t.chorusSineTable[32768], 0.999f);
    EXPECT_FLOAT_EQ(t.chorusSineTable[98304], -0.999f);
    float peak = 0;
    for (float s : t.chorusSineTable) peak = std::max(peak, std::fabs(s));
    EXPECT_FLOAT_EQ(peak, 0.999f);
    EXPECT_EQ(t.softClipTable[0], 0.0f);
    EXPECT_FLOAT_EQ(t.softClipTable[2048], std::tanh(1.0f));
    EXPECT_FLOAT_EQ(t.softClipTable[kSoftClipSize - 1], std::tanh(32767.0f / 2048.0f));
    EXPECT_TRUE(std::isfinite(t.softClipTable[kSoftClipSize]));  // guard entry
}

TEST(RateTables, TwoEnginesAtDifferentRatesStayIndependent)
{
    Dravenor playing;
    playing.setSampleRate(48000.0);
    const uint32_t before = playing.tables->pitchIncTable[kNote60];
    const float coefBefore = playing.tables->filterCoefTable[2000];
    Dravenor second;  // built at 44100 Hz
    second.setSampleRate(44100.0);
    EXPECT_EQ(playing.tables->pitchIncTable[kNote60], before);
    EXPECT_EQ(playing.tables->pitchIncTable[kNote60], 23409853u);
    EXPECT_EQ(playing.tables->filterCoefTable[2000], coefBefore);
    EXPECT_EQ(second.tables->pitchIncTable[kNote60], 25480112u);
    EXPECT_FLOAT_EQ(playing.sampleRate, 48000.0f);
}

TEST(RateTables, UnusableRatesAreIgnored)
{
    Dravenor engine;
    const double bad[] = {0.0, -44100.0, NAN, INFINITY, 10.0, 1e9};
    for (double rate : bad) {
        engine.setSampleRate(rate);
        EXPECT_FLOAT_EQ(engine.sampleRate, 44100.0f) << rate;
        EXPECT_EQ(engine.tables->pitchIncTable[kNote60], 25480112u) << rate;
    }
}

} // namespace
