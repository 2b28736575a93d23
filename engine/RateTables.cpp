#include "engine/RateTables.h"

#include <algorithm>
#include <cmath>

#include "engine/FloatToInt.h"

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr int32_t kStepsPerOctave = 1536;  // 12 semitones x 128 steps

// Truncation to a signed 32-bit increment; anything at or above half a cycle per
// sample (2^31) becomes 0x80000000 rather than a wrapped value.
uint32_t phaseIncrement(double increment)
{
    return static_cast<uint32_t>(doubleToInt32(increment));
}
} // namespace

void RateTables::buildOscillatorTables(double rate)
{
    for (int32_t i = 0; i < kLfoSineSize; ++i)
        lfoSineTable[i] = static_cast<float>(std::sin(i * (1.0 / 2048.0) * kTwoPi) * 0.999);
    for (int32_t i = 0; i < kChorusSineSize; ++i)
        chorusSineTable[i] = static_cast<float>(std::sin(i * (1.0 / 131072.0) * kTwoPi) * 0.999);

    // One octave of frequencies, then each further octave doubles it.
    const double scale = 4294967296.0 / rate;
    double hz[kStepsPerOctave];
    for (int32_t j = 0; j < kStepsPerOctave; ++j) {
        hz[j] = std::pow(2.0, j * (1.0 / kStepsPerOctave)) * kPitchBaseHz;
        pitchHzTable[j] = static_cast<float>(hz[j]);
        pitchIncTable[j] = phaseIncrement(hz[j] * scale);
    }
    for (int32_t k = 1; k < 16; ++k) {
        const double octave = std::pow(2.0, k);
        for (int32_t j = 0; j < kStepsPerOctave; ++j) {
            const double f = hz[j] * octave;
            pitchHzTable[k * kStepsPerOctave + j] = static_cast<float>(f);
            pitchIncTable[k * kStepsPerOctave + j] = phaseIncrement(f * scale);
        }
    }
}

void RateTables::buildFilterTables(float sampleRate)
{
    // Cutoff index 0..4095 runs exponentially from 10 Hz towards 22 kHz; the filter runs
    // two steps per sample, hence the 4 in the denominator. Below about 11 kHz the top
    // cutoffs pass twice the rate, where the sine turns back and then goes negative (a
    // negative coefficient makes the filter grow without bound): there the table stays at
    // its peak of 2, and rendering limits it to what the damping keeps stable.
    const double k = -std::log(1.0 / 2200.0) / 4096.0;
    const double highestHz = 2.0 * static_cast<double>(sampleRate);  // sine argument pi / 2
    for (int32_t i = 0; i < kFilterCoefSize; ++i) {
        const double fc = std::min(22000.0 * std::exp(-(4096 - i) * k), highestHz);
        filterCoefTable[i] = static_cast<float>(2.0 * std::sin(fc * M_PI / (4.0 * sampleRate)));
    }
    for (int32_t i = 0; i < kSoftClipSize; ++i) softClipTable[i] = tanhf(i * 0.00048828125f);
    softClipTable[kSoftClipSize] = tanhf(16.0f);  // guard, read with weight 0 at the clamp
}
