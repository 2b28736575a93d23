// The factory patch builder stores values that the engine's own conversion turns
// back into the musical units the builder was given: every step of every
// discrete parameter, and times, frequencies, gains and depths within rounding.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/Dravenor.h"
#include "engine/FactoryPrograms.h"

using namespace factory;

namespace {

// One engine shared by the tests (construction builds every table); each patch converts
// all 82 values twice, so that the PercEnv-dependent ranges follow the patch's own PercEnv.
Dravenor* engineWith(const Patch& patch)
{
    static const std::unique_ptr<Dravenor> engine = std::make_unique<Dravenor>();
    for (int pass = 0; pass < 2; ++pass)
        for (int32_t i = 0; i < kNumParams; ++i) engine->setParameter(i, patch.v[i]);
    return engine.get();
}

Patch plain() { return Patch(kInitPatch); }

// Corner in Hz of a filter index, as the engine's coefficient table maps it.
double cornerHz(double index) { return 10.0 * std::pow(2200.0, index / 4096.0); }

} // namespace

TEST(FactoryPatch, EveryDiscreteStepReadsBackExactly)
{
    for (int32_t n = -12; n <= 12; ++n) {
        auto e = engineWith(plain().osc1(2, n, 0).osc2(2, -n, 0));
        EXPECT_TRUE(e->osc1Coarse == n && e->osc2Coarse == -n) << n;
    }
    for (int32_t c = -64; c <= 64; ++c) {
        auto e = engineWith(plain().osc1(2, 0, c).osc3(0, c, 1.0, 0, 1));
        EXPECT_TRUE(e->osc1Fine == c && e->osc3Fine == c) << c;
    }
    for (int32_t n = -48; n <= 48; ++n) EXPECT_EQ(engineWith(plain().osc3(n, 0, 1.0, 0, 1))->osc3Coarse, n);
    for (int32_t w = 1; w <= 39; ++w) EXPECT_EQ(engineWith(plain().osc1(w).osc2(40 - w))->osc1Wave, w);
    for (int32_t n = 4; n <= 12; ++n) EXPECT_EQ(engineWith(plain().voices(n))->voiceCount, n);
    EXPECT_EQ(engineWith(plain().osc2Off())->osc2Wave, 0);
    auto e = engineWith(plain().osc1BeyondBank(-12, 5));
    EXPECT_TRUE(e->osc1Wave == 39 && e->osc1Coarse == -12);
    EXPECT_EQ(engineWith(plain().mode(VoiceMode::Wide))->voiceMode, 1);
    e = engineWith(plain().unison(6, 3));
    EXPECT_TRUE(e->voiceMode == 2 && e->voiceCount == 6);
    for (auto [type, engineType] :
         {std::pair{Filter::LowPass, 0}, {Filter::HighPass, 1}, {Filter::BandPass, 2}, {Filter::Notch, 4}})
        EXPECT_EQ(engineWith(plain().filter(type, 1000, 0.0))->filterType, engineType);
}

TEST(FactoryPatch, EnvelopeTimesFollowTheirOwnPercEnv)
{
    for (bool perc : {false, true}) {
        auto e = engineWith(plain().perc(perc).amp(40, 500, 0.5, 800).filterEnv(2, 30, 400, 0.2, 300)
                                .osc2Env(250, 0.1).osc3(0, 0, 1.0, 700, 0.0));
        EXPECT_EQ(e->percEnv, perc ? 1 : 0);
        for (auto [shown, ms] : {std::pair{e->ampAttackMs, 40.0}, {e->ampDecayMs, 3 * 500.0}, {e->ampReleaseMs, 800.0},
                                 {e->filterAttackMs, 30.0 / 2}, {e->filterDecayMs, 3 * 400.0}, {e->filterReleaseMs, 300.0},
                                 {e->osc2DecayMs, 3 * 250.0}, {e->osc3DecayMs, 3 * 700.0}})
            // Decays given to -20 dB, shown to -60 dB; the filter attack given to 0.01, shown to its end at 0.9.
            EXPECT_NEAR(shown, ms, ms * 1e-3) << "PercEnv " << perc;
        EXPECT_FLOAT_EQ(e->ampSustain, 0.5f);
    }
    // Setting PercEnv after the times converts them again for the new range.
    EXPECT_NEAR(engineWith(plain().perc(false).amp(40, 500, 0.5, 800).perc(true))->ampAttackMs, 40.0, 0.04);
}

TEST(FactoryPatch, FrequenciesGainsAndDepthsReadBack)
{
    auto e = engineWith(plain().lfo(5.5, 300).wobble(1.0).glide(80).chorus(0.4, 12, 2.5, 0.6, 0.5, 0.3)
                            .bass(0.3, 0.5, 150, 20).distortion(12).gain(-6).filterEnv(3.0, 2.2, 300, 0.0, 100)
                            .separation(0.8));
    const std::pair<double, double> readBack[] = {
        {e->lfoRateHz, 5.5}, {e->lfoToFilter, 1.0 * kOctaveUnits}, {e->glideScale * 40.0, 80.0},
        {e->chorusDelayMs, 12.0}, {e->chorusModDepth / 44.1, 2.5}, {e->chorusRateHz, 0.6}, {e->bassFreqHz, 150.0},
        {e->outDistGain, std::pow(10.0, 12 / 20.0)}, {e->outGain, std::pow(10.0, -6 / 20.0)},
        {e->filterEnvAmount * 0.9, 3.0 * kOctaveUnits}, {e->filterSeparation, 0.8}};
    for (auto [actual, expected] : readBack)
        EXPECT_NEAR(actual, expected, std::fabs(expected) * 1e-3);
    EXPECT_EQ(e->bassDelayLength, 882);
    // The cutoff is given at middle C, with key tracking.
    for (double keyTrack : {0.0, 0.35, 1.0})
        for (double hz : {200.0, 1000.0, 5000.0}) {
            e = engineWith(plain().filter(Filter::LowPass, hz, 0.0, keyTrack));
            EXPECT_NEAR(cornerHz((e->cutoffTarget + 60.0 * e->filterKeyTrack / 200.0) * 4600.0), hz, hz * 1e-3);
        }
    // The output filters switch off at the ends of their ranges.
    e = engineWith(plain().outputBand(20000, 3));
    EXPECT_TRUE(e->outLowpassOn == 0 && e->outHighpassOn == 0);
    e = engineWith(plain().outputBand(5000, 40));
    EXPECT_TRUE(e->outLowpassOn == 1 && e->outHighpassOn == 1);
}
