#pragma once
// Test rig for the engine tests and the render benchmarks: an owner that applies values
// the way the plug-in does, an engine at a rate with a program or patch loaded, and notes
// rendered in host-sized slices into two growing channels.

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "engine/Dravenor.h"
#include "engine/FactoryPrograms.h"

inline constexpr int32_t kInitPatchProgram = 127;

// Stands in for the plug-in: stores each value and lets the engine convert it.
class RigOwner : public EngineOwner {
public:
    explicit RigOwner(Dravenor& e) : engine(e) { engine.setOwner(this); }
    void applyParameter(int32_t index, float value) override
    {
        engine.values[index] = value;
        engine.setParameter(index, value);
    }
    bool isImageLineHost() const override { return imageLine; }
    bool isSteinbergHost() const override { return steinberg; }
    Dravenor& engine;
    bool imageLine = false, steinberg = false;
};

struct EngineRig {
    explicit EngineRig(double rate = 44100.0, int32_t program = kInitPatchProgram)
        : engine(std::make_unique<Dravenor>()), owner(*engine)
    {
        engine->setSampleRate(rate);
        engine->setProgram(program, true);
    }
    EngineRig(const factory::Patch& patch, double rate = 44100.0) : EngineRig(rate) { load(patch); }
    EngineRig(const EngineRig&) = delete;

    // Sets parameters the way host automation does.
    void set(int32_t index, float value) { owner.applyParameter(index, value); }
    void set(std::initializer_list<std::pair<int32_t, float>> values)
    {
        for (auto [index, value] : values) set(index, value);
    }
    // A fresh start with a patch: a reset, then its values twice, so that the values converted
    // before PercEnv follow the patch's own; the chorus' dry level settled, as long after a load.
    EngineRig& load(const factory::Patch& patch)
    {
        engine->setProgram(kInitPatchProgram, true);
        for (int pass = 0; pass < 2; ++pass)
            for (int32_t i = 0; i < kNumParams; ++i) set(i, patch.v[i]);
        engine->chorusDryCurrent = 1.0f;
        engine->channelPressure = 0.0f;
        engine->setPitchBend(0);
        left.clear(), right.clear();
        return *this;
    }
    // Renders `frames` more frames in slices of at most `slice` frames (a host's blocks).
    void render(int32_t frames, int32_t slice = 256)
    {
        const size_t at = left.size();
        left.resize(at + frames);
        right.resize(at + frames);
        for (int32_t done = 0; done < frames;) {
            const int32_t n = std::min(slice, frames - done);
            float* out[2] = {left.data() + at + done, right.data() + at + done};
            engine->render(n, out, 1);
            done += n;
        }
    }
    // Starts a note and renders `ms` from it; at() counts from the start of the last note played.
    EngineRig& play(int8_t note, double ms, uint8_t layer = 0, int8_t velocity = 100)
    {
        start = left.size();
        engine->noteOn(note, velocity, layer);
        render(this->ms(ms));
        return *this;
    }
    size_t at(double ms) const { return start + static_cast<size_t>(this->ms(ms)); }
    // Frames for a time in milliseconds at the engine's rate.
    int32_t ms(double milliseconds) const { return static_cast<int32_t>(std::lround(milliseconds * rate() / 1000.0)); }
    double rate() const { return engine->sampleRate; }

    std::unique_ptr<Dravenor> engine;  // large: kept off the stack
    RigOwner owner;
    std::vector<float> left, right;
    size_t start = 0;
};
