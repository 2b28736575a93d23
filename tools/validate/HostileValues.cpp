#include "tools/validate/HostileValues.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

namespace hostile {

int32_t index(Rng& rng, int32_t count) {
    switch (rng.below(10)) {
        case 0: return -1;
        case 1: return count;
        case 2: return count + 1;
        case 3: return rng.chance(0.5) ? INT32_MIN : INT32_MAX;
        case 4: return static_cast<int32_t>(rng.next());
        default: return count > 0 ? static_cast<int32_t>(rng.below(static_cast<uint64_t>(count))) : 0;
    }
}

intptr_t value(Rng& rng) {
    switch (rng.below(10)) {
        case 0: return 0;
        case 1: return -1;
        case 2: return rng.chance(0.5) ? std::numeric_limits<intptr_t>::min() : std::numeric_limits<intptr_t>::max();
        case 3: return static_cast<intptr_t>(rng.next());
        case 4: return rng.chance(0.5) ? INT32_MAX : static_cast<intptr_t>(INT32_MIN);
        case 5: return static_cast<intptr_t>(rng.range(-1000, -2));
        default: return static_cast<intptr_t>(rng.below(300));
    }
}

float real(Rng& rng) {
    switch (rng.below(16)) {
        case 0: return std::numeric_limits<float>::quiet_NaN();
        case 1: return -std::numeric_limits<float>::quiet_NaN();
        case 2: return std::numeric_limits<float>::infinity();
        case 3: return -std::numeric_limits<float>::infinity();
        case 4: return -0.0f;
        case 5: return std::numeric_limits<float>::denorm_min() * static_cast<float>(rng.range(1, 1000));
        case 6: return rng.chance(0.5) ? FLT_MAX : -FLT_MAX;
        case 7: {
            const int exponent = static_cast<int>(rng.range(1, 127));  // drawn before the mantissa (see Rng.h)
            return static_cast<float>(std::ldexp(rng.unit() * 2.0 - 1.0, exponent));
        }
        case 8: return static_cast<float>(rng.unit() * 4.0 - 2.0);
        case 9: return rng.chance(0.5) ? 0.0f : 1.0f;
        default: return static_cast<float>(rng.unit());
    }
}

float sampleRate(Rng& rng, bool legalOnly) {
    static constexpr float kCommon[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000,
                                        88200, 96000, 176400, 192000, 352800, 384000};
    if (legalOnly || rng.chance(0.8)) {
        if (rng.chance(0.6)) return kCommon[rng.below(std::size(kCommon))];
        return static_cast<float>(rng.range(8000, 384000));
    }
    switch (rng.below(8)) {
        case 0: return std::numeric_limits<float>::quiet_NaN();
        case 1: return std::numeric_limits<float>::infinity();
        case 2: return 0.0f;
        case 3: return -44100.0f;
        case 4: return 1.0f;
        case 5: return FLT_MAX;
        case 6: return std::numeric_limits<float>::denorm_min();
        default: return static_cast<float>(rng.range(1, 7999));
    }
}

float lowSampleRate(Rng& rng) {
    static constexpr float kRound[] = {1000, 2000, 4000, 5512, 6000};
    if (rng.chance(0.3)) return kRound[rng.below(std::size(kRound))];
    return static_cast<float>(rng.range(1000, 7999));
}

std::string text(Rng& rng) {
    size_t length = kTextLengths[rng.below(std::size(kTextLengths))];
    if (rng.chance(0.15)) length = rng.below(300);
    std::string s;
    s.reserve(length);
    const uint64_t kind = rng.below(4);
    static constexpr char kDirectives[] = "%s%n%x%99999d%p";
    for (size_t i = 0; i < length; ++i) {
        switch (kind) {
            case 0: s.push_back(static_cast<char>(rng.range(32, 126))); break;
            case 1: s.push_back(static_cast<char>(rng.range(1, 255))); break;
            case 2: s.push_back(kDirectives[i % (sizeof(kDirectives) - 1)]); break;
            default: s.push_back(static_cast<char>('A' + i % 26)); break;
        }
    }
    return s;
}

}  // namespace hostile
