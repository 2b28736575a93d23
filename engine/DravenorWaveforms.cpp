// Oscillator waves: builds the two playing tables from the wave bank and hands
// them to the audio thread through oscTableExchange.
#include "engine/Dravenor.h"

#include <algorithm>
#include <cmath>

#include "engine/WaveTableBank.h"

namespace {

// A drive at or below this plays the bank wave unchanged. The lowest Sat
// setting gives +1 dB (1.1220), just below it.
constexpr float kSaturationThreshold = 1.123f;

// Wave indexes 4..7 sum saturated base waves: base 0 for bit value 1, base 1
// for bit value 4, base 2 for bit value 2.
constexpr uint8_t kBaseWaveBits[WaveTableBank::kBaseWaveCount] = {1, 4, 2};

// Fills one oscillator's table (kOscTableLength floats) for a wave index and drive.
void buildTable(float* table, uint8_t wave, float drive)
{
    std::fill(table, table + kOscTableLength, 0.0f);
    const double d = drive;
    if (wave >= 4 && wave <= 7) {
        // Always saturated; entries 0..2048, the last from the zeros behind each base wave.
        for (int32_t b = 0; b < WaveTableBank::kBaseWaveCount; ++b) {
            if ((wave & kBaseWaveBits[b]) == 0) continue;
            const float* base = WaveTableBank::baseWave(b);
            for (int32_t i = 0; i <= WaveTableBank::kWaveLength; ++i)
                table[i] += static_cast<float>(std::tanh(base[i] * d));
        }
        return;
    }
    const float* src = WaveTableBank::wave(wave);
    if (src == nullptr) return; // 0 = off (and nothing else reaches here)
    // Entries 2048..2050 repeat samples 0..2 for the interpolating read.
    const bool saturate = drive > kSaturationThreshold;
    for (int32_t i = 0; i < kOscTableLength - 1; ++i) {
        const float x = src[i % WaveTableBank::kWaveLength];
        table[i] = saturate ? static_cast<float>(std::tanh(x * d)) : x;
    }
}

} // namespace

void Dravenor::updateWaveforms()
{
    if (waveRebuildEnabled == 0) return;
    oscTableExchange.rebuild([this](float* table1, float* table2) -> uint8_t {
        const uint8_t wave1 = osc1Wave, wave2 = osc2Wave;
        const float drive1 = osc1Drive, drive2 = osc2Drive;
        buildTable(table1, wave1, drive1);
        buildTable(table2, wave2, drive2);
        return (wave1 != 0 || wave2 != 0) ? 1 : 0;
    });
}

void Dravenor::acquireWaveforms()
{
    oscTableExchange.acquire(osc1Table, osc2Table, sounding);
}
