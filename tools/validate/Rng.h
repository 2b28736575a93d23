#pragma once
// Seeded pseudo-random numbers for reproducible scenarios (xoshiro256**
// seeded through SplitMix64). The same seed gives the same stream on every
// platform and library, unlike the standard distributions. One thread per object.
//
// C++ leaves open the order in which a call's arguments are evaluated, and
// compilers differ, so no call takes more than one draw among its arguments:
// the others go to named locals first. Where a call once took several draws
// they are made last argument first, the order the seeds kept in tests and
// notes were recorded with.

#include <cstdint>

class Rng {
public:
    // Starts the stream for seed. Any thread.
    explicit Rng(uint64_t seed);

    // The next 64 random bits.
    uint64_t next();
    // A number in 0..n-1 (0 when n is 0).
    uint64_t below(uint64_t n);
    // An integer in lo..hi inclusive.
    int64_t range(int64_t lo, int64_t hi);
    // A double in [0, 1).
    double unit();
    // True with probability p (0..1).
    bool chance(double p);
    // A new seed derived from this stream, for a sub-scenario or a second thread.
    uint64_t fork();

    // One SplitMix64 step: mixes x into a well-spread 64-bit value. Any thread.
    static uint64_t mix(uint64_t x);

private:
    uint64_t state_[4];
};
