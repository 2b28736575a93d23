#pragma once
// The state of one synthesizer voice (20 of them live in the engine).

#include <cstdint>

struct VoiceState {
    uint32_t osc1Phase, osc2Phase, osc3Phase;  // oscillator phases, full cycle = 2^32
    uint32_t lfoPhase;                         // the voice's LFO phase
    float osc2Level;                           // Osc2 decay-envelope level
    float osc3Level;                           // Osc3 envelope level
    float ampPeak;                             // level at which the amplitude attack ends (0.9 x velAmpGain)
    float ampLevel;                            // amplitude envelope level
    float filterEnvLevel;                      // filter envelope level
    float lfoFade;                             // LFO delay fade-in level
    // Attack remainders to 1 (level = 1 - remainder), carried from slice to slice so that
    // an attack runs the same however the host cuts its blocks; set at each voice start.
    float ampRest = 1.0f, filterRest = 1.0f, fadeRest = 1.0f;
    float pitchUpEnv, pitchDownEnv;            // pitch envelope levels (1 at note start)
    uint8_t ampStage;                          // 0 attack, 1 decay/sustain, 3 release
    uint8_t filterStage;                       // 0 attack, 1 decay/sustain, 3 release
    uint8_t lfoStage;                          // 0 fading in, 2 fade done
    uint8_t pitchEnvGate;                      // 1 key held, 3 released
    uint32_t framesSinceStart;                 // frames since note start (pitch-envelope delays)
    float filterLow1, filterBand1, filterLow2, filterBand2;  // voice filter memories
    float bendIn, bendSmoothed;                // previous raw bend and smoothed bend, 1/128 semitone
    uint32_t active;                           // 1 while the voice sounds
    uint32_t released;                         // 1 once in release
    int32_t started;                           // 0: starts at next slice; -1: running or idle
    int32_t releaseFrame;                      // -1: none pending; n: release at frame n of next slice
    int32_t osc1Pitch, osc2Pitch, osc3Pitch;   // base pitch indexes, 1/128 semitone
    uint8_t note;                              // MIDI note
    uint8_t layer;                             // layer given by the caller (Voice-Mode)
    float velFilter;                           // v x velToFilter
    float velAmpGain;                          // 1 + (v - 1) x velToAmp
    float velOsc3Gain;                         // 1 + (v - 1) x velToOsc3
    float glideRemain;                         // glide remainder, 1 at a gliding start
    float filterMod;                           // static filter modulation, recomputed each slice
    uint32_t age;                              // frames since note start; stealing prefers the oldest
};
