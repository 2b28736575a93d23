#include "HarmonicSeries.h"

#include <cmath>
#include <numbers>

namespace {

// sin(2 pi k / n) for k = 0..n-1, so that harmonic sums index exact values.
const std::vector<double>& sineTable(int n)
{
    static std::vector<double> small, large;
    std::vector<double>& t = n == HarmonicSeries::kLength ? small : large;
    if (static_cast<int>(t.size()) != n) {
        t.resize(n);
        for (int k = 0; k < n; ++k) t[k] = std::sin(2.0 * std::numbers::pi * k / n);
    }
    return t;
}

} // namespace

HarmonicSeries::HarmonicSeries() : sine_(kMaxHarmonic + 1, 0.0), cosine_(kMaxHarmonic + 1, 0.0) {}

void HarmonicSeries::set(int h, double sineAmp, double cosineAmp)
{
    if (h < 1 || h > kMaxHarmonic) return;
    sine_[h] = sineAmp;
    cosine_[h] = cosineAmp;
}

void HarmonicSeries::setBandLimit(int full, int top)
{
    full_ = full;
    top_ = top > kMaxHarmonic ? kMaxHarmonic : top;
}

double HarmonicSeries::taper(int h, int full, int top)
{
    if (h <= full) return 1.0;
    if (h > top) return 0.0;
    double z = static_cast<double>(h - full) / static_cast<double>(top - full + 1);
    return 0.5 * (1.0 + std::cos(std::numbers::pi * z));
}

HarmonicSeries HarmonicSeries::ofShape(const std::function<double(double)>& shape)
{
    // 32 points per output sample, taken at the middle of each step so that a
    // jump at a step boundary counts half on either side.
    constexpr int kOver = 32;
    constexpr int kPoints = kLength * kOver;
    const std::vector<double>& s = sineTable(2 * kPoints);
    std::vector<double> f(kPoints);
    for (int m = 0; m < kPoints; ++m) f[m] = shape((m + 0.5) / kPoints);

    HarmonicSeries out;
    const int n2 = 2 * kPoints;
    for (int h = 1; h <= kMaxHarmonic; ++h) {
        double a = 0.0, b = 0.0;
        for (int m = 0; m < kPoints; ++m) {
            long k = static_cast<long>(h) * (2 * m + 1) % n2; // angle h x (m + 0.5) / kPoints
            b += f[m] * s[k];
            a += f[m] * s[(k + n2 / 4) % n2];
        }
        out.set(h, 2.0 * b / kPoints, 2.0 * a / kPoints);
    }
    return out;
}

std::vector<double> HarmonicSeries::synthesize() const
{
    const std::vector<double>& s = sineTable(kLength);
    std::vector<double> w(kLength, 0.0);
    for (int h = 1; h <= top_; ++h) {
        double g = taper(h, full_, top_);
        double bs = sine_[h] * g, bc = cosine_[h] * g;
        if (bs == 0.0 && bc == 0.0) continue;
        for (int i = 0; i < kLength; ++i) {
            int k = (h * i) & (kLength - 1);
            w[i] += bs * s[k] + bc * s[(k + kLength / 4) & (kLength - 1)];
        }
    }
    return w;
}
