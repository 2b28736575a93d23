// Per-voice rendering heard through Dravenor::render: pitch, the sounding gate,
// Voice-Mode outputs and detune, glide, bend, oscillator routing details, and
// an extreme-input sweep that must stay finite.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "VoiceTestRig.h"

namespace {

constexpr int8_t kVelocity = 100;

// Init Patch tunes both oscillators 3/128 semitone sharp (Osc1-F and Osc2-F hold 0.528 and 0.525).
const double kInitPatchA4 = 440.0 * std::pow(2.0, 3.0 / 1536.0);

class PitchTest : public ::testing::TestWithParam<double> {};

TEST_P(PitchTest, NoteSixtyNineOfInitPatch)
{
    const double rate = GetParam();
    struct Variant {
        const char* name;
        bool centreFine;
        double expectedHz;
    };
    for (const Variant& variant : {Variant{"fine tuning centred", true, 440.0},
                                   Variant{"as stored", false, kInitPatchA4}}) {
        VoiceTestRig rig(rate);
        if (variant.centreFine) {
            rig.set(kParamOsc1Fine, 0.5f);
            rig.set(kParamOsc2Fine, 0.5f);
        }
        rig.engine.noteOn(69, kVelocity, 0);
        rig.render(rig.ms(1500), 512);
        const size_t from = static_cast<size_t>(rig.ms(250));
        const double hz = zeroCrossingFrequency(rig.left, from, rig.left.size(), rate);
        EXPECT_NEAR(cents(hz, variant.expectedHz), 0.0, 1.0) << variant.name << ": " << hz << " Hz";
        EXPECT_EQ(rig.left, rig.right) << "Voice-Mode 0 plays the same on both outputs";
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, PitchTest, ::testing::Values(44100.0, 48000.0, 96000.0));

TEST(VoiceRender, PitchBendIsSmoothedTowardsTheBentPitch)
{
    VoiceTestRig rig;
    rig.engine.setPitchBend(3 * 128);
    rig.engine.noteOn(69, kVelocity, 0);
    rig.render(rig.ms(1500), 512);
    EXPECT_NEAR(rig.engine.voices[0].bendSmoothed, 384.0f, 0.05f);
    const double hz = zeroCrossingFrequency(rig.left, rig.ms(500), rig.left.size(), 44100.0);
    EXPECT_NEAR(cents(hz, kInitPatchA4 * std::pow(2.0, 3.0 / 12.0)), 0.0, 1.0) << hz << " Hz";

    // An idle voice keeps its smoothed bend and moves from it to the current bend (10 Hz smoothing).
    rig.engine.noteOff(69, 0);
    rig.render(rig.ms(2000));
    ASSERT_EQ(rig.engine.voices[0].active, 0u);
    rig.engine.setPitchBend(0);
    rig.engine.noteOn(69, kVelocity, 0);
    rig.render(1, 1);
    EXPECT_GT(rig.engine.voices[0].bendSmoothed, 380.0f);
    rig.render(rig.ms(100));
    const float expected = 384.0f * std::exp(-2.0f * 3.14159265f * 10.0f * 0.1f);
    EXPECT_NEAR(rig.engine.voices[0].bendSmoothed, expected, 1.0f);
}

TEST(VoiceRender, BothWavesOffRenderNothingAndHoldTheVoices)
{
    VoiceTestRig rig;
    rig.set(kParamOsc1Wave, 0.0f);
    rig.set(kParamOsc2Wave, 0.0f);
    rig.engine.noteOn(60, kVelocity, 0);

    std::vector<float> a(300, 0.25f), b(300, -0.25f);
    float* outs[2] = {a.data(), b.data()};
    rig.engine.render(300, outs, 0);
    EXPECT_EQ(a, std::vector<float>(300, 0.25f)) << "nothing is added";
    EXPECT_EQ(b, std::vector<float>(300, -0.25f));
    rig.engine.render(300, outs, 1);
    EXPECT_EQ(a, std::vector<float>(300, 0.0f)) << "a cleared slice stays silent";
    const VoiceState& v = rig.engine.voices[0];
    EXPECT_EQ(v.started, 0);
    EXPECT_EQ(v.age, 0u);
    EXPECT_EQ(v.framesSinceStart, 0u);

    // The waiting voice starts with the first slice rendered with a wave on.
    rig.set(kParamOsc2Wave, 0.026f);
    rig.render(512);
    EXPECT_EQ(v.started, -1);
    EXPECT_EQ(v.age, 512u);
    EXPECT_GT(rms(rig.left, 0, 512), 0.01);
}

TEST(VoiceRender, VoiceModeTwoWithFiveVoicesSplitsSlotsTwoAndThree)
{
    VoiceTestRig rig;
    rig.set(kParamVoiceMode, 1.0f);
    ASSERT_EQ(rig.engine.voiceMode, 2);
    rig.engine.setPolyphony(5);
    const int8_t notes[5] = {45, 52, 59, 66, 73};
    for (uint8_t k = 0; k < 5; ++k) rig.engine.noteOn(notes[k], kVelocity, k);
    rig.render(rig.ms(1000));
    const size_t from = static_cast<size_t>(rig.ms(100)), to = rig.left.size();
    for (int32_t k = 0; k < 5; ++k) {
        ASSERT_EQ(rig.engine.voices[k].note, notes[k]);
        const double hz = rig.engine.tables->pitchHzTable[rig.engine.voices[k].osc1Pitch];
        const double p0 = tonePower(rig.left, from, to, hz, 44100.0);
        const double p1 = tonePower(rig.right, from, to, hz, 44100.0);
        if (k < 2) {
            EXPECT_GT(p0, 1e6 * p1) << "slot " << k << " belongs on output 0";
        } else {
            EXPECT_GT(p1, 1e6 * p0) << "slot " << k << " belongs on output 1";
        }
    }
}

// Base pitches at the voice start: note x 128 + fine x the Voice-Mode factor of the layer.
struct DetuneCase {
    float voiceModeValue;
    uint8_t layer;
    int32_t factor;
};

void PrintTo(const DetuneCase& c, std::ostream* os) { *os << "mode value " << c.voiceModeValue << ", layer " << int(c.layer); }

class DetuneTest : public ::testing::TestWithParam<DetuneCase> {};

TEST_P(DetuneTest, FineTuningFollowsLayer)
{
    const DetuneCase& c = GetParam();
    VoiceTestRig rig;
    rig.set(kParamOsc1Fine, 0.5f + 5.0f / 128.0f);   // +5
    rig.set(kParamOsc2Fine, 0.5f - 7.0f / 128.0f);   // -7
    rig.set(kParamVoiceMode, c.voiceModeValue);
    ASSERT_EQ(rig.engine.osc1Fine, 5);
    ASSERT_EQ(rig.engine.osc2Fine, -7);
    rig.engine.setPolyphony(20);
    rig.engine.noteOn(60, kVelocity, c.layer);
    rig.render(64);
    EXPECT_EQ(rig.engine.voices[0].osc1Pitch, 60 * 128 + 5 * c.factor);
    EXPECT_EQ(rig.engine.voices[0].osc2Pitch, 60 * 128 - 7 * c.factor);
}

INSTANTIATE_TEST_SUITE_P(Layers, DetuneTest,
                         ::testing::Values(DetuneCase{0.0f, 0, 1}, DetuneCase{0.0f, 3, 1},
                                           DetuneCase{0.5f, 0, 1}, DetuneCase{0.5f, 1, -1},
                                           DetuneCase{0.5f, 2, 0}, DetuneCase{1.0f, 0, 1},
                                           DetuneCase{1.0f, 1, 2}, DetuneCase{1.0f, 2, -1},
                                           DetuneCase{1.0f, 3, -2}, DetuneCase{1.0f, 4, 3},
                                           DetuneCase{1.0f, 5, 4}, DetuneCase{1.0f, 6, -3},
                                           DetuneCase{1.0f, 7, -4}, DetuneCase{1.0f, 8, 0},
                                           DetuneCase{1.0f, 19, 0}),
                         [](const ::testing::TestParamInfo<DetuneCase>& info) {
                             return "Mode" + std::to_string(static_cast<int>(info.param.voiceModeValue * 2.01f)) +
                                    "Layer" + std::to_string(info.param.layer);
                         });

TEST(VoiceRender, BasePitchesAreClampedAtVoiceStart)
{
    VoiceTestRig rig;
    rig.set(kParamOsc1Coarse, 1.0f);   // +12
    rig.set(kParamOsc3Coarse, 1.0f);   // +48
    rig.engine.noteOn(127, kVelocity, 0);
    rig.render(64);
    EXPECT_EQ(rig.engine.voices[0].osc1Pitch, 100 * 128 + 3);
    EXPECT_EQ(rig.engine.voices[0].osc3Pitch, 143 * 128 + rig.engine.osc3Fine);
}

// --- glide ---

struct GlideCase {
    const char* name;
    float glideValue;      // Glide parameter
    float glideTypeValue;  // 0 constant time, 1 constant rate
    int8_t from, to;
    double msToTenth;      // time in which the remainder falls to 0.1; 0: no glide at all
};

void PrintTo(const GlideCase& c, std::ostream* os) { *os << c.name; }

class GlideTest : public ::testing::TestWithParam<GlideCase> {};

TEST_P(GlideTest, RemainderReachesOneTenthOnTime)
{
    const GlideCase& c = GetParam();
    VoiceTestRig rig;
    rig.set(kParamGlide, c.glideValue);
    rig.set(kParamGlideType, c.glideTypeValue);
    rig.engine.setPolyphony(1);
    rig.engine.noteOn(c.from, kVelocity, 0);
    rig.render(rig.ms(100));
    rig.engine.noteOn(c.to, kVelocity, 0);
    if (c.msToTenth > 0.0) {
        rig.render(rig.ms(c.msToTenth), 64);
        EXPECT_FLOAT_EQ(rig.engine.glideDistance, static_cast<float>((c.from - c.to) * 128));
        EXPECT_NEAR(rig.engine.voices[0].glideRemain, 0.1f, 0.002f);
    } else {
        rig.render(64);
        EXPECT_EQ(rig.engine.voices[0].glideRemain, 0.0f);
    }
    // Long after the glide the voice plays the new note.
    const size_t from = rig.left.size() + static_cast<size_t>(rig.ms(300));
    rig.render(rig.ms(1300), 512);
    const double expected = kInitPatchA4 * std::pow(2.0, (c.to - 69) / 12.0);
    const double hz = zeroCrossingFrequency(rig.left, from, rig.left.size(), 44100.0);
    EXPECT_NEAR(cents(hz, expected), 0.0, 1.0) << hz << " Hz";
}

INSTANTIATE_TEST_SUITE_P(
    Voices, GlideTest,
    ::testing::Values(
        // Glide 0.5 is a scale of 1 (0.125 x 64^0.5); 1/3 is a scale of 0.5.
        GlideCase{"ConstantTimeUpOctave", 0.5f, 0.0f, 48, 60, 40.0},
        GlideCase{"ConstantTimeDownHalfScale", 1.0f / 3.0f, 0.0f, 72, 60, 20.0},
        GlideCase{"ConstantRateOctave", 0.5f, 1.0f, 48, 60, 1536.0 * 0.02},
        GlideCase{"ConstantRateFifth", 0.5f, 1.0f, 67, 60, 896.0 * 0.02},
        GlideCase{"ConstantRateRepeatedNote", 0.5f, 1.0f, 60, 60, 0.0},
        GlideCase{"Off", 0.0f, 0.0f, 48, 60, 0.0}),
    [](const ::testing::TestParamInfo<GlideCase>& info) { return info.param.name; });

// --- routing and filter details ---

struct Osc3Case {
    float routing;
    float amount;
    bool advances;
};

void PrintTo(const Osc3Case& c, std::ostream* os) { *os << "routing " << c.routing << ", amount " << c.amount; }

class Osc3AdvanceTest : public ::testing::TestWithParam<Osc3Case> {};

TEST_P(Osc3AdvanceTest, Osc3RunsUnlessChainedAndOff)
{
    VoiceTestRig rig;
    rig.set(kParamOscRouting, GetParam().routing);
    rig.set(kParamOsc3Amount, GetParam().amount);
    rig.engine.noteOn(60, kVelocity, 0);
    rig.render(256);
    EXPECT_EQ(rig.engine.voices[0].osc3Phase != 0u, GetParam().advances);
}

INSTANTIATE_TEST_SUITE_P(Routings, Osc3AdvanceTest,
                         ::testing::Values(Osc3Case{0.0f, 0.0f, true}, Osc3Case{1.0f, 0.0f, false},
                                           Osc3Case{1.0f, 0.5f, true}, Osc3Case{2.0f, 0.0f, true}),
                         [](const ::testing::TestParamInfo<Osc3Case>& info) {
                             return "Routing" + std::to_string(static_cast<int>(info.param.routing)) +
                                    (info.param.amount > 0.0f ? "Osc3On" : "Osc3Off");
                         });

TEST(VoiceRender, FilterTypesThreeAndFourSoundAlike)
{
    std::vector<float> outs[2];
    for (int32_t k = 0; k < 2; ++k) {
        VoiceTestRig rig;
        rig.set(kParamFltCutoff, 0.55f);
        rig.set(kParamFltReso, 0.6f);
        rig.set(kParamFltType, k == 0 ? 0.75f : 1.0f);
        ASSERT_EQ(rig.engine.filterType, 3 + k);
        rig.engine.noteOn(48, kVelocity, 0);
        rig.render(rig.ms(200));
        outs[k] = rig.left;
    }
    EXPECT_EQ(outs[0], outs[1]);
}

TEST(VoiceRender, VoiceLfoRunsWithSharedFilterToo)
{
    VoiceTestRig rig;
    rig.set(kParamSharedFilter, 1.0f);
    ASSERT_EQ(rig.engine.perVoiceFilter, 0);
    rig.engine.noteOn(60, kVelocity, 0);
    const uint32_t before = rig.engine.voices[0].lfoPhase;
    rig.render(256, 256);
    const uint32_t inc = static_cast<uint32_t>(static_cast<int64_t>(rig.engine.phaseIncPerHz * rig.engine.lfoRateHz));
    EXPECT_EQ(rig.engine.voices[0].lfoPhase - before, inc * 256u);
}

// --- extreme inputs: every sample finite, every voice state finite ---

using Setup = std::function<void(VoiceTestRig&)>;

struct ExtremeCase {
    std::string name;
    Setup run;
};

void PrintTo(const ExtremeCase& c, std::ostream* os) { *os << c.name; }

void bendRange100(VoiceTestRig& rig, int8_t note, int32_t direction)
{
    rig.set(kParamBendRange, 1.0f);
    ASSERT_EQ(rig.engine.bendRange, 100);
    // What the plug-in passes at full bend: (range x 128 x (14-bit value - 8192)) / 8192.
    rig.engine.setPitchBend(direction > 0 ? (100 * 128 * 8191) / 8192 : -100 * 128);
    rig.engine.noteOn(note, 127, 0);
    rig.render(rig.ms(300));
}

void fullPitchEnvelope(VoiceTestRig& rig, int32_t amountParam, int32_t decayParam, int8_t note)
{
    rig.set(kParamPercEnv, 1.0f);
    rig.set(amountParam, 1.0f);
    rig.set(decayParam, 1.0f);  // no decay: the full offset holds
    rig.engine.noteOn(note, 127, 0);
    rig.render(rig.ms(300));
}

void hotModulation(VoiceTestRig& rig, float routing)
{
    rig.set(kParamOscRouting, routing);
    rig.set(kParamLevelRm, 1.0f);
    rig.set(kParamOsc3Amount, 1.0f);
    rig.set(kParamOsc3KeyTrack, 0.0f);
    rig.set(kParamModWheel, 1.0f);
    rig.set(kParamWheelOsc3, 1.0f);
    rig.set(kParamWheelLfo, 1.0f);
    rig.set(kParamLfoOsc, 1.0f);
    rig.set(kParamOsc1Wave, 7.0f / 39.0f + 0.001f);
    rig.set(kParamOsc1Sat, 1.0f);
    rig.set(kParamFltCutoff, 1.0f);
    rig.set(kParamFltReso, 1.0f);
    rig.set(kParamFltEnv, 1.0f);
    rig.engine.channelPressure = 0.15f;
    rig.set(kParamPressureOsc3, 1.0f);
    rig.engine.setPolyphony(20);
    for (int32_t note = 108; note <= 127; ++note) rig.engine.noteOn(static_cast<int8_t>(note), 127, 0);
    rig.render(rig.ms(300));
}

std::vector<ExtremeCase> extremeCases()
{
    return {
        {"BendUpNote127", [](VoiceTestRig& r) { bendRange100(r, 127, 1); }},
        {"BendDownNote0", [](VoiceTestRig& r) { bendRange100(r, 0, -1); }},
        {"BendUpNote0", [](VoiceTestRig& r) { bendRange100(r, 0, 1); }},
        {"BendDownNote127", [](VoiceTestRig& r) { bendRange100(r, 127, -1); }},
        {"PitchDownNote0", [](VoiceTestRig& r) { fullPitchEnvelope(r, kParamPitchDownAmount, kParamPitchDownDecay, 0); }},
        {"Osc3Up48FullPitchUp",
         [](VoiceTestRig& r) {
             r.set(kParamOsc3Coarse, 1.0f);
             r.set(kParamOsc3Amount, 1.0f);
             for (float routing : {0.0f, 1.0f, 2.0f}) {
                 r.set(kParamOscRouting, routing);
                 fullPitchEnvelope(r, kParamPitchUpAmount, kParamPitchUpDecay, 127);
             }
         }},
        {"Glide0To110",
         [](VoiceTestRig& r) {
             r.set(kParamGlide, 1.0f);
             r.engine.setPolyphony(1);
             for (float type : {0.0f, 1.0f}) {
                 r.set(kParamGlideType, type);
                 for (int8_t note : {0, 110, 0}) {
                     r.engine.noteOn(note, 127, 0);
                     r.render(r.ms(200));
                 }
             }
         }},
        {"LevelRmOsc3AmtPlain", [](VoiceTestRig& r) { hotModulation(r, 0.0f); }},
        {"LevelRmOsc3AmtChained", [](VoiceTestRig& r) { hotModulation(r, 1.0f); }},
        {"LevelRmOsc3AmtParallel", [](VoiceTestRig& r) { hotModulation(r, 2.0f); }},
    };
}

class ExtremeInputTest : public ::testing::TestWithParam<std::tuple<ExtremeCase, double>> {};

TEST_P(ExtremeInputTest, EverySampleStaysFinite)
{
    const auto& [c, rate] = GetParam();
    VoiceTestRig rig(rate);
    c.run(rig);
    size_t bad = 0;
    for (size_t i = 0; i < rig.left.size(); ++i) {
        if (!std::isfinite(rig.left[i]) || !std::isfinite(rig.right[i])) ++bad;
    }
    EXPECT_EQ(bad, 0u) << "of " << rig.left.size() << " frames";
    EXPECT_GT(rms(rig.left, 0, rig.left.size()), 0.0) << "the case must actually sound";
    for (const VoiceState& v : rig.engine.voices) {
        for (float f : {v.ampLevel, v.filterLow1, v.filterBand1, v.filterLow2, v.filterBand2, v.bendSmoothed,
                        v.glideRemain, v.osc2Level, v.osc3Level}) {
            EXPECT_TRUE(std::isfinite(f));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sweep, ExtremeInputTest, ::testing::Combine(::testing::ValuesIn(extremeCases()),
                                                ::testing::Values(22050.0, 44100.0, 96000.0, 192000.0)),
    [](const ::testing::TestParamInfo<std::tuple<ExtremeCase, double>>& info) {
        return std::get<0>(info.param).name + "_" + std::to_string(static_cast<int>(std::get<1>(info.param)));
    });

}  // namespace

// A pitch-envelope delay made negative by an out-of-range host value plays as no
// delay at all, instead of holding the envelope at its full amount for good.
TEST(VoiceRender, NegativePitchEnvelopeDelayMeansNoDelay)
{
    auto play = [](float delay) {
        auto rig = std::make_unique<VoiceTestRig>();
        rig->set(kParamPitchUpAmount, 1.0f);
        rig->set(kParamPitchUpDecay, 0.2f);
        rig->set(kParamPitchUpDelay, delay);
        rig->engine.noteOn(69, kVelocity, 0);
        rig->render(rig->ms(300));
        return rig->left;
    };
    EXPECT_EQ(play(-0.5f), play(0.0f));
}
