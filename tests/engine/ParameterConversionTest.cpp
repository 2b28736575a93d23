// Parameter conversion: boundary values, integer steps, switches and side effects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/Dravenor.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// An integer (or switch) working value read back after one conversion.
struct StepCase {
    const char* what;
    int index;
    float value;
    int32_t (*read)(const Dravenor&);
    int32_t expected;
};

int32_t osc1Wave(const Dravenor& e) { return e.osc1Wave; }
int32_t osc2Wave(const Dravenor& e) { return e.osc2Wave; }
int32_t osc1Coarse(const Dravenor& e) { return e.osc1Coarse; }
int32_t osc2Coarse(const Dravenor& e) { return e.osc2Coarse; }
int32_t osc3Coarse(const Dravenor& e) { return e.osc3Coarse; }
int32_t osc1Fine(const Dravenor& e) { return e.osc1Fine; }
int32_t osc3Fine(const Dravenor& e) { return e.osc3Fine; }
int32_t voiceMode(const Dravenor& e) { return e.voiceMode; }
int32_t filterType(const Dravenor& e) { return e.filterType; }
int32_t filterInvert(const Dravenor& e) { return e.filterInvert; }
int32_t glideType(const Dravenor& e) { return e.glideType; }
int32_t bendRange(const Dravenor& e) { return e.bendRange; }
int32_t routing(const Dravenor& e) { return e.oscRouting; }
int32_t perVoiceFilter(const Dravenor& e) { return e.perVoiceFilter; }
int32_t lfoSync(const Dravenor& e) { return e.lfoSync; }
int32_t chorusSync(const Dravenor& e) { return e.chorusSync; }
int32_t percEnv(const Dravenor& e) { return e.percEnv; }
int32_t outHighOn(const Dravenor& e) { return e.outHighpassOn; }
int32_t outLowOn(const Dravenor& e) { return e.outLowpassOn; }
int32_t outDistOn(const Dravenor& e) { return e.outDistOn; }
int32_t osc3On(const Dravenor& e) { return e.osc3On; }
int32_t bassDelay(const Dravenor& e) { return e.bassDelayLength; }
int32_t pitchUpDelay(const Dravenor& e) { return e.pitchUpDelay; }
int32_t pitchDownDelay(const Dravenor& e) { return e.pitchDownDelay; }
int32_t syncSteps(const Dravenor& e) { return static_cast<int32_t>(e.chorusSyncSteps); }

class IntegerSteps : public testing::TestWithParam<StepCase> {};

TEST_P(IntegerSteps, LandOnTheirStep)
{
    const StepCase& c = GetParam();
    Dravenor engine;
    engine.setParameter(c.index, c.value);
    EXPECT_EQ(c.read(engine), c.expected) << c.what << " at " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, IntegerSteps,
    testing::Values(
        StepCase{"Osc1W", 24, 0.0f, osc1Wave, 0}, StepCase{"Osc1W", 24, 0.025f, osc1Wave, 0},
        StepCase{"Osc1W", 24, 0.026f, osc1Wave, 1}, StepCase{"Osc1W", 24, 1.0f, osc1Wave, 39},
        StepCase{"Osc1W", 24, 2.578f, osc1Wave, 39}, StepCase{"Osc1W", 24, 20.0f / 39.0f, osc1Wave, 20},
        StepCase{"Osc1W", 24, -1.0f, osc1Wave, 0}, StepCase{"Osc1W", 24, kNaN, osc1Wave, 0},
        StepCase{"Osc1W", 24, kInf, osc1Wave, 39}, StepCase{"Osc1W", 24, -kInf, osc1Wave, 0},
        StepCase{"Osc1W", 24, 1e30f, osc1Wave, 39}, StepCase{"Osc2W", 25, 0.026f, osc2Wave, 1},
        StepCase{"Osc2W", 25, 2.578f, osc2Wave, 39},
        StepCase{"Osc1-C", 0, 0.0f, osc1Coarse, -12}, StepCase{"Osc1-C", 0, 0.5f, osc1Coarse, 0},
        StepCase{"Osc1-C", 0, 1.0f, osc1Coarse, 12}, StepCase{"Osc2-C", 12, 0.0f, osc2Coarse, -12},
        StepCase{"Osc2-C", 12, 1.0f, osc2Coarse, 12}, StepCase{"Osc3-C", 65, 0.0f, osc3Coarse, -48},
        StepCase{"Osc3-C", 65, 0.5f, osc3Coarse, 0}, StepCase{"Osc3-C", 65, 1.0f, osc3Coarse, 48},
        StepCase{"Osc1-C", 0, kInf, osc1Coarse, (1 << 20) - 12},
        StepCase{"Osc1-F", 1, 0.0f, osc1Fine, -64}, StepCase{"Osc1-F", 1, 0.5f, osc1Fine, 0},
        StepCase{"Osc1-F", 1, 1.0f, osc1Fine, 64}, StepCase{"Osc3-F", 66, 0.0f, osc3Fine, -64},
        StepCase{"Osc1-F", 1, -kInf, osc1Fine, -(1 << 20) - 64},
        StepCase{"Voice-Mode", 32, 0.0f, voiceMode, 0}, StepCase{"Voice-Mode", 32, 0.5f, voiceMode, 1},
        StepCase{"Voice-Mode", 32, 1.0f, voiceMode, 2}, StepCase{"Flt-Type", 33, 0.25f, filterType, 1},
        StepCase{"Flt-Type", 33, 0.5f, filterType, 2}, StepCase{"Flt-Type", 33, 0.75f, filterType, 3},
        StepCase{"Flt-Type", 33, 1.0f, filterType, 4}, StepCase{"Flt-Inv", 34, 0.5f, filterInvert, 0},
        StepCase{"Flt-Inv", 34, 0.84f, filterInvert, 1}, StepCase{"Flt-Inv", 34, 1.0f, filterInvert, 1},
        StepCase{"glide type", 61, 0.0f, glideType, 0}, StepCase{"glide type", 61, 1.0f, glideType, 1},
        StepCase{"glide type", 61, 0.99f, glideType, 1}, StepCase{"bend range", 60, 0.02f, bendRange, 2},
        StepCase{"bend range", 60, 0.12f, bendRange, 12}, StepCase{"bend range", 60, 1.0f, bendRange, 100},
        StepCase{"bend range", 60, 1e30f, bendRange, 2047}, StepCase{"bend range", 60, kNaN, bendRange, 0},
        StepCase{"routing", 28, 0.0f, routing, 0}, StepCase{"routing", 28, 1.0f, routing, 1},
        StepCase{"routing", 28, 2.0f, routing, 2}, StepCase{"routing", 28, 2.9f, routing, 2},
        StepCase{"routing", 28, 1e9f, routing, 255}, StepCase{"routing", 28, -5.0f, routing, 0},
        StepCase{"SharedFilt", 62, 0.0f, perVoiceFilter, 1},
        StepCase{"SharedFilt", 62, 0.1f, perVoiceFilter, 1},
        StepCase{"SharedFilt", 62, 0.11f, perVoiceFilter, 0}, StepCase{"LFO-Sync", 27, 0.5f, lfoSync, 0},
        StepCase{"LFO-Sync", 27, 0.51f, lfoSync, 1}, StepCase{"Ch-Sync", 30, 0.5f, chorusSync, 0},
        StepCase{"Ch-Sync", 30, 1.0f, chorusSync, 1}, StepCase{"PercEnv", 29, 0.5f, percEnv, 0},
        StepCase{"PercEnv", 29, 0.51f, percEnv, 1}, StepCase{"Out-High", 57, 0.001f, outHighOn, 0},
        StepCase{"Out-High", 57, 0.0011f, outHighOn, 1}, StepCase{"Out-Low", 56, 0.999f, outLowOn, 0},
        StepCase{"Out-Low", 56, 0.998f, outLowOn, 1}, StepCase{"Out-Dist", 55, 0.01f, outDistOn, 0},
        StepCase{"Out-Dist", 55, 0.011f, outDistOn, 1}, StepCase{"Osc3-Amt", 70, 0.0f, osc3On, 0},
        StepCase{"Osc3-Amt", 70, 0.001f, osc3On, 1}, StepCase{"Bass-Sprd", 54, 1.0f, bassDelay, 4410},
        StepCase{"Bass-Sprd", 54, 0.5f, bassDelay, 2205}, StepCase{"Bass-Sprd", 54, -1.0f, bassDelay, 0},
        StepCase{"Bass-Sprd", 54, kInf, bassDelay, 9599}, StepCase{"Bass-Sprd", 54, kNaN, bassDelay, 0},
        StepCase{"PUp-Del", 36, 1.0f, pitchUpDelay, 44100}, StepCase{"PDw-Del", 40, 0.5f, pitchDownDelay, 22050},
        StepCase{"PDw-Del", 40, kInf, pitchDownDelay, INT32_MAX}, StepCase{"Ch-Del", 44, 0.0f, syncSteps, 1},
        StepCase{"Ch-Del", 44, 0.5f, syncSteps, 4}, StepCase{"Ch-Del", 44, 1.0f, syncSteps, 8}));

// The editor and the factory bank store wave n as n / 39; every step lands on its wave.
class WaveIndexSteps : public testing::TestWithParam<int> {};

TEST_P(WaveIndexSteps, IndexOver39SelectsThatWave)
{
    Dravenor engine;
    engine.setParameter(kParamOsc1Wave, static_cast<float>(GetParam()) / 39.0f);
    engine.setParameter(kParamOsc2Wave, static_cast<float>(GetParam()) / 39.0f);
    EXPECT_EQ(engine.osc1Wave, GetParam());
    EXPECT_EQ(engine.osc2Wave, GetParam());
}

INSTANTIATE_TEST_SUITE_P(AllWaves, WaveIndexSteps, testing::Range(0, 40));

// Display times for the read-out at the middle of each knob (geometric mean of the range;
// three times it for the decays whose multiplier reaches 0.1).
struct DisplayTimeCase {
    const char* what;
    int index;
    double Dravenor::*field;
    double expected;
};

class DisplayTimes : public testing::TestWithParam<DisplayTimeCase> {};

TEST_P(DisplayTimes, AtTheMiddleOfTheKnob)
{
    const DisplayTimeCase& c = GetParam();
    Dravenor engine;
    engine.setParameter(kParamPercEnv, 0.0f);
    engine.setParameter(c.index, 0.5f);
    EXPECT_NEAR(engine.*c.field, c.expected, c.expected * 1e-6) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    EightTimes, DisplayTimes,
    testing::Values(DisplayTimeCase{"Amp-Atk", 8, &Dravenor::ampAttackMs, 144.91377},
                    DisplayTimeCase{"Amp-Dec", 9, &Dravenor::ampDecayMs, 1050.0},
                    DisplayTimeCase{"Amp-Rel", 11, &Dravenor::ampReleaseMs, 489.89795},
                    DisplayTimeCase{"Flt-Atk", 20, &Dravenor::filterAttackMs, 69.570109},
                    DisplayTimeCase{"Flt-Dec", 21, &Dravenor::filterDecayMs, 2121.3203},
                    DisplayTimeCase{"Flt-Rel", 23, &Dravenor::filterReleaseMs, 282.84271},
                    DisplayTimeCase{"Osc2-Dec", 15, &Dravenor::osc2DecayMs, 670.82039},
                    DisplayTimeCase{"Osc3-Dec", 68, &Dravenor::osc3DecayMs, 670.82039}));

// Parameter 59 asks for n voices at n / 100; counts above 20 leave the count as it was.
class VoiceCountParameter : public testing::TestWithParam<int> {};

TEST_P(VoiceCountParameter, AsksForNVoices)
{
    Dravenor engine;
    engine.setParameter(kParamVoiceCount, static_cast<float>(GetParam()) / 100.0f);
    EXPECT_EQ(engine.voiceCount, GetParam());
}

INSTANTIATE_TEST_SUITE_P(OneToTwenty, VoiceCountParameter, testing::Range(1, 21));

TEST(VoiceCountParameterLimits, AboveTwentyIsIgnored)
{
    Dravenor engine;
    engine.setParameter(kParamVoiceCount, 0.12f);
    const float ignored[] = {0.25f, 0.21f, 1.0f, kInf, 1e30f};
    for (float v : ignored) {
        engine.setParameter(kParamVoiceCount, v);
        EXPECT_EQ(engine.voiceCount, 12) << v;
    }
    engine.setParameter(kParamVoiceCount, 0.0f);
    EXPECT_EQ(engine.voiceCount, 0);
}

TEST(ParameterIndexes, OutsideTheParametersChangeNothing)
{
    Dravenor engine;
    engine.setProgram(0, true);
    std::vector<unsigned char> before(sizeof(Dravenor));
    std::memcpy(before.data(), static_cast<const void*>(&engine), sizeof(Dravenor));
    const int indexes[] = {-1, 82, 86, 91, 92, 1000, INT32_MIN, 63, 64};
    for (int index : indexes)
        for (float v : {0.0f, 0.5f, 1.0f, kNaN}) engine.setParameter(index, v);
    EXPECT_EQ(std::memcmp(before.data(), static_cast<const void*>(&engine), sizeof(Dravenor)), 0);
}

TEST(ParameterConversion, DecayAtTheTopHoldsWhileItsTimeIsStillShown)
{
    Dravenor engine;
    engine.setParameter(kParamOsc2Decay, 0.999f);
    EXPECT_EQ(engine.osc2DecayCoef, 1.0f);
    EXPECT_DOUBLE_EQ(engine.osc2DecayMs, Dravenor::decayTimeMs(0.999f, 5.0, 10000.0, 0.1));
    engine.setParameter(kParamOsc2Decay, 0.998f);
    EXPECT_LT(engine.osc2DecayCoef, 1.0f);
    engine.setParameter(kParamOsc3Decay, 1.0f);
    EXPECT_EQ(engine.osc3DecayCoef, 1.0f);
    EXPECT_DOUBLE_EQ(engine.osc3DecayMs, 3.0 * 10000.0);
    engine.setParameter(kParamPitchUpRelease, 0.999f);
    EXPECT_EQ(engine.pitchUpReleaseCoef, 1.0f);
    engine.setParameter(kParamPitchDownDecay, 0.999f);
    EXPECT_EQ(engine.pitchDownDecayCoef, 1.0f);
}

TEST(ParameterConversion, CutoffStartsARampFromWhereItStands)
{
    Dravenor engine;
    engine.setParameter(kParamFltCutoff, 0.8f);
    EXPECT_EQ(engine.cutoffTarget, 0.8f);
    EXPECT_EQ(engine.cutoffCurrent, 0.5f);
    EXPECT_FLOAT_EQ(engine.cutoffRampStep, 0.3f / 2000.0f);
    EXPECT_EQ(engine.cutoffRampSteps, 2000);
    EXPECT_EQ(engine.cutoffRampActive, 1);
}

TEST(ParameterConversion, FilterSeparationLeavesVelocityAmountsAlone)
{
    Dravenor engine;
    engine.setParameter(kParamVelAmp, 0.3f);
    engine.setParameter(kParamVelFilter, 0.7f);
    engine.setParameter(kParamFltSep, 0.4f);
    EXPECT_FLOAT_EQ(engine.filterSeparation, 0.8f);
    EXPECT_EQ(engine.velToAmp, 0.3f);
    EXPECT_EQ(engine.velToFilter, 0.7f);
}

TEST(ParameterConversion, PercEnvRecomputesNothingByItself)
{
    Dravenor engine;
    engine.setParameter(kParamPercEnv, 0.0f);
    engine.setParameter(kParamAmpAttack, 0.5f);
    engine.setParameter(kParamFltDecay, 0.5f);
    const float attack = engine.ampAttackCoef;
    const double decayMs = engine.filterDecayMs;
    engine.setParameter(kParamPercEnv, 1.0f);
    EXPECT_EQ(engine.ampAttackCoef, attack);
    EXPECT_DOUBLE_EQ(engine.ampAttackMs, Dravenor::expScale(0.5f, 6.0f, 3500.0f));
    EXPECT_DOUBLE_EQ(engine.filterDecayMs, decayMs);
    engine.setParameter(kParamAmpAttack, 0.5f);
    EXPECT_DOUBLE_EQ(engine.ampAttackMs, Dravenor::expScale(0.5f, 2.0f, 3000.0f));
    EXPECT_EQ(engine.ampAttackCoef, engine.expTimeCoef(0.5f, 2.0f, 3000.0f, 0.1f));
    engine.setParameter(kParamPitchUpDecay, 0.5f);
    EXPECT_EQ(engine.pitchUpDecayCoef, engine.expTimeCoef(0.5f, 2.0f, 200.0f, 0.1f));
}

TEST(ParameterConversion, WorkingValuesAndDisplayTimes)
{
    Dravenor engine;
    engine.setParameter(kParamAmpDecay, 0.0f);
    EXPECT_NEAR(engine.ampDecayCoef, 0.99850929f, 1e-7f);
    EXPECT_NEAR(engine.ampDecayMs, 105.0, 1e-9);
    engine.setParameter(kParamAmpRelease, 1.0f);
    EXPECT_NEAR(engine.ampReleaseCoef, 0.99998957f, 1e-7f);
    EXPECT_NEAR(engine.ampReleaseMs, 15000.0, 1e-6);
    engine.setParameter(kParamFltAttack, 1.0f);
    EXPECT_NEAR(engine.filterAttackMs, 2200.0, 1e-3);
    engine.setParameter(kParamFltReso, 0.0f);
    EXPECT_FLOAT_EQ(engine.filterResonance, 2.0f);
    engine.setParameter(kParamFltReso, 1.0f);
    EXPECT_FLOAT_EQ(engine.filterResonance, 0.15f);
    engine.setParameter(kParamFltEnv, 0.0f);
    EXPECT_FLOAT_EQ(engine.filterEnvAmount, 0.01f);
    engine.setParameter(kParamLevelRm, 0.25f);
    EXPECT_EQ(engine.osc1Level, 0.75f);
    EXPECT_EQ(engine.ringModLevel, 0.5f);
    engine.setParameter(kParamOsc1Sat, 0.0f);
    EXPECT_NEAR(engine.osc1Drive, 1.1220185f, 1e-6f);
    engine.setParameter(kParamOsc2Sat, 1.0f);
    EXPECT_NEAR(engine.osc2Drive, 354.81339f, 1e-3f);
    engine.setParameter(kParamOutDist, 0.01f);
    EXPECT_EQ(engine.outDistGain, Dravenor::dbToGain(0.5f));
    engine.setParameter(kParamOutGain, 0.5f);
    EXPECT_EQ(engine.outGain, 4.0f);
    engine.setParameter(kParamChorusAmount, 0.0f);
    EXPECT_EQ(engine.chorusDry, 1.0f);
    EXPECT_EQ(engine.chorusWet, 0.0f);
    engine.setParameter(kParamChorusAmount, 1.0f);
    EXPECT_FLOAT_EQ(engine.chorusDry, std::sqrt(0.5f));
    engine.setParameter(kParamChorusDelay, 1.0f);
    EXPECT_NEAR(engine.chorusDelayMs, 500.0f, 1e-3f);
    EXPECT_NEAR(engine.chorusDelay, 22050.0f, 0.01f);
    engine.setParameter(kParamChorusRate, 1.0f);
    EXPECT_EQ(engine.chorusPhaseInc, static_cast<uint32_t>(static_cast<int64_t>(engine.chorusRateHz * engine.phaseIncPerHz)));
    engine.setParameter(kParamOsc3Amount, 1.0f);
    EXPECT_NEAR(engine.osc3Amount, 64.0f, 1e-4f);
    engine.setParameter(kParamWheelOsc3, 0.5f);
    EXPECT_EQ(engine.wheelToOsc3, 8.0f);
    engine.setParameter(kParamPressureFilter, 0.5f);
    EXPECT_EQ(engine.pressureToFilter, 0.25f);
}

TEST(ParameterConversion, BassSpreadRestartsTheDelayAndStaysInsideTheLine)
{
    Dravenor engine;
    engine.setSampleRate(96000.0);
    engine.bassDelayPos = 123;
    engine.setParameter(kParamBassSpread, 1.0f);
    EXPECT_EQ(engine.bassDelayLength, 9599);  // not 9600
    EXPECT_EQ(engine.bassDelayPos, 0);
}

TEST(ParameterConversion, NotANumberIsTakenAsZero)
{
    Dravenor engine;
    engine.setParameter(kParamFltCutoff, kNaN);
    EXPECT_EQ(engine.cutoffTarget, 0.0f);
    engine.setParameter(kParamOutGain, kNaN);
    EXPECT_EQ(engine.outGain, 0.0f);
}

TEST(ParameterConversion, WaveParametersRebuildTheOscillators)
{
    // Rebuilt waves reach the voices (and `sounding`) by the next rendered slice.
    Dravenor engine;
    float left[8], right[8];
    float* out[2] = {left, right};
    engine.setParameter(kParamOsc1Wave, 0.5f);
    engine.render(8, out, 1);
    EXPECT_EQ(engine.sounding, 1);
    engine.setParameter(kParamOsc1Wave, 0.0f);
    engine.render(8, out, 1);
    EXPECT_EQ(engine.sounding, 0);
    engine.osc2Wave = 3;  // without the rebuild hook
    engine.render(8, out, 1);
    EXPECT_EQ(engine.sounding, 0);
    engine.setParameter(kParamOsc2Sat, 0.2f);
    engine.render(8, out, 1);
    EXPECT_EQ(engine.sounding, 1);
    engine.waveRebuildEnabled = 0;  // as during a program load
    engine.setParameter(kParamOsc2Wave, 0.0f);
    engine.render(8, out, 1);
    EXPECT_EQ(engine.sounding, 1);
}

} // namespace
