// The chain after the voices (shared filter, bass enhancer, distortion,
// chorus, output stage) and the slice driver render.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include <xmmintrin.h>

#include "engine/Dravenor.h"
#include "engine/FilterLimits.h"
#include "tests/engine/EngineRig.h"

namespace {

double rms(const std::vector<float>& v, size_t from = 0)
{
    double sum = 0.0;
    for (size_t i = from; i < v.size(); ++i) sum += double(v[i]) * v[i];
    return std::sqrt(sum / double(v.size() - from));
}

bool allFinite(const std::vector<float>& v)
{
    for (float x : v)
        if (!std::isfinite(x)) return false;
    return true;
}

double peakOf(const std::vector<float>& v)
{
    double m = 0.0;
    for (float x : v) m = std::fmax(m, std::fabs(x));
    return m;
}

} // namespace

TEST(SharedFilter, MakesBothOutputsIdentical)
{
    EngineRig rig(44100.0, kInitPatchProgram);
    rig.set(kParamSharedFilter, 1.0f); // one filter on the voice sum
    rig.set(kParamVoiceMode, 0.5f);    // layers weighted towards different outputs
    rig.set(kParamChorusAmount, 0.0f);
    rig.set(kParamFltCutoff, 0.6f);
    ASSERT_EQ(rig.engine->perVoiceFilter, 0);
    rig.engine->noteOn(60, 100, 0);
    rig.engine->noteOn(67, 100, 0);
    std::vector<float> left, right;
    rig.render(8192, left, right, {333});
    EXPECT_GT(rms(left), 0.01);
    for (size_t i = 0; i < left.size(); ++i) ASSERT_EQ(left[i], right[i]) << i;
}

TEST(SharedFilter, LfoAdvancesOnlyWhileTheSumIsFiltered)
{
    EngineRig rig(44100.0, kInitPatchProgram);
    rig.set(kParamLfoRate, 0.5f);
    rig.set(kParamSharedFilter, 0.0f); // filters per voice
    rig.engine->noteOn(60, 100, 0);
    std::vector<float> left, right;
    rig.render(1000, left, right, {100});
    EXPECT_EQ(rig.engine->sharedLfoPhase, 0u);
    EXPECT_EQ(rig.engine->sharedLfoStage, 0);
    rig.set(kParamSharedFilter, 1.0f);
    rig.render(1000, left, right, {100});
    const uint32_t inc = static_cast<uint32_t>(static_cast<int64_t>(rig.engine->phaseIncPerHz * rig.engine->lfoRateHz));
    EXPECT_EQ(rig.engine->sharedLfoPhase, inc * 1000u);
    EXPECT_GT(rig.engine->sharedLfoFade, 0.0f);
}

TEST(SharedFilter, CoefficientStaysStableBelowFortyKilohertz)
{
    // At 32 kHz the table's top coefficient (1.03) would let an undamped stage
    // grow without bound; the filter keeps it inside the stable range.
    EngineRig rig(32000.0, kInitPatchProgram);
    Dravenor& e = *rig.engine;
    e.cutoffCurrent = 1.0f;
    e.filterResonance = 2.0f; // no resonance: the tightest limit
    e.filterType = 0;
    std::vector<float> left(32000), right(32000);
    uint32_t noise = 1;
    for (float& x : left) {
        noise = noise * 1664525u + 1013904223u;
        x = static_cast<float>(noise >> 8) / 8388608.0f - 1.0f;
    }
    float* out[2] = {left.data(), right.data()};
    for (int k = 0; k < 32000; k += 1000) {
        float* slice[2] = {out[0] + k, out[1] + k};
        e.processSharedFilter(1000, slice);
    }
    EXPECT_TRUE(allFinite(left));
    EXPECT_LT(peakOf(left), 4.0);
    EXPECT_GT(rms(left), 0.01);
}

class FilterLimitRate : public testing::TestWithParam<double> {};

TEST_P(FilterLimitRate, LimitDoesNotTouchTheTableAtCommonRates)
{
    Dravenor e;
    e.setSampleRate(GetParam());
    EXPECT_LT(e.tables->filterCoefTable[kFilterCoefSize - 1], stableFilterCoefLimit(2.0f));
}

INSTANTIATE_TEST_SUITE_P(CommonRates, FilterLimitRate, testing::Values(44100.0, 48000.0, 88200.0, 96000.0, 192000.0));

struct SlicingCase {
    int32_t program;
    float sharedFilter; // SharedFilt value: 0 per voice, 1 shared
};

class SlicedRendering : public testing::TestWithParam<SlicingCase> {};

TEST_P(SlicedRendering, OddPiecesEqualOneCall)
{
    // Both engines render the same first slice, in which the notes start and
    // their attacks finish (an attack resumes from the stored level at every
    // slice start, so it is the one stage that depends on slice boundaries).
    // From then on every stage carries its state across slices exactly.
    const SlicingCase c = GetParam();
    EngineRig whole(44100.0, c.program), pieces(44100.0, c.program);
    for (EngineRig* rig : {&whole, &pieces}) {
        rig->set(kParamSharedFilter, c.sharedFilter);
        rig->set(kParamChorusAmount, 0.6f);
        rig->set(kParamBassAmount, 0.4f);
        rig->set(kParamOutDist, 0.2f);
        rig->set(kParamAmpAttack, 0.0f);
        rig->set(kParamFltAttack, 0.0f);
        rig->set(kParamLfoDelay, 0.0f);
        rig->engine->noteOn(48, 100, 0);
        rig->engine->noteOn(55, 90, 0);
        rig->engine->noteOn(64, 80, 0);
        std::vector<float> l, r;
        rig->render(4096, l, r, {4096});
    }
    const std::vector<int32_t> odd = {1, 7, 13, 61, 127, 509, 3, 1021, 255};
    std::vector<float> l1, r1, l2, r2;
    whole.render(9000, l1, r1, {9000});
    pieces.render(9000, l2, r2, odd);
    // A release at the same frame in both (the plug-in splits a block at every note event).
    whole.engine->noteOff(55, 0);
    pieces.engine->noteOff(55, 0);
    whole.render(9000, l1, r1, {9000});
    pieces.render(9000, l2, r2, odd);
    ASSERT_GT(rms(l1), 0.001);
    double worst = 0.0;
    for (size_t i = 0; i < l1.size(); ++i) {
        worst = std::fmax(worst, std::fabs(l1[i] - l2[i]));
        worst = std::fmax(worst, std::fabs(r1[i] - r2[i]));
    }
    EXPECT_LT(worst, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(ProgramsAndFilters, SlicedRendering,
                         testing::Values(SlicingCase{0, 0.0f}, SlicingCase{0, 1.0f},
                                         SlicingCase{kInitPatchProgram, 0.0f},
                                         SlicingCase{kInitPatchProgram, 1.0f}));

TEST(Render, NoFramesReturnsAtOnce)
{
    EngineRig rig;
    Dravenor& e = *rig.engine;
    e.noteOn(60, 100, 0);
    e.cutoffRampActive = 1;
    float left[4] = {5, 5, 5, 5}, right[4] = {5, 5, 5, 5};
    float* out[2] = {left, right};
    for (int32_t frames : {0, -1, -4096}) {
        e.render(frames, out, 1);
        EXPECT_EQ(left[0], 5.0f);
        EXPECT_EQ(right[3], 5.0f);
        EXPECT_EQ(e.cutoffRampActive, 1);
        EXPECT_EQ(e.voices[0].started, 0); // the voice has not started yet
    }
}

TEST(Render, FlushToZeroOnlyWhileRendering)
{
    EngineRig rig;
    rig.engine->noteOn(60, 100, 0);
    const unsigned before = _mm_getcsr();
    for (unsigned mode : {before & ~0x8040u, before | 0x8040u}) {
        _mm_setcsr(mode);
        std::vector<float> l, r;
        rig.render(300, l, r, {100});
        EXPECT_EQ(_mm_getcsr(), mode);
    }
    _mm_setcsr(before);
}

TEST(Render, OnlyASoundingSliceEndsTheFreshStartAfterAReset)
{
    EngineRig rig;
    rig.set(kParamOsc1Wave, 0.0f);
    rig.set(kParamOsc2Wave, 0.0f);
    rig.engine->reset();
    std::vector<float> left, right;
    rig.render(64, left, right);
    EXPECT_EQ(rig.engine->freshAfterReset, 1);
    rig.set(kParamOsc2Wave, 1.0f);
    rig.render(64, left, right);
    EXPECT_EQ(rig.engine->freshAfterReset, 0);
    // The first sounding slice took the chorus targets at once.
    EXPECT_EQ(rig.engine->chorusState[0].feedback, rig.engine->chorusFeedback);
}

TEST(Render, SilentWhileNoWaveIsSelected)
{
    EngineRig rig;
    rig.set(kParamOsc1Wave, 0.0f);
    rig.set(kParamOsc2Wave, 0.0f);
    rig.engine->noteOn(60, 100, 0);
    std::vector<float> left(256, 0.5f), right(256, -0.5f);
    float* out[2] = {left.data(), right.data()};
    rig.engine->render(256, out, 0); // adding: what the outputs hold stays
    EXPECT_EQ(left[100], 0.5f);
    EXPECT_EQ(right[200], -0.5f);
    rig.engine->render(256, out, 1);
    EXPECT_EQ(peakOf(left), 0.0);
}

struct DistortionCase {
    float input;
    float gain;     // outDistGain
    float expected; // tanh(gain x input), argument limited to 16
    float tolerance;
};

class Distortion : public testing::TestWithParam<DistortionCase> {};

TEST_P(Distortion, FollowsTanhWithALimitedArgument)
{
    const DistortionCase c = GetParam();
    Dravenor e;
    e.outDistOn = 1;
    e.outDistGain = c.gain;
    e.outDistDriveCurrent[0] = e.outDistDriveCurrent[1] = -1.0f; // take the drive at once
    float left[3] = {c.input, c.input, c.input}, right[3] = {-c.input, 0.0f, c.input};
    float* out[2] = {left, right};
    e.processDistortion(3, out);
    EXPECT_NEAR(left[0], c.expected, c.tolerance);
    EXPECT_NEAR(left[2], c.expected, c.tolerance);
    if (std::isfinite(c.input)) {
        EXPECT_NEAR(right[0], -c.expected, c.tolerance);
    }
    EXPECT_EQ(right[1], 0.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Distortion,
    testing::Values(DistortionCase{0.1f, 1.0f, std::tanh(0.1f), 2e-5f}, DistortionCase{0.5f, 3.0f, std::tanh(1.5f), 2e-5f},
                    DistortionCase{-0.3f, 10.0f, std::tanh(-3.0f), 2e-5f},
                    DistortionCase{0.9f, 316.2f, std::tanh(16.0f), 1e-6f}, // argument limited just under 16
                    DistortionCase{1e30f, 316.2f, std::tanh(16.0f), 1e-6f}, // product beyond int32
                    DistortionCase{-1e30f, 316.2f, -std::tanh(16.0f), 1e-6f},
                    DistortionCase{INFINITY, 2.0f, std::tanh(16.0f), 1e-6f},
                    DistortionCase{NAN, 2.0f, -std::tanh(16.0f), 1e-6f})); // NaN lands on a limit, not in the output

TEST(Distortion, DriveRampsOverOneSliceAfterTheFirst)
{
    Dravenor e;
    e.outDistOn = 1;
    e.outDistGain = 1.0f;
    e.outDistDriveCurrent[0] = e.outDistDriveCurrent[1] = -1.0f;
    std::vector<float> left(100, 0.2f), right(100, 0.2f);
    float* out[2] = {left.data(), right.data()};
    e.processDistortion(100, out);
    EXPECT_NEAR(left[99], std::tanh(0.2f), 2e-5f);
    e.outDistGain = 4.0f;
    std::fill(left.begin(), left.end(), 0.2f);
    e.processDistortion(100, out);
    EXPECT_NEAR(left[0], std::tanh(0.2f), 2e-5f);            // starts at the old drive
    EXPECT_NEAR(left[50], std::tanh(0.2f * 2.5f), 2e-5f);     // halfway
    EXPECT_NEAR(e.outDistDriveCurrent[0], 4.0f * 262144.0f, 1.0f);
}

TEST(Chorus, SyncedDelayDoesNotOverwriteTheWorkingDelay)
{
    Dravenor e; // 44100 Hz, 120 BPM
    e.chorusDry = 1.0f;
    e.chorusSync = 1;
    e.chorusSyncSteps = 5.0f;
    e.chorusDelay = 123.0f;
    e.chorusSpread = 0.0f;
    std::vector<float> left(64, 0.0f), right(64, 0.0f);
    float* out[2] = {left.data(), right.data()};
    e.processChorus(64, out);
    EXPECT_EQ(e.chorusDelay, 123.0f);
    // 44100 x 60000 x 5 / 1200000: a quarter second, taken at once after a reset.
    EXPECT_NEAR(e.chorusState[0].delay, 11025.0f, 0.01f);
}

TEST(Chorus, DelayThatIsNotANumberStillReadsInsideTheLine)
{
    Dravenor e;
    e.chorusDry = 1.0f;
    e.chorusWet = 1.0f;
    e.chorusModDepth = NAN;
    e.chorusDelay = INFINITY;
    std::vector<float> left(256, 0.1f), right(256, 0.1f);
    float* out[2] = {left.data(), right.data()};
    e.processChorus(256, out); // reads stay in the line (the sanitizer build checks every one)
    EXPECT_TRUE(e.chorusWritePos[0] == 256 && e.chorusWritePos[1] == 256);
}

TEST(Chorus, AmountZeroPassesTheSignalAtFullLevel)
{
    EngineRig rig(48000.0, kInitPatchProgram);
    rig.set(kParamChorusAmount, 0.0f);
    Dravenor& e = *rig.engine;
    e.chorusDryCurrent = 1.0f;
    std::vector<float> left(500), right(500);
    for (int i = 0; i < 500; ++i) left[i] = right[i] = std::sin(i * 0.05f);
    std::vector<float> expect = left;
    float* out[2] = {left.data(), right.data()};
    e.processChorus(500, out);
    for (int i = 0; i < 500; ++i) ASSERT_FLOAT_EQ(left[i], expect[i]);
    EXPECT_EQ(e.chorusLines[0][499], expect[499]); // the line is still written
}

struct ExtremeChorus {
    double rate;
    float sync;  // Ch-Sync value
    float tempo; // BPM x 10000
};

class ChorusAtExtremes : public testing::TestWithParam<ExtremeChorus> {};

TEST_P(ChorusAtExtremes, ReadsStayInsideTheLineAndOutputStaysFinite)
{
    const ExtremeChorus c = GetParam();
    EngineRig rig(c.rate, 0);
    rig.set(kParamChorusDelay, 1.0f);
    rig.set(kParamChorusMod, 1.0f);
    rig.set(kParamChorusSpread, 1.0f);
    rig.set(kParamChorusAmount, 1.0f);
    rig.set(kParamChorusFeedback, 1.0f);
    rig.set(kParamChorusRate, 1.0f);
    rig.set(kParamChorusSync, c.sync);
    rig.engine->hostTempo = c.tempo;
    for (int8_t note : {36, 60, 96}) rig.engine->noteOn(note, 127, 0);
    std::vector<float> left, right;
    rig.render(static_cast<int32_t>(c.rate * 1.2), left, right, {4096});
    EXPECT_TRUE(allFinite(left));
    EXPECT_TRUE(allFinite(right));
    EXPECT_GT(rms(right), 0.0);
    for (const ChorusState& s : rig.engine->chorusState) EXPECT_LE(s.delay, kChorusLineLength - 3);
}

INSTANTIATE_TEST_SUITE_P(RatesAndTempos, ChorusAtExtremes,
                         testing::Values(ExtremeChorus{192000.0, 0.0f, 1200000.0f},
                                         ExtremeChorus{384000.0, 0.0f, 1200000.0f},
                                         ExtremeChorus{384000.0, 1.0f, 200000.0f},
                                         ExtremeChorus{44100.0, 1.0f, 10000.0f}));

TEST(BassEnhancer, OffLeavesSignalAndLineUntouched)
{
    Dravenor e;
    e.bassAmount = 0.0001f;
    e.bassDelayLength = 100;
    e.bassDelayLine[5] = 0.75f;
    std::vector<float> left(64, 0.3f), right(64, -0.3f);
    float* out[2] = {left.data(), right.data()};
    e.processBassEnhancer(64, out);
    EXPECT_EQ(left[10], 0.3f);
    EXPECT_EQ(right[10], -0.3f);
    EXPECT_EQ(e.bassDelayLine[5], 0.75f);
    EXPECT_EQ(e.bassDelayLine[0], 0.0f);
}

TEST(BassEnhancer, RaisesLowNotesAndDelaysOutputOne)
{
    Dravenor e;
    e.bassAmount = 1.0f;
    e.bassSaturation = 0.5f;
    e.bassFreqHz = 200.0f;
    e.bassDelayLength = 99; // output 1 hears it 100 frames late
    std::vector<float> left(4410), right(4410);
    for (int i = 0; i < 4410; ++i) left[i] = right[i] = 0.3f * std::sin(2.0f * 3.14159265f * 60.0f * i / 44100.0f);
    const double before = rms(left, 2205);
    float* out[2] = {left.data(), right.data()};
    e.processBassEnhancer(4410, out);
    EXPECT_GT(rms(left, 2205), before * 1.15); // about (theta / sin theta - 1) more of a 60 Hz tone
    EXPECT_EQ(right[50], 0.3f * std::sin(2.0f * 3.14159265f * 60.0f * 50 / 44100.0f)); // nothing yet on 1
    EXPECT_EQ(e.bassDelayPos, 4410 % 100);
}

TEST(OutputStage, GainJumpsAfterResetThenRamps)
{
    Dravenor e;
    e.outGain = 2.0f;
    std::vector<float> left(100, 0.5f), right(100, 0.5f);
    float* out[2] = {left.data(), right.data()};
    e.processOutputStage(100, out); // gain 0 after reset: jumps to 2
    EXPECT_FLOAT_EQ(left[0], 1.0f);
    EXPECT_FLOAT_EQ(right[99], 1.0f);
    e.outGain = 4.0f;
    std::fill(left.begin(), left.end(), 0.5f);
    std::fill(right.begin(), right.end(), 0.5f);
    e.processOutputStage(100, out);
    EXPECT_FLOAT_EQ(left[0], 1.0f);   // the gain before this frame's step
    EXPECT_NEAR(left[50], 1.5f, 1e-5); // halfway to 4
    EXPECT_NEAR(e.outputState[0].gain, 4.0f, 1e-4);
    e.outGain = 0.0f; // Out-Gain 0
    e.outputState[0].gain = e.outputState[1].gain = 0.0f;
    e.processOutputStage(100, out);
    EXPECT_EQ(peakOf(left), 0.0);
}

TEST(OutputStage, FiltersRunInSeriesWhenEitherSwitchIsOn)
{
    EngineRig rig(44100.0, kInitPatchProgram);
    rig.set(kParamOutLow, 0.3f);  // low-pass at about 490 Hz, on
    rig.set(kParamOutHigh, 0.0f); // high-pass off but running at its 3 Hz corner
    Dravenor& e = *rig.engine;
    std::vector<float> left(8820), right(8820);
    for (int i = 0; i < 8820; ++i) left[i] = right[i] = std::sin(2.0f * 3.14159265f * 5000.0f * i / 44100.0f);
    e.outputState[0].gain = e.outputState[1].gain = 1.0f;
    e.outGain = 1.0f;
    float* out[2] = {left.data(), right.data()};
    e.processOutputStage(8820, out);
    EXPECT_LT(rms(left, 4410), 0.707 * 0.15); // 5 kHz well above the corner
    EXPECT_GT(rms(left, 4410), 0.0);
}
