#pragma once
// Flushing of tiny state values at the end of a rendered slice, so that decaying
// envelopes and filter memories reach 0 instead of lingering near the denormal
// range. Any thread, no allocation.

#include <cmath>

// Levels that never go negative (envelopes, fades): below limit they become 0.
inline float flushBelow(float x, float limit)
{
    return x < limit ? 0.0f : x;
}

// Signed state (filter memories, bend): a magnitude below limit becomes 0.
inline float flushMagnitude(float x, float limit)
{
    return std::fabs(x) < limit ? 0.0f : x;
}
