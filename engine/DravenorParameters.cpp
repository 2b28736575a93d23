// Parameter conversion: normalised values into the engine's working values.
#include "engine/Dravenor.h"

void Dravenor::setParameter(int32_t, float) {}
