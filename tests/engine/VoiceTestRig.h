#pragma once
// A small owner for a Dravenor in tests: loads programs through the engine's own
// conversion, plays notes and renders slices into growing left/right buffers.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/Dravenor.h"
#include "tests/engine/EngineRig.h"

class VoiceTestRig {
public:
    Dravenor engine;
    RigOwner owner{engine};
    std::vector<float> left, right;

    explicit VoiceTestRig(double rate = 44100.0, int32_t program = 127)
    {
        engine.setSampleRate(rate);
        engine.setProgram(program, true);
    }
    VoiceTestRig(const VoiceTestRig&) = delete;
    VoiceTestRig& operator=(const VoiceTestRig&) = delete;

    // Sets one parameter the way host automation does.
    void set(int32_t index, float value) { owner.applyParameter(index, value); }

    // Renders `frames` through Dravenor::render in slices of at most `slice` frames, appending.
    void render(int32_t frames, int32_t slice = 256)
    {
        const size_t start = left.size();
        left.resize(start + static_cast<size_t>(frames));
        right.resize(start + static_cast<size_t>(frames));
        for (int32_t done = 0; done < frames;) {
            const int32_t n = std::min(slice, frames - done);
            float* outs[2] = {left.data() + start + done, right.data() + start + done};
            engine.render(n, outs, 1);
            done += n;
        }
    }

    // Frames for a time in milliseconds at the engine's rate.
    int32_t ms(double milliseconds) const
    {
        return static_cast<int32_t>(std::lround(milliseconds * engine.sampleRate / 1000.0));
    }
};

// Frequency from rising zero crossings (linearly interpolated) of x[from..to).
inline double zeroCrossingFrequency(const std::vector<float>& x, size_t from, size_t to, double rate)
{
    double first = -1.0, last = -1.0;
    int64_t crossings = 0;
    for (size_t i = from + 1; i < to && i < x.size(); ++i) {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            const double t = static_cast<double>(i - 1) + x[i - 1] / static_cast<double>(x[i - 1] - x[i]);
            if (first < 0.0) first = t;
            last = t;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return static_cast<double>(crossings - 1) * rate / (last - first);
}

// Signal power at one frequency (Goertzel with a Hann window) over x[from..to).
inline double tonePower(const std::vector<float>& x, size_t from, size_t to, double hz, double rate)
{
    const double pi = 3.14159265358979323846;
    const double coef = 2.0 * std::cos(2.0 * pi * hz / rate);
    const double n = static_cast<double>(to - from);
    double s1 = 0.0, s2 = 0.0;
    for (size_t i = from; i < to; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * pi * static_cast<double>(i - from) / n);
        const double s0 = x[i] * w + coef * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - coef * s1 * s2) / (n * n);
}

inline double rms(const std::vector<float>& x, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += static_cast<double>(x[i]) * x[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

inline double cents(double hz, double reference) { return 1200.0 * std::log2(hz / reference); }
