// Parameter conversion: the steps of discrete values (at their boundaries and beyond the
// range a host may send), read-out times, working values the rendering tests do not hear
// directly, and the side effects of a conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/Dravenor.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::unique_ptr<Dravenor> engine() { return std::make_unique<Dravenor>(); }

} // namespace

TEST(ParameterConversion, DiscreteValuesLandOnTheirStep)
{
#define READ(field) [](const Dravenor& e) { return static_cast<int32_t>(e.field); }
    struct Steps {
        const char* name;
        int32_t index;
        int32_t (*read)(const Dravenor&);
        std::vector<std::pair<float, int32_t>> cases;  // value, step
    };
    const Steps table[] = {
        {"Osc1W", 24, READ(osc1Wave), {{0.0f, 0}, {0.025f, 0}, {0.026f, 1}, {1.0f, 39}, {2.578f, 39}, {-1.0f, 0},
        {kNaN, 0}, {kInf, 39}, {-kInf, 0}, {1e30f, 39}}},
        {"Osc2W", 25, READ(osc2Wave), {{0.026f, 1}, {2.578f, 39}}},
        {"Osc1-C", 0, READ(osc1Coarse), {{0.0f, -12}, {0.5f, 0}, {1.0f, 12}, {kInf, (1 << 20) - 12}}},
        {"Osc2-C", 12, READ(osc2Coarse), {{0.0f, -12}, {1.0f, 12}}},
        {"Osc3-C", 65, READ(osc3Coarse), {{0.0f, -48}, {0.5f, 0}, {1.0f, 48}}},
        {"Osc1-F", 1, READ(osc1Fine), {{0.0f, -64}, {0.5f, 0}, {1.0f, 64}, {-kInf, -(1 << 20) - 64}}},
        {"Osc2-F", 13, READ(osc2Fine), {{0.0f, -64}, {1.0f, 64}}},
        {"Osc3-F", 66, READ(osc3Fine), {{0.0f, -64}, {1.0f, 64}}},
        {"Voice-Mode", 32, READ(voiceMode), {{0.0f, 0}, {0.3f, 0}, {0.5f, 1}, {0.75f, 1}, {1.0f, 2}}},
        {"Flt-Type", 33, READ(filterType),
         {{0.2f, 0}, {0.25f, 1}, {0.5f, 2}, {0.75f, 3}, {1.0f, 4}, {1.0f / 3.0f, 1}, {2.0f / 3.0f, 2}}},
        {"Flt-Inv", 34, READ(filterInvert), {{0.5f, 0}, {0.84f, 1}, {1.0f, 1}}},
        {"glide type", 61, READ(glideType), {{0.0f, 0}, {0.99f, 1}, {1.0f, 1}}},
        {"bend range", 60, READ(bendRange), {{0.02f, 2}, {0.12f, 12}, {1.0f, 100}, {1e30f, 2047}, {kNaN, 0}}},
        {"routing", 28, READ(oscRouting), {{0.0f, 0}, {1.0f, 1}, {2.0f, 2}, {2.9f, 2}, {1e9f, 255}, {-5.0f, 0}}},
        {"SharedFilt", 62, READ(perVoiceFilter), {{0.0f, 1}, {0.1f, 1}, {0.11f, 0}}},
        {"LFO-Sync", 27, READ(lfoSync), {{0.5f, 0}, {0.51f, 1}}},
        {"Ch-Sync", 30, READ(chorusSync), {{0.5f, 0}, {1.0f, 1}}},
        {"PercEnv", 29, READ(percEnv), {{0.5f, 0}, {0.51f, 1}}},
        {"Out-High on", 57, READ(outHighpassOn), {{0.001f, 0}, {0.0011f, 1}}},
        {"Out-Low on", 56, READ(outLowpassOn), {{0.999f, 0}, {0.998f, 1}}},
        {"Out-Dist on", 55, READ(outDistOn), {{0.01f, 0}, {0.011f, 1}}},
        {"Osc3 on", 70, READ(osc3On), {{0.0f, 0}, {0.001f, 1}}},
        {"Bass-Sprd", 54, READ(bassDelayLength), {{1.0f, 4410}, {0.5f, 2205}, {-1.0f, 0}, {kInf, 9599}, {kNaN, 0}}},
        {"PUp-Del", 36, READ(pitchUpDelay), {{1.0f, 44100}}},
        {"PDw-Del", 40, READ(pitchDownDelay), {{0.5f, 22050}, {kInf, INT32_MAX}}},
        {"Ch-Del sync steps", 44, READ(chorusSyncSteps), {{0.0f, 1}, {0.5f, 4}, {1.0f, 8}}},
    };
#undef READ
    auto e = engine();
    for (const Steps& s : table) {
        for (auto [value, expected] : s.cases) {
            e->setParameter(s.index, value);
            EXPECT_EQ(s.read(*e), expected) << s.name << " at " << value;
        }
    }
    // The editor and the bank store wave n as n / 39; parameter 59 asks for n voices at n / 100,
    // and counts above 20 leave the count as it was (0 and below are stored).
    for (int n = 0; n <= 39; ++n) {
        e->setParameter(kParamOsc1Wave, n / 39.0f);
        e->setParameter(kParamOsc2Wave, n / 39.0f);
        EXPECT_TRUE(e->osc1Wave == n && e->osc2Wave == n) << n;
    }
    for (int n = 0; n <= 20; ++n) {
        e->setParameter(kParamVoiceCount, n / 100.0f);
        EXPECT_EQ(e->voiceCount, n);
    }
    for (float v : {0.25f, 0.21f, 1.0f, kInf, 1e30f}) e->setParameter(kParamVoiceCount, v);
    EXPECT_EQ(e->voiceCount, 20);
    for (int32_t n : {21, 1000, -3}) e->setPolyphony(n);
    EXPECT_EQ(e->voiceCount, -3);
    e->setSampleRate(96000.0);
    e->setParameter(kParamBassSpread, 1.0f);
    EXPECT_EQ(e->bassDelayLength, 9599);  // 100 ms would pass the cleared part of the line
}

// Working values at the ends of their ranges (and for a NaN), as the conversion must give them.
TEST(ParameterConversion, WorkingValuesAtTheEndsOfTheirRanges)
{
    using D = Dravenor;
    struct Case { int32_t index; float value; float D::*field; float expected; };
    const Case cases[] = {
        {kParamAmpDecay, 0.0f, &D::ampDecayCoef, 0.99850929f}, {kParamFltCutoff, kNaN, &D::cutoffTarget, 0.0f},
        {kParamOutGain, kNaN, &D::outGain, 0.0f},  // a host's NaN is taken as 0, not kept to poison the sound
        {kParamAmpRelease, 1.0f, &D::ampReleaseCoef, 0.99998957f}, {kParamFltReso, 0.0f, &D::filterResonance, 2.0f},
        {kParamFltReso, 1.0f, &D::filterResonance, 0.15f}, {kParamFltEnv, 0.0f, &D::filterEnvAmount, 0.01f},
        {kParamFltSep, 0.4f, &D::filterSeparation, 0.8f}, {kParamOsc1Sat, 0.0f, &D::osc1Drive, 1.1220185f},
        {kParamOsc2Sat, 1.0f, &D::osc2Drive, 354.81339f}, {kParamOutDist, 0.01f, &D::outDistGain, 1.0592537f},
        {kParamOutGain, 0.5f, &D::outGain, 4.0f}, {kParamChorusAmount, 0.0f, &D::chorusDry, 1.0f},
        {kParamChorusAmount, 0.0f, &D::chorusWet, 0.0f}, {kParamChorusAmount, 1.0f, &D::chorusDry, 0.70710678f},
        {kParamChorusAmount, 1.0f, &D::chorusWet, 0.70710678f}, {kParamChorusDelay, 1.0f, &D::chorusDelay, 22050.0f},
        {kParamChorusMod, 1.0f, &D::chorusModDepth, 220.5f}, {kParamOsc3Amount, 1.0f, &D::osc3Amount, 64.0f},
        {kParamWheelOsc3, 0.5f, &D::wheelToOsc3, 8.0f}, {kParamPressureOsc3, 0.5f, &D::pressureToOsc3, 4.0f},
        {kParamPressureFilter, 0.5f, &D::pressureToFilter, 0.25f}, {kParamLfoFilter, 1.0f, &D::lfoToFilter, 0.25f},
        {kParamLfoRate, 1.0f, &D::lfoRateHz, 100.0f}, {kParamBassFreq, 1.0f, &D::bassFreqHz, 1000.0f},
        {kParamGlide, 1.0f, &D::glideScale, 8.0f}, {kParamOsc2Decay, 0.999f, &D::osc2DecayCoef, 1.0f},
        {kParamOsc3Decay, 1.0f, &D::osc3DecayCoef, 1.0f}, {kParamPitchUpRelease, 0.999f, &D::pitchUpReleaseCoef, 1.0f},
        {kParamPitchDownDecay, 0.999f, &D::pitchDownDecayCoef, 1.0f},
    };
    auto e = engine();
    for (const Case& c : cases) {
        e->setParameter(c.index, c.value);
        EXPECT_NEAR((*e).*c.field, c.expected, std::fabs(c.expected) * 2e-7f + 1e-9f) << c.index << " at " << c.value;
    }
    e->setParameter(kParamOsc2Decay, 0.998f);
    EXPECT_LT(e->osc2DecayCoef, 1.0f);
    e->setParameter(kParamOsc3Decay, 1.0f);
    EXPECT_DOUBLE_EQ(e->osc3DecayMs, 30000.0);
    e->setParameter(kParamOsc2Decay, 0.999f);
    EXPECT_DOUBLE_EQ(e->osc2DecayMs, Dravenor::decayTimeMs(0.999f, 5.0, 10000.0, 0.1));  // still shown
}

TEST(ParameterConversion, IndexesOutsideTheParametersChangeNothing)
{
    auto e = engine();
    e->setProgram(0, true);
    std::vector<unsigned char> before(sizeof(Dravenor));
    std::memcpy(before.data(), static_cast<const void*>(e.get()), sizeof(Dravenor));
    for (int index : {-1, 82, 86, 91, 92, 1000, INT32_MIN, 63, 64})
        for (float v : {0.0f, 0.5f, 1.0f, kNaN}) e->setParameter(index, v);
    EXPECT_EQ(std::memcmp(before.data(), static_cast<const void*>(e.get()), sizeof(Dravenor)), 0);
}

// PercEnv converts the four times whose range it chooses again, so that they follow the values
// in whatever order they came; Flt-Sep leaves the velocity amounts alone; Flt-Cut glides to its
// new value from where it stands.
TEST(ParameterConversion, SideEffectsOfAConversion)
{
    const auto times = [](const Dravenor& e) {
        return std::tuple(e.ampAttackCoef, e.ampAttackMs, e.filterDecayCoef, e.filterDecayMs, e.pitchUpDecayCoef,
                          e.pitchDownDecayCoef);
    };
    for (float perc : {0.0f, 1.0f}) {
        auto first = engine(), last = engine();
        first->setParameter(kParamPercEnv, perc);
        last->setParameter(kParamPercEnv, 1.0f - perc);
        for (auto [index, v] : {std::pair{kParamAmpAttack, 0.5f}, {kParamFltDecay, 0.3f}, {kParamPitchUpDecay, 0.7f},
                                {kParamPitchDownDecay, 0.2f}}) {
            first->setParameter(index, v);
            last->setParameter(index, v);
        }
        last->setParameter(kParamPercEnv, perc);
        EXPECT_EQ(times(*last), times(*first)) << "PercEnv " << perc;
    }
    auto e = engine();
    e->setParameter(kParamPercEnv, 0.0f);
    e->setParameter(kParamAmpAttack, 0.5f);
    e->setParameter(kParamPercEnv, 1.0f);
    EXPECT_DOUBLE_EQ(e->ampAttackMs, Dravenor::expScale(0.5f, 2.0f, 3000.0f));

    e->setParameter(kParamVelAmp, 0.3f);
    e->setParameter(kParamVelFilter, 0.7f);
    e->setParameter(kParamFltSep, 0.4f);
    EXPECT_TRUE(e->velToAmp == 0.3f && e->velToFilter == 0.7f);

    e->setParameter(kParamFltCutoff, 0.8f);
    EXPECT_EQ(std::tuple(e->cutoffTarget, e->cutoffCurrent, e->cutoffRampSteps, e->cutoffRampActive),
              std::tuple(0.8f, 0.5f, 2000, 1));
    EXPECT_FLOAT_EQ(e->cutoffRampStep, 0.3f / 2000.0f);
}

// Wave and saturation values rebuild the oscillators, which reach the voices (and the
// sounding switch) with the next slice; not while a program load holds the rebuild back.
TEST(ParameterConversion, WaveValuesRebuildTheOscillators)
{
    auto e = engine();
    float left[8], right[8];
    float* out[2] = {left, right};
    auto soundingAfter = [&](int32_t index, float value) {
        if (index >= 0) e->setParameter(index, value);
        e->render(8, out, 1);
        return e->sounding;
    };
    EXPECT_EQ(soundingAfter(kParamOsc1Wave, 0.5f), 1);
    EXPECT_EQ(soundingAfter(kParamOsc1Wave, 0.0f), 0);
    e->osc2Wave = 3;  // without the rebuild
    EXPECT_EQ(soundingAfter(-1, 0.0f), 0);
    EXPECT_EQ(soundingAfter(kParamOsc2Sat, 0.2f), 1);
    e->waveRebuildEnabled = 0;  // as during a program load
    EXPECT_EQ(soundingAfter(kParamOsc2Wave, 0.0f), 1);
}
