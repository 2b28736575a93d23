// The compiled-in waves (the facts the oscillators and the editor rely on, and a band limit
// that keeps the fixed 2048-sample cycle from aliasing badly) and the two oscillator tables
// built from them and handed to the rendering side at a slice start.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/Dravenor.h"
#include "engine/WaveTableBank.h"
#include "tests/engine/Listening.h"

namespace {

constexpr int kLen = WaveTableBank::kWaveLength;
constexpr float kLowestDrive = 1.12201846f;  // Osc-Sat at 0: +1 dB
constexpr float kHighDrive = 354.81339f;     // Osc-Sat at 1: +51 dB

double peakOf(const float* w, int n = kLen)
{
    double m = 0.0;
    for (int i = 0; i < n; ++i) m = std::fmax(m, std::fabs(w[i]));
    return m;
}

std::unique_ptr<Dravenor> engineWith(uint8_t wave1, float drive1, uint8_t wave2 = 0, float drive2 = 1.0f)
{
    auto e = std::make_unique<Dravenor>();
    e->osc1Wave = wave1, e->osc1Drive = drive1, e->osc2Wave = wave2, e->osc2Drive = drive2;
    e->updateWaveforms();
    e->acquireWaveforms();
    return e;
}

} // namespace

TEST(WaveTableBank, IndexesAndTellingSamples)
{
    for (int bad : {0, 40, -1}) EXPECT_EQ(WaveTableBank::wave(bad), nullptr);
    for (int bad : {-1, 3}) EXPECT_EQ(WaveTableBank::baseWave(bad), nullptr);
    EXPECT_EQ(WaveTableBank::wave(1), WaveTableBank::data());
    EXPECT_EQ(WaveTableBank::wave(39), WaveTableBank::data() + 38 * kLen);
    struct Fact { int wave, sample; float value, tolerance; };
    for (const Fact& f : {Fact{1, 0, 0.0f, 1e-6f}, Fact{1, 512, 1.0f, 1e-7f}, Fact{1, 1536, -1.0f, 1e-7f},
                          Fact{1, 256, 0.70710678f, 1e-6f},
                          Fact{10, 512, 0.9993f, 1e-6f}, Fact{10, 1536, -0.9993f, 1e-4f}, Fact{10, 0, 0.0f, 1e-3f}})
        EXPECT_NEAR(WaveTableBank::wave(f.wave)[f.sample], f.value, f.tolerance) << f.wave << " " << f.sample;
    const float* triangle = WaveTableBank::wave(10);  // a straight ramp between the rounded corners
    for (int i = 64; i <= 448; i += 64) EXPECT_NEAR(triangle[i], 0.9993 * i / 512.0, 0.01) << i;
}

// Every wave within full scale, audible, without DC, free of anything above harmonic 144
// (at 440 Hz and 44.1 kHz a saw's folded-back part stays 40 dB down) and unlike the others.
// Entries 5..7 are pictures of saturated sums and are never played from the bank.
TEST(WaveTableBank, WavesAreFullScaleBandLimitedAndDistinct)
{
    for (int w = 1; w <= WaveTableBank::kWaveCount; ++w) {
        const float* s = WaveTableBank::wave(w);
        const double peak = peakOf(s);
        EXPECT_TRUE(peak <= 1.0 && peak >= 0.25) << "wave " << w;
        const std::vector<double> mag = spectrum(s, kLen, false);
        EXPECT_NEAR(mag[0] / kLen, 0.0, 1e-3) << "wave " << w << " carries DC";
        double above = 0.0, total = 0.0;
        for (int h = 1; h <= kLen / 2; ++h) total += mag[h] * mag[h], above += h > 144 ? mag[h] * mag[h] : 0.0;
        EXPECT_TRUE((w >= 5 && w <= 7) || std::sqrt(above / total) < 1e-5) << "wave " << w;
        EXPECT_TRUE(w != 2 || mag[32] / mag[1] > 0.028) << "the saw is bright below the limit";
        for (int b = w + 1; b <= WaveTableBank::kWaveCount; ++b) {
            double diff = 0.0;
            for (int i = 0; i < kLen; ++i) diff = std::fmax(diff, std::fabs(s[i] - WaveTableBank::wave(b)[i]));
            EXPECT_GT(diff, 0.05) << "waves " << w << " and " << b;
        }
    }
}

// Waves 32..39: symmetric (odd about 0, even about 512), peaks from 0.2562 to 1.0 in even steps.
TEST(WaveTableBank, SeriesOfSymmetricWavesRisesInEvenSteps)
{
    double previous = 0.0;
    for (int w = 32; w <= 39; ++w) {
        const float* s = WaveTableBank::wave(w);
        const double peak = peakOf(s);
        EXPECT_NEAR(w == 32 ? peak : peak - previous, w == 32 ? 0.2562 : 0.107, w == 32 ? 1e-4 : 0.002) << "wave " << w;
        previous = peak;
        for (int i = 1; i < kLen / 2; ++i) {
            ASSERT_NEAR(s[i], -s[kLen - i], 1e-5) << "wave " << w << " not odd at " << i;
            ASSERT_NEAR(s[(512 - i + kLen) % kLen], s[512 + i], 1e-5) << "wave " << w << " not even about 512";
        }
    }
    EXPECT_NEAR(previous, 1.0, 1e-6);
}

TEST(WaveTableBank, BaseWavesMatchTheirBankWavesAndEndInZeros)
{
    const float *b0 = WaveTableBank::baseWave(0), *b1 = WaveTableBank::baseWave(1), *b2 = WaveTableBank::baseWave(2);
    double twin = 0.0;
    for (int i = 0; i < kLen; ++i) {
        ASSERT_NEAR(b0[i], WaveTableBank::wave(2)[i], 1e-5) << i;
        ASSERT_NEAR(b1[i], WaveTableBank::wave(4)[i], 1e-5) << i;
        twin = std::fmax(twin, std::fabs(b2[i] - b1[i]));
    }
    EXPECT_TRUE(twin > 0.0 && twin <= 0.0013) << "base wave 2 is a near copy of 1: " << twin;
    for (const float* b : {b0, b1, b2}) {
        EXPECT_NEAR(b[0], 0.0f, 0.001f);
        for (int i = kLen; i < WaveTableBank::kBaseWaveStride; ++i) ASSERT_EQ(b[i], 0.0f) << i;
    }
}

// The lowest drive plays the bank wave unchanged, any higher one tanh(x x drive); the table
// repeats samples 0..2 behind the cycle for the interpolating read.
TEST(Waveforms, DrivePlaysTheBankWaveCleanOrSaturated)
{
    auto e = engineWith(3, kLowestDrive, 27, kLowestDrive);
    for (int i = 0; i < kOscTableLength - 1; ++i) {
        ASSERT_EQ(e->osc1Table[i], WaveTableBank::wave(3)[i % kLen]) << i;
        ASSERT_EQ(e->osc2Table[i], WaveTableBank::wave(27)[i % kLen]) << i;
    }
    EXPECT_EQ(e->osc1Table[kOscTableLength - 1], 0.0f);
    EXPECT_EQ(e->sounding, 1);
    e = engineWith(12, 2.0f);
    for (int i = 0; i < kOscTableLength - 1; ++i)
        ASSERT_NEAR(e->osc1Table[i], std::tanh(WaveTableBank::wave(12)[i % kLen] * 2.0), 1e-6) << i;
    e = engineWith(39, 1.0f);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(e->osc1Table[kLen + i], e->osc1Table[i]);
}

// Waves 4..7 sum saturated base waves (4: base 1, 5: base 0 + 1, 6: base 1 + 2, 7: all three),
// always saturated; bank entries 5..7 show those sums at the lowest drive, scaled to full scale.
TEST(Waveforms, WavesFourToSevenSumSaturatedBaseWaves)
{
    auto e = engineWith(4, kLowestDrive);
    for (int i = 0; i < kLen; ++i)
        ASSERT_NEAR(e->osc1Table[i], std::tanh(WaveTableBank::baseWave(1)[i] * double(kLowestDrive)), 1e-6) << i;
    EXPECT_EQ(e->osc1Table[kLen], 0.0f);  // from the zeros behind the base wave
    struct Peak { uint8_t wave; float drive; double peak; };
    for (const Peak& p : {Peak{4, kLowestDrive, 0.81}, Peak{5, kLowestDrive, 1.38}, Peak{6, kLowestDrive, 1.62},
                          Peak{7, kLowestDrive, 2.03}, Peak{4, kHighDrive, 1.0}, Peak{5, kHighDrive, 2.0},
                          Peak{6, kHighDrive, 2.0}, Peak{7, kHighDrive, 3.0}})
        EXPECT_NEAR(peakOf(engineWith(0, 1.0f, p.wave, p.drive)->osc2Table, kLen + 1), p.peak, 0.01) << int(p.wave);
    for (uint8_t w = 5; w <= 7; ++w) {
        e = engineWith(w, kLowestDrive);
        const double peak = peakOf(e->osc1Table);
        for (int i = 0; i < kLen; ++i) ASSERT_NEAR(e->osc1Table[i] / peak, WaveTableBank::wave(w)[i], 1e-5) << int(w);
    }
}

// New tables reach the voices at the next slice start, not while a program load holds the
// rebuild back; with both oscillators off the tables are silent and nothing sounds.
TEST(Waveforms, TablesChangeOnlyAtASliceStart)
{
    auto e = engineWith(1, 1.0f);
    e->osc1Wave = 10;
    e->updateWaveforms();
    EXPECT_EQ(e->osc1Table[512], 1.0f);  // the rendering side still holds the sine
    float left[16], right[16];
    float* out[2] = {left, right};
    e->render(16, out, 1);
    EXPECT_FLOAT_EQ(e->osc1Table[512], 0.9993f);
    e->acquireWaveforms();  // nothing newer: the tables stay
    EXPECT_FLOAT_EQ(e->osc1Table[512], 0.9993f);
    e->waveRebuildEnabled = 0;
    e->osc1Wave = 3;
    e->updateWaveforms();
    e->render(16, out, 1);
    EXPECT_FLOAT_EQ(e->osc1Table[512], 0.9993f);
    e->waveRebuildEnabled = 1;
    e->osc1Wave = 0;
    e->updateWaveforms();
    e->render(16, out, 1);
    EXPECT_EQ(e->sounding, 0);
    EXPECT_EQ(peakOf(e->osc1Table, kOscTableLength) + peakOf(e->osc2Table, kOscTableLength), 0.0);
}
