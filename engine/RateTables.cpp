#include "engine/RateTables.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
// The tables that do not depend on the rate, computed once per process and copied into
// every engine's set: a copy costs far less than their 166000 sine and tanh calls.
struct FixedTables {
    float lfoSine[kLfoSineSize];
    float chorusSine[kChorusSineSize];
    float softClip[kSoftClipSize + 1];

    FixedTables()
    {
        for (int32_t i = 0; i < kLfoSineSize; ++i)
            lfoSine[i] = static_cast<float>(std::sin(i * (1.0 / 2048.0) * kTwoPi) * 0.999);
        for (int32_t i = 0; i < kChorusSineSize; ++i)
            chorusSine[i] = static_cast<float>(std::sin(i * (1.0 / 131072.0) * kTwoPi) * 0.999);
        for (int32_t i = 0; i < kSoftClipSize; ++i) softClip[i] = tanhf(i * 0.00048828125f);
        softClip[kSoftClipSize] = tanhf(16.0f);  // guard, read with weight 0 at the clamp
    }
};

// Any thread: made on the first call.
const FixedTables& fixedTables()
{
    static const FixedTables tables;
    return tables;
}
} // namespace

void RateTables::buildOscillatorTables(double rate)
{
    const FixedTables& fixed = fixedTables();
    std::copy(std::begin(fixed.lfoSine), std::end(fixed.lfoSine), lfoSineTable);
    std::copy(std::begin(fixed.chorusSine), std::end(fixed.chorusSine), chorusSineTable);

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
    const FixedTables& fixed = fixedTables();
    std::copy(std::begin(fixed.softClip), std::end(fixed.softClip), softClipTable);
}
