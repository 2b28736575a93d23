#pragma once
// Sound data of the factory bank, included only by FactoryBank.cpp.
// Programs 1..126 are placeholders until their sound design lands: each is a
// style laid over "Init Patch" plus its own settings. Fixed facts every program
// keeps: Osc-Routing 2 only in programs 0, 1, 8, 11, 14, 18, 25, 30, 37, 43, 44;
// Osc1W 2.578 (plays wave 39) only in 34, 36, 42, 81; voice count (59) 0.04..0.12;
// bend range (60) 0.02; glide type (61), 63, 64 and Modwheel (72) 0; every
// other value within 0..1; Osc1 always plays a wave.

#include "engine/ParamControlTable.h"

// One parameter value of a program.
struct Setting {
    int32_t index = -1;  // parameter number; -1 ends the list
    float value = 0.0f;
};

inline constexpr int32_t kMaxSettings = 16;

// A sound style shared by several programs.
struct SoundStyle {
    Setting settings[kMaxSettings];
};

// One placeholder program: name, style and its own settings (applied last).
struct ProgramSpec {
    const char* name;
    const SoundStyle* style;  // never null
    Setting settings[kMaxSettings];
};

// "Init Patch" (program 127), parameter 0..81; the base of every placeholder.
inline constexpr float kInitPatch[kNumParams] = {
    0.516f, 0.528f, 0.0f,   0.0f,   0.606f, 0.0f,   0.047f, 0.0f,   0.0f,   1.0f,    // 0..9
    0.52f,  0.427f, 0.516f, 0.525f, 0.0f,   1.0f,   1.0f,   0.008f, 0.0f,   0.494f,  // 10..19
    0.0f,   0.502f, 0.515f, 0.636f, 0.026f, 0.026f, 0.0f,   0.0f,   0.0f,   1.0f,    // 20..29
    0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   0.496f, 1.0f,   0.0f,    // 30..39
    0.75f,  0.567f, 0.981f, 0.0f,   0.876f, 0.102f, 0.511f, 1.0f,   1.0f,   0.0f,    // 40..49
    0.5f,   0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   1.0f,   0.0f,   0.273f, 0.06f,   // 50..59
    0.02f,  0.0f,   0.0f,   0.0f,   0.0f,   0.51f,  0.505f, 0.505f, 0.525f, 0.0f,    // 60..69
    0.0f,   0.0f,   0.0f,   1.0f,   0.0f,   0.0f,   0.25f,  0.0f,   0.0f,   0.0f,    // 70..79
    0.0f,   0.0f,                                                                    // 80..81
};

// Value that selects wave n (1..39) of an oscillator; 0 switches it off.
constexpr float waveValue(int32_t n) { return static_cast<float>(n) / 39.0f; }
constexpr Setting osc1(int32_t wave) { return {kParamOsc1Wave, waveValue(wave)}; }
constexpr Setting osc2(int32_t wave) { return {kParamOsc2Wave, waveValue(wave)}; }
// Osc1W beyond the bank: the engine clamps it to wave 39 (kept from the original bank data).
inline constexpr Setting kOsc1BeyondBank{kParamOsc1Wave, 2.578f};
// Oscillator routings: 0 mix and ring modulation, 1 chained FM, 2 parallel FM.
inline constexpr Setting kRoutingChain{kParamOscRouting, 1.0f};
inline constexpr Setting kRoutingParallel{kParamOscRouting, 2.0f};
// Voice count n / 100.
constexpr Setting voices(int32_t n) { return {kParamVoiceCount, static_cast<float>(n) / 100.0f}; }
// Coarse tuning value for a semitone offset of Osc1/Osc2 (-12..12).
constexpr float semis(int32_t s)
{
    return s >= 12 ? 1.0f : (static_cast<float>(s) + 12.5f) / 24.0f;  // mid-step, so truncation lands on s
}

inline constexpr SoundStyle kBass{{{kParamOsc1Coarse, semis(-12)}, {kParamOsc2Coarse, semis(-12)},
    {kParamOsc2Fine, 0.54f}, {kParamAmpDecay, 0.6f}, {kParamAmpSustain, 0.6f},
    {kParamAmpRelease, 0.2f}, {kParamFltCutoff, 0.45f}, {kParamFltReso, 0.35f},
    {kParamFltEnv, 0.55f}, {kParamFltDecay, 0.35f}, {kParamFltSustain, 0.2f},
    {kParamPercEnv, 0.0f}, {kParamOutGain, 0.3f}, voices(4)}};
inline constexpr SoundStyle kLead{{{kParamOsc2Fine, 0.54f}, {kParamAmpSustain, 0.8f},
    {kParamAmpRelease, 0.3f}, {kParamFltCutoff, 0.7f}, {kParamFltEnv, 0.3f},
    {kParamFltDecay, 0.4f}, {kParamGlide, 0.2f}, {kParamChorusAmount, 0.2f},
    {kParamPercEnv, 0.0f}, voices(6)}};
inline constexpr SoundStyle kPad{{{kParamOsc2Fine, 0.56f}, {kParamAmpAttack, 0.5f},
    {kParamAmpSustain, 0.8f}, {kParamAmpRelease, 0.7f}, {kParamFltCutoff, 0.6f},
    {kParamFltAttack, 0.5f}, {kParamFltEnv, 0.3f}, {kParamChorusAmount, 0.5f},
    {kParamPercEnv, 0.0f}, {kParamOutGain, 0.25f}, voices(12)}};
inline constexpr SoundStyle kPluck{{{kParamAmpDecay, 0.45f}, {kParamAmpSustain, 0.0f},
    {kParamAmpRelease, 0.35f}, {kParamFltCutoff, 0.4f}, {kParamFltEnv, 0.6f},
    {kParamFltDecay, 0.3f}, {kParamFltSustain, 0.1f}, voices(8)}};
inline constexpr SoundStyle kKeys{{{kParamAmpDecay, 0.7f}, {kParamAmpSustain, 0.3f},
    {kParamAmpRelease, 0.4f}, {kParamFltCutoff, 0.6f}, {kParamFltEnv, 0.3f},
    {kParamFltDecay, 0.45f}, {kParamChorusAmount, 0.3f}, voices(10)}};
inline constexpr SoundStyle kOrgan{{{kParamOsc2Coarse, semis(12)}, {kParamAmpSustain, 1.0f},
    {kParamAmpRelease, 0.2f}, {kParamFltCutoff, 0.8f}, {kParamChorusAmount, 0.4f},
    {kParamPercEnv, 0.0f}, voices(10)}};
inline constexpr SoundStyle kBell{{{kParamAmpDecay, 0.8f}, {kParamAmpSustain, 0.0f},
    {kParamAmpRelease, 0.6f}, {kParamLevelRm, 0.3f}, {kParamOsc3Coarse, 0.75f},
    {kParamOsc3Amount, 0.4f}, {kParamOsc3Decay, 0.4f}, {kParamChorusAmount, 0.3f}, voices(10)}};
inline constexpr SoundStyle kBrass{{{kParamAmpAttack, 0.2f}, {kParamAmpSustain, 0.7f},
    {kParamFltCutoff, 0.45f}, {kParamFltEnv, 0.6f}, {kParamFltAttack, 0.3f},
    {kParamFltSustain, 0.5f}, {kParamPercEnv, 0.0f}, voices(8)}};
inline constexpr SoundStyle kDrum{{{kParamOsc1Coarse, semis(-12)}, {kParamAmpDecay, 0.3f},
    {kParamAmpSustain, 0.0f}, {kParamAmpRelease, 0.2f}, {kParamPitchDownAmount, 0.5f},
    {kParamPitchDownDelay, 0.0f}, {kParamPitchDownDecay, 0.2f}, {kParamFltCutoff, 0.5f},
    voices(6)}};
inline constexpr SoundStyle kEffect{{{kParamLfoFilter, 0.6f}, {kParamLfoRate, 0.5f},
    {kParamLfoOsc, 0.2f}, {kParamChorusAmount, 0.5f}, {kParamFltReso, 0.5f},
    {kParamFltCutoff, 0.55f}, voices(8)}};

// Programs 1..126 in order.
inline constexpr ProgramSpec kFactoryPrograms[126] = {
    {"Dub Organ", &kOrgan, {osc1(3), osc2(3), kRoutingParallel}},
    {"Bellpad", &kPad, {osc1(10), osc2(26), {kParamOsc3Amount, 0.3f}}},
    {"Bottle Blow", &kLead, {osc1(1), osc2(0), {kParamLfoOsc, 0.15f}}},
    {"Bamboo", &kPluck, {osc1(10), osc2(1)}},
    {"Dravenor Bass I", &kBass, {osc1(8), osc2(9)}},
    {"Dravenor Bass II", &kBass, {osc1(9), osc2(11), {kParamFltReso, 0.5f}}},
    {"Cute Lead", &kLead, {osc1(12), osc2(1)}},
    {"Hard Pluck", &kPluck, {osc1(8), osc2(8), kRoutingParallel}},
    {"Wabber", &kEffect, {osc1(9), osc2(9)}},
    {"Glasshopper", &kBell, {osc1(1), osc2(10)}},
    {"Monopad", &kPad, {osc1(13), osc2(14), kRoutingParallel, voices(4)}},
    {"Wide Bass", &kBass, {osc1(8), osc2(8), {kParamVoiceMode, 0.5f}}},
    {"Wide Saw", &kLead, {osc1(8), osc2(8), {kParamVoiceMode, 0.5f}}},
    {"Sleep Well", &kPad, {osc1(1), osc2(10), kRoutingParallel}},
    {"Funk Bass", &kBass, {osc1(11), osc2(0), {kParamFltEnv, 0.7f}}},
    {"Reso Bass", &kBass, {osc1(8), osc2(0), {kParamFltReso, 0.7f}}},
    {"Another Lead", &kLead, {osc1(15), osc2(16)}},
    {"Another Pad", &kPad, {osc1(16), osc2(17), kRoutingParallel}},
    {"Obo", &kLead, {osc1(18), osc2(0), {kParamFltCutoff, 0.55f}}},
    {"Heavy Metal", &kLead, {osc1(8), osc2(9), {kParamOutDist, 0.4f}, {kParamOutGain, 0.2f}}},
    {"Useful Bass", &kBass, {osc1(2), osc2(8)}},
    {"Room Bass", &kBass, {osc1(3), osc2(2), {kParamChorusAmount, 0.3f}}},
    {"Solid Dub Bass", &kBass, {osc1(1), osc2(2), {kParamBassAmount, 0.3f}}},
    {"Rave Bass", &kBass, {osc1(19), osc2(20)}},
    {"Reed Bleed", &kLead, {osc1(21), osc2(22), kRoutingParallel}},
    {"Soft Ethno Bell", &kBell, {osc1(23), osc2(1)}},
    {"Hornet", &kLead, {osc1(24), osc2(25), {kParamFltReso, 0.4f}}},
    {"Woody Bass", &kBass, {osc1(10), osc2(1)}},
    {"Lead On", &kLead, {osc1(26), osc2(27)}},
    {"Celestial Bell", &kBell, {osc1(1), osc2(28), kRoutingParallel}},
    {"Echo Lead", &kLead, {osc1(29), osc2(0), {kParamChorusAmount, 0.6f}}},
    {"Filter Pad", &kPad, {osc1(30), osc2(31), {kParamLfoFilter, 0.4f}}},
    {"Harmless", &kPad, {osc1(1), osc2(10)}},
    {"Voice Pad", &kPad, {kOsc1BeyondBank, osc2(32)}},
    {"Harpsi", &kPluck, {osc1(33), osc2(34), {kParamAmpDecay, 0.6f}}},
    {"Growing Pad", &kPad, {kOsc1BeyondBank, osc2(35), {kParamAmpAttack, 0.7f}}},
    {"Lullaby Pad", &kPad, {osc1(36), osc2(1), kRoutingParallel}},
    {"Friendly", &kLead, {osc1(37), osc2(1)}},
    {"Organ Synth", &kOrgan, {osc1(38), osc2(1)}},
    {"Not-so-friendly", &kLead, {osc1(39), osc2(8), {kParamOutDist, 0.2f}}},
    {"Hostile", &kLead, {osc1(8), osc2(9), {kParamOutDist, 0.5f}, {kParamOutGain, 0.2f}}},
    {"Dark Drones", &kPad, {kOsc1BeyondBank, osc2(8), {kParamFltCutoff, 0.4f}}},
    {"Moody Keys", &kKeys, {osc1(4), osc2(1), kRoutingParallel}},
    {"Bubble Bath", &kEffect, {osc1(5), osc2(1), kRoutingParallel}},
    {"Beauty Pad", &kPad, {osc1(6), osc2(7)}},
    {"Lonesome Pad", &kPad, {osc1(7), osc2(0)}},
    {"Wabber Pad", &kPad, {osc1(9), osc2(9), {kParamLfoFilter, 0.5f}}},
    {"Organ Pad", &kOrgan, {osc1(2), osc2(3), {kParamAmpAttack, 0.4f}}},
    {"Muted Trumpet", &kBrass, {osc1(8), osc2(0), {kParamFltCutoff, 0.35f}}},
    {"FM Brass", &kBrass, {osc1(1), osc2(1), kRoutingChain, {kParamLevelRm, 0.2f}}},
    {"FM Hammer", &kKeys, {osc1(1), osc2(1), kRoutingChain, {kParamLevelRm, 0.3f}}},
    {"FM Pad I", &kPad, {osc1(1), osc2(1), kRoutingChain, {kParamLevelRm, 0.15f}}},
    {"FM Pad II", &kPad, {osc1(1), osc2(10), kRoutingChain, {kParamLevelRm, 0.25f}}},
    {"Cheapo Clarinet", &kLead, {osc1(11), osc2(0), {kParamGlide, 0.0f}}},
    {"Cheapo Organ", &kOrgan, {osc1(11), osc2(11)}},
    {"Cheapo Sax", &kLead, {osc1(12), osc2(13)}},
    {"Cheapo Synth", &kLead, {osc1(8), osc2(11)}},
    {"Cheapo Violin", &kPad, {osc1(8), osc2(8), {kParamLfoOsc, 0.1f}}},
    {"Good Bass 1", &kBass, {osc1(14), osc2(8)}},
    {"Good Bass 2", &kBass, {osc1(15), osc2(11)}},
    {"Fretless Deep", &kBass, {osc1(1), osc2(10), {kParamGlide, 0.3f}}},
    {"Nice Lead", &kLead, {osc1(16), osc2(17)}},
    {"Perc Lead", &kPluck, {osc1(18), osc2(19), {kParamAmpSustain, 0.4f}}},
    {"Saw Lead I", &kLead, {osc1(8), osc2(0)}},
    {"Saw Lead II", &kLead, {osc1(8), osc2(8), {kParamOsc2Fine, 0.56f}}},
    {"Deep Kick A 3", &kDrum, {osc1(1), osc2(0)}},
    {"Phat Kick A 3", &kDrum, {osc1(1), osc2(10), {kParamBassAmount, 0.4f}}},
    {"Dirt Kick A3", &kDrum, {osc1(1), osc2(0), {kParamOutDist, 0.3f}}},
    {"Closed Hihat", &kDrum, {osc1(20), osc2(21), {kParamAmpDecay, 0.1f}, {kParamFltType, 0.25f}}},
    {"Open Hihat", &kDrum, {osc1(20), osc2(21), {kParamAmpDecay, 0.4f}, {kParamFltType, 0.25f}}},
    {"Steel Drum", &kBell, {osc1(1), osc2(22)}},
    {"Tom Drum I", &kDrum, {osc1(1), osc2(0), {kParamOsc1Coarse, semis(0)}}},
    {"Tom Drum II", &kDrum, {osc1(10), osc2(0), {kParamOsc1Coarse, semis(-5)}}},
    {"Plucked Lead", &kPluck, {osc1(23), osc2(24)}},
    {"Dual Saw", &kLead, {osc1(8), osc2(8), {kParamOsc2Coarse, semis(7)}}},
    {"Dual Brass", &kBrass, {osc1(8), osc2(8), {kParamOsc2Fine, 0.55f}}},
    {"Acid Lead 1", &kLead, {osc1(8), osc2(0), {kParamFltReso, 0.75f}, {kParamFltEnv, 0.7f}}},
    {"Acid Lead 2", &kLead, {osc1(11), osc2(0), {kParamFltReso, 0.7f}, {kParamFltEnv, 0.6f}}},
    {"Nice Square", &kLead, {osc1(11), osc2(11)}},
    {"Saw Pad", &kPad, {osc1(8), osc2(8)}},
    {"Wow Pad", &kPad, {kOsc1BeyondBank, osc2(25), {kParamLfoFilter, 0.3f}}},
    {"Disco Tom", &kDrum, {osc1(1), osc2(0), {kParamPitchDownAmount, 0.7f}}},
    {"Lively Lead", &kLead, {osc1(26), osc2(27), {kParamLfoOsc, 0.1f}}},
    {"Fifth Element", &kLead, {osc1(8), osc2(8), {kParamOsc2Coarse, semis(7)}}},
    {"Hollow Sky", &kPad, {osc1(28), osc2(29)}},
    {"Woop Bass", &kBass, {osc1(8), osc2(0), {kParamPitchUpAmount, 0.2f}}},
    {"Butterflies", &kEffect, {osc1(30), osc2(31)}},
    {"Bass Organ Stab", &kOrgan, {osc1(32), osc2(33), {kParamAmpSustain, 0.0f}, {kParamAmpDecay, 0.4f}}},
    {"Voiced Lead", &kLead, {osc1(34), osc2(35)}},
    {"Club Bass", &kBass, {osc1(36), osc2(8)}},
    {"Jungle Sub", &kBass, {osc1(1), osc2(0), {kParamBassAmount, 0.3f}}},
    {"Sub Organ", &kOrgan, {osc1(1), osc2(1), {kParamOsc1Coarse, semis(-12)}}},
    {"Solid Woof", &kBass, {osc1(10), osc2(1)}},
    {"Space Wow", &kEffect, {osc1(37), osc2(38)}},
    {"Windy Horn", &kBrass, {osc1(39), osc2(1)}},
    {"Pleasant Organ", &kOrgan, {osc1(2), osc2(2)}},
    {"Club Organ", &kOrgan, {osc1(3), osc2(11)}},
    {"Ethnic Perc", &kDrum, {osc1(10), osc2(1), {kParamOsc1Coarse, semis(0)}}},
    {"Plucked Bass", &kBass, {osc1(8), osc2(0), {kParamAmpSustain, 0.0f}}},
    {"Synth Clap", &kDrum, {osc1(20), osc2(21), {kParamFltType, 0.5f}}},
    {"I'm Morphing", &kEffect, {osc1(4), osc2(5)}},
    {"Worf", &kEffect, {osc1(6), osc2(7)}},
    {"Deep Drivin'", &kBass, {osc1(8), osc2(9), {kParamOutDist, 0.2f}}},
    {"Dravenistix", &kEffect, {osc1(12), osc2(13)}},
    {"Canada", &kPad, {osc1(14), osc2(15)}},
    {"Nasty Edge", &kLead, {osc1(16), osc2(17), {kParamOutDist, 0.3f}}},
    {"True Love", &kPad, {osc1(18), osc2(19)}},
    {"Pure Evil", &kLead, {osc1(20), osc2(21), {kParamOutDist, 0.5f}, {kParamOutGain, 0.2f}}},
    {"SyntheSax", &kLead, {osc1(22), osc2(23)}},
    {"Lead or Bass", &kLead, {osc1(24), osc2(25), {kParamOsc1Coarse, semis(-12)}}},
    {"Thingonastring", &kPluck, {osc1(26), osc2(27)}},
    {"Keys Please", &kKeys, {osc1(28), osc2(29)}},
    {"How", &kEffect, {osc1(30), osc2(31)}},
    {"Distorted Lead", &kLead, {osc1(8), osc2(11), {kParamOutDist, 0.4f}, {kParamOutGain, 0.2f}}},
    {"Unison Synth I", &kLead, {osc1(8), osc2(8), {kParamVoiceMode, 1.0f}, voices(8)}},
    {"Unison Synth II", &kLead, {osc1(11), osc2(8), {kParamVoiceMode, 1.0f}, voices(8)}},
    {"Funky Bassline", &kBass, {osc1(11), osc2(8), {kParamFltEnv, 0.7f}}},
    {"Arp Pluck I", &kPluck, {osc1(8), osc2(8)}},
    {"Arp Pluck II", &kPluck, {osc1(11), osc2(11)}},
    {"Arp Lead", &kLead, {osc1(32), osc2(33), {kParamGlide, 0.0f}}},
    {"Wabber Bass", &kBass, {osc1(9), osc2(9), {kParamLfoFilter, 0.5f}}},
    {"Nice Bass", &kBass, {osc1(34), osc2(35)}},
    {"Double Note", &kLead, {osc1(8), osc2(8), {kParamOsc2Coarse, semis(12)}}},
    {"Dravenor Attack", &kLead, {osc1(36), osc2(37), {kParamFltEnv, 0.6f}}},
    {"Times Square", &kLead, {osc1(38), osc2(39)}},
    {"Accordion", &kOrgan, {osc1(11), osc2(8), {kParamLfoOsc, 0.05f}}},
};
