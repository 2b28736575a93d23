#pragma once
// Test rig for whole-engine tests: an owner that applies program loads like
// the plug-in does, and helpers to play notes and render passages.

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/Dravenor.h"

// Stands in for the plug-in: stores each value and lets the engine convert it.
// Shared by the engine tests and the render benchmarks.
class RigOwner : public EngineOwner {
public:
    explicit RigOwner(Dravenor& e) : engine(e) { engine.setOwner(this); }
    void applyParameter(int32_t index, float value) override
    {
        engine.values[index] = value;
        engine.setParameter(index, value);
    }
    bool isImageLineHost() const override { return false; }
    bool isSteinbergHost() const override { return false; }
    Dravenor& engine;
};

// An engine at a sample rate with a program loaded, as the plug-in sets it up.
struct EngineRig {
    explicit EngineRig(double rate = 44100.0, int32_t program = 0)
        : engine(std::make_unique<Dravenor>()), owner(*engine)
    {
        engine->setSampleRate(rate);
        engine->setProgram(program, true);
    }
    // Sets one parameter the way host automation does.
    void set(int32_t index, float value) { owner.applyParameter(index, value); }

    // Renders `frames` into left/right (appended), in slices of the given sizes, repeated.
    void render(int32_t frames, std::vector<float>& left, std::vector<float>& right,
                const std::vector<int32_t>& slices = {512})
    {
        const size_t start = left.size();
        left.resize(start + frames);
        right.resize(start + frames);
        int32_t done = 0;
        for (size_t k = 0; done < frames; ++k) {
            const int32_t n = std::min(slices[k % slices.size()], frames - done);
            float* out[2] = {left.data() + start + done, right.data() + start + done};
            engine->render(n, out, 1);
            done += n;
        }
    }

    std::unique_ptr<Dravenor> engine;
    RigOwner owner;
};

inline constexpr int32_t kInitPatchProgram = 127;
