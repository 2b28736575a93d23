#pragma once
// Harmonic spectrum of one single-cycle wave and its band-limited synthesis
// into 2048 samples. Used only by the wave generator, at build time. Single-threaded.

#include <functional>
#include <vector>

class HarmonicSeries {
public:
    static constexpr int kLength = 2048;     // samples per cycle
    static constexpr int kMaxHarmonic = 160; // highest harmonic any wave may hold

    HarmonicSeries();

    // Sets the sine and cosine amplitude of harmonic h (1..kMaxHarmonic); others are ignored.
    void set(int h, double sineAmp, double cosineAmp = 0.0);
    double sine(int h) const { return sine_[h]; }
    double cosine(int h) const { return cosine_[h]; }

    // Soft band limit applied by synthesize: full level up to harmonic `full`,
    // then a raised-cosine fall that reaches 0 just above harmonic `top`.
    void setBandLimit(int full, int top);

    // HarmonicSeries of a naive periodic shape f(phase), phase 0..1, from an
    // oversampled Fourier sum; the DC term is dropped.
    static HarmonicSeries ofShape(const std::function<double(double)>& shape);

    // The 2048 samples of the band-limited wave.
    std::vector<double> synthesize() const;

    // Weight of harmonic h under a band limit (full, top).
    static double taper(int h, int full, int top);

private:
    std::vector<double> sine_;
    std::vector<double> cosine_;
    int full_ = 40;   // harmonics kept at full level
    int top_ = 128;   // highest harmonic kept at all
};
