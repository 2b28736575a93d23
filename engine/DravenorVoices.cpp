// Voice allocation: noteOn, noteOff and choosing the voice a note takes.
#include "engine/Dravenor.h"

void Dravenor::noteOn(int8_t, int8_t, uint8_t) {}

void Dravenor::noteOff(uint8_t, uint8_t) {}

int32_t Dravenor::chooseVoice() { return 0; }
