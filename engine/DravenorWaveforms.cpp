// Oscillator waves: builds osc1Table and osc2Table from the wave bank.
#include "engine/Dravenor.h"

#include <algorithm>

void Dravenor::updateWaveforms()
{
    if (waveRebuildEnabled == 0) return;
    std::fill(osc1Table, osc1Table + kOscTableLength, 0.0f);
    std::fill(osc2Table, osc2Table + kOscTableLength, 0.0f);
    sounding = (osc1Wave != 0 || osc2Wave != 0) ? 1 : 0;
}
