// The chain after the voices (shared filter, bass enhancer, distortion, chorus, output
// stage) and the slice driver.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>
#include <xmmintrin.h>

#include "engine/FilterLimits.h"
#include "tests/engine/EngineRig.h"
#include "tests/engine/Listening.h"

namespace {

bool finite(const std::vector<float>& v)
{
    return std::all_of(v.begin(), v.end(), [](float x) { return std::isfinite(x); });
}

std::vector<float> sine(double hz, size_t frames, double rate = 44100.0, float amplitude = 1.0f)
{
    std::vector<float> x(frames);
    for (size_t i = 0; i < frames; ++i) x[i] = amplitude * static_cast<float>(std::sin(2.0 * M_PI * hz * i / rate));
    return x;
}

// Runs one stage of the chain over both channels in slices.
template <class Stage>
void run(std::vector<float>& left, std::vector<float>& right, int32_t slice, Stage stage)
{
    for (size_t k = 0; k < left.size(); k += slice) {
        float* out[2] = {left.data() + k, right.data() + k};
        stage(std::min<int32_t>(slice, int32_t(left.size() - k)), out);
    }
}

} // namespace

// One filter on the voice sum, written to both outputs; its LFO runs only while it filters.
TEST(SharedFilter, IsMonoAndItsLfoRunsOnlyWhileItFilters)
{
    EngineRig rig;
    rig.set({{kParamSharedFilter, 1.0f}, {kParamVoiceMode, 0.5f}, {kParamFltCutoff, 0.6f}});  // layers panned apart
    rig.engine->noteOn(60, 100, 0);
    rig.engine->noteOn(67, 100, 1);
    rig.render(8192, 333);
    EXPECT_GT(rms(rig.left), 0.01);
    EXPECT_EQ(rig.left, rig.right);
    rig.engine->reset();
    rig.set(kParamSharedFilter, 0.0f);
    rig.engine->noteOn(60, 100, 0);
    rig.render(1000, 100);
    EXPECT_TRUE(rig.engine->sharedLfoPhase == 0u && rig.engine->sharedLfoStage == 0);
    rig.set(kParamSharedFilter, 1.0f);
    rig.render(1000, 100);
    EXPECT_EQ(rig.engine->sharedLfoPhase, uint32_t(int64_t(rig.engine->phaseIncPerHz * rig.engine->lfoRateHz)) * 1000u);
    EXPECT_GT(rig.engine->sharedLfoFade, 0.0f);
}

// The shared filter's envelope restarts with the first key after all were up, not with every
// note: a legato line keeps one sweep (the brightness stays), a detached one sweeps again.
TEST(SharedFilter, EnvelopeRestartsOnlyAfterAllKeysWereUp)
{
    auto brightness = [](const std::vector<float>& x, size_t from, size_t to) {  // RMS of the slope over RMS
        double d = 0.0, s = 0.0;
        for (size_t i = from + 1; i < to; ++i) d += std::pow(x[i] - x[i - 1], 2), s += double(x[i]) * x[i];
        return std::sqrt(d / s);
    };
    for (const bool legato : {true, false}) {
        EngineRig rig;
        rig.set({{kParamSharedFilter, 1.0f}, {kParamOsc1Wave, 2.0f / 39}, {kParamOsc2Wave, 0.0f},
                 {kParamFltCutoff, 0.45f}, {kParamFltEnv, 0.5f}, {kParamFltDecay, 0.3f}, {kParamFltSustain, 0.0f},
                 {kParamAmpSustain, 1.0f}});
        rig.play(48, 400);  // the sweep is over
        if (!legato) rig.engine->noteOff(48, 0);
        rig.play(55, 20);
        const double before = brightness(rig.left, rig.start - rig.ms(20), rig.start);
        const double rise = brightness(rig.left, rig.start, rig.at(20)) / before;
        EXPECT_TRUE(legato ? rise < 1.6 : rise > 2.5) << (legato ? "legato: " : "detached: ") << rise;
    }
}

TEST(SharedFilter, CoefficientStaysStableBelowFortyKilohertz)
{
    // At 32 kHz the table's top coefficient (1.03) would let an undamped stage grow
    // without bound; the filter keeps it inside the stable range.
    EngineRig rig(32000.0);
    Dravenor& e = *rig.engine;
    e.cutoffCurrent = 1.0f;
    e.filterResonance = 2.0f;  // no resonance: the tightest limit
    e.filterType = 0;
    std::vector<float> left(32000), right(32000);
    uint32_t noise = 1;
    for (float& x : left) x = float((noise = noise * 1664525u + 1013904223u) >> 8) / 8388608.0f - 1.0f;
    run(left, right, 1000, [&](int32_t n, float** out) { e.processSharedFilter(n, out); });
    EXPECT_TRUE(finite(left) && peakOf(left) < 4.0 && rms(left) > 0.01);
    for (double rate : {44100.0, 48000.0, 88200.0, 96000.0, 192000.0}) {  // where the limit changes nothing
        e.setSampleRate(rate);
        EXPECT_LT(e.tables->filterCoefTable[kFilterCoefSize - 1], stableFilterCoefLimit(2.0f)) << rate;
    }
}

// Slices of any length join without a seam: odd pieces render what one call renders, with the
// attacks and the LFO fade-in still running through them; a note-off lands on the same frame.
TEST(Render, OddSlicesEqualOneCall)
{
    for (int32_t program : {0, kInitPatchProgram}) {
        for (float sharedFilter : {0.0f, 1.0f}) {
            EngineRig whole(44100.0, program), pieces(44100.0, program);
            for (EngineRig* rig : {&whole, &pieces}) {
                rig->set({{kParamSharedFilter, sharedFilter}, {kParamChorusAmount, 0.6f}, {kParamBassAmount, 0.4f},
                          {kParamOutDist, 0.2f}, {kParamAmpAttack, 0.7f}, {kParamFltAttack, 0.7f},
                          {kParamLfoDelay, 0.7f}});
                for (int8_t note : {48, 55, 64}) rig->engine->noteOn(note, 100, 0);
                rig->render(4096, 4096);
            }
            for (int8_t off : {0, 55}) {
                if (off != 0) whole.engine->noteOff(off, 0), pieces.engine->noteOff(off, 0);
                whole.render(9000, 9000);
                const int32_t odd[] = {1, 7, 13, 61, 127, 509, 3, 1021, 255};
                for (int32_t done = 0, k = 0; done < 9000; done += odd[k++ % 9])
                    pieces.render(std::min(odd[k % 9], 9000 - done), 1024);
            }
            ASSERT_GT(rms(whole.left), 0.001);
            double worst = 0.0;
            for (size_t i = 0; i < whole.left.size(); ++i)
                worst = std::max({worst, double(std::fabs(whole.left[i] - pieces.left[i])),
                                  double(std::fabs(whole.right[i] - pieces.right[i]))});
            EXPECT_LT(worst, 1e-6) << "program " << program << ", shared filter " << sharedFilter;
        }
    }
}

// A slice of no frames changes nothing; rendering restores the caller's flush-to-zero mode;
// after a reset the first slice that sounds (not a silent one) takes the chorus settings at once.
TEST(Render, SliceEdges)
{
    EngineRig rig(44100.0, 0);
    Dravenor& e = *rig.engine;
    e.noteOn(60, 100, 0);
    e.cutoffRampActive = 1;
    float left[4] = {5, 5, 5, 5}, right[4] = {5, 5, 5, 5};
    float* out[2] = {left, right};
    for (int32_t frames : {0, -1, -4096}) {
        e.render(frames, out, 1);
        EXPECT_TRUE(left[0] == 5.0f && right[3] == 5.0f && e.cutoffRampActive == 1 && e.voices[0].started == 0);
    }
    const unsigned before = _mm_getcsr();
    for (unsigned mode : {before & ~0x8040u, before | 0x8040u}) {
        _mm_setcsr(mode);
        rig.render(300, 100);
        EXPECT_EQ(_mm_getcsr(), mode);
    }
    _mm_setcsr(before);
    rig.set({{kParamOsc1Wave, 0.0f}, {kParamOsc2Wave, 0.0f}});
    e.reset();
    rig.render(64);
    EXPECT_EQ(e.freshAfterReset, 1);
    rig.set(kParamOsc2Wave, 1.0f);
    rig.render(64);
    EXPECT_EQ(e.freshAfterReset, 0);
    EXPECT_EQ(e.chorusState[0].feedback, e.chorusFeedback);
}

// tanh(drive x input) with the argument limited to just under 16, whatever comes in; the first
// slice after a reset takes the drive at once, a later change ramps over one slice.
TEST(Distortion, FollowsTanhWithALimitedArgumentAndRampsItsDrive)
{
    struct Case { float input, gain, expected, tolerance; } const cases[] = {
        {0.1f, 1.0f, std::tanh(0.1f), 2e-5f},    {0.5f, 3.0f, std::tanh(1.5f), 2e-5f},
        {-0.3f, 10.0f, std::tanh(-3.0f), 2e-5f},  {0.9f, 316.2f, std::tanh(16.0f), 1e-6f},
        {1e30f, 316.2f, std::tanh(16.0f), 1e-6f}, {-1e30f, 316.2f, -std::tanh(16.0f), 1e-6f},
        {INFINITY, 2.0f, std::tanh(16.0f), 1e-6f}, {NAN, 2.0f, -std::tanh(16.0f), 1e-6f}};
    auto e = std::make_unique<Dravenor>();
    e->outDistOn = 1;
    for (const Case& c : cases) {
        e->outDistGain = c.gain;
        e->reset();
        float left[3] = {c.input, c.input, c.input}, right[3] = {-c.input, 0.0f, c.input};
        float* out[2] = {left, right};
        e->processDistortion(3, out);
        EXPECT_TRUE(std::fabs(left[0] - c.expected) < c.tolerance && std::fabs(left[2] - c.expected) < c.tolerance)
            << c.input;
        EXPECT_TRUE(!std::isfinite(c.input) || std::fabs(right[0] + c.expected) < c.tolerance) << c.input;
        EXPECT_EQ(right[1], 0.0f);
    }
    e->outDistGain = 1.0f;
    e->reset();
    std::vector<float> left(100, 0.2f), right(100, 0.2f);
    float* out[2] = {left.data(), right.data()};
    e->processDistortion(100, out);
    EXPECT_NEAR(left[0], std::tanh(0.2f), 2e-5f);
    e->outDistGain = 4.0f;
    std::fill(left.begin(), left.end(), 0.2f);
    e->processDistortion(100, out);
    EXPECT_NEAR(left[0], std::tanh(0.2f), 2e-5f);         // from the old drive
    EXPECT_NEAR(left[50], std::tanh(0.2f * 2.5f), 2e-5f);  // halfway
    EXPECT_NEAR(e->outDistDriveCurrent[0], 4.0f * 262144.0f, 1.0f);
}

// The chorus' swept delay reads between samples by cubic interpolation: a sine comes back
// as a sine with only the slow Doppler sway, no grit.
TEST(Chorus, SweptDelayKeepsASineClean)
{
    EngineRig rig;
    rig.set({{kParamChorusAmount, 1.0f}, {kParamChorusDelay, 0.3f}, {kParamChorusMod, 1.0f}, {kParamChorusRate, 0.6f},
             {kParamChorusLow, 1.0f}, {kParamChorusHigh, 0.0f}, {kParamChorusFeedback, 0.0f}});
    rig.play(81, 800);
    const std::vector<double> mag = spectrum(rig.left.data() + rig.ms(300), 16384);
    const double bin = 44100.0 / 16384, f0 = 880.0 * std::pow(2.0, 3.0 / 1536.0);
    double near = 0.0, far = 0.0;
    for (size_t k = 1; k < mag.size(); ++k) (std::fabs(k * bin - f0) < 60.0 ? near : far) += mag[k] * mag[k];
    EXPECT_LT(10.0 * std::log10(far / near), -60.0);
}

// One-pole corners: the chorus band (Ch-Low 100..15000 Hz, Ch-High 5..5000 Hz) and the output
// filters (Out-Low 100..20000 Hz, Out-High 3..2500 Hz) are 3 dB down at their read-out.
TEST(Chorus, ChorusAndOutputFiltersAreThreeDecibelsDownAtTheirCorners)
{
    struct Case { const char* name; bool chorus; int32_t index; float value; double hz, db; } const cases[] = {
        {"Ch-Low", true, kParamChorusLow, 0.5f, std::sqrt(100.0 * 15000.0), -3.01},
        {"Ch-High", true, kParamChorusHigh, 0.5f, std::sqrt(5.0 * 5000.0), -3.01},
        {"Ch-Low passes the middle", true, kParamChorusLow, 1.0f, 1000.0, -0.02},
        {"Out-Low", false, kParamOutLow, 0.5f, std::sqrt(100.0 * 20000.0), -3.01},
        {"Out-High", false, kParamOutHigh, 0.5f, std::sqrt(3.0 * 2500.0), -3.01},
        {"Out-High passes the middle", false, kParamOutHigh, 0.1f, 1000.0, -0.01},
    };
    for (const Case& c : cases) {
        EngineRig rig;
        rig.set({{kParamChorusLow, 1.0f}, {kParamChorusHigh, 0.0f}, {kParamChorusFeedback, 0.0f},
                 {kParamOutGain, 0.25f}, {c.index, c.value}});
        Dravenor& e = *rig.engine;
        e.chorusDry = e.chorusDryCurrent = 0.0f;  // the wet path alone
        e.chorusWet = e.chorusWetCurrent = 1.0f;
        std::vector<float> left = sine(c.hz, 44100), right = left;
        run(left, right, 441, [&](int32_t n, float** o) {
            c.chorus ? e.processChorus(n, o) : e.processOutputStage(n, o);
        });
        EXPECT_NEAR(toDb(rms(left, 22050) / std::sqrt(0.5)), c.db, 0.1) << c.name;
    }
}

// Synced, the delay is tenths of a beat (5 at 120 BPM: a quarter second), taken at once after
// a reset without touching Ch-Del's own; a delay that is not a number still reads inside the
// line; at Ch-Amt 0 the signal passes at full level while the line is still written.
TEST(Chorus, DelayEdges)
{
    auto e = std::make_unique<Dravenor>();  // 44100 Hz, 120 BPM
    std::vector<float> left(256, 0.1f), right(256, 0.1f);
    float* out[2] = {left.data(), right.data()};
    e->chorusDry = 1.0f, e->chorusSync = 1, e->chorusSyncSteps = 5.0f, e->chorusDelay = 123.0f, e->chorusSpread = 0.0f;
    e->processChorus(64, out);
    EXPECT_EQ(e->chorusDelay, 123.0f);
    EXPECT_NEAR(e->chorusState[0].delay, 11025.0f, 0.01f);
    e->reset();
    e->chorusSync = 0, e->chorusWet = 1.0f, e->chorusModDepth = NAN, e->chorusDelay = INFINITY;
    e->processChorus(256, out);  // the sanitizer build checks every read
    EXPECT_TRUE(e->chorusWritePos[0] == 256 && e->chorusWritePos[1] == 256);
    EngineRig rig(48000.0);
    rig.set(kParamChorusAmount, 0.0f);
    rig.engine->chorusDryCurrent = 1.0f;
    left = right = sine(400.0, 500, 48000.0);
    const std::vector<float> expect = left;
    float* in[2] = {left.data(), right.data()};
    rig.engine->processChorus(500, in);
    EXPECT_EQ(left, expect);
    EXPECT_EQ(rig.engine->chorusLines[0][499], expect[499]);
}

TEST(Chorus, ReadsStayInsideTheLineAtExtremeRatesAndTempos)
{
    struct Case { double rate; float sync, tempo; };  // Ch-Sync; BPM x 10000
    for (const Case& c : {Case{384000.0, 0.0f, 1200000.0f}, {384000.0, 1.0f, 200000.0f}, {44100.0, 1.0f, 10000.0f}}) {
        EngineRig rig(c.rate, 0);
        rig.set({{kParamChorusDelay, 1.0f}, {kParamChorusMod, 1.0f}, {kParamChorusSpread, 1.0f},
                 {kParamChorusAmount, 1.0f}, {kParamChorusFeedback, 1.0f}, {kParamChorusRate, 1.0f},
                 {kParamChorusSync, c.sync}});
        rig.engine->hostTempo = c.tempo;
        for (int8_t note : {36, 60, 96}) rig.engine->noteOn(note, 127, 0);
        rig.render(static_cast<int32_t>(c.rate * 1.2), 4096);
        EXPECT_TRUE(finite(rig.left) && finite(rig.right) && rms(rig.right) > 0.0) << c.rate;
        for (const ChorusState& s : rig.engine->chorusState) EXPECT_LE(s.delay, kChorusLineLength - 3);
    }
}

// At Bass-Amt 0.0001 the stage is off (signal and line untouched); on, it raises a 60 Hz
// tone by about theta / sin(theta) - 1 and output 1 hears it Bass-Sprd + 1 frames late.
TEST(BassEnhancer, RaisesLowNotesAndDelaysOutputOne)
{
    auto e = std::make_unique<Dravenor>();
    e->bassAmount = 0.0001f, e->bassDelayLength = 100, e->bassDelayLine[5] = 0.75f;
    std::vector<float> left = sine(60.0, 4410, 44100.0, 0.3f), right = left;
    const std::vector<float> in = left;
    float* out[2] = {left.data(), right.data()};
    e->processBassEnhancer(4410, out);
    EXPECT_TRUE(left == in && right == in && e->bassDelayLine[5] == 0.75f && e->bassDelayLine[0] == 0.0f);
    e->bassAmount = 1.0f, e->bassSaturation = 0.5f, e->bassFreqHz = 200.0f, e->bassDelayLength = 99;
    e->bassDelayLine[5] = 0.0f;
    e->processBassEnhancer(4410, out);
    EXPECT_GT(rms(left, 2205), rms(in, 2205) * 1.15);
    EXPECT_EQ(right[50], in[50]);  // nothing yet on output 1
    EXPECT_EQ(e->bassDelayPos, 4410 % 100);
}

// An Out-Gain change ramps linearly over the next slice from the old gain, alike with the
// output filters on or off: the ratio to an unchanged engine traces the ramp. After a reset
// (gain 0) the gain applies at once.
TEST(OutputStage, GainRampsOverOneSliceWithOrWithoutFilters)
{
    for (const float outLow : {1.0f, 0.9f}) {
        EngineRig same, changed;
        for (EngineRig* rig : {&same, &changed}) rig->set(kParamOutLow, outLow), rig->play(60, 2048 / 44.1);
        const double g0 = same.engine->outGain, g1 = 4.0;
        changed.set(kParamOutGain, 0.5f);
        same.render(512);
        changed.render(512);
        double worst = 0.0;
        for (size_t i = same.left.size() - 512; i < same.left.size(); ++i) {
            const double k = std::min<double>(i - (same.left.size() - 512), 256);
            const double expected = (g0 + (g1 - g0) * k / 256.0) / g0;
            if (std::fabs(same.left[i]) > 0.02f)
                worst = std::max(worst, std::fabs(changed.left[i] / same.left[i] - expected));
        }
        EXPECT_LT(worst, 1e-4) << "Out-Low " << outLow;
    }
    auto e = std::make_unique<Dravenor>();
    e->outGain = 2.0f;
    std::vector<float> left(100, 0.5f), right(100, 0.5f);
    float* out[2] = {left.data(), right.data()};
    e->processOutputStage(100, out);
    EXPECT_TRUE(left[0] == 1.0f && right[99] == 1.0f);
    e->outGain = 0.0f;  // Out-Gain 0: silent
    e->reset();
    e->processOutputStage(100, out);
    EXPECT_EQ(peakOf(left), 0.0f);
}

// Both output filters run when either switch is on: Out-Low at 490 Hz with Out-High off
// (at its 3 Hz corner) takes most of a 5 kHz tone away.
TEST(OutputStage, FiltersRunInSeriesWhenEitherSwitchIsOn)
{
    EngineRig rig;
    rig.set({{kParamOutLow, 0.3f}, {kParamOutHigh, 0.0f}, {kParamOutGain, 0.25f}});
    std::vector<float> left = sine(5000.0, 8820), right = left;
    run(left, right, 8820, [&](int32_t n, float** out) { rig.engine->processOutputStage(n, out); });
    EXPECT_TRUE(rms(left, 4410) < 0.707 * 0.15 && rms(left, 4410) > 0.0);
}
