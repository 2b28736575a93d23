#pragma once
// What a time or frequency parameter plays, in a listener's units: how long an
// envelope stage lasts and where a one-pole filter's corner sounds. The parameter
// conversion keeps its display times with these, and the editor's read-out names a
// knob's value with the same functions straight from the values, so that the text
// is right before the thread that renders has applied them. Pure; any thread.

// A time range of a knob in milliseconds, swept exponentially from lo to hi.
struct TimeRangeMs {
    float lo, hi;
};

// Amp-Atk: 2..3000 ms with PercEnv, 6..3500 ms without.
inline TimeRangeMs ampAttackRange(bool percEnv) { return percEnv ? TimeRangeMs{2.0f, 3000.0f} : TimeRangeMs{6.0f, 3500.0f}; }
// Flt-Dec (its nominal time to a tenth): 20..5000 ms with PercEnv, 200..2500 ms without.
inline TimeRangeMs filterDecayRange(bool percEnv) { return percEnv ? TimeRangeMs{20.0f, 5000.0f} : TimeRangeMs{200.0f, 2500.0f}; }
// PUp-Dec and PDw-Dec (to a tenth): 2..200 ms with PercEnv, 20..20000 ms without.
inline TimeRangeMs pitchDecayRange(bool percEnv) { return percEnv ? TimeRangeMs{2.0f, 200.0f} : TimeRangeMs{20.0f, 20000.0f}; }

// Amp-Atk: ms until the attack reaches its peak.
double ampAttackMsOf(float v, bool percEnv);
// Amp-Dec: ms in which the decay falls 60 dB.
double ampDecayMsOf(float v);
// Amp-Rel: ms in which the release falls 60 dB.
double ampReleaseMsOf(float v);
// Flt-Atk: ms until the filter attack ends at a level of 0.9.
double filterAttackMsOf(float v);
// Flt-Dec: ms in which the filter decay falls 60 dB.
double filterDecayMsOf(float v, bool percEnv);
// Flt-Rel: ms in which the filter release falls 60 dB.
double filterReleaseMsOf(float v);
// Osc2-Dec and Osc3-Dec: ms in which the oscillator's level falls 60 dB while it decays.
double oscDecayMsOf(float v);
// Osc2-Dec and Osc3-Dec: the level decays below 0.999 and holds from there on.
inline bool oscDecays(float v) { return v < 0.999f; }
// Ch-Del: the chorus delay in ms (while it is not synced to the tempo).
float chorusDelayMsOf(float v);

// The -3 dB corner in Hz at which a one-pole low-pass or high-pass made for hz sounds at
// the rate sr (Hz): its coefficients warp hz once more than the bilinear transform undoes
// (15 kHz sounds at 9.6 kHz at 44.1 kHz).
double onePoleCornerHz(double hz, double sr);
