// Building the two oscillator tables from the wave bank, and their hand-over
// to the rendering side at a slice start.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/Dravenor.h"
#include "engine/WaveTableBank.h"

namespace {

constexpr float kLowestDrive = 1.12201846f; // Osc-Sat at 0: +1 dB
constexpr float kHighDrive = 354.81339f;    // Osc-Sat at 1: +51 dB

std::unique_ptr<Dravenor> engineWith(uint8_t wave1, float drive1, uint8_t wave2 = 0, float drive2 = 1.0f)
{
    auto e = std::make_unique<Dravenor>();
    e->osc1Wave = wave1;
    e->osc1Drive = drive1;
    e->osc2Wave = wave2;
    e->osc2Drive = drive2;
    e->updateWaveforms();
    e->acquireWaveforms();
    return e;
}

double peakOf(const float* t, int n)
{
    double m = 0.0;
    for (int i = 0; i < n; ++i) m = std::fmax(m, std::fabs(t[i]));
    return m;
}

} // namespace

TEST(Waveforms, LowestDrivePlaysTheBankWaveUnchangedWithGuardSamples)
{
    auto e = engineWith(3, kLowestDrive, 27, kLowestDrive);
    const float* sq = WaveTableBank::wave(3);
    const float* buzz = WaveTableBank::wave(27);
    for (int i = 0; i < 2051; ++i) {
        ASSERT_EQ(e->osc1Table[i], sq[i % 2048]) << i;
        ASSERT_EQ(e->osc2Table[i], buzz[i % 2048]) << i;
    }
    EXPECT_EQ(e->osc1Table[2051], 0.0f);
    EXPECT_EQ(e->sounding, 1);
}

TEST(Waveforms, HigherDriveSaturatesEverySample)
{
    auto e = engineWith(12, 2.0f);
    const float* src = WaveTableBank::wave(12);
    for (int i = 0; i < 2051; ++i) ASSERT_NEAR(e->osc1Table[i], std::tanh(src[i % 2048] * 2.0), 1e-6) << i;
}

TEST(Waveforms, GuardSamplesRepeatTheStartAtDriveOne)
{
    auto e = engineWith(39, 1.0f);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(e->osc1Table[2048 + i], e->osc1Table[i]);
}

TEST(Waveforms, WaveFourIsAlwaysSaturated)
{
    auto e = engineWith(4, kLowestDrive);
    const float* base1 = WaveTableBank::baseWave(1);
    for (int i = 0; i < 2048; ++i) ASSERT_NEAR(e->osc1Table[i], std::tanh(base1[i] * double(kLowestDrive)), 1e-6);
    EXPECT_NEAR(peakOf(e->osc1Table, 2048), 0.81, 0.005); // not the raw peak of 1.0
    EXPECT_EQ(e->osc1Table[2048], 0.0f);                  // from the zeros behind the base wave
}

struct SumPeak { uint8_t wave; float drive; double peak; };

class SummedWavePeaks : public testing::TestWithParam<SumPeak> {};

TEST_P(SummedWavePeaks, ReachTheirPeak)
{
    const SumPeak p = GetParam();
    auto e = engineWith(0, 1.0f, p.wave, p.drive); // Osc2 builds the same way
    EXPECT_NEAR(peakOf(e->osc2Table, 2049), p.peak, 0.01) << "wave " << int(p.wave);
}

INSTANTIATE_TEST_SUITE_P(LowAndHighDrive, SummedWavePeaks,
                         testing::Values(SumPeak{4, kLowestDrive, 0.81}, SumPeak{5, kLowestDrive, 1.38},
                                         SumPeak{6, kLowestDrive, 1.62}, SumPeak{7, kLowestDrive, 2.03},
                                         SumPeak{4, kHighDrive, 1.0}, SumPeak{5, kHighDrive, 2.0},
                                         SumPeak{6, kHighDrive, 2.0}, SumPeak{7, kHighDrive, 3.0}));

TEST(Waveforms, PreviewEntriesShowThePlayedSums)
{
    // Bank entries 5..7 are drawn by the editor; they show the played sum at
    // the lowest drive, scaled to full scale.
    for (uint8_t w = 5; w <= 7; ++w) {
        auto e = engineWith(w, kLowestDrive);
        const double peak = peakOf(e->osc1Table, 2048);
        for (int i = 0; i < 2048; ++i) ASSERT_NEAR(e->osc1Table[i] / peak, WaveTableBank::wave(w)[i], 1e-5);
    }
}

TEST(Waveforms, BothOscillatorsOffIsSilentAndNotSounding)
{
    auto e = engineWith(9, 3.0f, 17, 3.0f);
    ASSERT_EQ(e->sounding, 1);
    e->osc1Wave = 0;
    e->osc2Wave = 0;
    e->updateWaveforms();
    e->acquireWaveforms();
    EXPECT_EQ(e->sounding, 0);
    EXPECT_EQ(peakOf(e->osc1Table, kOscTableLength), 0.0);
    EXPECT_EQ(peakOf(e->osc2Table, kOscTableLength), 0.0);
}

TEST(Waveforms, SuspendedRebuildLeavesTheTables)
{
    auto e = engineWith(1, 1.0f);
    e->waveRebuildEnabled = 0;
    e->osc1Wave = 3;
    e->updateWaveforms();
    e->acquireWaveforms();
    EXPECT_EQ(e->osc1Table[512], 1.0f); // still the sine
}

TEST(Waveforms, NewTablesReachTheVoicesOnlyAtTheNextSliceStart)
{
    auto e = engineWith(1, 1.0f);
    e->osc1Wave = 10;
    e->updateWaveforms();
    EXPECT_EQ(e->osc1Table[512], 1.0f); // the rendering side still holds the sine
    float left[16], right[16];
    float* out[2] = {left, right};
    e->render(16, out, 1);
    EXPECT_FLOAT_EQ(e->osc1Table[512], 0.9993f);
    e->acquireWaveforms(); // nothing newer: the tables stay
    EXPECT_FLOAT_EQ(e->osc1Table[512], 0.9993f);
}
