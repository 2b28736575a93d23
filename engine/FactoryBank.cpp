// The compiled-in factory bank, built at compile time. Program 0 is given value
// by value; programs 1..126 come from the sound design in FactoryPrograms.h;
// program 127 is "Init Patch", the neutral start of every design there.
#include "engine/ProgramBank.h"

#include "engine/FactoryPrograms.h"

namespace {

// "Finest Art", parameter 0..81.
constexpr float kFinestArt[kNumParams] = {
    0.515f, 0.509f, 0.0f,   0.0f,   0.648f, 0.141f, 0.359f, 0.0f,   0.0f,   0.695f,  // 0..9
    0.0f,   0.794f, 0.505f, 0.51f,  0.0f,   0.814f, 0.672f, 0.273f, 0.446f, 0.0f,    // 10..19
    0.144f, 0.0f,   0.0f,   0.687f, 0.872f, 0.026f, 0.0f,   0.0f,   2.0f,   0.0f,    // 20..29
    1.0f,   0.06f,  0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   0.0f,   0.352f, 0.0f,    // 30..39
    0.563f, 0.406f, 0.563f, 0.275f, 0.906f, 0.0f,   0.617f, 1.0f,   0.813f, 0.234f,  // 40..49
    0.203f, 0.154f, 0.586f, 0.461f, 0.0f,   0.0f,   1.0f,   0.227f, 0.59f,  0.07f,   // 50..59
    0.02f,  0.0f,   0.0f,   0.0f,   0.0f,   1.0f,   0.51f,  0.485f, 0.58f,  0.125f,  // 60..69
    0.625f, 0.285f, 0.0f,   0.91f,  0.0f,   0.0f,   0.07f,  0.0f,   0.0f,   0.07f,   // 70..79
    0.0f,   0.0f,                                                                    // 80..81
};

constexpr void setName(ProgramRecord& record, const char* name)
{
    for (int32_t i = 0; i < kProgramNameSize; ++i) record.name[i] = 0;
    for (int32_t i = 0; name[i] != 0 && i < kProgramNameSize - 1; ++i) record.name[i] = name[i];
}

constexpr void setValues(ProgramRecord& record, const float* values)
{
    for (int32_t i = 0; i < kNumParams; ++i) record.value[i] = values[i];
}

constexpr ProgramBank buildFactoryBank()
{
    ProgramBank bank{};
    setName(bank[0], "Finest Art");
    setValues(bank[0], kFinestArt);
    for (int32_t p = 1; p < kNumPrograms - 1; ++p) {
        const factory::FactoryProgram& program = factory::kFactoryPrograms[p - 1];
        setName(bank[p], program.name);
        setValues(bank[p], program.patch.v);
    }
    setName(bank[kNumPrograms - 1], "Init Patch");
    setValues(bank[kNumPrograms - 1], factory::kInitPatch);
    return bank;
}

} // namespace

constinit const ProgramBank factoryBank = buildFactoryBank();
