// The compiled-in waves: the facts the oscillators and the editor rely on, and
// the band limit that keeps the fixed 2048-sample cycle from aliasing badly.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "engine/WaveTableBank.h"

namespace {

constexpr int kLen = WaveTableBank::kWaveLength;

double peakOf(const float* w, int n = kLen)
{
    double m = 0.0;
    for (int i = 0; i < n; ++i) m = std::fmax(m, std::fabs(w[i]));
    return m;
}

// Magnitudes of harmonics 0..kLen/2 of one cycle (radix-2 FFT).
std::vector<double> harmonics(const float* w)
{
    std::vector<std::complex<double>> a(w, w + kLen);
    for (int i = 1, j = 0; i < kLen; ++i) {
        int bit = kLen >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (int len = 2; len <= kLen; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * M_PI / len);
        for (int i = 0; i < kLen; i += len) {
            std::complex<double> r = 1.0;
            for (int k = 0; k < len / 2; ++k, r *= step) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * r;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
    std::vector<double> mag(kLen / 2 + 1);
    for (int h = 0; h <= kLen / 2; ++h) mag[h] = std::abs(a[h]) * 2.0 / kLen;
    return mag;
}

} // namespace

TEST(WaveTableBank, AccessorsCoverExactlyTheDefinedIndexes)
{
    EXPECT_EQ(WaveTableBank::wave(0), nullptr);
    EXPECT_EQ(WaveTableBank::wave(40), nullptr);
    EXPECT_EQ(WaveTableBank::wave(-1), nullptr);
    EXPECT_EQ(WaveTableBank::baseWave(-1), nullptr);
    EXPECT_EQ(WaveTableBank::baseWave(3), nullptr);
    EXPECT_EQ(WaveTableBank::wave(1), WaveTableBank::data());
    EXPECT_EQ(WaveTableBank::wave(39), WaveTableBank::data() + 38 * kLen);
}

TEST(WaveTableBank, EveryWaveStaysWithinFullScaleAndIsNotSilent)
{
    for (int w = 1; w <= WaveTableBank::kWaveCount; ++w) {
        const float* s = WaveTableBank::wave(w);
        double peak = peakOf(s), mean = 0.0;
        for (int i = 0; i < kLen; ++i) mean += s[i];
        EXPECT_LE(peak, 1.0) << "wave " << w;
        EXPECT_GE(peak, 0.25) << "wave " << w;
        EXPECT_NEAR(mean / kLen, 0.0, 1e-3) << "wave " << w << " carries DC";
    }
}

struct SampleFact { int wave; int sample; float value; float tolerance; };

class WaveSampleFacts : public testing::TestWithParam<SampleFact> {};

TEST_P(WaveSampleFacts, SampleHoldsItsValue)
{
    const SampleFact f = GetParam();
    EXPECT_NEAR(WaveTableBank::wave(f.wave)[f.sample], f.value, f.tolerance);
}

INSTANTIATE_TEST_SUITE_P(TellingEntries, WaveSampleFacts,
                         testing::Values(SampleFact{1, 0, 0.0f, 1e-6f}, SampleFact{1, 512, 1.0f, 1e-7f},
                                         SampleFact{1, 1536, -1.0f, 1e-7f}, SampleFact{1, 256, 0.70710678f, 1e-6f},
                                         SampleFact{10, 512, 0.9993f, 1e-6f}, SampleFact{10, 1536, -0.9993f, 1e-4f},
                                         SampleFact{10, 0, 0.0f, 1e-3f}));

TEST(WaveTableBank, TriangleIsAStraightRampBetweenItsPeaks)
{
    const float* t = WaveTableBank::wave(10);
    EXPECT_FLOAT_EQ(static_cast<float>(peakOf(t)), 0.9993f);
    // Away from the rounded corners the wave rises linearly: 0 at 0, 0.9993 at 512.
    for (int i = 64; i <= 448; i += 64) EXPECT_NEAR(t[i], 0.9993 * i / 512.0, 0.01) << i;
}

TEST(WaveTableBank, SeriesOfSymmetricWavesRisesInEvenSteps)
{
    double previous = 0.0;
    for (int w = 32; w <= 39; ++w) {
        const float* s = WaveTableBank::wave(w);
        const double peak = peakOf(s);
        if (w == 32) {
            EXPECT_NEAR(peak, 0.2562, 1e-4);
        } else {
            EXPECT_NEAR(peak - previous, 0.107, 0.002) << "wave " << w;
        }
        if (w == 39) {
            EXPECT_NEAR(peak, 1.0, 1e-6);
        }
        previous = peak;
        for (int i = 1; i < kLen / 2; ++i) {
            ASSERT_NEAR(s[i], -s[kLen - i], 1e-5) << "wave " << w << " not odd at " << i;
            if (i < 512) {
                ASSERT_NEAR(s[512 - i], s[512 + i], 1e-5) << "wave " << w << " not even about 512";
            }
        }
    }
}

TEST(WaveTableBank, BaseWavesMatchTheirBankWavesAndEndInZeros)
{
    const float* b0 = WaveTableBank::baseWave(0);
    const float* b1 = WaveTableBank::baseWave(1);
    const float* b2 = WaveTableBank::baseWave(2);
    double twin = 0.0;
    for (int i = 0; i < kLen; ++i) {
        ASSERT_NEAR(b0[i], WaveTableBank::wave(2)[i], 1e-5) << i;
        ASSERT_NEAR(b1[i], WaveTableBank::wave(4)[i], 1e-5) << i;
        twin = std::fmax(twin, std::fabs(b2[i] - b1[i]));
    }
    EXPECT_LE(twin, 0.0013);
    EXPECT_GT(twin, 0.0); // a near copy, not the same wave
    for (const float* b : {b0, b1, b2}) {
        EXPECT_NEAR(b[0], 0.0f, 0.001f);
        for (int i = kLen; i < WaveTableBank::kBaseWaveStride; ++i) ASSERT_EQ(b[i], 0.0f) << i;
    }
}

TEST(WaveTableBank, HarmonicsAreBandLimited)
{
    // No wave holds anything above harmonic 144; at 440 Hz and 44.1 kHz that
    // keeps the folded-back part of a saw 40 dB or more below its fundamental.
    // Entries 5..7 are pictures of saturated sums (as the oscillators play
    // them, tanh harmonics included) and are never played from the bank.
    for (int w = 1; w <= WaveTableBank::kWaveCount; ++w) {
        if (w >= 5 && w <= 7) continue;
        const std::vector<double> mag = harmonics(WaveTableBank::wave(w));
        double above = 0.0, total = 0.0;
        for (int h = 1; h <= kLen / 2; ++h) {
            total += mag[h] * mag[h];
            if (h > 144) above += mag[h] * mag[h];
        }
        EXPECT_LT(std::sqrt(above / total), 1e-5) << "wave " << w;
    }
    // The saw (wave 2) is bright below that limit: harmonic 32 within 31 dB of the fundamental.
    const std::vector<double> saw = harmonics(WaveTableBank::wave(2));
    EXPECT_GT(saw[32] / saw[1], 0.028);
}

TEST(WaveTableBank, WavesDifferFromEachOther)
{
    for (int a = 1; a <= WaveTableBank::kWaveCount; ++a)
        for (int b = a + 1; b <= WaveTableBank::kWaveCount; ++b) {
            double diff = 0.0;
            for (int i = 0; i < kLen; ++i)
                diff = std::fmax(diff, std::fabs(WaveTableBank::wave(a)[i] - WaveTableBank::wave(b)[i]));
            EXPECT_GT(diff, 0.05) << "waves " << a << " and " << b;
        }
}
