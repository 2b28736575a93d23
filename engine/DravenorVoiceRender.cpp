// Per-voice rendering: voice start, oscillators, envelopes, LFO and voice filter.
#include "engine/Dravenor.h"

void Dravenor::renderVoices(int32_t, float**) {}

void Dravenor::startVoice(VoiceState&, int32_t) {}

void Dravenor::renderVoice(VoiceState&, int32_t, int32_t, float**, float, float) {}

void Dravenor::voiceOutputGains(const VoiceState&, int32_t, float& gain0, float& gain1) const
{
    gain0 = 0.5f;
    gain1 = 0.5f;
}

int32_t Dravenor::fineTuneFactor(uint8_t) const { return 1; }
