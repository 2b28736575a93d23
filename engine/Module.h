#pragma once
// Abstract base of a sound engine: owns the normalised parameter value array.

#include <cstdint>

struct ProgramBank;

class Module {
public:
    int32_t numParams = 0;     // entries of values
    float* values = nullptr;   // normalised parameter values, owned

    Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    // Frees the value array. Any thread (with the owner).
    virtual ~Module();
    // Allocates numParams zeroed floats and copies in at most initialCount of initial (when given). UI thread.
    virtual void init(int32_t numParams, const float* initial, int32_t initialCount);
    // Converts one normalised value into working values. Audio or UI thread.
    virtual void setParameter(int32_t index, float value) = 0;
    // Clears all sound state; the base does nothing. Audio thread.
    virtual void reset();
    // Makes a program current and loads it. Audio or UI thread.
    virtual void setProgram(int32_t program, bool apply) = 0;
    // The engine's own program bank. Any thread.
    virtual ProgramBank* getPrograms() = 0;
    // Sets the number of voices in use. Audio or UI thread.
    virtual void setPolyphony(int32_t n) = 0;
};
