#pragma once
// Renders single notes of factory programs straight from the engine and measures
// what a listener would judge: loudness over time, peak, brightness. Shared by
// the factory-bank sound tests; header-only so a scratch tool can include it too.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/Dravenor.h"

namespace bank_listening {

inline constexpr int32_t kRate = 44100;
inline constexpr int32_t kSlice = 256;                 // frames per render call, as a host block
inline constexpr int32_t kWindow = kRate / 100;        // 10 ms loudness windows

// Stands in for the plug-in: stores each program value and lets the engine convert it.
class LoadingOwner : public EngineOwner {
public:
    explicit LoadingOwner(Dravenor& e) : engine(e) { engine.setOwner(this); }
    void applyParameter(int32_t index, float value) override
    {
        engine.values[index] = value;
        engine.setParameter(index, value);
    }
    bool isImageLineHost() const override { return false; }
    bool isSteinbergHost() const override { return false; }

private:
    Dravenor& engine;
};

// Starts a note the way the plug-in does for the current Voice-Mode.
inline void startNote(Dravenor& engine, int8_t note, int8_t velocity)
{
    switch (engine.voiceMode) {
        case 0: engine.noteOn(note, velocity, 0); break;
        case 1:
            engine.noteOn(note, velocity, 0);
            engine.noteOn(note, velocity, 1);
            break;
        case 2:
            for (int32_t layer = 0; layer < engine.voiceCount && layer < kMaxVoices; ++layer)
                engine.noteOn(note, velocity, static_cast<uint8_t>(layer));
            break;
        default: break;
    }
}

// One rendered note: both channels at 44100 Hz.
struct NoteRender {
    std::vector<float> left, right;
    int32_t releaseFrame = 0;  // frame of the note-off (== size when never released)
};

// Loads the program, plays one note for holdSeconds and renders totalSeconds in
// host-sized slices. A program load converts Amp-Atk and Flt-Dec under the PercEnv
// of the program before it: by default the program is loaded twice, so that every
// time follows its own PercEnv; with `previous` it is loaded once after that program,
// as a host's program change does.
inline NoteRender renderNote(int32_t program, int8_t note, int8_t velocity, double holdSeconds,
                             double totalSeconds, int32_t previous = -1)
{
    auto held = std::make_unique<Dravenor>();  // large object: keep it off the stack
    Dravenor& engine = *held;
    LoadingOwner owner(engine);
    engine.setProgram(previous >= 0 ? previous : program, true);
    engine.setProgram(program, true);
    NoteRender r;
    const auto total = static_cast<int32_t>(totalSeconds * kRate);
    r.releaseFrame = std::min(total, static_cast<int32_t>(holdSeconds * kRate));
    r.left.assign(total, 0.0f);
    r.right.assign(total, 0.0f);
    startNote(engine, note, velocity);
    for (int32_t pos = 0; pos < total;) {
        int32_t frames = std::min(kSlice, total - pos);
        if (pos < r.releaseFrame) frames = std::min(frames, r.releaseFrame - pos);
        if (pos == r.releaseFrame) engine.noteOff(static_cast<uint8_t>(note), 0);
        float* out[2] = {r.left.data() + pos, r.right.data() + pos};
        engine.render(frames, out, 1);
        pos += frames;
    }
    return r;
}

inline bool allFinite(const NoteRender& r)
{
    auto finite = [](float x) { return std::isfinite(x); };
    return std::all_of(r.left.begin(), r.left.end(), finite) &&
           std::all_of(r.right.begin(), r.right.end(), finite);
}

inline float peak(const NoteRender& r)
{
    float p = 0.0f;
    for (size_t i = 0; i < r.left.size(); ++i) p = std::max({p, std::fabs(r.left[i]), std::fabs(r.right[i])});
    return p;
}

inline double toDb(double x) { return 20.0 * std::log10(std::max(x, 1e-12)); }

// RMS of both channels in consecutive 10 ms windows.
inline std::vector<double> rmsEnvelope(const NoteRender& r)
{
    std::vector<double> env;
    for (size_t start = 0; start + kWindow <= r.left.size(); start += kWindow) {
        double sum = 0.0;
        for (size_t i = start; i < start + kWindow; ++i)
            sum += double(r.left[i]) * r.left[i] + double(r.right[i]) * r.right[i];
        env.push_back(std::sqrt(sum / (2.0 * kWindow)));
    }
    return env;
}

inline double maxOf(const std::vector<double>& v, size_t from = 0, size_t to = SIZE_MAX)
{
    double m = 0.0;
    for (size_t i = from; i < std::min(to, v.size()); ++i) m = std::max(m, v[i]);
    return m;
}

// Milliseconds from the onset until the loudness first reaches 90 % of its peak
// (peak taken while the key is held).
inline double msToNinetyPercent(const NoteRender& r, const std::vector<double>& env)
{
    const size_t held = static_cast<size_t>(r.releaseFrame / kWindow);
    const double top = maxOf(env, 0, held);
    for (size_t i = 0; i < held && i < env.size(); ++i)
        if (env[i] >= 0.9 * top) return i * 10.0;
    return 0.0;
}

// Milliseconds after the note-off until the loudness lies 30 dB below its level
// at the note-off; the rest of the render when it never gets there.
inline double releaseMs(const NoteRender& r, const std::vector<double>& env)
{
    const size_t rel = static_cast<size_t>(r.releaseFrame / kWindow);
    if (rel == 0 || rel >= env.size()) return 0.0;
    const double start = env[rel - 1];
    for (size_t i = rel; i < env.size(); ++i)
        if (env[i] < start * 0.0316) return (i - rel) * 10.0;
    return (env.size() - rel) * 10.0;
}

// Level in dB of the window at `seconds` after the onset relative to the loudest window before it.
inline double dropDbAt(const std::vector<double>& env, double seconds)
{
    const auto at = static_cast<size_t>(seconds * 100.0);
    if (at >= env.size()) return 0.0;
    return toDb(env[at]) - toDb(maxOf(env, 0, at));
}

// Magnitude-weighted mean frequency (Hz) of the left+right sum between two times,
// averaged over Hann-windowed 4096-frame blocks.
inline double spectralCentroid(const NoteRender& r, double fromSeconds, double toSeconds)
{
    constexpr int32_t n = 4096;
    std::vector<double> mag(n / 2, 0.0);
    const auto from = static_cast<size_t>(fromSeconds * kRate);
    const auto to = std::min(r.left.size(), static_cast<size_t>(toSeconds * kRate));
    std::vector<std::complex<double>> x(n);
    for (size_t start = from; start + n <= to; start += n / 2) {
        for (int32_t i = 0; i < n; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * i / (n - 1));
            x[i] = {w * (double(r.left[start + i]) + r.right[start + i]), 0.0};
        }
        // Iterative radix-2 transform.
        for (int32_t i = 1, j = 0; i < n; ++i) {
            int32_t bit = n >> 1;
            for (; j & bit; bit >>= 1) j ^= bit;
            j ^= bit;
            if (i < j) std::swap(x[i], x[j]);
        }
        for (int32_t len = 2; len <= n; len <<= 1) {
            const std::complex<double> wl = std::polar(1.0, -2.0 * M_PI / len);
            for (int32_t i = 0; i < n; i += len) {
                std::complex<double> w(1.0, 0.0);
                for (int32_t k = 0; k < len / 2; ++k, w *= wl) {
                    const auto u = x[i + k], v = x[i + k + len / 2] * w;
                    x[i + k] = u + v;
                    x[i + k + len / 2] = u - v;
                }
            }
        }
        for (int32_t k = 0; k < n / 2; ++k) mag[k] += std::abs(x[k]);
    }
    double weighted = 0.0, sum = 0.0;
    for (int32_t k = 1; k < n / 2; ++k) {
        weighted += mag[k] * k * double(kRate) / n;
        sum += mag[k];
    }
    return sum > 0.0 ? weighted / sum : 0.0;
}

} // namespace bank_listening
