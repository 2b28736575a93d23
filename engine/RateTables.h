#pragma once
// Lookup tables that depend on the sample rate: sines, pitch-to-frequency and
// pitch-to-phase-increment, filter coefficients and the distortion curve.
// Each engine owns one set, so instances at different rates do not disturb each other.

#include <cstdint>

inline constexpr int32_t kLfoSineSize = 2049;        // 2048 + one wrap entry for interpolation
inline constexpr int32_t kChorusSineSize = 131072;
inline constexpr int32_t kPitchTableSize = 24576;    // 16 octaves x 1536 steps (1/128 semitone)
inline constexpr int32_t kFilterCoefSize = 4096;
// Normalised cutoff sum (cutoff, envelope, modulation, LFO) to a filterCoefTable index;
// sums from 0.89 (4095 / 4600) up read the last entry, near 22 kHz.
inline constexpr float kCutoffIndexScale = 4600.0f;
// Scale of the filters' result: a quarter of the second stage's output.
inline constexpr float kFilterOutputGain = 0.25f;
inline constexpr int32_t kSoftClipSize = 32768;      // plus one guard entry
inline constexpr double kPitchBaseHz = 8.175796875;  // MIDI note 0

class RateTables {
public:
    float lfoSineTable[kLfoSineSize];        // 0.999 sin(2 pi i / 2048)
    float chorusSineTable[kChorusSineSize];  // 0.999 sin(2 pi i / 131072)
    float pitchHzTable[kPitchTableSize];     // Hz of pitch index i
    uint32_t pitchIncTable[kPitchTableSize]; // 32-bit phase increment of pitch index i (max 2^31)
    float filterCoefTable[kFilterCoefSize];  // 2 sin(pi fc / (4 sr)), fc 10 Hz .. 22 kHz (at most 2 sr)
    float softClipTable[kSoftClipSize + 1];  // tanhf(i / 2048) and a guard entry

    // Fills the sine and pitch tables for the rate in Hz. UI thread.
    void buildOscillatorTables(double rate);
    // Fills the filter and soft-clip tables for the rate in Hz. UI thread.
    void buildFilterTables(float sampleRate);
};
