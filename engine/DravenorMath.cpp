// Scalar conversions from normalised values to musical units and per-sample constants.
// The precision of each step (float32 or double) is chosen deliberately: stored programs
// depend on the exact values these produce.
#include "engine/Dravenor.h"

#include <cmath>

namespace {
constexpr double kLn0001 = -6.907755278982137;  // ln(0.001): a 60 dB fall
constexpr double kPi = 3.141592653589793;

// lo x exp(v x ln(hi / lo)) in double, with hi / lo divided in float32.
double expRangeD(float v, float lo, float hi)
{
    const float ratio = hi / lo;
    return lo * std::exp(v * std::log(static_cast<double>(ratio)));
}
// Angular frequency of hz (Hz) for the bilinear one-poles at sr (Hz), warped with the
// arc tangent so that it stays below pi x sr: 2 atan(pi hz / sr) sr, in double, as float32.
float warpedOmega(float hz, float sr)
{
    return static_cast<float>(2.0 * std::atan(kPi * hz / sr) * sr);
}
} // namespace

float Dravenor::expScale(float v, float lo, float hi)
{
    const float ratio = hi / lo;
    const float e = static_cast<float>(std::exp(v * std::log(static_cast<double>(ratio))));
    return e * lo;
}

float Dravenor::expTimeCoef(float v, float lo, float hi, float target) const
{
    const double ms = expRangeD(v, lo, hi);
    const float e = static_cast<float>(1000.0 / (ms * sampleRate));
    return static_cast<float>(std::pow(static_cast<double>(target), static_cast<double>(e)));
}

float Dravenor::timeCoef(float ms, float target) const
{
    const float e = 1000.0f / (ms * sampleRate);
    return static_cast<float>(std::pow(static_cast<double>(target), static_cast<double>(e)));
}

double Dravenor::decayTimeMs(double v, double lo, double hi, double target)
{
    const double ms = lo * std::exp(v * std::log(hi / lo));
    return ms * kLn0001 / std::log(target);
}

float Dravenor::dbToGain(float db)
{
    return static_cast<float>(std::pow(10.0, db * 0.05));
}

void Dravenor::onePoleLowpassCoefs(float hz, float& a, float& b) const
{
    const float w = warpedOmega(hz, sampleRate);
    const float k = 2.0f * sampleRate;
    a = (w - k) / (k + w);
    b = w / (k + w);
}

void Dravenor::onePoleHighpassCoefs(float hz, float& a, float& b) const
{
    const float w = warpedOmega(hz, sampleRate);
    const float k = 2.0f * sampleRate;
    a = (w - k) / (w + k);
    b = k / (w + k);
}

float Dravenor::msToRampStep(float ms) const
{
    return 1000.0f / (ms * sampleRate);
}

float Dravenor::expRampStep(float v, float lo, float hi) const
{
    const float ms = static_cast<float>(expRangeD(v, lo, hi));
    return 1000.0f / (ms * sampleRate);
}

float Dravenor::expScaledRampStep(float v, float lo, float hi, float scale) const
{
    const double ms = expRangeD(v, lo, hi);
    return static_cast<float>((scale * 1000.0) / (ms * sampleRate));
}

float Dravenor::expScaledTimeCoef(float v, float lo, float hi, float scale, float target) const
{
    const double ms = expRangeD(v, lo, hi);
    const float e = static_cast<float>((scale * 1000.0) / (ms * sampleRate));
    return static_cast<float>(std::pow(static_cast<double>(target), static_cast<double>(e)));
}

double Dravenor::expScaleD(double v, double lo, double hi)
{
    return lo * std::exp(v * std::log(hi / lo));
}

float Dravenor::bipolarOctaveScale(float x, float down, float up)
{
    if (x >= 0.0f) return static_cast<float>(std::pow(2.0, static_cast<double>(x * up)));
    return 1.0f / static_cast<float>(std::pow(2.0, static_cast<double>(-(x * down))));
}

float Dravenor::gainToDb(float gain, float fallback)
{
    if (gain == 0.0f) return fallback;
    return static_cast<float>(std::log(static_cast<double>(gain)) * 8.685889638065037);  // 20 log10
}

float Dravenor::dbToGainAlt(float db)
{
    return dbToGain(db);
}

float Dravenor::bipolarDbToGain(float v, float range)
{
    return static_cast<float>(std::pow(10.0, (2.0 * v - 1.0) * range * 0.05));
}

void Dravenor::onePoleShelfCoefs(float hz, float gain, float& a1, float& b0, float& b1) const
{
    // High shelf: gain 1 at 0 Hz, `gain` toward half the rate; no frequency warping.
    const float w = static_cast<float>(2.0 * kPi) * hz;
    const float k = 2.0f * sampleRate;
    if (gain > 1.0f) {
        const float d = w + k;
        a1 = (w - k) / d;
        b0 = (w + k * gain) / d;
        b1 = (w - k * gain) / d;
    } else {
        const float d = w + k / gain;
        a1 = (w - k / gain) / d;
        b0 = (w + k) / d;
        b1 = (w - k) / d;
    }
}
