#pragma once
// A compile-time patch builder for the factory bank: each setter takes musical
// units (semitones, 1/128-semitone steps, wave numbers, milliseconds, Hz, dB,
// voice counts, switch states) and stores the normalised value that the
// engine's parameter conversion turns back into that unit. Discrete values sit
// in the middle of their step so that the engine's truncation cannot land on a
// neighbouring step. Included only by the factory bank source and its tests.

#include <cstdint>

#include "engine/ParamControlTable.h"

namespace factory {

// ---- constexpr math (the standard functions are not constant expressions) ----

constexpr double kLn2 = 0.6931471805599453;

constexpr double ln(double x)
{
    if (x <= 0.0) return -1e300;
    int32_t k = 0;
    while (x >= 2.0) { x *= 0.5; ++k; }
    while (x < 1.0) { x *= 2.0; --k; }
    // ln x = 2 atanh((x - 1) / (x + 1)), converging fast for x in [1, 2).
    const double y = (x - 1.0) / (x + 1.0), y2 = y * y;
    double term = y, sum = 0.0;
    for (int32_t n = 1; n < 61; n += 2, term *= y2) sum += term / n;
    return 2.0 * sum + k * kLn2;
}

constexpr double exp(double x)
{
    const auto k = static_cast<int32_t>(x / kLn2);
    const double r = x - k * kLn2;
    double term = 1.0, sum = 1.0;
    for (int32_t n = 1; n < 30; ++n) sum += (term *= r / n);
    for (int32_t i = 0; i < k; ++i) sum *= 2.0;
    for (int32_t i = 0; i > k; --i) sum *= 0.5;
    return sum;
}

constexpr double sqrt(double x)
{
    if (x <= 0.0) return 0.0;
    double r = x > 1.0 ? x : 1.0;
    for (int32_t i = 0; i < 60; ++i) r = 0.5 * (r + x / r);
    return r;
}

constexpr float clamp01(double v) { return static_cast<float>(v < 0.0 ? 0.0 : v > 1.0 ? 1.0 : v); }

// Inverse of the engine's expScale(v, lo, hi) = lo x (hi / lo)^v.
constexpr float unscale(double x, double lo, double hi) { return clamp01(ln(x / lo) / ln(hi / lo)); }

// ---- discrete steps ----

// Osc1/Osc2 coarse tuning, -12..12 semitones (read as int(v x 24) - 12).
constexpr float coarse(int32_t semis) { return semis >= 12 ? 1.0f : clamp01((semis + 12.5) / 24.0); }
// Fine tuning, -64..64 steps of 1/128 semitone (read as int(v x 128) - 64).
constexpr float fine(int32_t steps) { return steps >= 64 ? 1.0f : clamp01((steps + 64.5) / 128.0); }
// Osc3 coarse tuning, -48..48 semitones (read as int(v x 96) - 48).
constexpr float osc3Coarse(int32_t semis) { return semis >= 48 ? 1.0f : clamp01((semis + 48.5) / 96.0); }
// Wave number 1..39, 0 = off (read as int(v x 39.99)).
constexpr float wave(int32_t number) { return static_cast<float>(number / 39.0); }
// Osc1W value beyond the wave bank that four factory programs keep; the engine clamps it to wave 39.
inline constexpr float kBeyondBankWave = 2.578f;

// Voice-Mode positions (read as int(v x 2.01)).
enum class VoiceMode : int32_t { Poly = 0, Wide = 1, Unison = 2 };
// Positions of the four-way filter switch, stored as position / 3 (read as int(v x 4.01):
// 0, 1, 2 and 4; types 3 and 4 are the same notch).
enum class Filter : int32_t { LowPass = 0, HighPass = 1, BandPass = 2, Notch = 3 };
// Oscillator routings: mix with ring modulation, Osc3 > Osc2 > Osc1 chain, Osc2 + Osc3 > Osc1.
enum class Routing : int32_t { Mix = 0, Chain = 1, Parallel = 2 };

// ---- continuous units ----

// Filter cutoff value whose index (value x 4600 into a table running from 10 Hz
// by a factor of 2200 over 4096 entries) gives this corner in Hz.
constexpr double cutoffUnits(double hz) { return ln(hz / 10.0) / ln(2200.0) * 4096.0 / 4600.0; }
// One octave of cutoff movement in cutoff units.
inline constexpr double kOctaveUnits = cutoffUnits(20.0) - cutoffUnits(10.0);  // about 0.0802

// Gain in dB to Out-Gain (gain = v^2 x 16).
constexpr float outGain(double db) { return clamp01(sqrt(exp(db / 20.0 * ln(10.0)) / 16.0)); }

// One program under construction: the 82 stored values plus the musical times and
// depths whose conversion depends on PercEnv, re-converted whenever PercEnv changes.
class Patch {
public:
    float v[kNumParams]{};

    // Starts from the given 82 values (in practice "Init Patch").
    constexpr explicit Patch(const float* values)
    {
        for (int32_t i = 0; i < kNumParams; ++i) v[i] = values[i];
        percussive = v[kParamPercEnv] > 0.5f;
    }

    // ---- oscillators ----
    constexpr Patch& osc1(int32_t waveNumber, int32_t semis = 0, int32_t fineSteps = 0)
    {
        set(kParamOsc1Wave, wave(waveNumber));
        return set(kParamOsc1Coarse, coarse(semis)).set(kParamOsc1Fine, fine(fineSteps));
    }
    constexpr Patch& osc2(int32_t waveNumber, int32_t semis = 0, int32_t fineSteps = 0)
    {
        set(kParamOsc2Wave, wave(waveNumber));
        return set(kParamOsc2Coarse, coarse(semis)).set(kParamOsc2Fine, fine(fineSteps));
    }
    constexpr Patch& osc2Off() { return set(kParamOsc2Wave, 0.0f); }
    // Osc1 on the beyond-bank wave value (plays wave 39), with its tuning.
    constexpr Patch& osc1BeyondBank(int32_t semis, int32_t fineSteps)
    {
        set(kParamOsc1Wave, kBeyondBankWave);
        return set(kParamOsc1Coarse, coarse(semis)).set(kParamOsc1Fine, fine(fineSteps));
    }
    // Saturation drive in dB (1 dB or less plays the wave clean; 51 dB at most).
    constexpr Patch& drive1(double db) { return set(kParamOsc1Sat, clamp01((db - 1.0) / 50.0)); }
    constexpr Patch& drive2(double db) { return set(kParamOsc2Sat, clamp01((db - 1.0) / 50.0)); }
    // Level/RM in the mix routing: 0 plain sum, 1 ring modulation only.
    constexpr Patch& ring(double amount) { return set(kParamLevelRm, clamp01(amount)); }
    // Level/RM in the FM routings: Osc2's modulation index on Osc1 (16 at most).
    constexpr Patch& fmIndex(double index) { return set(kParamLevelRm, clamp01(index / 16.0)); }
    constexpr Patch& routing(Routing r) { return set(kParamOscRouting, static_cast<float>(r)); }
    // Osc2's own envelope: time to fall 20 dB and the level where it stops; ms <= 0 holds.
    constexpr Patch& osc2Env(double decayMs, double sustain)
    {
        set(kParamOsc2Decay, decayMs <= 0.0 ? 1.0f : decayValue(decayMs));
        return set(kParamOsc2Sustain, clamp01(sustain));
    }
    // Osc3, the sine modulator: tuning, modulation index (0 off, 0.125..64), its envelope
    // (ms to fall 20 dB, <= 0 holds; sustain level) and how much the index shrinks up the keyboard.
    constexpr Patch& osc3(int32_t semis, int32_t fineSteps, double index, double decayMs, double sustain,
                          double keyTrack = 0.0)
    {
        set(kParamOsc3Coarse, osc3Coarse(semis)).set(kParamOsc3Fine, fine(fineSteps));
        set(kParamOsc3Amount, index <= 0.0 ? 0.0f : unscale(index, 0.125, 64.0));
        set(kParamOsc3Decay, decayMs <= 0.0 ? 1.0f : decayValue(decayMs));
        return set(kParamOsc3Sustain, clamp01(sustain)).set(kParamOsc3KeyTrack, clamp01(keyTrack));
    }

    // ---- envelopes ----
    // PercEnv: short ranges for Amp-Atk, Flt-Dec and the pitch-envelope decays, 4-octave pitch envelopes.
    constexpr Patch& perc(bool on)
    {
        percussive = on;
        set(kParamPercEnv, on ? 1.0f : 0.0f);
        return reconvert();
    }
    // Amplitude: attack ms, decay ms to fall 20 dB, sustain level, release ms to fall 60 dB.
    constexpr Patch& amp(double attackMs, double decayMs, double sustain, double releaseMs)
    {
        ampAttackMs = attackMs;
        set(kParamAmpDecay, unscale(decayMs, 35.0, 3500.0)).set(kParamAmpSustain, clamp01(sustain));
        set(kParamAmpRelease, unscale(releaseMs, 16.0, 15000.0));
        return reconvert();
    }
    // Filter: type, corner in Hz at middle C before envelope and velocity, resonance 0..1,
    // key tracking 0..1 (1 moves the corner about 3/4 of an octave per octave).
    constexpr Patch& filter(Filter type, double hzAtMiddleC, double resonance, double keyTrack = 0.35)
    {
        set(kParamFltType, static_cast<float>(static_cast<int32_t>(type) / 3.0));
        set(kParamFltKeyTrack, clamp01(keyTrack));
        set(kParamFltCutoff, clamp01(cutoffUnits(hzAtMiddleC) - 60.0 * keyTrack / 200.0));
        // Damping runs exponentially from 2.0 (none) down to 0.15 (strong).
        return set(kParamFltReso, clamp01(resonance));
    }
    // Filter envelope: depth in octaves above the corner at its peak (the envelope peaks
    // at 0.9), attack ms, decay ms to fall 20 dB, sustain level, release ms to fall 60 dB.
    constexpr Patch& filterEnv(double octaves, double attackMs, double decayMs, double sustain, double releaseMs)
    {
        set(kParamFltEnv, clamp01((octaves * kOctaveUnits / 0.9 - 0.01) / 0.99));
        set(kParamFltAttack, unscale(attackMs, 2.2, 2200.0));
        filterDecayMs = decayMs;
        set(kParamFltSustain, clamp01(sustain)).set(kParamFltRelease, unscale(releaseMs, 16.0, 5000.0));
        return reconvert();
    }
    constexpr Patch& invertFilterEnv() { return set(kParamFltInvert, 1.0f); }
    // Second filter stage's corner as a fraction of the first (0.5..1).
    constexpr Patch& separation(double ratio) { return set(kParamFltSep, clamp01((1.0 - ratio) / 0.5)); }
    // One filter on the sum of all voices (mono, one envelope for the phrase).
    constexpr Patch& sharedFilter() { return set(kParamSharedFilter, 1.0f); }

    // ---- pitch ----
    // Pitch-up envelope: semitones at the start, delay s, decay ms to 10 %, release ms (<= 0 hold).
    constexpr Patch& pitchUp(double semis, double delaySeconds, double decayMs, double releaseMs = 0.0)
    {
        pitchUpSemis = semis;
        pitchUpDecayMs = decayMs;
        set(kParamPitchUpDelay, clamp01(delaySeconds));
        set(kParamPitchUpRelease, releaseMs <= 0.0 ? 1.0f : unscale(releaseMs, 20.0, 20000.0));
        return reconvert();
    }
    constexpr Patch& pitchDown(double semis, double delaySeconds, double decayMs, double releaseMs = 0.0)
    {
        pitchDownSemis = semis;
        pitchDownDecayMs = decayMs;
        set(kParamPitchDownDelay, clamp01(delaySeconds));
        set(kParamPitchDownRelease, releaseMs <= 0.0 ? 1.0f : unscale(releaseMs, 20.0, 20000.0));
        return reconvert();
    }
    // Glide time in ms to come within 10 % of the new note (5..320 ms; 0 = none).
    constexpr Patch& glide(double ms) { return set(kParamGlide, ms <= 0.0 ? 0.0f : unscale(ms / 40.0, 0.125, 8.0)); }

    // ---- LFO ----
    // Rate in Hz and fade-in time in ms.
    constexpr Patch& lfo(double hz, double fadeInMs = 1.0)
    {
        return set(kParamLfoRate, unscale(hz, 0.05, 100.0)).set(kParamLfoDelay, unscale(fadeInMs, 1.0, 10000.0));
    }
    // Rate as 2^n steps of the host tempo (n = 0..11), for tempo-locked wobbles.
    constexpr Patch& lfoSynced(int32_t n)
    {
        return set(kParamLfoSync, 1.0f).set(kParamLfoRate, clamp01((n + 0.5) / 12.0));
    }
    // Vibrato depth in Hz (the same Hz on every note: 441 Hz per unit of depth at 44.1 kHz).
    constexpr Patch& vibrato(double hz) { return set(kParamLfoOsc, clamp01(sqrt(hz / 441.0 * 4.0))); }
    // Filter sweep by the LFO, in octaves either way.
    constexpr Patch& wobble(double octaves)
    {
        return set(kParamLfoFilter, clamp01(sqrt(octaves * kOctaveUnits * 4.0)));
    }

    // ---- voices ----
    constexpr Patch& voices(int32_t n) { return set(kParamVoiceCount, n / 100.0f); }
    constexpr Patch& mode(VoiceMode m) { return set(kParamVoiceMode, static_cast<int32_t>(m) * 0.5f); }
    // Two layers panned apart and detuned by +-steps (1/128 semitone) on both oscillators.
    constexpr Patch& wide(int32_t steps)
    {
        mode(VoiceMode::Wide);
        return set(kParamOsc1Fine, fine(steps)).set(kParamOsc2Fine, fine(steps));
    }
    // All voices on every note, detuned by multiples (+-1..4) of steps, half of them on each side.
    constexpr Patch& unison(int32_t count, int32_t steps)
    {
        mode(VoiceMode::Unison).voices(count);
        return set(kParamOsc1Fine, fine(steps)).set(kParamOsc2Fine, fine(-steps));
    }

    // ---- effects and output ----
    // Chorus: wet share 0..1, delay ms, modulation depth ms, rate Hz, right-side delay spread, feedback.
    constexpr Patch& chorus(double mix, double delayMs, double depthMs, double rateHz, double spread = 1.0,
                            double feedback = 0.0)
    {
        set(kParamChorusAmount, clamp01(mix)).set(kParamChorusDelay, unscale(delayMs, 1.0, 500.0));
        set(kParamChorusMod, unscale(depthMs, 1.0, 5.0)).set(kParamChorusRate, unscale(rateHz, 0.015, 10.0));
        return set(kParamChorusSpread, clamp01(spread)).set(kParamChorusFeedback, clamp01(feedback));
    }
    // Band of the chorus path, Hz.
    constexpr Patch& chorusTone(double lowPassHz, double highPassHz)
    {
        set(kParamChorusLow, unscale(lowPassHz, 100.0, 15000.0));
        return set(kParamChorusHigh, unscale(highPassHz, 5.0, 5000.0));
    }
    // Echo: the chorus delay as tenths of a beat (1..8), fed back.
    constexpr Patch& echo(double mix, int32_t tenths, double feedback, double spread = 0.5)
    {
        set(kParamChorusSync, 1.0f).set(kParamChorusAmount, clamp01(mix));
        set(kParamChorusDelay, clamp01((tenths - 0.5) / 7.9)).set(kParamChorusMod, 0.0f);
        return set(kParamChorusSpread, clamp01(spread)).set(kParamChorusFeedback, clamp01(feedback));
    }
    // Bass enhancer: amount, saturation 0..1, corner Hz, right-side delay ms.
    constexpr Patch& bass(double amount, double saturation, double hz, double spreadMs = 0.0)
    {
        set(kParamBassAmount, clamp01(amount)).set(kParamBassSat, clamp01(saturation));
        return set(kParamBassFreq, unscale(hz, 100.0, 1000.0)).set(kParamBassSpread, clamp01(spreadMs / 100.0));
    }
    // Output distortion drive in dB (0 = off).
    constexpr Patch& distortion(double db) { return set(kParamOutDist, db <= 0.0 ? 0.0f : clamp01(db / 50.0)); }
    // Output low-pass and high-pass corners in Hz (low-pass >= 20 kHz and high-pass <= 3 Hz switch them off).
    constexpr Patch& outputBand(double lowPassHz, double highPassHz)
    {
        set(kParamOutLow, lowPassHz >= 20000.0 ? 1.0f : unscale(lowPassHz, 100.0, 20000.0));
        return set(kParamOutHigh, highPassHz <= 3.0 ? 0.0f : unscale(highPassHz, 3.0, 2500.0));
    }
    constexpr Patch& gain(double db) { return set(kParamOutGain, outGain(db)); }

    // ---- playing ----
    // How much velocity scales the amplitude, opens the filter (cutoff units) and Osc3's index.
    constexpr Patch& velocity(double toAmp, double toFilter = 0.0, double toOsc3 = 0.0)
    {
        set(kParamVelAmp, clamp01(toAmp)).set(kParamVelFilter, clamp01(toFilter));
        return set(kParamVelOsc3, clamp01(toOsc3));
    }
    // Knob positions of the mod-wheel and pressure amounts (LFO, filter, Osc3).
    constexpr Patch& wheel(double lfo, double filterAmount, double osc3)
    {
        set(kParamWheelLfo, clamp01(lfo)).set(kParamWheelFilter, clamp01(filterAmount));
        return set(kParamWheelOsc3, clamp01(osc3));
    }
    constexpr Patch& pressure(double lfo, double filterAmount, double osc3)
    {
        return set(kParamPressureLfo, clamp01(lfo)).set(kParamPressureFilter, clamp01(filterAmount))
            .set(kParamPressureOsc3, clamp01(osc3));
    }

    constexpr Patch& set(int32_t index, float value)
    {
        v[index] = value;
        return *this;
    }

private:
    bool percussive = false;
    double ampAttackMs = -1.0, filterDecayMs = -1.0;       // < 0: keep the stored value
    double pitchUpSemis = -1.0, pitchUpDecayMs = -1.0;
    double pitchDownSemis = -1.0, pitchDownDecayMs = -1.0;

    // Osc2/Osc3 decay (5..10000 ms to -20 dB, 0.999 and above hold).
    static constexpr float decayValue(double ms)
    {
        const float x = unscale(ms, 5.0, 10000.0);
        return x > 0.998f ? 0.998f : x;
    }
    static constexpr float pitchDecayValue(double ms, bool perc)
    {
        if (ms <= 0.0) return 1.0f;
        const float x = perc ? unscale(ms, 2.0, 200.0) : unscale(ms, 20.0, 20000.0);
        return x > 0.998f ? 0.998f : x;
    }
    // Applies the PercEnv-dependent conversions for the current PercEnv state.
    constexpr Patch& reconvert()
    {
        if (ampAttackMs >= 0.0)
            v[kParamAmpAttack] = percussive ? unscale(ampAttackMs, 2.0, 3000.0) : unscale(ampAttackMs, 6.0, 3500.0);
        if (filterDecayMs >= 0.0)
            v[kParamFltDecay] =
                percussive ? unscale(filterDecayMs, 20.0, 5000.0) : unscale(filterDecayMs, 200.0, 2500.0);
        const double steps = percussive ? 6144.0 : 1536.0;  // full pitch-envelope depth in 1/128 semitone
        if (pitchUpSemis >= 0.0) v[kParamPitchUpAmount] = clamp01(pitchUpSemis * 128.0 / steps);
        if (pitchUpDecayMs >= 0.0) v[kParamPitchUpDecay] = pitchDecayValue(pitchUpDecayMs, percussive);
        if (pitchDownSemis >= 0.0) v[kParamPitchDownAmount] = clamp01(pitchDownSemis * 128.0 / steps);
        if (pitchDownDecayMs >= 0.0) v[kParamPitchDownDecay] = pitchDecayValue(pitchDownDecayMs, percussive);
        return *this;
    }
};

} // namespace factory
