#pragma once
// What the engine makes of the value of a switch, a choice, a count or a tuning:
// the state, position or interval that plays. The parameter conversion sets
// its working values with these, and the editor draws its switches, checks its
// menus and writes its read-out with the same functions, so that a value between
// two positions (a host's slider, an automation curve, a MIDI controller) looks
// like what it sounds like. Products and comparisons are float32 on purpose: stored
// programs sit on these exact thresholds and steps. Pure; any thread.

#include <cstdint>

#include "engine/FloatToInt.h"
#include "engine/WaveTableBank.h"

// Bound for truncated tunings, steps and counts taken from host floats, far beyond any
// musical value, so that later integer sums (note + coarse, pitch x 128 ...) cannot overflow.
inline constexpr int32_t kStepLimit = 1 << 20;
// Bend ranges beyond this would overflow the plug-in's 32-bit bend scaling (range x 128 x 8192).
inline constexpr int32_t kBendRangeLimit = 2047;

// x truncated toward zero within +-kStepLimit (NaN gives 0).
inline int32_t truncBounded(float x) { return truncClamp(x, -kStepLimit, kStepLimit); }

// LFO-Sync, PercEnv and Ch-Sync: on strictly above one half.
inline bool switchOn(float v) { return v > 0.5f; }
// Flt-Inv: 1 (inverted envelope) from 5/6 on.
inline int32_t filterInvertOf(float v) { return truncBounded(v * 1.2f); }
// SharedFilt: every voice runs its own filter up to 0.1; above, one filter runs on the sum.
inline bool perVoiceFilterOf(float v) { return v <= 0.1f; }
// Voice-Mode 0, 1 or 2.
inline int32_t voiceModeOf(float v) { return truncBounded(v * 2.01f); }
// Flt-Type 0..4 (3 and 4 are the same response).
inline int32_t filterTypeOf(float v) { return truncBounded(v * 4.01f); }
// Osc1W, Osc2W: 0 = oscillator off, 1..39 a wave of the bank; 39.99 puts index / 39 safely on step `index`; values above 1 play wave 39.
inline int32_t waveOf(float v) { return truncClamp(v * 39.99f, 0, WaveTableBank::kWaveCount); }
// The voice count asked for: n / 100 asks for n.
inline int32_t voiceCountOf(float v) { return truncBounded(v * 100.01f); }
// The pitch-bend range in semitones: n / 100 gives n.
inline int32_t bendRangeOf(float v) { return truncClamp(v * 100.01f, -kBendRangeLimit, kBendRangeLimit); }
// The glide type: 0 constant time, 1 constant rate.
inline int32_t glideTypeOf(float v) { return truncBounded(v + 0.01f); }
// Osc1-C and Osc2-C in semitones, -12..+12.
inline int32_t coarseTuningOf(float v) { return truncBounded(v * 24.0f) - 12; }
// Osc3-C in semitones, -48..+48.
inline int32_t osc3CoarseTuningOf(float v) { return truncBounded(v * 96.0f) - 48; }
// Osc1-F, Osc2-F and Osc3-F in 1/128 semitone, -64..+64 (+-50 cents).
inline int32_t fineTuningOf(float v) { return truncBounded(v * 128.0f) - 64; }
// Out-Low: the output low-pass is switched on below 0.999 (both output filters run once either is on).
inline bool outLowpassOnOf(float v) { return v < 0.999f; }
// Out-High: the output high-pass is switched on above 0.001.
inline bool outHighpassOnOf(float v) { return v > 0.001f; }
