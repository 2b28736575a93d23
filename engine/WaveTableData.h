#pragma once
// The compiled-in wave data. The definitions are generated at build time by
// tools/wavegen; read them through WaveTableBank.

#include <cstdint>

// 39 waves of 2048 samples, one after another; wave index w is entry w - 1.
extern const float kWaveBankSamples[39 * 2048];
// Three base waves, each 2048 samples followed by 128 zeros (stride 2176).
extern const float kBaseWaveSamples[3 * 2176];
