#pragma once
// Program records and the 128-program bank (compiled-in factory bank and each engine's copy).

#include <cstdint>

#include "engine/ParamControlTable.h"

inline constexpr int32_t kNumPrograms = 128;
inline constexpr int32_t kProgramNameSize = 32;

// One program: NUL-padded name and the 82 normalised parameter values (Osc-Routing carries 0, 1 or 2).
struct ProgramRecord {
    char name[kProgramNameSize];
    float value[kNumParams];
};
static_assert(sizeof(ProgramRecord) == 360, "ProgramRecord layout is fixed");

// 128 programs one after another, index = program number.
struct ProgramBank {
    ProgramRecord program[kNumPrograms];

    constexpr ProgramRecord& operator[](int32_t index) { return program[index]; }
    constexpr const ProgramRecord& operator[](int32_t index) const { return program[index]; }
};
static_assert(sizeof(ProgramBank) == 46080, "ProgramBank layout is fixed");

// The compiled-in factory bank ("Finest Art" first, "Init Patch" last); read-only, any thread.
extern const ProgramBank factoryBank;
