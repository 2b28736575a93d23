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

void expectNear(double actual, double expected, double relative, const char* what)
{
    EXPECT_NEAR(actual, expected, std::fabs(expected) * relative) << what;
}

// Corner in Hz of a filter index, as the engine's coefficient table maps it.
double cornerHz(double index) { return 10.0 * std::pow(2200.0, index / 4096.0); }

} // namespace

TEST(FactoryPatch, EveryDiscreteStepReadsBackExactly)
{
    for (int32_t n = -12; n <= 12; ++n) {
        auto e = engineWith(plain().osc1(2, n, 0).osc2(2, -n, 0));
        EXPECT_EQ(e->osc1Coarse, n);
        EXPECT_EQ(e->osc2Coarse, -n);
    }
    for (int32_t c = -64; c <= 64; ++c) {
        auto e = engineWith(plain().osc1(2, 0, c).osc3(0, c, 1.0, 0, 1));
        EXPECT_EQ(e->osc1Fine, c);
        EXPECT_EQ(e->osc3Fine, c);
    }
    for (int32_t n = -48; n <= 48; ++n) EXPECT_EQ(engineWith(plain().osc3(n, 0, 1.0, 0, 1))->osc3Coarse, n);
    for (int32_t w = 1; w <= 39; ++w) EXPECT_EQ(engineWith(plain().osc1(w).osc2(40 - w))->osc1Wave, w);
    EXPECT_EQ(engineWith(plain().osc2Off())->osc2Wave, 0);
    EXPECT_EQ(engineWith(plain().osc1BeyondBank(-12, 5))->osc1Wave, 39);
    EXPECT_EQ(engineWith(plain().osc1BeyondBank(-12, 5))->osc1Coarse, -12);
    EXPECT_EQ(engineWith(plain().mode(VoiceMode::Wide))->voiceMode, 1);
    EXPECT_EQ(engineWith(plain().unison(6, 3))->voiceMode, 2);
    EXPECT_EQ(engineWith(plain().unison(6, 3))->voiceCount, 6);
    const struct {
        Filter type;
        int32_t engineType;
    } filters[] = {{Filter::LowPass, 0}, {Filter::HighPass, 1}, {Filter::BandPass, 2}, {Filter::Notch, 4}};
    for (const auto& f : filters) EXPECT_EQ(engineWith(plain().filter(f.type, 1000, 0.0))->filterType, f.engineType);
    for (int32_t n = 4; n <= 12; ++n) EXPECT_EQ(engineWith(plain().voices(n))->voiceCount, n);
}

TEST(FactoryPatch, EnvelopeTimesFollowTheirOwnPercEnv)
{
    for (bool perc : {false, true}) {
        auto e = engineWith(plain().perc(perc).amp(40, 500, 0.5, 800).filterEnv(2, 30, 400, 0.2, 300)
                                .osc2Env(250, 0.1).osc3(0, 0, 1.0, 700, 0.0));
        EXPECT_EQ(e->percEnv, perc ? 1 : 0);
        expectNear(e->ampAttackMs, 40, 1e-3, "amp attack");
        expectNear(e->ampDecayMs, 3 * 500, 1e-3, "amp decay (to -60 dB)");
        expectNear(e->ampReleaseMs, 800, 1e-3, "amp release");
        expectNear(e->filterAttackMs, 30, 1e-3, "filter attack");
        expectNear(e->filterDecayMs, 3 * 400, 1e-3, "filter decay (to -60 dB)");
        expectNear(e->osc2DecayMs, 3 * 250, 1e-3, "Osc2 decay");
        expectNear(e->osc3DecayMs, 3 * 700, 1e-3, "Osc3 decay");
        EXPECT_FLOAT_EQ(e->ampSustain, 0.5f);
    }
    // Setting PercEnv after the times converts them again for the new range.
    auto e = engineWith(plain().perc(false).amp(40, 500, 0.5, 800).perc(true));
    expectNear(e->ampAttackMs, 40, 1e-3, "amp attack after PercEnv change");
}

TEST(FactoryPatch, PitchEnvelopeDepthsAreSemitonesInBothRanges)
{
    for (bool perc : {false, true}) {
        auto e = engineWith(plain().perc(perc).pitchUp(7, 0.0, 30).pitchDown(2, 0.1, 50));
        const double stepsAtFull = perc ? 6144.0 : 1536.0;
        expectNear(e->pitchUpAmount * stepsAtFull / 128.0, 7.0, 1e-5, "pitch-up semitones");
        expectNear(e->pitchDownAmount * stepsAtFull / 128.0, 2.0, 1e-5, "pitch-down semitones");
        EXPECT_EQ(e->pitchDownDelay, 4410);
    }
}

TEST(FactoryPatch, FrequenciesGainsAndDepthsReadBack)
{
    auto e = engineWith(plain().lfo(5.5, 300).vibrato(2.0).wobble(1.0).glide(80).chorus(0.4, 12, 2.5, 0.6, 0.5, 0.3)
                            .bass(0.3, 0.5, 150, 20).distortion(12).gain(-6).fmIndex(2.0)
                            .osc3(0, 0, 1.5, 0, 1).filterEnv(3.0, 2.2, 300, 0.0, 100).separation(0.8));
    expectNear(e->lfoRateHz, 5.5, 1e-4, "LFO rate");
    expectNear(e->lfoToOsc * 441.0, 2.0, 1e-4, "vibrato Hz at 44.1 kHz");
    expectNear(e->lfoToFilter, 1.0 * kOctaveUnits, 1e-4, "wobble in cutoff units");
    expectNear(e->glideScale * 40.0, 80, 1e-4, "glide ms");
    expectNear(e->chorusDelayMs, 12, 1e-4, "chorus delay");
    expectNear(e->chorusModDepth / 44.1, 2.5, 1e-3, "chorus depth ms");
    expectNear(e->chorusRateHz, 0.6, 1e-4, "chorus rate");
    expectNear(e->bassFreqHz, 150, 1e-4, "bass corner");
    EXPECT_EQ(e->bassDelayLength, 882);
    expectNear(e->outDistGain, std::pow(10.0, 12 / 20.0), 1e-4, "distortion gain");
    expectNear(e->outGain, std::pow(10.0, -6 / 20.0), 1e-4, "output gain");
    expectNear(e->ringModLevel * 8.0, 2.0, 1e-5, "FM index");
    expectNear(e->osc3Amount, 1.5, 1e-4, "Osc3 index");
    expectNear(e->filterEnvAmount * 0.9, 3.0 * kOctaveUnits, 1e-5, "filter envelope octaves");
    expectNear(e->filterSeparation, 0.8, 1e-6, "second-stage ratio");
}

TEST(FactoryPatch, CutoffIsGivenAtMiddleCWithKeyTracking)
{
    for (double keyTrack : {0.0, 0.35, 1.0}) {
        for (double hz : {200.0, 1000.0, 5000.0}) {
            auto e = engineWith(plain().filter(Filter::LowPass, hz, 0.0, keyTrack));
            const double index = (e->cutoffTarget + 60.0 * e->filterKeyTrack / 200.0) * 4600.0;
            expectNear(cornerHz(index), hz, 1e-3, "corner at middle C");
        }
    }
}

TEST(FactoryPatch, OutputFiltersSwitchOffAtTheEndsOfTheirRanges)
{
    auto off = engineWith(plain().outputBand(20000, 3));
    EXPECT_EQ(off->outLowpassOn, 0);
    EXPECT_EQ(off->outHighpassOn, 0);
    auto on = engineWith(plain().outputBand(5000, 40));
    EXPECT_EQ(on->outLowpassOn, 1);
    EXPECT_EQ(on->outHighpassOn, 1);
}
