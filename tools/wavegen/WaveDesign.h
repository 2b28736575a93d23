#pragma once
// The design of the oscillator waves: 39 bank waves and the three base waves
// that wave indexes 4 to 7 sum. Used only by the wave generator, at build time. Single-threaded.

#include <array>
#include <vector>

class WaveDesign {
public:
    static constexpr int kWaveCount = 39;
    static constexpr int kLength = 2048;
    static constexpr int kBaseCount = 3;
    static constexpr int kBaseStride = 2048 + 128; // each base wave is followed by 128 zeros

    // Builds every wave. Slow-ish (well under a second); call once.
    WaveDesign();

    // Bank wave index w (1..39), 2048 samples within -1..1.
    const std::vector<float>& wave(int w) const { return bank_[w - 1]; }
    // Base wave b (0..2), kBaseStride samples (2048 + 128 zeros).
    const std::vector<float>& base(int b) const { return base_[b]; }
    // Short description of wave w for the generated file's comments.
    const char* description(int w) const;

    // The lowest saturation drive an oscillator gets (Osc-Sat at 0: +1 dB).
    static constexpr double kLowestDrive = 1.1220184543019633;

private:
    void buildBaseWaves();
    void buildSumPreviews();
    void buildSeries();

    std::array<std::vector<float>, kWaveCount> bank_;
    std::array<std::vector<float>, kBaseCount> base_;
};
