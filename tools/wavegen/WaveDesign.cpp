#include "WaveDesign.h"

#include <cmath>
#include <numbers>

#include "HarmonicSeries.h"

namespace {

constexpr double kPi = std::numbers::pi;

// Band limits (harmonic kept at full level, highest harmonic kept).
constexpr int kFull = 40, kTop = 128;          // most waves
constexpr int kBrightFull = 48, kBrightTop = 144; // the deliberately bright ones

// Base wave 1 is a square whose plateaus ramp from kSawSquareStart up to the
// peak; base wave 0 is a falling saw of peak kSawPeak. The two constants place
// the saturated sums of wave indexes 5 and 7 at the lowest drive at about 1.38
// and 2.03: the saw is loud where the ramped square is still low.
constexpr double kSawSquareStart = 0.685;
constexpr double kSawPeak = 0.83;
// Base wave 2 differs from base wave 1 by at most this much per sample.
constexpr double kBaseTwinDeviation = 0.0012;

double peakOf(const std::vector<double>& w)
{
    double m = 0.0;
    for (double x : w) m = std::max(m, std::fabs(x));
    return m;
}

std::vector<double> scaledToPeak(std::vector<double> w, double peak)
{
    double m = peakOf(w);
    if (m > 0.0)
        for (double& x : w) x *= peak / m;
    return w;
}

std::vector<float> toFloat(const std::vector<double>& w)
{
    return std::vector<float>(w.begin(), w.end());
}

HarmonicSeries limited(HarmonicSeries s, int full = kFull, int top = kTop)
{
    s.setBandLimit(full, top);
    return s;
}

// Falling saw, the jump at phase 0 (so the band-limited wave starts at 0).
HarmonicSeries fallingSaw()
{
    HarmonicSeries s;
    for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; ++h) s.set(h, 2.0 / (kPi * h));
    return s;
}

// Square in sine phase: +1 on the first half, -1 on the second.
HarmonicSeries square()
{
    HarmonicSeries s;
    for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; h += 2) s.set(h, 4.0 / (kPi * h));
    return s;
}

// Square whose plateaus ramp from `start` to 1 over each half: start x square
// plus (1 - start) x a rising saw that jumps at half cycle. Odd around phase 0.
HarmonicSeries sawSquare(double start)
{
    HarmonicSeries s;
    for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; ++h) {
        double sq = (h % 2) ? 4.0 / (kPi * h) : 0.0;
        double up = (h % 2 ? 2.0 : -2.0) / (kPi * h);
        s.set(h, start * sq + (1.0 - start) * up);
    }
    return s;
}

HarmonicSeries pulse(double width)
{
    return HarmonicSeries::ofShape([width](double p) { return p < width ? 1.0 : -1.0; });
}

HarmonicSeries triangle()
{
    HarmonicSeries s;
    for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; h += 2)
        s.set(h, ((h / 2) % 2 ? -1.0 : 1.0) / (static_cast<double>(h) * h));
    return s;
}

// Saw through a low-pass of the given corner (in harmonics) and resonance:
// the magnitude of a two-pole low-pass at each harmonic.
HarmonicSeries resonantSaw(double corner, double q, double rolloff = 0.0)
{
    HarmonicSeries s;
    for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; ++h) {
        double r = h / corner;
        double mag = 1.0 / std::sqrt((1.0 - r * r) * (1.0 - r * r) + (r / q) * (r / q));
        if (rolloff > 0.0) mag /= std::sqrt(1.0 + std::pow(h / rolloff, 2.0));
        s.set(h, mag / h);
    }
    return s;
}

// Tonewheel-style registration: nine drawbar settings 0..8 (each step -3 dB)
// on the harmonics 1, 3, 2, 4, 6, 8, 10, 12, 16 of the lowest footage.
HarmonicSeries drawbars(const char* setting)
{
    static const int harmonic[9] = {1, 3, 2, 4, 6, 8, 10, 12, 16};
    HarmonicSeries s;
    for (int k = 0; k < 9; ++k) {
        int level = setting[k] - '0';
        if (level > 0) s.set(harmonic[k], std::pow(10.0, -3.0 * (8 - level) / 20.0));
    }
    return s;
}

// Sung vowel on a 110 Hz voice: a source falling 6 dB per octave through three
// band-pass formants (Hz, bandwidth Hz, gain). The formants sit on fixed
// harmonics, so they move with the played pitch as a single-cycle wave must.
struct Formant { double hz, bandwidth, gain; };

HarmonicSeries vowel(Formant f1, Formant f2, Formant f3)
{
    constexpr double kVoiceHz = 110.0;
    HarmonicSeries s;
    for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; ++h) {
        double f = kVoiceHz * h, sum = 0.0;
        for (const Formant& fm : {f1, f2, f3}) {
            double r = f / fm.hz, q = fm.hz / fm.bandwidth;
            double bp = (r / q) / std::sqrt((1.0 - r * r) * (1.0 - r * r) + (r / q) * (r / q));
            sum += fm.gain * bp;
        }
        // Alternate the sign of every other harmonic to spread the energy over
        // the cycle instead of one tall spike.
        s.set(h, (h % 2 ? 1.0 : -1.0) * sum / h);
    }
    return s;
}

// Saw that a master cycle restarts after `ratio` of its own cycles (hard sync).
HarmonicSeries syncSaw(double ratio)
{
    return HarmonicSeries::ofShape([ratio](double p) {
        double x = ratio * p;
        return 2.0 * (x - std::floor(x)) - 1.0;
    });
}

HarmonicSeries fromAmplitudes(std::initializer_list<double> amps)
{
    HarmonicSeries s;
    int h = 1;
    for (double a : amps) s.set(h++, a);
    return s;
}

const char* const kDescriptions[WaveDesign::kWaveCount] = {
    "sine",
    "falling saw (base wave 0)",
    "square",
    "ramped square (base wave 1)",
    "picture of the played sum: saw + ramped square",
    "picture of the played sum: ramped square doubled",
    "picture of the played sum: saw + ramped square doubled",
    "pulse 25 %",
    "pulse 12.5 %",
    "triangle",
    "pulse 6.25 %",
    "warm saw",
    "saw with octave",
    "organ 888000000",
    "organ 888888888",
    "organ 868000004",
    "organ 800000888",
    "reed",
    "vowel a",
    "vowel e",
    "vowel i",
    "vowel o",
    "vowel u",
    "hollow clarinet",
    "hollow odd four",
    "pulse 33 % (hollow)",
    "buzz",
    "resonant saw, low peak",
    "resonant saw, high peak",
    "sync saw 2.5",
    "sync saw 3.7",
    "soft-clipped sine series 1",
    "soft-clipped sine series 2",
    "soft-clipped sine series 3",
    "soft-clipped sine series 4",
    "soft-clipped sine series 5",
    "soft-clipped sine series 6",
    "soft-clipped sine series 7",
    "soft-clipped sine series 8",
};

} // namespace

const char* WaveDesign::description(int w) const
{
    return (w >= 1 && w <= kWaveCount) ? kDescriptions[w - 1] : "";
}

WaveDesign::WaveDesign()
{
    auto put = [this](int w, const std::vector<double>& samples) { bank_[w - 1] = toFloat(samples); };
    auto peak1 = [](const HarmonicSeries& s) { return scaledToPeak(s.synthesize(), 1.0); };

    // Wave 1: the exact sine: 0 at sample 0, 1 at 512, -1 at 1536.
    std::vector<double> sine(kLength);
    for (int i = 0; i < kLength; ++i) sine[i] = std::sin(2.0 * kPi * i / kLength);
    put(1, sine);

    buildBaseWaves(); // waves 2 and 4 are base waves 0 and 1
    bank_[1] = std::vector<float>(base_[0].begin(), base_[0].begin() + kLength);
    bank_[3] = std::vector<float>(base_[1].begin(), base_[1].begin() + kLength);
    buildSumPreviews(); // waves 5..7

    put(3, peak1(limited(square())));
    put(8, peak1(limited(pulse(0.25))));
    put(9, peak1(limited(pulse(0.125))));

    // Wave 10: triangle whose peak at sample 512 is 0.9993.
    {
        std::vector<double> t = limited(triangle()).synthesize();
        double scale = 0.9993 / t[512];
        for (double& x : t) x *= scale;
        put(10, t);
    }

    put(11, peak1(limited(pulse(0.0625))));
    put(12, peak1(limited(resonantSaw(12.0, 0.6))));
    {
        HarmonicSeries s;
        for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; ++h) s.set(h, (h % 2 ? 1.0 : 2.0) / h);
        put(13, peak1(limited(s)));
    }
    put(14, peak1(limited(drawbars("888000000"))));
    put(15, peak1(limited(drawbars("888888888"))));
    put(16, peak1(limited(drawbars("868000004"))));
    put(17, peak1(limited(drawbars("800000888"))));
    {
        // Reed: strong odd harmonics up to the 9th over weaker even ones.
        HarmonicSeries s;
        for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; ++h) {
            double a = (h % 2) ? 1.0 / std::sqrt(static_cast<double>(h)) : 0.35 / h;
            if (h > 9) a /= (h - 8) * 0.5 + 0.5;
            s.set(h, a);
        }
        put(18, peak1(limited(s)));
    }
    put(19, peak1(limited(vowel({730, 90, 1.0}, {1090, 110, 0.6}, {2440, 160, 0.3}))));
    put(20, peak1(limited(vowel({530, 80, 1.0}, {1840, 110, 0.5}, {2480, 160, 0.35}))));
    put(21, peak1(limited(vowel({270, 60, 1.0}, {2290, 120, 0.35}, {3010, 170, 0.3}))));
    put(22, peak1(limited(vowel({570, 80, 1.0}, {840, 90, 0.6}, {2410, 160, 0.2}))));
    put(23, peak1(limited(vowel({300, 60, 1.0}, {870, 90, 0.4}, {2240, 150, 0.15}))));
    {
        // Clarinet-like: odd harmonics only, the low ones strong, the upper falling fast.
        HarmonicSeries s = fromAmplitudes({1.0, 0, 0.75, 0, 0.5, 0, 0.14, 0, 0.5, 0, 0.12, 0, 0.17});
        for (int h = 15; h <= HarmonicSeries::kMaxHarmonic; h += 2) s.set(h, 2.0 / (h * h * 0.1));
        put(24, peak1(limited(s)));
    }
    put(25, peak1(limited(fromAmplitudes({1.0, 0, 0.6, 0, 0.45, 0, 0.35}))));
    put(26, peak1(limited(pulse(1.0 / 3.0))));
    {
        // Buzz: every harmonic at the same level. Quadratic (Schroeder) phases
        // spread the energy over the cycle, so it is as loud as the other waves
        // instead of one narrow spike per cycle.
        HarmonicSeries s;
        for (int h = 1; h <= HarmonicSeries::kMaxHarmonic; ++h) {
            const double phase = kPi * h * (h - 1) / kBrightTop;
            s.set(h, std::cos(phase), std::sin(phase));
        }
        put(27, peak1(limited(s, kBrightFull, kBrightTop)));
    }
    put(28, peak1(limited(resonantSaw(8.0, 4.0))));
    put(29, peak1(limited(resonantSaw(20.0, 6.0), kBrightFull, kBrightTop)));
    put(30, peak1(limited(syncSaw(2.5))));
    put(31, peak1(limited(syncSaw(3.7), kBrightFull, kBrightTop)));

    buildSeries(); // waves 32..39
}

void WaveDesign::buildBaseWaves()
{
    auto padded = [](const std::vector<double>& w) {
        std::vector<float> out(kBaseStride, 0.0f);
        for (int i = 0; i < kLength; ++i) out[i] = static_cast<float>(w[i]);
        return out;
    };
    std::vector<double> saw = scaledToPeak(limited(fallingSaw()).synthesize(), kSawPeak);
    std::vector<double> ramped = scaledToPeak(limited(sawSquare(kSawSquareStart)).synthesize(), 1.0);
    // The twin: a ramped square with a slightly steeper ramp, kept within
    // kBaseTwinDeviation of base wave 1 so that wave 6 is base wave 1 doubled
    // with a faint change of colour.
    std::vector<double> other = scaledToPeak(limited(sawSquare(kSawSquareStart - 0.05)).synthesize(), 1.0);
    double maxDiff = 0.0;
    for (int i = 0; i < kLength; ++i) maxDiff = std::max(maxDiff, std::fabs(other[i] - ramped[i]));
    std::vector<double> twin(kLength);
    for (int i = 0; i < kLength; ++i)
        twin[i] = ramped[i] + (other[i] - ramped[i]) * (kBaseTwinDeviation / maxDiff);
    base_[0] = padded(saw);
    base_[1] = padded(ramped);
    base_[2] = padded(twin);
}

void WaveDesign::buildSumPreviews()
{
    // Entries 5..7 are never played (the oscillators sum the base waves); they
    // are what the editor draws, so they show the played sum at the lowest
    // drive, scaled into -1..1.
    static const int bases[3][3] = {{0, 1, -1}, {1, 2, -1}, {0, 1, 2}};
    for (int k = 0; k < 3; ++k) {
        std::vector<double> sum(kLength, 0.0);
        for (int b : bases[k]) {
            if (b < 0) continue;
            for (int i = 0; i < kLength; ++i) sum[i] += std::tanh(base_[b][i] * kLowestDrive);
        }
        bank_[4 + k] = toFloat(scaledToPeak(sum, 1.0));
    }
}

void WaveDesign::buildSeries()
{
    // Waves 32..39: a sine through a tanh clipper of rising drive, so each step
    // is both louder and brighter; odd and quarter-wave symmetric. Peaks rise
    // evenly from 0.2562 to 1.0.
    for (int k = 0; k < 8; ++k) {
        double drive = 0.7 * std::pow(1.45, k);
        HarmonicSeries s = HarmonicSeries::ofShape([drive](double p) { return std::tanh(drive * std::sin(2.0 * kPi * p)); });
        double peak = 0.2562 + k * (1.0 - 0.2562) / 7.0;
        bank_[31 + k] = toFloat(scaledToPeak(limited(s).synthesize(), peak));
    }
}
