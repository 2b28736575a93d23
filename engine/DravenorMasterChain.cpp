// The slice driver and the master chain: shared filter, bass enhancer,
// distortion, chorus and output stage.
#include "engine/Dravenor.h"

#include <algorithm>

void Dravenor::render(int32_t frames, float** outputs, int32_t clear)
{
    if (frames <= 0 || outputs == nullptr) return;
    if (clear != 0) {
        std::fill(outputs[0], outputs[0] + frames, 0.0f);
        std::fill(outputs[1], outputs[1] + frames, 0.0f);
    }
}

void Dravenor::processSharedFilter(int32_t, float**) {}

void Dravenor::processBassEnhancer(int32_t, float**) {}

void Dravenor::processDistortion(int32_t, float**) {}

void Dravenor::processChorus(int32_t, float**) {}

void Dravenor::processOutputStage(int32_t, float**) {}
