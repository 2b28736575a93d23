#pragma once
// Stability limit of the engine's state-variable filter stage
//   high = in - low - q band, band += f high, low += f band.
// Its state matrix stays inside the unit circle while f q < 2 and
// f^2 + 2 f q < 4, that is f < sqrt(q^2 + 4) - q (0.828 at q = 2, no
// resonance). The coefficient table reaches 0.77 at 44.1 kHz but passes the
// limit below about 40 kHz (up to 2 below 11 kHz), where the filter would blow
// up at full cutoff: rendering takes the smaller of the two.

#include <cmath>

// Largest coefficient f (with a 2 % margin) that keeps a stage with damping q stable. Any thread.
inline float stableFilterCoefLimit(float q)
{
    return (std::sqrt(q * q + 4.0f) - q) * 0.98f;
}
