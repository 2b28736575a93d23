#include "engine/Module.h"

#include <algorithm>

Module::~Module()
{
    delete[] values;
}

void Module::init(int32_t count, const float* initial, int32_t initialCount)
{
    delete[] values;
    numParams = count > 0 ? count : 0;
    values = new float[numParams > 0 ? numParams : 1]();
    if (initial != nullptr && numParams >= 1 && initialCount > 0)
        std::copy(initial, initial + std::min(numParams, initialCount), values);
}

void Module::reset() {}
