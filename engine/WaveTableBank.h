#pragma once
// The oscillators' compiled-in single-cycle waves: 39 bank waves chosen by wave
// index 1..39 (0 = oscillator off) and the three base waves that wave indexes
// 4 to 7 sum. Read-only data shared by the whole process; every method may be
// called from any thread.

#include <cstdint>

class WaveTableBank {
public:
    static constexpr int32_t kWaveCount = 39;        // wave indexes 1..39
    static constexpr int32_t kWaveLength = 2048;     // samples per cycle
    static constexpr int32_t kBaseWaveCount = 3;
    static constexpr int32_t kBaseWaveStride = 2176; // 2048 samples + 128 zeros

    // The 2048 samples (within -1..1) of wave index 1..39; nullptr for any other index. Any thread.
    static const float* wave(int32_t index);
    // Base wave 0..2: 2048 samples followed by 128 zeros; nullptr for any other number. Any thread.
    static const float* baseWave(int32_t number);
    // All 39 waves one after another, wave index w at entry w - 1. Any thread.
    static const float* data();
};
