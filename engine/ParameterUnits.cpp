// Times and corners that parameter values play; the ranges are the conversion's own.
#include "engine/ParameterUnits.h"

#include <cmath>

#include "engine/Dravenor.h"

namespace {
constexpr double kPi = 3.141592653589793;
// The filter attack's multiplier is made to bring its remainder to 0.01 in the knob's time,
// but the attack ends at a remainder of 0.1 (a level of 0.9): ln 0.1 / ln 0.01 of that time.
constexpr double kFilterAttackEnd = 0.5;
}  // namespace

double ampAttackMsOf(float v, bool percEnv) {
    const TimeRangeMs range = ampAttackRange(percEnv);
    return static_cast<double>(Dravenor::expScale(v, range.lo, range.hi));
}

double ampDecayMsOf(float v) { return Dravenor::decayTimeMs(v, 35.0, 3500.0, 0.1); }

double ampReleaseMsOf(float v) { return Dravenor::decayTimeMs(v, 16.0, 15000.0, 0.001); }

double filterAttackMsOf(float v) {
    return static_cast<double>(Dravenor::expScale(v, 2.2f, 2200.0f)) * kFilterAttackEnd;
}

double filterDecayMsOf(float v, bool percEnv) {
    const TimeRangeMs range = filterDecayRange(percEnv);
    return Dravenor::decayTimeMs(v, range.lo, range.hi, 0.1);
}

double filterReleaseMsOf(float v) { return Dravenor::decayTimeMs(v, 16.0, 5000.0, 0.001); }

double oscDecayMsOf(float v) { return Dravenor::decayTimeMs(v, 5.0, 10000.0, 0.1); }

float chorusDelayMsOf(float v) { return Dravenor::expScale(v, 1.0f, 500.0f); }

double onePoleCornerHz(double hz, double sr) {
    // The coefficients are the bilinear transform of an analog corner of 2 sr atan(pi hz / sr)
    // radians a second, which the transform maps to 2 atan(atan(pi hz / sr)) radians a frame.
    return sr / kPi * std::atan(std::atan(kPi * hz / sr));
}
