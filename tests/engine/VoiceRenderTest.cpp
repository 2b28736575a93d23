// Per-voice rendering as a listener hears it: pitch and tuning, glide, bend, pitch
// envelopes, vibrato, the routings' spectra, the filter types and their modulation, the
// amplitude envelope, Voice-Mode outputs, and extreme inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/engine/EngineRig.h"
#include "tests/engine/Listening.h"

namespace {

using factory::Patch;
using R = factory::Routing;
constexpr double kRate = 44100.0;

Patch init() { return Patch(factory::kInitPatch); }
Patch sine() { return init().osc1(1).osc2(1); }  // both oscillators a sine at exact pitch
Patch with(Patch p, std::initializer_list<std::pair<int32_t, float>> values)
{
    for (auto [index, value] : values) p.set(index, value);
    return p;
}
// Equal-tempered frequency of a (fractional) note, A4 = 440 Hz.
double hz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
// Init Patch tunes both oscillators 3/128 semitone sharp.
double initHz(double note) { return hz(note + 3.0 / 128.0); }
// Semitones heard around a time after the last note's start, over a note of Init Patch's tuning.
double semitonesAt(const EngineRig& rig, double ms, double note)
{
    return cents(frequency(rig.left, rig.at(ms - 20), rig.at(ms + 20), rig.rate()), initHz(note)) / 100.0;
}

// The pitch heard: note, tuning and rate; the pitch envelopes (full amount one octave, four
// with PercEnv), their delay (a delay made negative by a host counts as none).
TEST(VoiceRender, PitchFollowsNoteTuningRateAndPitchEnvelopes)
{
    struct Case { const char* name; double rate; Patch patch; int8_t note; double ms, heard; } const cases[] = {
        {"A4", kRate, init(), 69, 250, 69.0},
        {"A4 at 48 kHz", 48000.0, init(), 69, 250, 69.0},
        {"A4 at 96 kHz", 96000.0, init(), 69, 250, 69.0},
        {"fine tuning centred", kRate, sine(), 69, 250, 69.0 - 3.0 / 128.0},
        {"Osc1 an octave up stops at note 100", kRate, init().osc1(1, 12, 3).osc2Off(), 127, 250, 100.0},
        {"Osc2 an octave down", kRate, init().osc1(0).osc2(1, -12, 3), 60, 250, 48.0},
        {"Osc2 a fifth up", kRate, init().osc1(0).osc2(1, 7, 3), 60, 250, 67.0},
        {"pitch up, full, held", kRate, init().pitchUp(12, 0.0, 0.0), 60, 200, 72},
        {"pitch up with PercEnv, full", kRate, init().perc(true).pitchUp(48, 0.0, 0.0), 60, 200, 108},
        {"pitch up with PercEnv, half", kRate, init().perc(true).pitchUp(24, 0.0, 0.0), 60, 200, 84},
        {"pitch down, full", kRate, init().pitchDown(12, 0.0, 0.0), 60, 200, 48},
        {"pitch down with PercEnv, a quarter", kRate, init().perc(true).pitchDown(12, 0.0, 0.0), 60, 200, 48},
        {"pitch up, delayed 100 ms", kRate, init().pitchUp(12, 0.1, 20.0), 60, 60, 72},
        {"pitch up, after the delay and decay", kRate, init().pitchUp(12, 0.1, 20.0), 60, 400, 60},
        {"pitch up, delay out of range", kRate, with(init().pitchUp(12, 0, 20), {{kParamPitchUpDelay, -1}}), 60, 300,
         60},
    };
    for (const Case& c : cases) {
        EngineRig rig(c.patch, c.rate);
        rig.play(c.note, c.ms + 30);
        EXPECT_NEAR(100.0 * semitonesAt(rig, c.ms, c.heard), 0.0, 0.5) << c.name;
        EXPECT_EQ(rig.left, rig.right) << c.name << ": Voice-Mode 0 plays alike on both outputs";
    }
}

// The fine tuning of each layer is multiplied by its Voice-Mode factor at the voice start.
TEST(VoiceRender, LayersAreDetunedByTheirVoiceModeFactor)
{
    struct Case { float mode; uint8_t layer; int32_t factor; } const cases[] = {
        {0.0f, 0, 1}, {0.0f, 3, 1},  {0.5f, 0, 1},  {0.5f, 1, -1}, {0.5f, 2, 0},
        {1.0f, 0, 1}, {1.0f, 1, 2},  {1.0f, 2, -1}, {1.0f, 3, -2}, {1.0f, 4, 3},
        {1.0f, 5, 4}, {1.0f, 6, -3}, {1.0f, 7, -4}, {1.0f, 8, 0},  {1.0f, 19, 0}};
    EngineRig rig;
    for (const Case& c : cases) {
        const Patch both = init().osc1(1, 0, 5).osc2(1, 0, -7).set(kParamVoiceMode, c.mode).voices(20);
        for (auto [patch, steps] : {std::pair{Patch(both).osc2Off(), 5}, {Patch(both).set(kParamOsc1Wave, 0.0f), -7}}) {
            rig.load(patch).play(60, 150, c.layer);
            const double heard = cents(frequency(rig.left, rig.at(50), rig.at(150), kRate), hz(60));
            EXPECT_NEAR(heard, steps * c.factor * 100.0 / 128, 0.1)
                << "Voice-Mode " << c.mode << " layer " << int(c.layer) << ", fine " << steps;
        }
    }
}

// Each note's share of the outputs: Voice-Mode 1 pans its layers apart (a quarter of the
// level on the far side), Voice-Mode 2 splits the voice slots.
TEST(VoiceRender, VoiceModesPlaceVoicesOnTheOutputs)
{
    // Right over left in dB per note k (layer k, note 45 + 7k); +-99: on one side only.
    struct Case { float mode; int32_t voices; std::vector<double> rightOverLeftDb; } const cases[] = {
        {0.0f, 12, {0.0}}, {0.5f, 12, {-12.04, 12.04, 12.04}}, {1.0f, 5, {-99, -99, 99, 99, 99}}};
    EngineRig rig;
    for (const Case& c : cases) {
        rig.load(sine().set(kParamVoiceMode, c.mode).voices(c.voices));
        for (size_t k = 0; k < c.rightOverLeftDb.size(); ++k) rig.engine->noteOn(int8_t(45 + 7 * k), 100, uint8_t(k));
        rig.render(rig.ms(300));
        for (size_t k = 0; k < c.rightOverLeftDb.size(); ++k) {
            const double f = hz(45 + 7.0 * k), expected = c.rightOverLeftDb[k];
            const double db = 10.0 * std::log10((tonePower(rig.right, 4410, rig.left.size(), f, kRate) + 1e-30) /
                                                (tonePower(rig.left, 4410, rig.left.size(), f, kRate) + 1e-30));
            EXPECT_TRUE(std::fabs(expected) > 90.0 ? db * expected > 60.0 * 99.0 : std::fabs(db - expected) < 0.1)
                << "Voice-Mode " << c.mode << " note " << k << ": " << db << " dB";
        }
    }
}

// A second note on a single voice glides from the first: the pitch comes within a tenth of
// the distance in Glide x 40 ms (constant time) or 0.02 ms per 1/128 semitone (constant rate).
TEST(VoiceRender, GlideReachesATenthOfItsDistanceOnTime)
{
    // msToTenth 0: no glide at all.
    struct Case { const char* name; float glide, glideType; int8_t from, to; double msToTenth; } const cases[] = {
        {"constant time, octave up", 0.5f, 0.0f, 48, 60, 40.0},  // glide scale 1
                       {"constant time at half scale, octave down", 1.0f / 3.0f, 0.0f, 72, 60, 20.0},
                       {"constant rate, octave", 0.5f, 1.0f, 48, 60, 1536 * 0.02},
                       {"constant rate, fifth down", 0.5f, 1.0f, 67, 60, 896 * 0.02},
                       {"constant rate, repeated note", 0.5f, 1.0f, 60, 60, 0.0},
                       {"off", 0.0f, 0.0f, 48, 60, 0.0}};
    EngineRig rig;
    for (const Case& c : cases) {
        rig.load(init().set(kParamGlide, c.glide).set(kParamGlideType, c.glideType).voices(1)).play(c.from, 100);
        rig.play(c.to, 400);
        // Cents from the target per cycle of the second note; when they come within a tenth
        // of the distance (interpolated between cycles, exponentially).
        const double tenth = std::fabs(10.0 * (c.from - c.to));
        double reached = -1.0, first = 1e9, before = 0.0, then = 0.0;
        for (const auto& [t, f] : cycleFrequencies(rig.left, rig.start, rig.left.size(), kRate)) {
            const double off = cents(f, initHz(c.to)), ms = 1000.0 * t - 1000.0 * rig.start / kRate;
            if (ms < 500.0 / f) continue;  // a cycle begun with the first note
            if (first == 1e9) first = off;
            if (reached < 0.0 && std::fabs(off) <= tenth && before > tenth) {
                const double share = std::log(before / tenth) / std::log(before / std::max(std::fabs(off), 1e-3));
                reached = then + (ms - then) * share;
            }
            before = std::fabs(off), then = ms;
        }
        if (c.msToTenth > 0.0) {
            EXPECT_GT(first * (c.from - c.to), 0.0) << c.name << ": starts on the side of the old note";
            EXPECT_NEAR(reached, c.msToTenth, 0.05 * c.msToTenth + 1.0) << c.name;
        } else {
            EXPECT_NEAR(first, 0.0, 1.0) << c.name;
        }
        EXPECT_NEAR(100.0 * semitonesAt(rig, 370, c.to), 0.0, 1.0) << c.name;
    }
}

TEST(VoiceRender, PitchBendIsSmoothedAndKeptByAnIdleVoice)
{
    EngineRig rig(init().voices(1));
    rig.engine->setPitchBend(3 * 128);
    rig.play(69, 800);
    EXPECT_NEAR(100.0 * semitonesAt(rig, 600, 72), 0.0, 1.0);
    // While the voice is idle the wheel returns; the next note starts from the old bend and
    // follows the wheel with the 10 Hz smoothing (a time constant of 16 ms).
    rig.engine->noteOff(69, 0);
    rig.render(rig.ms(2000));
    ASSERT_EQ(rig.engine->voices[0].active, 0u);
    rig.engine->setPitchBend(0);
    rig.play(69, 400);
    EXPECT_NEAR(semitonesAt(rig, 25, 69), 3.0 * std::exp(-25.0 / 15.9), 0.25);
    EXPECT_NEAR(100.0 * semitonesAt(rig, 350, 69), 0.0, 1.0);
}

// Vibrato shifts Osc1 and Osc2 by the same Hz (441 Hz per unit of depth at 44.1 kHz), from
// LFO-Osc, the mod wheel or channel pressure; LFO Delay fades it in to 0.9 of its depth.
TEST(VoiceRender, VibratoDepthAndFadeIn)
{
    const float tenHz = std::sqrt(10.0f / 441.0f * 4.0f);  // LFO-Osc, MW-LFO or AT-LFO for 10 Hz
    // The depth in Hz between two times in s.
    struct Case { const char* name; Patch patch; float pressure; double from, to, depthHz; } const cases[] = {
        {"LFO-Osc on Osc1", init().vibrato(10).osc2Off(), 0.0f, 0.3, 0.5, 9.0},
        {"LFO-Osc on Osc2", init().vibrato(10).osc1(0), 0.0f, 0.3, 0.5, 9.0},
        {"with the shared filter", init().vibrato(10).sharedFilter(), 0.0f, 0.3, 0.5, 9.0},
        {"mod wheel", with(init(), {{kParamWheelLfo, tenHz}, {kParamModWheel, 1.0f}}), 0.0f, 0.3, 0.5, 9.0},
        {"pressure", with(init(), {{kParamPressureLfo, tenHz}}), 1.0f, 0.3, 0.5, 9.0},
        {"LFO Delay 1 s: about half between 0.2 and 0.4 s", init().vibrato(10).lfo(5, 1000), 0.0f, 0.2, 0.4, 4.95},
    };
    EngineRig rig;
    for (const Case& c : cases) {
        rig.load(c.patch);
        rig.engine->channelPressure = c.pressure;
        rig.play(69, 1000.0 * c.to + 20);
        const double depth = vibratoDepth(cycleFrequencies(rig.left, 0, rig.left.size(), kRate), c.from, c.to);
        EXPECT_NEAR(depth, c.depthHz, 0.05 * c.depthHz) << c.name;
    }
}

// Osc3 (a sine) and Osc2 modulate the frequency of the oscillator each routing feeds:
// sidebands at carrier +- modulator, J1/J0 of the modulation index over the carrier.
TEST(VoiceRender, RoutingsModulateTheRightOscillator)
{
    const double c = hz(48), osc3 = hz(72), j = -11.7;  // J1/J0 in dB at index 0.5
    const Patch withOsc3 = sine().osc3(24, 0, 2.0, 0.0, 0.0);  // index 2 x 131 Hz / 523 Hz = 0.5
    const Patch byWheel =
        with(sine().osc3(24, 0, 0.0, 0.0, 0.0), {{kParamWheelOsc3, 0.125f}, {kParamWheelLfo, 0}, {kParamModWheel, 1}});
    const Patch osc2Below = sine().osc2(1, -12).fmIndex(0.25);  // index 0.25 at half the frequency: 0.5
    const double up = c + osc3, lo = j - 0.5, hi = j + 0.5;
    // The sideband's level over the carrier's must lie within lo..hi dB.
    struct Case { const char* name; Patch patch; int8_t note; double sideband, carrier, lo, hi; } const cases[] = {
        {"Osc3 into Osc1 in parallel", Patch(withOsc3).routing(R::Parallel).osc2Off(), 48, up, c, lo, hi},
        {"Osc3 off in parallel", sine().routing(R::Parallel).osc2Off(), 48, up, c, -300, -60},
        {"Osc3 into Osc2 in the mix", Patch(withOsc3).routing(R::Mix).osc1(0), 48, up, c, lo, hi},
        {"the wheel's Osc3 into Osc2 in the mix", Patch(byWheel).routing(R::Mix).osc1(0), 48, up, c, lo, hi},
        {"chain: Osc3 needs its amount", Patch(byWheel).routing(R::Chain), 48, up, c, -300, -60},
        {"chain: only Osc1 is heard", Patch(withOsc3).routing(R::Chain), 48, up, c, -300, -60},
        {"Osc2 into Osc1 in parallel", Patch(osc2Below).routing(R::Parallel), 48, 1.5 * c, c, lo, hi},
        {"Osc2 into Osc1 in the chain", Patch(osc2Below).routing(R::Chain), 48, 1.5 * c, c, lo, hi},
        {"ring modulation only", sine().osc2(1, 7).ring(1.0), 48, c + hz(55), c, 40, 300},
        {"Osc3 48 semitones above note 72", sine().osc3(36, 0, 4.0, 0.0, 0.0).routing(R::Parallel).osc2Off(), 72,
         hz(72) + hz(108), hz(72), -20, -10},
    };
    EngineRig rig;
    for (const Case& k : cases) {
        rig.load(k.patch).play(k.note, 300);
        const double db = toneRatioDb(rig.left, rig.at(100), rig.left.size(), k.sideband, k.carrier, kRate);
        EXPECT_TRUE(db >= k.lo && db <= k.hi) << k.name << ": " << db << " dB";
    }
}

// The filter heard on a saw at note 24 (32.7 Hz): the gain of each harmonic over the saw's own
// 1 / h. At Flt-Cut 0.5 the corner (and a notch) lies at harmonic 12, about 390 Hz; the
// envelope, tracking and modulation move it there from elsewhere.
TEST(VoiceRender, FilterTypesShapeTheSpectrumAroundTheCutoff)
{
    enum Shape { kLowPass, kHighPass, kBandPass, kNotch };
    const Patch saw = with(init().osc1(2).osc2Off(), {{kParamFltCutoff, 0.5f}, {kParamFltReso, 0}, {kParamFltEnv, 0}});
    const Patch notch = with(saw, {{kParamFltType, 0.75f}});
    auto cut = [&notch](float cutoff, std::initializer_list<std::pair<int32_t, float>> more) {
        return with(with(notch, {{kParamFltCutoff, cutoff}}), more);
    };
    // Flt-Env 0.5 is an amount of 0.505; the attack ends at 0.9 of it and holds at Flt-Sus 1.
    const Patch peak = cut(0.0455f, {{kParamFltEnv, 0.5f}, {kParamFltSustain, 1.0f}});
    struct Case { const char* name; Patch patch; Shape shape; float pressure = 0.0f; } const cases[] = {
        {"low-pass", saw, kLowPass},
        {"high-pass", Patch(saw).set(kParamFltType, 0.25f), kHighPass},
        {"band-pass", Patch(saw).set(kParamFltType, 0.5f), kBandPass},
        {"notch", notch, kNotch},
        {"notch, type 4", Patch(saw).set(kParamFltType, 1.0f), kNotch},
        {"shared low-pass", Patch(saw).sharedFilter(), kLowPass},
        {"shared high-pass", Patch(saw).set(kParamFltType, 0.25f).sharedFilter(), kHighPass},
        {"shared band-pass", Patch(saw).set(kParamFltType, 0.5f).sharedFilter(), kBandPass},
        {"shared notch", Patch(notch).sharedFilter(), kNotch},
        {"envelope peak", peak, kNotch},
        {"shared envelope peak", Patch(peak).sharedFilter(), kNotch},
        {"inverted envelope", with(peak, {{kParamFltCutoff, 0.9545f}, {kParamFltInvert, 1.0f}}), kNotch},
        {"key tracking", cut(0.38f, {{kParamFltKeyTrack, 1.0f}}), kNotch},  // 24 / 200
        {"shared key tracking", cut(0.38f, {{kParamFltKeyTrack, 1.0f}}).sharedFilter(), kNotch},
        {"velocity", cut(0.34375f, {{kParamVelFilter, 0.2f}}), kNotch},  // 0.2 x 100 / 128
        {"mod wheel", cut(0.42f, {{kParamWheelFilter, 0.4f}, {kParamModWheel, 1.0f}}), kNotch},  // 0.4^2 / 2
        {"pressure", cut(0.41f, {{kParamPressureFilter, 0.3f}}), kNotch, 1.0f},  // 0.3^2
    };
    EngineRig rig;
    for (const Case& c : cases) {
        rig.load(c.patch);
        rig.engine->channelPressure = c.pressure;
        rig.play(24, 400);
        std::vector<double> g(40);
        for (size_t h = 1; h < g.size(); ++h)
            g[h] = 10.0 * std::log10(tonePower(rig.left, rig.at(100), rig.left.size(), h * hz(24), kRate)) + toDb(h);
        const double low = g[3] - g[12], high = g[36] - g[12];
        const size_t deep = size_t(std::min_element(g.begin() + 6, g.begin() + 25) - g.begin());
        const bool notched = deep >= 11 && deep <= 13 && std::min(g[deep - 3], g[deep + 3]) > g[deep] + 10;
        const bool ok = c.shape == kLowPass    ? low > 8 && high < -20
                        : c.shape == kHighPass ? low < -20 && high > 3
                        : c.shape == kBandPass ? std::fabs(low) < 5 && high < -10
                                               : notched;
        EXPECT_TRUE(ok) << c.name << ": harmonic 3 " << low << " dB, 36 " << high << " dB over 12; deepest " << deep;
    }
}

// With Vel-Amp the attack stops at 0.9 x (1 + (velocity / 128 - 1) x Vel-Amp) and, at full
// sustain, holds there. A note starts from silence: each frame is scaled by the level reached
// at the frame before, so its first two frames are silent and the third sounds.
TEST(VoiceRender, VelocityScalesTheAttackPeak)
{
    EngineRig rig;
    auto level = [&rig](float velAmp, int8_t velocity) {
        rig.load(with(init().perc(false), {{kParamAmpAttack, 0.3f}, {kParamVelAmp, velAmp}, {kParamAmpSustain, 1.0f}}));
        rig.play(69, 300, 0, velocity);
        return rms(rig.left, rig.at(100));
    };
    const double full = level(0.0f, 127);
    for (auto [velAmp, velocity, db] :
         {std::tuple{0.0f, 64, 0.0}, {1.0f, 127, -0.068}, {1.0f, 64, -6.02}, {0.5f, 64, -2.50}, {0.5f, 1, -5.95}})
        EXPECT_NEAR(toDb(level(velAmp, int8_t(velocity)) / full), db, 0.05) << velAmp << " " << velocity;
    rig.load(init()).play(69, 1);
    EXPECT_TRUE(rig.left[0] == 0.0f && rig.left[1] == 0.0f && rig.left[2] != 0.0f);
}

// The read-outs tell what is heard: the attack reaches its held level in Amp-Atk's time;
// decay (to Amp-Sus 0) and release fall by 60 dB in theirs.
TEST(VoiceRender, EnvelopeTimesMatchTheirReadOuts)
{
    enum Stage { kAttack, kDecay, kRelease };
    const Patch plain = init().set(kParamVelAmp, 0.0f).set(kParamAmpSustain, 1.0f);
    struct Case { const char* name; Patch patch; Stage stage; double Dravenor::*readOut; } const cases[] = {
        {"attack", Patch(plain).perc(false).set(kParamAmpAttack, 0.5f), kAttack, &Dravenor::ampAttackMs},
        {"attack with PercEnv", Patch(plain).perc(true).set(kParamAmpAttack, 0.5f), kAttack, &Dravenor::ampAttackMs},
        {"decay", Patch(plain).set(kParamAmpDecay, 0.5f).set(kParamAmpSustain, 0.0f), kDecay, &Dravenor::ampDecayMs},
        {"release", Patch(plain).set(kParamAmpRelease, 0.5f), kRelease, &Dravenor::ampReleaseMs},
    };
    EngineRig rig;
    for (const Case& c : cases) {
        rig.load(c.patch);
        const double expected = (*rig.engine).*c.readOut, cycle = kRate / 440.0;
        rig.play(69, c.stage == kRelease ? 100 : 1.3 * expected);
        if (c.stage == kRelease) {
            rig.engine->noteOff(69, 0);
            rig.render(rig.ms(1.3 * expected));
            rig.start = rig.at(100);
        }
        std::vector<double> peak;  // of each 440 Hz cycle from the start (or the note-off)
        for (size_t k = rig.start; k + cycle < rig.left.size(); k += size_t(cycle))
            peak.push_back(peakOf(std::vector<float>(rig.left.begin() + k, rig.left.begin() + k + size_t(cycle))));
        const size_t top = size_t(std::max_element(peak.begin(), peak.end()) - peak.begin());
        size_t n = c.stage == kDecay ? top : 0;
        if (c.stage == kAttack) {
            while (peak[n] < 0.995 * peak[top]) ++n;  // 99.5 % of 0.9 at 0.98 of the attack time
            EXPECT_NEAR(n * cycle / kRate * 1000.0 / 0.98, expected, 0.03 * expected) << c.name;
        } else {
            while (n < peak.size() && peak[n] > 0.001 * peak[c.stage == kDecay ? top : 0]) ++n;
            const size_t from = c.stage == kDecay ? top : 0;
            EXPECT_NEAR((n - from) * cycle / kRate * 1000.0, expected, 0.03 * expected) << c.name;
        }
    }
}

// With both waves off the engine adds nothing and holds its voices; a note given meanwhile
// Every attack climbs on from the level its envelope has reached (a stolen voice, the shared
// envelope restarted after all keys were up); the LFO fade-ins start from 0 at a note and after
// a reset, however far the last ones got.
TEST(VoiceRender, AttacksClimbOnFromTheLevelReached)
{
    struct Row {
        const char* name;
        float sharedFilter;
        bool reset;  // a reset instead of the second note
        float (*level)(const Dravenor&);
        bool fromZero;
    } const rows[] = {
        {"voice amplitude", 0, false, [](const Dravenor& e) { return e.voices[0].ampLevel; }, false},
        {"voice filter envelope", 0, false, [](const Dravenor& e) { return e.voices[0].filterEnvLevel; }, false},
        {"voice LFO fade-in", 0, false, [](const Dravenor& e) { return e.voices[0].lfoFade; }, true},
        {"shared filter envelope", 1, false, [](const Dravenor& e) { return e.sharedFilterEnv; }, false},
        {"shared LFO fade-in", 1, true, [](const Dravenor& e) { return e.sharedLfoFade; }, true},
    };
    for (const Row& row : rows) {
        EngineRig rig;
        rig.engine->setPolyphony(1);
        rig.set({{kParamSharedFilter, row.sharedFilter}, {kParamFltAttack, 0.3f}, {kParamLfoDelay, 0.3f},
                 {kParamFltSustain, 0.5f}, {kParamAmpSustain, 1.0f}, {kParamAmpRelease, 0.5f},
                 {kParamFltRelease, 0.5f}});
        rig.play(60, 100);  // every attack is over
        rig.engine->noteOff(60, 0);
        rig.render(rig.ms(20));
        const float before = row.level(*rig.engine);
        EXPECT_GT(before, 0.1f) << row.name;
        if (row.reset) {
            rig.engine->reset();
        } else {
            rig.engine->noteOn(67, 100, 0);  // takes the one voice over in its release
        }
        rig.render(1);
        EXPECT_NEAR(row.level(*rig.engine), row.fromZero ? 0.0f : before, 1e-6f) << row.name;
    }
}

// starts, untouched (its pitch-envelope delay counts rendered frames), once a wave is on.
TEST(VoiceRender, NoteWaitsWhileBothWavesAreOff)
{
    const Patch delayedSweep = init().osc1(0).pitchUp(12, 0.01, 20.0);
    EngineRig waiting(Patch(delayedSweep).osc2Off()), reference(delayedSweep);
    waiting.engine->noteOn(60, 100, 0);
    std::vector<float> a(300, 0.25f), b(300, -0.25f);
    float* outs[2] = {a.data(), b.data()};
    waiting.engine->render(300, outs, 0);
    EXPECT_TRUE(a == std::vector<float>(300, 0.25f) && b == std::vector<float>(300, -0.25f)) << "nothing is added";
    waiting.engine->render(300, outs, 1);
    EXPECT_EQ(a, std::vector<float>(300, 0.0f)) << "a cleared slice stays silent";
    waiting.set(kParamOsc2Wave, factory::wave(1));
    waiting.render(4096);
    reference.play(60, 4096.0 / 44.1);
    EXPECT_EQ(waiting.left, reference.left);
}

// Extreme settings (bend range 100, full pitch envelopes, glides across the keyboard, every
// modulation at its top) keep every sample and every voice finite.
class ExtremeInputs : public testing::TestWithParam<double> {};

TEST_P(ExtremeInputs, EverySampleStaysFinite)
{
    const Patch bend = init().set(kParamBendRange, 1.0f), glide = init().set(kParamGlide, 1.0f).voices(1);
    const Patch hot = with(init().ring(1).osc3(0, 0, 64, 0, 0).osc1(7).drive1(51).wheel(1, 0, 1).vibrato(441)
                               .pressure(0, 0, 1).voices(20),
                           {{kParamModWheel, 1}, {kParamFltCutoff, 1}, {kParamFltReso, 1}, {kParamFltEnv, 1}});
    const Patch up = init().perc(true).pitchUp(48, 0.0, 0.0).osc3(48, 0, 64.0, 0.0, 0.0);
    // A bend in 1/128 semitone, as the plug-in passes a full one.
    struct Case { Patch patch; std::vector<int8_t> notes; int32_t bend = 0; } const cases[] = {
        {bend, {127}, 100 * 128 * 8191 / 8192}, {bend, {0}, -100 * 128}, {init().perc(true).pitchDown(48, 0, 0), {0}},
        {Patch(up).routing(R::Mix), {127}},   {Patch(up).routing(R::Chain), {127}},
        {Patch(up).routing(R::Parallel), {127}},
        {glide, {0, 110, 0}}, {Patch(glide).set(kParamGlideType, 1.0f), {0, 110, 0}},
        {Patch(hot).routing(R::Mix), {108, 112, 116, 120, 124, 127}},
        {Patch(hot).routing(R::Chain), {108, 112, 116, 120, 124, 127}},
        {Patch(hot).routing(R::Parallel), {108, 112, 116, 120, 124, 127}},
    };
    EngineRig rig(GetParam());
    for (size_t k = 0; k < std::size(cases); ++k) {
        rig.load(cases[k].patch);
        rig.engine->setPitchBend(cases[k].bend);
        rig.engine->channelPressure = 0.15f;
        for (int8_t note : cases[k].notes) rig.play(note, 100);
        const auto finite = [](float x) { return std::isfinite(x); };
        EXPECT_TRUE(std::all_of(rig.left.begin(), rig.left.end(), finite)) << k;
        EXPECT_TRUE(std::all_of(rig.right.begin(), rig.right.end(), finite)) << k;
        EXPECT_GT(rms(rig.left), 0.0) << k << ": the case must sound";
        for (const VoiceState& s : rig.engine->voices)
            for (float f : {s.ampLevel, s.filterLow1, s.filterBand1, s.filterLow2, s.filterBand2, s.bendSmoothed,
                            s.glideRemain, s.osc2Level, s.osc3Level})
                EXPECT_TRUE(std::isfinite(f)) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(LowAndHighRates, ExtremeInputs, testing::Values(22050.0, 192000.0));

}  // namespace
