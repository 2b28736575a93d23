#pragma once
// What a listener would judge in rendered audio: level, pitch (per cycle or on
// average), the power at one frequency, the spectrum, its centroid and its peak.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <utility>
#include <vector>

inline double rms(const std::vector<float>& x, size_t from = 0, size_t to = SIZE_MAX)
{
    to = std::min(to, x.size());
    double sum = 0.0;
    for (size_t i = from; i < to; ++i) sum += static_cast<double>(x[i]) * x[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

inline float peakOf(const std::vector<float>& x)
{
    float m = 0.0f;
    for (float v : x) m = std::max(m, std::fabs(v));
    return m;
}

inline double toDb(double x) { return 20.0 * std::log10(std::max(x, 1e-12)); }
inline double cents(double hz, double reference) { return 1200.0 * std::log2(hz / reference); }

// Rising zero crossings of x[from..to), linearly interpolated, in frames.
inline std::vector<double> crossings(const std::vector<float>& x, size_t from, size_t to)
{
    std::vector<double> t;
    for (size_t i = std::max<size_t>(from, 1); i < std::min(to, x.size()); ++i)
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) t.push_back(double(i - 1) + x[i - 1] / double(x[i - 1] - x[i]));
    return t;
}

// Average frequency over x[from..to) from its zero crossings.
inline double frequency(const std::vector<float>& x, size_t from, size_t to, double rate)
{
    const std::vector<double> t = crossings(x, from, to);
    return t.size() < 2 ? 0.0 : double(t.size() - 1) * rate / (t.back() - t.front());
}

// Frequency of each cycle of x[from..to) as (time of the cycle's middle in s, Hz).
inline std::vector<std::pair<double, double>> cycleFrequencies(const std::vector<float>& x, size_t from, size_t to,
                                                               double rate)
{
    const std::vector<double> t = crossings(x, from, to);
    std::vector<std::pair<double, double>> f;
    for (size_t k = 1; k < t.size(); ++k) f.push_back({0.5 * (t[k] + t[k - 1]) / rate, rate / (t[k] - t[k - 1])});
    return f;
}

// Peak-to-peak swing / 2 of the cycle frequencies between two times (s), in Hz.
inline double vibratoDepth(const std::vector<std::pair<double, double>>& f, double from, double to)
{
    double lo = 1e30, hi = -1e30;
    for (const auto& [t, hz] : f)
        if (t >= from && t < to) lo = std::min(lo, hz), hi = std::max(hi, hz);
    return hi > lo ? 0.5 * (hi - lo) : 0.0;
}

// Power at one frequency over x[from..to) (Goertzel with a Hann window).
inline double tonePower(const std::vector<float>& x, size_t from, size_t to, double hz, double rate)
{
    const double coef = 2.0 * std::cos(2.0 * M_PI * hz / rate), n = double(to - from);
    const double c = std::cos(2.0 * M_PI / n), s = std::sin(2.0 * M_PI / n);
    double s1 = 0.0, s2 = 0.0, wc = 1.0, ws = 0.0;  // the window's phasor, turned once per frame
    for (size_t i = from; i < to; ++i) {
        const double s0 = x[i] * (0.5 - 0.5 * wc) + coef * s1 - s2, t = wc * c - ws * s;
        ws = ws * c + wc * s, wc = t, s2 = s1, s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - coef * s1 * s2) / (n * n);
}

// Level in dB of one frequency relative to another over the same span.
inline double toneRatioDb(const std::vector<float>& x, size_t from, size_t to, double hz, double reference, double rate)
{
    return 10.0 * std::log10(tonePower(x, from, to, hz, rate) / tonePower(x, from, to, reference, rate));
}

// Magnitudes of bins 0..n/2 of x[from..from + n) (n a power of 2), Hann-windowed unless
// the span is exactly one period.
inline std::vector<double> spectrum(const float* x, size_t n, bool window = true)
{
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < n; ++i) a[i] = x[i] * (window ? 0.5 - 0.5 * std::cos(2.0 * M_PI * double(i) / n) : 1.0);
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * M_PI / double(len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < len / 2; ++k, w *= step) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
    std::vector<double> mag(n / 2 + 1);
    for (size_t k = 0; k <= n / 2; ++k) mag[k] = std::abs(a[k]);
    return mag;
}

// Magnitude-weighted mean frequency (Hz) of x[from..to), over 4096-frame blocks.
inline double spectralCentroid(const std::vector<float>& x, size_t from, size_t to, double rate)
{
    constexpr size_t n = 4096;
    double weighted = 0.0, sum = 0.0;
    for (size_t start = from; start + n <= std::min(to, x.size()); start += n / 2) {
        const std::vector<double> mag = spectrum(x.data() + start, n);
        for (size_t k = 1; k < n / 2; ++k) weighted += mag[k] * double(k) * rate / n, sum += mag[k];
    }
    return sum > 0.0 ? weighted / sum : 0.0;
}

// Frequency (Hz) of the strongest component between lo and hi Hz in x[from..from + n) (n a
// power of 2), placed between bins by a parabola through the log magnitudes around it.
inline double peakFrequency(const std::vector<float>& x, size_t from, size_t n, double lo, double hi, double rate)
{
    const std::vector<double> mag = spectrum(x.data() + from, n);
    const size_t first = std::max<size_t>(2, size_t(lo * double(n) / rate));
    const size_t last = std::min(mag.size() - 2, size_t(hi * double(n) / rate));
    size_t best = first;
    for (size_t k = first; k <= last; ++k)
        if (mag[k] > mag[best]) best = k;
    const double a = std::log(mag[best - 1]), b = std::log(mag[best]), c = std::log(mag[best + 1]);
    return (double(best) + 0.5 * (a - c) / (a - 2.0 * b + c)) * rate / double(n);
}
