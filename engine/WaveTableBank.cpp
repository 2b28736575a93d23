#include "engine/WaveTableBank.h"

#include "engine/WaveTableData.h"

const float* WaveTableBank::wave(int32_t index)
{
    if (index < 1 || index > kWaveCount) return nullptr;
    return kWaveBankSamples + (index - 1) * kWaveLength;
}

const float* WaveTableBank::baseWave(int32_t number)
{
    if (number < 0 || number >= kBaseWaveCount) return nullptr;
    return kBaseWaveSamples + number * kBaseWaveStride;
}

const float* WaveTableBank::data()
{
    return kWaveBankSamples;
}
