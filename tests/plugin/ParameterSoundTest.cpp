// Every parameter as a listener hears it, played through the built Quilm.so: one row per
// parameter over "Init Patch" (two sines, the filter open, no effects), with a few values set
// so that the parameter's effect stands alone. A row plays its phrase at two or three values
// of the parameter and measures each take: the measure at the first value, and its change
// from each value to the next, must lie within the row's ranges.
#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ModuleHost.h"
#include "engine/FactoryPatch.h"
#include "tests/engine/Listening.h"

namespace {

using factory::coarse;
using factory::osc3Coarse;
using factory::wave;

constexpr double kRate = 44100.0;
constexpr intptr_t kInitPatch = 127;
constexpr double kAny = 1e6;  // no bound on that side

// Init Patch tunes both oscillators 3/128 semitone sharp.
double hz(double note) { return 440.0 * std::pow(2.0, (note + 3.0 / 128.0 - 69.0) / 12.0); }

struct Take {
    std::vector<float> left, right;
    size_t at(double ms) const { return std::min(left.size(), size_t(std::lround(ms * kRate / 1000.0))); }
};

// What a listener judges in a take, named with its unit for the messages.
struct Measure {
    std::string what;
    std::function<double(const Take&)> of;
};

// A value over time: (s, value).
using Track = std::vector<std::pair<double, double>>;

// Level in dB of one output in 10 ms windows (about a cycle of the chorus rows' 98 Hz sine).
Track levelTrack(const std::vector<float>& x, const Take& t, double from, double to)
{
    Track track;
    for (size_t i = t.at(from); i + t.at(10) <= t.at(to); i += t.at(10))
        track.push_back({i / kRate, toDb(rms(x, i, i + t.at(10)))});
    return track;
}

// Times (s) at which a track rises through its mean.
std::vector<double> risings(const Track& track)
{
    double mean = 0.0;
    for (const auto& p : track) mean += p.second / double(track.size());
    std::vector<double> up;
    for (size_t k = 1; k < track.size(); ++k) {
        const auto [t0, a] = track[k - 1];
        const auto [t1, b] = track[k];
        if (a < mean && b >= mean) up.push_back(t0 + (t1 - t0) * (mean - a) / (b - a));
    }
    return up;
}

// Level of the left output (or the right, output 1), in dB.
Measure level(double from, double to, int output = 0)
{
    return {"level (dB)", [=](const Take& t) { return toDb(rms(output ? t.right : t.left, t.at(from), t.at(to))); }};
}

// The pitch heard, in semitones over a note of Init Patch's tuning.
Measure pitch(double from, double to, double note)
{
    return {"pitch (semitones)",
            [=](const Take& t) { return cents(frequency(t.left, t.at(from), t.at(to), kRate), hz(note)) / 100.0; }};
}

Measure vibrato(double from, double to)
{
    return {"vibrato depth (Hz)", [=](const Take& t) {
                return vibratoDepth(cycleFrequencies(t.left, t.at(from), t.at(to), kRate), from / 1000, to / 1000);
            }};
}

Measure vibratoRate(double from, double to)
{
    return {"vibrato rate (octaves)", [=](const Take& t) {
                const std::vector<double> up = risings(cycleFrequencies(t.left, t.at(from), t.at(to), kRate));
                return std::log2(double(up.size() - 1) / (up.back() - up.front()));
            }};
}

Measure tremolo(double from, double to)
{
    return {"level swing (dB)", [=](const Take& t) {
                const Track track = levelTrack(t.left, t, from, to);
                const auto by = [](const auto& a, const auto& b) { return a.second < b.second; };
                const auto [lo, hi] = std::minmax_element(track.begin(), track.end(), by);
                return hi->second - lo->second;
            }};
}

// How long after the left output's level swings up the right output's follows.
Measure sweepLag(double from, double to)
{
    return {"right's sweep after left's (ms)", [=](const Take& t) {
                const std::vector<double> left = risings(levelTrack(t.left, t, from, to)),
                                          right = risings(levelTrack(t.right, t, from, to));
                double sum = 0.0, n = 0.0;
                for (double l : left) {
                    const auto r = std::upper_bound(right.begin(), right.end(), l);
                    if (r != right.end()) sum += *r - l, n += 1.0;
                }
                return 1000.0 * sum / n;
            }};
}

// Power at a frequency over that at another (over full scale with reference 0), in dB.
Measure tone(double f, double reference, double from = 100, double to = 300)
{
    return {"tone (dB)", [=](const Take& t) {
                const double p = std::max(tonePower(t.left, t.at(from), t.at(to), f, kRate), 1e-30);
                const double r = reference > 0 ? tonePower(t.left, t.at(from), t.at(to), reference, kRate) : 1.0;
                return 10.0 * std::log10(p / r);
            }};
}

// Harmonic h of a note over its fundamental.
Measure partial(double note, int h, double from = 100, double to = 300)
{
    return tone(h * hz(note), hz(note), from, to);
}

// The difference between the outputs over the left output, in dB.
Measure stereo(double from, double to)
{
    return {"stereo difference (dB)", [=](const Take& t) {
                std::vector<float> d;
                for (size_t i = t.at(from); i < t.at(to); ++i) d.push_back(t.left[i] - t.right[i]);
                return toDb(rms(d) / rms(t.left, t.at(from), t.at(to)));
            }};
}

// When the echo of a short note arrives (ms): the first millisecond that comes back within
// 20 dB of the note's peak (in its first 30 ms) after the note has died 40 dB below it.
double arrival(const std::vector<float>& x)
{
    std::vector<double> env;  // RMS of 1 ms (44 frames) windows
    for (size_t i = 0; i + 44 <= x.size(); i += 44) env.push_back(rms(x, i, i + 44));
    size_t k = size_t(std::max_element(env.begin(), env.begin() + 30) - env.begin());
    const double peak = env[k];
    while (k < env.size() && env[k] > 0.01 * peak) ++k;
    while (k < env.size() && env[k] < 0.1 * peak) ++k;
    return double(k) * 44 * 1000.0 / kRate;
}

Measure echo(int output = 0)
{
    return {"echo arrival (ms)", [=](const Take& t) { return arrival(output ? t.right : t.left); }};
}

// Osc3's pitch as its sideband's distance above the carrier, in semitones over the carrier,
// from 16384 frames (0.37 s) after the first 100 ms.
Measure sideband(double carrier)
{
    return {"sideband distance (semitones)", [=](const Take& t) {
                const double peak = peakFrequency(t.left, t.at(100), 16384, 1.05 * carrier, 8.0 * carrier, kRate);
                return 12.0 * std::log2((peak - carrier) / carrier);
            }};
}

// What a row plays: MIDI events at times in ms, over a length in ms.
struct Midi {
    double ms;
    uint8_t status, data1, data2;
};
struct Phrase {
    double ms;
    std::vector<Midi> events;
};

Phrase held(uint8_t note, double ms = 300, uint8_t velocity = 100) { return {ms, {{0, 0x90, note, velocity}}}; }
Phrase released(uint8_t note, double offMs, double ms) { return {ms, {{0, 0x90, note, 100}, {offMs, 0x80, note, 0}}}; }
Phrase twoKeys(uint8_t first, uint8_t then, double ms) { return {ms, {{0, 0x90, first, 100}, {100, 0x90, then, 100}}}; }
Phrase chord() { return {300, {{0, 0x90, 60, 100}, {0, 0x90, 64, 100}, {0, 0x90, 67, 100}}}; }
// With full channel pressure, or the pitch wheel fully up, from the start.
Phrase pressed(Phrase p) { return p.events.insert(p.events.begin(), {0, 0xD0, 127, 0}), p; }
Phrase bent(Phrase p) { return p.events.insert(p.events.begin(), {0, 0xE0, 127, 127}), p; }

struct Range {
    double least, most;
};
const Range kFree{-kAny, kAny}, kSilent{-kAny, -200}, kFallsSilent{-kAny, -60};

using Settings = std::vector<std::pair<int32_t, float>>;

struct Row {
    const char* name;
    int32_t index;
    std::vector<float> values;
    Settings base;  // set over Init Patch, in this order
    Phrase phrase;
    Measure measure;
    // The measure at the first value, then its change from each value to the next (a single
    // range for every step); none: the parameter has no audible effect, every take is the same.
    std::vector<Range> expect;
};

Settings with(Settings a, const Settings& b) { return a.insert(a.end(), b.begin(), b.end()), a; }
const Settings kOsc1Alone = {{kParamOsc2Wave, 0.0f}};
const Settings kOsc2Alone = {{kParamOsc1Wave, 0.0f}};
// A saw (wave 2) at note 48 through the filter, its corner well below harmonic 8 (1047 Hz).
const Settings kSaw = {{kParamOsc1Wave, wave(2)}, {kParamOsc2Wave, 0}, {kParamFltReso, 0}, {kParamFltCutoff, 0.4f}};
const Settings kShared = {{kParamSharedFilter, 1.0f}};
// A filter envelope that opens the saw's filter to its peak and holds there.
const Settings kSweep = with(kSaw, {{kParamFltEnv, 0.3f}, {kParamFltAttack, 0.0f}, {kParamFltSustain, 1.0f}});
// A sine whose level holds once its attack is over, whatever the velocity.
const Settings kSteady = with(kOsc1Alone, {{kParamAmpSustain, 1.0f}, {kParamVelAmp, 0.0f}});
// A short note and its echo 144 ms later through the chorus, fully wet, without feedback.
const Settings kEcho = with(kOsc1Alone, {{kParamAmpRelease, 0}, {kParamChorusAmount, 1}, {kParamChorusDelay, 0.8f},
                                         {kParamChorusMod, 0}, {kParamChorusFeedback, 0}, {kParamChorusSpread, 0}});
// A sine through the chorus at its shortest delay, fully wet: the outputs differ by the sweep alone.
const Settings kSwept = with(kOsc1Alone, {{kParamChorusAmount, 1.0f}, {kParamChorusDelay, 0.0f},
                                          {kParamChorusSpread, 0.0f}, {kParamChorusFeedback, 0.0f}});
// Osc3 an octave over the note at a small index, on the oscillator that is heard.
const Settings kOsc3 = {{kParamOsc3Coarse, osc3Coarse(12)}, {kParamOsc3Amount, 0.25f}};
const Settings kOsc3OnOsc1 = with(with(kOsc1Alone, kOsc3), {{kParamOscRouting, 2.0f}});
const Settings kOsc3OnOsc2 = with(kOsc2Alone, kOsc3);
// Vibrato 15.9 Hz deep at 5 Hz (Init Patch's LFO Rate).
const Settings kVibrato = with(kOsc1Alone, {{kParamLfoOsc, 0.4f}});
const Settings kBass = with(kOsc1Alone, {{kParamBassAmount, 1.0f}, {kParamBassSat, 1.0f}, {kParamBassFreq, 0.5f}});
// Pitch envelopes held at 6 semitones (0.125 with PercEnv on) from the start; 6 semitones
// with PercEnv off, whose decays are slow.
const Settings kPitchUp = with(kOsc1Alone, {{kParamPitchUpAmount, 0.125f}, {kParamPitchUpDecay, 1.0f}});
const Settings kPitchDown = with(kOsc1Alone, {{kParamPitchDownAmount, 0.125f}, {kParamPitchDownDecay, 1.0f},
                                              {kParamPitchDownDelay, 0.0f}});
const Settings kSlowUp = {{kParamPercEnv, 0.0f}, {kParamOsc2Wave, 0.0f}, {kParamPitchUpAmount, 0.5f}};
const Settings kSlowDown = {{kParamPercEnv, 0}, {kParamOsc2Wave, 0}, {kParamPitchDownAmount, 0.5f},
                            {kParamPitchDownDelay, 0}};

// Both oscillators a quarter semitone sharp, so that Voice-Mode's layers differ in pitch.
const Settings kDetuned = {{kParamOsc1Fine, 0.75f}, {kParamOsc2Fine, 0.75f}};

const double kC4 = hz(60);
// Osc3's upper sideband on a carrier at note 60 (Osc3 an octave up, without the oscillators' detune).
const double kOsc3Sideband = kC4 + 2.0 * hz(60 - 3.0 / 128);
Measure osc3Sideband(double from = 100, double to = 300) { return tone(kOsc3Sideband, kC4, from, to); }

std::vector<Row> table()
{
    return {
    // Oscillators 1 and 2: tuning, saturation (harmonic 3), wave (harmonic 2), Osc2's own envelope.
    {"Osc1-C", kParamOsc1Coarse, {0.25f, 0.5f, 0.75f}, kOsc1Alone, held(60), pitch(100, 300, 60),
     {{-6.05, -5.95}, {5.95, 6.05}}},
    {"Osc1-F", kParamOsc1Fine, {0.25f, 0.5f, 0.75f}, kOsc1Alone, held(60), pitch(100, 300, 60),
     {{-0.277, -0.27}, {0.245, 0.255}}},
    {"Osc1-Sat", kParamOsc1Sat, {0.3f, 1, 0}, kOsc1Alone, held(60), partial(60, 3),
     {{-11, -9.9}, {0.42, 1.02}, kFallsSilent}},
    {"Osc1W", kParamOsc1Wave, {0, wave(2), wave(1)}, kOsc1Alone, held(60), tone(2 * kC4, 0),
     {kSilent, {150, kAny}, kFallsSilent}},
    {"Osc2-C", kParamOsc2Coarse, {0.25f, 0.5f, 0.75f}, kOsc2Alone, held(60), pitch(100, 300, 60),
     {{-6.05, -5.95}, {5.95, 6.05}}},
    {"Osc2-F", kParamOsc2Fine, {0.25f, 0.5f, 0.75f}, kOsc2Alone, held(60), pitch(100, 300, 60),
     {{-0.277, -0.27}, {0.245, 0.255}}},
    {"Osc2-Sat", kParamOsc2Sat, {0.3f, 1, 0}, kOsc2Alone, held(60), partial(60, 3),
     {{-11, -9.9}, {0.42, 1.02}, kFallsSilent}},
    {"Osc2W", kParamOsc2Wave, {0, wave(2), wave(1)}, kOsc2Alone, held(60), tone(2 * kC4, 0),
     {kSilent, {150, kAny}, kFallsSilent}},
    {"Osc2-Dec", kParamOsc2Decay, {0.45f, 0.6f, 1}, with(kOsc2Alone, {{kParamOsc2Sustain, 0}}), held(69, 400),
     level(300, 400), {{-72, -65.3}, {28.2, 31.2}, {13.7, 15.1}}},
    {"Osc2-Sus", kParamOsc2Sustain, {0.1f, 0.3f, 0.9f}, with(kOsc2Alone, {{kParamOsc2Decay, 0}}), held(69, 400),
     level(300, 400), {{-46.9, -42.4}, {9.05, 10}}},
    // The mix: the ring product of Osc1 and Osc2 (a fifth up) over Osc1.
    {"Level/RM", kParamLevelRm, {0.25f, 0.5f, 0.75f}, {{kParamOsc2Coarse, coarse(7)}}, held(60),
     tone(kC4 + hz(67), kC4), {{-10.1, -9.2}, {9.07, 10}}},
    // Osc2 heard in the mix (0), Osc3's sideband on Osc1 in parallel (2), neither in the chain (1),
    // where Osc1 is modulated by Osc2 alone, at Level/RM 0 not at all.
    {"Osc-Routing", kParamOscRouting, {1, 2, 0}, with(kOsc3, {{kParamOsc2Coarse, coarse(7)}}), held(60),
     {"Osc2 and the sideband (dB)",
      [](const Take& t) { return 10 * std::log10(std::pow(10, tone(hz(67), kC4).of(t) / 10) +
                                                 std::pow(10, osc3Sideband().of(t) / 10)); }},
     {kFree, {66.8, 73.8}, {32.2, 35.6}}},
    // Osc3: pitch (with the note bent 2 semitones up), index (its upper sideband over the carrier),
    // envelope, key tracking, in each routing.
    {"Osc3-C", kParamOsc3Coarse, {0.5f, osc3Coarse(12)}, kOsc3OnOsc1, bent(held(60, 500)), sideband(hz(62)),
     {{-0.06, 0.01}, {11.95, 12.05}}},
    {"Osc3-F", kParamOsc3Fine, {0.25f, 0.5f, 0.75f}, with(kOsc3OnOsc1, {{kParamOsc3Coarse, 0.5f}}), held(60, 500),
     sideband(kC4), {{-0.277, -0.268}, {0.24, 0.26}}},
    // In the chain Osc3 reaches Osc1 through Osc2 (unison, index 0.8): Osc1 + Osc2 + Osc3 (a fifth up).
    {"Osc3-Amt", kParamOsc3Amount, {0, 0.25f, 0.5f},
     {{kParamOscRouting, 1}, {kParamLevelRm, 0.05f}, {kParamOsc3Coarse, osc3Coarse(7)}}, held(60),
     tone(2 * kC4 + hz(67 - 3.0 / 128), kC4), {kFree, {71.9, 79.5}, {15.9, 17.6}}},
    {"Osc3-Ktrk", kParamOsc3KeyTrack, {0, 0.5f, 1}, kOsc3OnOsc2, held(60), osc3Sideband(),
     {{-32.2, -29.1}, {-3.5, -2.9}, {-5.3, -4.7}}},
    {"Osc3-Dec", kParamOsc3Decay, {0.5f, 0.7f, 0.9f}, with(kOsc3OnOsc1, {{kParamOsc3Sustain, 0}}), held(60, 400),
     osc3Sideband(250, 400), {{-50.9, -46.1}, {21.8, 24.1}, {5.16, 5.76}}},
    {"Osc3-Sus", kParamOsc3Sustain, {0.1f, 0.3f, 0.9f}, with(kOsc3OnOsc2, {{kParamOsc3Decay, 0}}), held(60, 400),
     osc3Sideband(250, 400), {{-41.8, -37.8}, {9.3, 10.9}}},
    // LFO (vibrato on note 81; the filter's sweep of a sine at note 72) and glide.
    {"LFO Rate", kParamLfoRate, {0.668f, 0.759f}, kVibrato, held(81, 700), vibratoRate(100, 700),
     {{2.95, 3.05}, {0.95, 1.05}}},
    {"LFO Osc", kParamLfoOsc, {0, 0.2f, 0.4f}, kOsc1Alone, held(81, 500), vibrato(100, 500),
     {{-0.15, 0.15}, {3.75, 4.15}, {11.3, 12.4}}},
    {"LFO Delay", kParamLfoDelay, {0, 0.6f, 0.75f},
     with(kSteady, {{kParamLfoFilter, 0.5f}, {kParamLfoRate, 0.697f}, {kParamFltCutoff, 0.6f}}), held(72, 200),
     tremolo(50, 150), {{9.4, 10.4}, {-4.18, -3.78}, {-3.93, -3.55}}},
    {"LFO-Sync", kParamLfoSync, {0, 1}, with(kVibrato, {{kParamLfoRate, 0.63f}}), held(81, 700), vibratoRate(100, 700),
     {{2.55, 2.62}, {-0.29, -0.24}}},
    {"LFO Filter", kParamLfoFilter, {0, 0.5f, 1},
     with(kShared, with(kSteady, {{kParamLfoRate, 0.5765f}, {kParamFltCutoff, 0.6f}})), held(72, 700),
     tremolo(100, 700), {{0, 0.6}, {9.45, 10.4}, {40.2, 44.4}}},
    {"Glide", kParamGlide, {0, 0.5f, 0.75f}, {{kParamVoiceCount, 0.01f}}, twoKeys(48, 60, 300), pitch(110, 140, 60),
     {{-0.02, 0.02}, {-3.05, -2.76}, {-4.37, -3.95}}},
    {"glide type", kParamGlideType, {0, 1}, {{kParamVoiceCount, 0.01f}, {kParamGlide, 0.5f}}, twoKeys(60, 61, 200),
     pitch(105, 125, 61), {{-0.47, -0.43}, {0.43, 0.47}}},
    // Amplitude envelope and velocity.
    {"Amp-Atk", kParamAmpAttack, {0, 0.3f, 0.6f}, kSteady, held(69), level(5, 15),
     {{-21.5, -19.5}, {-2.49, -1.89}, {-15.1, -13.7}}},
    {"Amp-Dec", kParamAmpDecay, {0.3f, 0.6f, 0.9f}, with(kSteady, {{kParamAmpSustain, 0}}), held(69, 400),
     level(300, 400), {{-72, -65.2}, {33.9, 37.5}, {8.81, 9.73}}},
    {"Amp-Sus", kParamAmpSustain, {0.1f, 0.3f, 0.9f}, with(kSteady, {{kParamAmpDecay, 0}}), held(69, 400),
     level(300, 400), {{-41.6, -37.6}, {9.06, 10}}},
    {"Amp-Rel", kParamAmpRelease, {0.3f, 0.6f, 0.9f}, kSteady, released(69, 100, 300), level(200, 300),
     {{-82.9, -75}, {47.1, 52.1}, {7.33, 8.1}}},
    {"Vel-Amp", kParamVelAmp, {0, 0.5f, 1}, with(kOsc1Alone, {{kParamAmpSustain, 1}}), held(69, 300, 64),
     level(100, 300), {{-21.5, -19.5}, {-2.72, -2.12}, {-3.9, -3.3}}},
    // Pitch envelopes.
    {"PercEnv", kParamPercEnv, {0, 1}, kPitchUp, held(60), pitch(100, 300, 60), {{1.45, 1.55}, {4.4, 4.6}}},
    {"PUp-Amt", kParamPitchUpAmount, {0, 0.0625f, 0.125f}, kPitchUp, held(60), pitch(100, 300, 60),
     {{-0.05, 0.05}, {2.95, 3.05}}},
    {"PUp-Del", kParamPitchUpDelay, {0.1f, 0.3f}, with(kPitchUp, {{kParamPitchUpDecay, 0}}), held(60),
     pitch(150, 250, 60), {{-0.05, 0.05}, {5.9, 6.1}}},
    {"PUp-Dec", kParamPitchUpDecay, {0.2f, 0.4f, 0.6f}, kSlowUp, held(60), pitch(150, 200, 60),
     {{0.02, 0.06}, {1.56, 1.73}, {2.53, 2.8}}},
    {"PUp-Rel", kParamPitchUpRelease, {0.2f, 0.4f, 1}, with(kPitchUp, {{kParamAmpRelease, 1}}), released(60, 100, 300),
     pitch(200, 300, 60), {{0.08, 0.12}, {1.86, 2.05}, {3.74, 4.14}}},
    {"PDw-Amt", kParamPitchDownAmount, {0, 0.0625f, 0.125f}, kPitchDown, held(60), pitch(100, 300, 60),
     {{-0.05, 0.05}, {-3.05, -2.95}}},
    {"PDw-Del", kParamPitchDownDelay, {0.1f, 0.3f}, with(kPitchDown, {{kParamPitchDownDecay, 0}}), held(60),
     pitch(150, 250, 60), {{-0.05, 0.05}, {-6.1, -5.9}}},
    {"PDw-Dec", kParamPitchDownDecay, {0.2f, 0.4f, 0.6f}, kSlowDown, held(60), pitch(150, 200, 60),
     {{-0.06, -0.02}, {-1.75, -1.58}, {-2.77, -2.51}}},
    {"PDw-Rel", kParamPitchDownRelease, {0.2f, 0.4f, 1}, with(kPitchDown, {{kParamAmpRelease, 1}}),
     released(60, 100, 300), pitch(200, 300, 60), {{-0.13, -0.09}, {-2.02, -1.83}, {-4.17, -3.77}}},
    // The filter on the saw: harmonic 8 over the fundamental, in the voices or shared.
    {"Flt-Cut", kParamFltCutoff, {0.3f, 0.4f, 0.5f}, kSaw, held(48), partial(48, 8),
     {{-91.2, -82.5}, {9.79, 10.8}, {19.5, 21.5}}},
    {"Flt-Reso", kParamFltReso, {0, 0.5f, 0.9f}, with(kShared, with(kSaw, {{kParamFltCutoff, 0.5f}})), held(48),
     partial(48, 3), {{-22.9, -20.8}, {14.1, 15.6}, {10.3, 11.4}}},
    {"Flt-Type", kParamFltType, {0.25f, 0.5f, 0}, with(kSaw, {{kParamFltCutoff, 0.45f}}), held(48),
     {"harmonic 2 over 16 (dB)", [](const Take& t) { return partial(48, 2).of(t) - partial(48, 16).of(t); }},
     {{8.26, 9.13}, {51.3, 56.7}, {17.2, 19}}},
    {"Flt-Sep", kParamFltSep, {0, 0.5f, 1}, with(kShared, kSaw), held(48), partial(48, 8),
     {{-77.6, -70.2}, {-2.96, -2.32}}},
    {"Flt-KbTrk", kParamFltKeyTrack, {0, 0.5f, 1}, kSaw, held(48), partial(48, 8),
     {{-80.4, -72.7}, {23.9, 26.4}, {21.6, 23.9}}},
    {"Flt-Env", kParamFltEnv, {0, 0.15f, 0.3f}, kSweep, held(48), partial(48, 8),
     {{-79.7, -72.1}, {27, 29.9}, {21.1, 23.3}}},
    {"Flt-Inv", kParamFltInvert, {0, 1}, with(kShared, with(kSweep, {{kParamFltCutoff, 0.5f}})), held(48),
     partial(48, 8), {{-20.9, -18.9}, {-73, -66.1}}},
    {"Flt-Atk", kParamFltAttack, {0.3f, 0.6f, 0.9f}, kSweep, held(48), partial(48, 8, 20, 60),
     {{-26.5, -23.9}, {-7.19, -6.51}, {-38.3, -34.7}}},
    {"Flt-Dec", kParamFltDecay, {0.3f, 0.6f, 0.9f}, with(kShared, with(kSweep, {{kParamFltSustain, 0}})),
     held(48, 400), partial(48, 8, 250, 350), {{-81.2, -73.5}, {14.7, 16.3}, {27.8, 30.7}}},
    {"Flt-Sus", kParamFltSustain, {0, 0.5f, 1}, with(kSweep, {{kParamFltDecay, 0}}), held(48, 400),
     partial(48, 8, 250, 350), {{-81.2, -73.5}, {30.7, 33.9}, {18.8, 20.8}}},
    {"Flt-Rel", kParamFltRelease, {0.3f, 0.6f, 0.9f}, with(kShared, with(kSweep, {{kParamAmpRelease, 1}})),
     released(48, 100, 300), partial(48, 8, 200, 300), {{-81.2, -73.5}, {6.33, 7}, {31.8, 35.2}}},
    {"Vel-Flt", kParamVelFilter, {0, 0.1f, 0.2f}, kSaw, held(48), partial(48, 8),
     {{-80.4, -72.7}, {14.7, 16.3}, {16.9, 18.7}}},
    // Voices: the count (three keys at once: the first is heard only with three voices), the
    // modes and the shared filter (mono), with every layer detuned by a multiple of 1/4 semitone.
    {"voice count", kParamVoiceCount, {0.01f, 0.03f}, {}, chord(), tone(kC4, hz(67)), {{-kAny, -60}, {60, kAny}}},
    {"Voice-Mode", kParamVoiceMode, {0, 0.5f, 1}, with(kDetuned, {{kParamVoiceCount, 0.03f}}), held(60),
     stereo(100, 300), {kSilent, {200, kAny}, {4.96, 5.56}}},
    {"SharedFilt", kParamSharedFilter, {0, 1}, with(kDetuned, {{kParamVoiceMode, 0.5f}}), held(60), stereo(100, 300),
     {{-1.51, -0.91}, {-kAny, -200}}},
    {"bend range", kParamBendRange, {0.02f, 0.07f, 0.12f}, kOsc1Alone, bent(held(69)), pitch(150, 300, 69),
     {{1.95, 2.03}, {4.95, 5.05}}},
    // The mod wheel, channel pressure and velocity.
    {"Modwheel", kParamModWheel, {0, 0.5f, 1}, with(kOsc1Alone, {{kParamWheelLfo, 0.5f}}), held(81, 500),
     vibrato(100, 500), {{-0.15, 0.15}, {11.7, 13}}},
    {"MW-LFO", kParamWheelLfo, {0, 0.25f, 0.5f}, with(kOsc1Alone, {{kParamModWheel, 1}}), held(81, 500),
     vibrato(100, 500), {{-0.15, 0.15}, {5.87, 6.49}, {17.6, 19.4}}},
    {"MW-Flt", kParamWheelFilter, {0, 0.5f, 0.7f},
     with(kShared, with(kSaw, {{kParamModWheel, 1}, {kParamWheelLfo, 0}})), held(48), partial(48, 8),
     {{-80.4, -72.7}, {25, 27.6}, {21.1, 23.4}}},
    {"MW-Osc3", kParamWheelOsc3, {0.02f, 0.04f, 0}, with(kOsc3OnOsc1, {{kParamOsc3Amount, 0}, {kParamModWheel, 1}}),
     held(60), osc3Sideband(), {{-38.2, -34.6}, {5.74, 6.35}, kFallsSilent}},
    {"AT-LFO", kParamPressureLfo, {0, 0.5f, 1}, kOsc1Alone, pressed(held(81, 500)), vibrato(100, 500),
     {{-0.15, 0.15}, {3.52, 3.89}, {10.6, 11.7}}},
    {"AT-Flt", kParamPressureFilter, {0, 0.5f, 1}, kSaw, pressed(held(48)), partial(48, 8),
     {{-80.4, -72.7}, {6.45, 7.13}, {23.9, 26.4}}},
    {"AT-Osc3", kParamPressureOsc3, {0.25f, 0.5f, 0}, with(kOsc3OnOsc2, {{kParamOsc3Amount, 0}}), pressed(held(60)),
     osc3Sideband(), {{-38.6, -35}, {5.92, 6.54}, kFallsSilent}},
    {"Vel-Osc3", kParamVelOsc3, {0, 1}, kOsc3OnOsc1, held(60, 300, 64), osc3Sideband(),
     {{-35.7, -32.3}, {-6.47, -5.85}}},
    // The chorus: the echo of a short note; the sweep of a low sine's level and of the stereo image.
    {"Ch-Amt", kParamChorusAmount, {0.25f, 1, 0}, kEcho, released(60, 40, 250), level(150, 180),
     {{-33.3, -30.1}, {5.72, 6.32}, {-kAny, -100}}},
    {"Ch-Del", kParamChorusDelay, {0.7f, 0.8f, 0.9f}, kEcho, released(60, 10, 350), echo(),
     {{74.9, 82.8}, {63.5, 70.2}, {118, 131}}},
    {"Ch-Sync", kParamChorusSync, {0, 1}, with(kEcho, {{kParamChorusDelay, 0.5f}}), released(60, 40, 300),
     level(210, 250), {{-kAny, -90}, {60, kAny}}},
    {"Ch-Sprd", kParamChorusSpread, {0, 0.5f, 1}, kEcho, released(60, 10, 350), echo(1),
     {{141, 150}, {68.2, 75.4}}},
    // The second echo, fed back at up to 0.9.
    {"Ch-Fbk", kParamChorusFeedback, {0.45f, 0.9f, 0}, kEcho, released(60, 40, 350), level(290, 330),
     {{-33.4, -32.4}, {5.72, 6.32}, {-kAny, -40}}},
    {"Ch-Low", kParamChorusLow, {0.2f, 0.6f, 1}, kEcho, released(96, 40, 250), level(150, 180),
     {{-47, -42.6}, {13.9, 15.4}, {2.79, 3.39}}},
    {"Ch-High", kParamChorusHigh, {0, 0.5f, 1}, kEcho, released(36, 40, 250), level(150, 180),
     {{-27, -24.5}, {-8.64, -7.82}, {-30.4, -27.5}}},
    {"Ch-Mod", kParamChorusMod, {0, 0.25f, 0.5f}, with(kSwept, {{kParamChorusRate, 0.8f}}), held(43, 500),
     stereo(100, 500), {{-8.83, -7.99}, {3.86, 4.5}}},
    // Output 1's sweep runs a quarter cycle ahead: its level follows output 0's by 3/4 of a sweep.
    {"Ch-Rate", kParamChorusRate, {0.85f, 1}, with(kSwept, {{kParamChorusMod, 0}}), held(43, 1000),
     sweepLag(100, 1000), {{204, 226}, {-145, -132}}},
    // Bass enhancer on a low sine (and on note 72 for its corner); Bass-Sprd holds the right
    // output's bass back.
    {"Bass-Amt", kParamBassAmount, {0, 0.5f, 1}, kBass, held(36), level(100, 300),
     {{-24.9, -22.5}, {13, 14.3}, {4.83, 5.43}}},
    {"Bass-Sat", kParamBassSat, {0, 0.5f, 1}, kBass, held(36), level(100, 300),
     {{-23.6, -21.4}, {4.07, 4.67}, {12.6, 13.9}}},
    {"Bass-Freq", kParamBassFreq, {0, 0.5f, 1}, kBass, held(72), level(100, 300),
     {{-27.7, -25}, {7.88, 8.7}, {10.6, 11.8}}},
    {"Bass-Sprd", kParamBassSpread, {0, 0.5f}, kBass, held(36), level(5, 40, 1), {{-4.34, -3.74}, {-19.9, -18}}},
    // Output stage.
    {"Out-Dist", kParamOutDist, {0.2f, 0.5f, 0}, kOsc1Alone, held(60), partial(60, 3),
     {{-48.5, -43.9}, {25.5, 28.2}, kFallsSilent}},
    {"Out-Low", kParamOutLow, {0.2f, 0.5f, 1}, kOsc1Alone, held(96), level(100, 300),
     {{-44.4, -40.2}, {11.6, 12.9}, {4.81, 5.41}}},
    {"Out-High", kParamOutHigh, {0, 0.5f, 1}, kOsc1Alone, held(36), level(100, 300),
     {{-24.9, -22.5}, {-4.65, -4.05}, {-28.6, -25.8}}},
    {"Out-Gain", kParamOutGain, {0.25f, 0.5f, 1}, {}, held(60), level(100, 300), {{-19.5, -18.9}, {11.9, 12.2}}},
    // No audible effect: every take is the same, sample for sample.
    {"unused 63", kParamUnused63, {0, 1}, {}, held(60, 200), level(0, 200), {}},
    {"unused 64", kParamUnused64, {0, 1}, {}, held(60, 200), level(0, 200), {}},
    };
}

std::string testName(const testing::TestParamInfo<Row>& info)
{
    std::string name = std::to_string(100 + info.param.index);
    name[0] = 'p';
    name += '_';
    for (const char* c = info.param.name; *c != 0; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
}

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

} // namespace

class ParameterSound : public ModuleTest, public testing::WithParamInterface<Row> {
protected:
    // A fresh plug-in with Init Patch (loaded twice, so that every time follows its own PercEnv),
    // the row's settings and the value; 200 ms without notes, in which the chorus' levels and
    // the cutoff settle; then the phrase.
    Take take(const Row& row, float value)
    {
        EXPECT_TRUE(loadModule());
        for (int i = 0; i < 2; ++i) host->dispatch(effSetProgram, 0, kInitPatch);
        for (auto [index, v] : row.base) host->setParameter(index, v);
        host->setParameter(row.index, value);
        play({200, {}});
        return play(row.phrase);
    }
    Take play(const Phrase& phrase)
    {
        auto frame = [](double ms) { return int32_t(std::lround(ms * kRate / 1000.0)); };
        Take t;
        size_t next = 0;
        for (int32_t at = 0; at < frame(phrase.ms); at += kBlock) {
            std::vector<VstMidiEvent> events;
            for (; next < phrase.events.size() && frame(phrase.events[next].ms) < at + kBlock; ++next) {
                const Midi& m = phrase.events[next];
                events.push_back(midiEvent(frame(m.ms) - at, m.status, m.data1, m.data2));
            }
            const auto out = block(events);
            t.left.insert(t.left.end(), out[0].begin(), out[0].end());
            t.right.insert(t.right.end(), out[1].begin(), out[1].end());
        }
        t.left.resize(size_t(frame(phrase.ms)));
        t.right.resize(t.left.size());
        return t;
    }
};

TEST_P(ParameterSound, MovesWhatTheListenerHears)
{
    const Row& row = GetParam();
    std::vector<Take> takes;
    for (float v : row.values) takes.push_back(take(row, v));
    ASSERT_GT(rms(takes[0].left) + rms(takes.back().left), 0.0) << "the row must sound";
    if (row.expect.empty()) {
        for (const Take& t : takes) EXPECT_TRUE(t.left == takes[0].left && t.right == takes[0].right);
        return;
    }
    std::vector<double> m;
    for (const Take& t : takes) m.push_back(row.measure.of(t));
    EXPECT_TRUE(m[0] >= row.expect[0].least && m[0] <= row.expect[0].most)
        << row.name << " at " << row.values[0] << ": " << row.measure.what << " " << m[0];
    for (size_t k = 1; k < takes.size(); ++k) {
        const Range r = row.expect[std::min(k, row.expect.size() - 1)];
        EXPECT_TRUE(m[k] - m[k - 1] >= r.least && m[k] - m[k - 1] <= r.most)
            << row.name << " " << row.values[k - 1] << " -> " << row.values[k] << ": " << row.measure.what << " "
            << m[k - 1] << " -> " << m[k];
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ParameterSound, testing::ValuesIn(table()), testName);

TEST(ParameterSoundTable, HasOneRowPerParameter)
{
    std::vector<int32_t> indexes;
    for (const Row& row : table()) indexes.push_back(row.index);
    std::sort(indexes.begin(), indexes.end());
    for (int32_t i = 0; i < kNumParams; ++i) EXPECT_EQ(indexes.at(size_t(i)), i);
}
