#pragma once
// What a hostile host passes where the interface expects numbers or text:
// in-range values most of the time, and otherwise the edges and the absurd
// (NaN, infinities, negative and huge indexes, texts of 4096 characters).
// Any thread (the state is the caller's Rng).

#include <cstdint>
#include <string>

#include "tools/validate/Rng.h"

namespace hostile {

// An index: usually 0..count-1, else -1, count, count + 1, INT32_MIN/MAX or a wild number.
int32_t index(Rng& rng, int32_t count);
// A pointer-wide value: small numbers, 0, -1, the 64-bit extremes or 64 random bits.
intptr_t value(Rng& rng);
// A float: usually 0..1, else NaN, infinities, -0, denormals, FLT_MAX or far outside 0..1.
float real(Rng& rng);
// A sample rate: usually 8000..384000 Hz (common rates favoured), else NaN, 0, negative or absurd.
float sampleRate(Rng& rng, bool legalOnly);
// A low sample rate a plug-in may still accept: 1000..7999 Hz (a few round ones favoured).
float lowSampleRate(Rng& rng);
// Text of 0, 1, 24, 64 or 4096 characters (sometimes another length): printable,
// raw bytes 1..255, or format directives like "%s%n".
std::string text(Rng& rng);
// The text lengths every text scenario covers.
inline constexpr int kTextLengths[] = {0, 1, 24, 64, 4096};

}  // namespace hostile
