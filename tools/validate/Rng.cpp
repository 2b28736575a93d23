#include "tools/validate/Rng.h"

namespace {
uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
}  // namespace

uint64_t Rng::mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

Rng::Rng(uint64_t seed) {
    uint64_t s = seed;
    for (auto& word : state_) {
        s = mix(s);
        word = s;
    }
}

uint64_t Rng::next() {
    const uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return result;
}

uint64_t Rng::below(uint64_t n) { return n == 0 ? 0 : next() % n; }

int64_t Rng::range(int64_t lo, int64_t hi) {
    if (hi <= lo) return lo;
    const uint64_t span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo) + 1;
    return static_cast<int64_t>(static_cast<uint64_t>(lo) + (span == 0 ? next() : below(span)));
}

double Rng::unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

bool Rng::chance(double p) { return unit() < p; }

uint64_t Rng::fork() { return mix(next()); }
