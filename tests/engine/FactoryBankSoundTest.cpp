// The factory bank as a listener meets it: every program sounds, none clips on a single
// note, the levels are balanced, and each family sounds like its name (basses below leads,
// pads that swell or linger, plucks, bells and kicks that die away). Also the design rules
// of the bank's data (step centres, voice modes, glide, routings).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/engine/EngineRig.h"
#include "tests/engine/Listening.h"

namespace {

constexpr double kRate = 44100.0;
constexpr size_t kWindow = 441;  // 10 ms loudness windows

// One note of a program at velocity 100, held for `hold` s of `total` s, in 256-frame host
// blocks, with a layer per voice as the plug-in starts it. A load converts Amp-Atk and Flt-Dec
// under the PercEnv of the program before it: by default the program is loaded twice, so that
// every time follows its own PercEnv; with `previous` it is loaded once after that program,
// as a host's program change does.
struct Note : EngineRig {
    Note(int32_t program, int8_t note, double hold, double total, int32_t previous = -1)
        : EngineRig(kRate, previous >= 0 ? previous : program)
    {
        engine->setProgram(program, true);
        const int32_t m = engine->voiceMode, layers = m == 0 ? 1 : m == 1 ? 2 : std::min(engine->voiceCount, 20);
        for (int32_t layer = 0; layer < layers; ++layer) engine->noteOn(note, 100, static_cast<uint8_t>(layer));
        released = static_cast<size_t>(hold * kRate);
        render(static_cast<int32_t>(released));
        engine->noteOff(static_cast<uint8_t>(note), 0);
        render(static_cast<int32_t>(total * kRate) - static_cast<int32_t>(released));
        for (size_t at = 0; at + kWindow <= left.size(); at += kWindow) {
            const double l = rms(left, at, at + kWindow), r = rms(right, at, at + kWindow);
            envelope.push_back(std::sqrt(0.5 * (l * l + r * r)));
        }
    }
    double loudestDb(size_t to = SIZE_MAX) const
    {
        return toDb(*std::max_element(envelope.begin(), envelope.begin() + std::min(to, envelope.size())));
    }
    double centroid(double from, double to) const  // of the left + right sum, Hz
    {
        std::vector<float> sum(left.size());
        for (size_t i = 0; i < sum.size(); ++i) sum[i] = left[i] + right[i];
        return spectralCentroid(sum, size_t(from * kRate), size_t(to * kRate), kRate);
    }
    size_t released;
    std::vector<double> envelope;  // RMS of both channels in 10 ms windows
};

const char* name(int32_t p) { return factoryBank[p].name; }
bool has(int32_t p, const char* word) { return std::strstr(name(p), word) != nullptr; }

// The programs whose name holds one of the words (any case).
std::vector<int32_t> named(std::initializer_list<const char*> words)
{
    auto lower = [](std::string s) {
        for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::vector<int32_t> programs;
    for (int32_t p = 0; p < kNumPrograms; ++p) {
        const std::string n = lower(name(p));
        for (const char* w : words)
            if (n.find(lower(w)) != std::string::npos) {
                programs.push_back(p);
                break;
            }
    }
    return programs;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 == 1 ? v[v.size() / 2] : 0.5 * (v[v.size() / 2 - 1] + v[v.size() / 2]);
}

float value(int32_t p, int32_t index) { return factoryBank[p].value[index]; }
int32_t steps(int32_t p, int32_t index, float scale) { return static_cast<int32_t>(value(p, index) * scale); }

// True when v x scale lies in the middle half of a step, safe from the truncation's edges.
bool atStepCentre(float v, double scale)
{
    const double x = v * scale, frac = x - std::floor(x);
    return v == 1.0f || (frac >= 0.25 && frac <= 0.75);
}

} // namespace

// Held two seconds at C2, C4 and C6, every program sounds without clipping, and the designed
// ones stay within a 14 dB window of loudness (the loudest 10 ms, averaged over the notes).
class FactoryPrograms : public testing::TestWithParam<int32_t> {};

TEST_P(FactoryPrograms, SoundBalancedWithoutClipping)
{
    for (int32_t p = GetParam(); p < GetParam() + 8; ++p) {
        const bool designed = p != 0 && p != kNumPrograms - 1;
        double sum = 0.0;
        for (int8_t note : {36, 60, 84}) {
            const Note n(p, note, 2.0, 2.0);
            const auto finite = [](float x) { return std::isfinite(x); };
            ASSERT_TRUE(std::all_of(n.left.begin(), n.left.end(), finite) &&
                        std::all_of(n.right.begin(), n.right.end(), finite))
                << name(p) << " note " << int(note);
            EXPECT_GT(n.loudestDb(), -40.0) << name(p) << " note " << int(note);
            EXPECT_TRUE(!designed || std::max(peakOf(n.left), peakOf(n.right)) <= 1.0f) << name(p) << " " << int(note);
            sum += n.loudestDb();
        }
        EXPECT_TRUE(!designed || (sum / 3 >= -27.0 && sum / 3 <= -13.0)) << name(p) << ": " << sum / 3 << " dB";
    }
}

INSTANTIATE_TEST_SUITE_P(EightAtATime, FactoryPrograms, testing::Range(0, kNumPrograms, 8));

TEST(FactoryFamilies, BassesAreDarkerThanLeads)
{
    std::vector<double> bass, lead;
    for (int32_t p : named({"Bass"})) bass.push_back(Note(p, 36, 1.0, 1.0).centroid(0.05, 1.0));
    for (int32_t p : named({"Lead"})) lead.push_back(Note(p, 60, 1.0, 1.0).centroid(0.05, 1.0));
    ASSERT_TRUE(bass.size() >= 15 && lead.size() >= 15);
    EXPECT_LT(median(bass), median(lead));
    EXPECT_LT(median(bass), 400.0);  // Hz: a bass at C2 keeps its weight low
}

TEST(FactoryFamilies, KicksHitLowHatsHigh)
{
    for (int32_t p : named({"Kick"})) EXPECT_LT(Note(p, 60, 0.4, 0.4).centroid(0.0, 0.4), 500.0) << name(p);
    for (int32_t p : named({"Hihat"})) EXPECT_GT(Note(p, 60, 0.4, 0.4).centroid(0.0, 0.4), 5000.0) << name(p);
}

// Pads reach 90 % of their loudness slowly or linger (30 dB down no sooner than 300 ms after
// the key), also loaded right after a kick, whose PercEnv shortens the attack range.
TEST(FactoryFamilies, PadsSwellOrLinger)
{
    ASSERT_GE(named({"pad"}).size(), 15u);
    for (int32_t p : named({"pad"})) {
        for (int32_t previous : {-1, named({"Kick"}).front()}) {
            const Note n(p, 60, 1.5, 3.0, previous);
            const auto& env = n.envelope;
            const auto held = env.begin() + long(n.released / kWindow);
            const double top = *std::max_element(env.begin(), held), atRelease = held[-1];
            const auto swelled = std::find_if(env.begin(), held, [&](double x) { return x >= 0.9 * top; });
            const auto faded = std::find_if(held, env.end(), [&](double x) { return x < atRelease * 0.0316; });
            const double attack = 10.0 * double(swelled - env.begin()), release = 10.0 * double(faded - held);
            EXPECT_TRUE(attack >= 50.0 || release >= 300.0)
                << name(p) << " after " << previous << ": 90 % after " << attack << " ms, release " << release << " ms";
        }
    }
}

TEST(FactoryFamilies, PlucksBellsHarpsichordAndKicksDieAwayWhileHeld)
{
    const auto decaying = named({"Pluck", "Bell", "Harpsi", "Kick"});
    ASSERT_GE(decaying.size(), 10u);
    for (int32_t p : decaying) {
        const Note n(p, 60, 1.01, 1.01);
        EXPECT_LE(toDb(n.envelope[100]) - n.loudestDb(100), -12.0) << name(p);  // after one second
    }
}

TEST(FactoryDesignRules, DiscreteValuesSitAtStepCentresAndSettingsFitTheName)
{
    for (int32_t p = 1; p < kNumPrograms - 1; ++p) {
        for (auto [index, scale] : {std::pair{kParamOsc1Coarse, 24.0}, {kParamOsc2Coarse, 24.0},
                                    {kParamOsc3Coarse, 96.0}, {kParamOsc1Fine, 128.0}, {kParamOsc2Fine, 128.0},
                                    {kParamOsc3Fine, 128.0}})
            EXPECT_TRUE(atStepCentre(value(p, index), scale)) << name(p) << " " << index;
        for (int32_t i : {kParamOsc1Wave, kParamOsc2Wave}) {
            const float v = value(p, i);
            EXPECT_TRUE((i == kParamOsc1Wave && v == 2.578f) || v == float(std::lround(v * 39.0) / 39.0)) << name(p);
        }
        const float mode = value(p, kParamVoiceMode), type = value(p, kParamFltType);
        const float voices = value(p, kParamVoiceCount);
        EXPECT_TRUE(mode == 0.0f || mode == 0.5f || mode == 1.0f) << name(p);
        EXPECT_TRUE(type == 0.0f || type == float(1.0 / 3.0) || type == float(2.0 / 3.0) || type == 1.0f) << name(p);
        for (int32_t i : {kParamLfoSync, kParamPercEnv, kParamChorusSync, kParamFltInvert, kParamSharedFilter})
            EXPECT_TRUE(value(p, i) == 0.0f || value(p, i) == 1.0f) << name(p) << " switch " << i;
        EXPECT_EQ(voices, float(std::lround(voices * 100.0) / 100.0)) << name(p);

        const bool wide = has(p, "Wide") || has(p, "Dual"), unison = has(p, "Unison");
        EXPECT_TRUE((mode == 0.5f) == wide && (mode == 1.0f) == unison) << name(p);
        // Layers and stacked voices are detuned by multiples of Osc1's fine tuning.
        EXPECT_TRUE(!(wide || unison) || steps(p, kParamOsc1Fine, 128.0f) != 64) << name(p);
        // The shared filter is mono: with Voice-Mode 2 it would drop the right-hand half of the stack.
        EXPECT_TRUE(mode != 1.0f || value(p, kParamSharedFilter) <= 0.1f) << name(p);
        // Glide belongs to lines played one note at a time: unison or four-voice programs.
        EXPECT_TRUE(value(p, kParamGlide) == 0.0f || mode == 1.0f || steps(p, kParamVoiceCount, 100.01f) == 4)
            << name(p);
        // Bells and metal ring through frequency modulation; kicks fall in pitch on the percussive
        // envelope; hats are inharmonic FM (the modulator off a harmonic) through a high-pass.
        const bool fm = value(p, kParamOscRouting) != 0.0f;
        EXPECT_TRUE(!(has(p, "Bell") || has(p, "Metal") || has(p, "Steel")) || fm) << name(p);
        const bool kickDown = value(p, kParamPercEnv) == 1.0f && value(p, kParamPitchUpAmount) > 0.0f;
        EXPECT_TRUE(!has(p, "Kick") || kickDown) << name(p);
        const bool hatFm = steps(p, kParamFltType, 4.01f) == 1 && fm && steps(p, kParamOsc2Fine, 128.0f) != 64;
        EXPECT_TRUE(!has(p, "Hihat") || hatFm) << name(p);
    }
}
