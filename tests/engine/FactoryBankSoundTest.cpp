// The factory bank as a listener meets it: every program sounds, none clips on a
// single note, and each family sounds like its name (basses below leads, pads
// that swell or linger, plucks, bells and kicks that die away). Also the design
// rules of the bank's data (step centres, voice modes, glide, routings).
// The fixed facts of the bank (routings, beyond-bank waves, "-" parameters) are
// checked in ProgramBankTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "engine/ProgramBank.h"
#include "tests/engine/BankListening.h"

using namespace bank_listening;

namespace {

constexpr int8_t kVelocity = 100;
constexpr double kHoldSeconds = 2.0;
constexpr std::array<int8_t, 3> kNotes = {36, 60, 84};

bool nameHas(int32_t program, const char* word) { return std::strstr(factoryBank[program].name, word) != nullptr; }

bool nameHasAnyCase(int32_t program, const char* word)
{
    std::string name = factoryBank[program].name, w = word;
    for (auto& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (auto& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name.find(w) != std::string::npos;
}

std::vector<int32_t> family(bool (*member)(int32_t))
{
    std::vector<int32_t> programs;
    for (int32_t p = 0; p < kNumPrograms; ++p)
        if (member(p)) programs.push_back(p);
    return programs;
}

bool isKick(int32_t p) { return nameHas(p, "Kick"); }
bool isBass(int32_t p) { return nameHas(p, "Bass"); }
bool isLead(int32_t p) { return nameHas(p, "Lead"); }
bool isPad(int32_t p) { return nameHasAnyCase(p, "pad"); }
bool isDecaying(int32_t p)
{
    return nameHas(p, "Pluck") || nameHas(p, "Bell") || nameHas(p, "Harpsi") || isKick(p);
}

// What the tests keep of one note held for two seconds (the samples themselves would
// take hundreds of megabytes over the whole bank): measured once, shared by the tests.
struct HeldNote {
    std::vector<double> envelope;  // 10 ms RMS windows
    float peak = 0.0f;
    bool finite = true;
};

const HeldNote& heldNote(int32_t program, int8_t note)
{
    static std::map<std::pair<int32_t, int8_t>, HeldNote> cache;
    auto key = std::make_pair(program, note);
    auto found = cache.find(key);
    if (found == cache.end()) {
        const NoteRender r = renderNote(program, note, kVelocity, kHoldSeconds, kHoldSeconds);
        found = cache.emplace(key, HeldNote{rmsEnvelope(r), peak(r), allFinite(r)}).first;
    }
    return found->second;
}

// Spectral centroid (Hz) of a held note between two times.
double centroid(int32_t program, int8_t note, double fromSeconds, double toSeconds)
{
    return spectralCentroid(renderNote(program, note, kVelocity, toSeconds, toSeconds), fromSeconds, toSeconds);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

float value(int32_t program, int32_t index) { return factoryBank[program].value[index]; }

// True when v x scale lies in the middle half of a step (fraction 0.25..0.75).
bool atStepCentre(float v, double scale)
{
    const double x = v * scale;
    const double frac = x - std::floor(x);
    return frac >= 0.25 && frac <= 0.75;
}

} // namespace

// ---- every program sounds, none clips ----

class FactoryProgramSound : public testing::TestWithParam<int32_t> {};

TEST_P(FactoryProgramSound, SoundsAtLowMiddleAndHighNotesWithoutClipping)
{
    const int32_t p = GetParam();
    for (int8_t note : kNotes) {
        const HeldNote& h = heldNote(p, note);
        ASSERT_TRUE(h.finite) << factoryBank[p].name << " note " << int(note);
        EXPECT_GT(toDb(maxOf(h.envelope)), -40.0) << factoryBank[p].name << " note " << int(note);
        if (p != 0 && p != kNumPrograms - 1) {
            EXPECT_LE(h.peak, 1.0f) << factoryBank[p].name << " note " << int(note);
        }
    }
}

// Scrolling through the bank, no designed program jumps out or drops away: the loudest
// 10 ms of a held note, averaged over the three notes, stays within a 14 dB window.
class FactoryProgramLoudness : public testing::TestWithParam<int32_t> {};

TEST_P(FactoryProgramLoudness, IsBalancedWithTheRestOfTheBank)
{
    const int32_t p = GetParam();
    double sum = 0.0;
    for (int8_t note : kNotes) sum += toDb(maxOf(heldNote(p, note).envelope));
    EXPECT_GE(sum / kNotes.size(), -27.0) << factoryBank[p].name;
    EXPECT_LE(sum / kNotes.size(), -13.0) << factoryBank[p].name;
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, FactoryProgramSound, testing::Range(0, kNumPrograms));
INSTANTIATE_TEST_SUITE_P(DesignedPrograms, FactoryProgramLoudness, testing::Range(1, kNumPrograms - 1));

// ---- families sound like their names ----

TEST(FactoryFamilies, BassesAreDarkerThanLeads)
{
    std::vector<double> bass, lead;
    for (int32_t p : family(isBass)) bass.push_back(centroid(p, 36, 0.05, 1.0));
    for (int32_t p : family(isLead)) lead.push_back(centroid(p, 60, 0.05, 1.0));
    ASSERT_GE(bass.size(), 15u);
    ASSERT_GE(lead.size(), 15u);
    EXPECT_LT(median(bass), median(lead));
    EXPECT_LT(median(bass), 400.0);  // Hz: a bass at C2 keeps its weight low
}

TEST(FactoryFamilies, PadsSwellOrLinger)
{
    const auto pads = family(isPad);
    ASSERT_GE(pads.size(), 15u);
    // Also right after a kick: its PercEnv shortens the attack range the pad is loaded under.
    for (int32_t p : pads) {
        for (int32_t previous : {-1, family(isKick).front()}) {
            const NoteRender r = renderNote(p, 60, kVelocity, 1.5, 3.0, previous);
            const auto env = rmsEnvelope(r);
            const double attack = msToNinetyPercent(r, env), release = releaseMs(r, env);
            EXPECT_TRUE(attack >= 50.0 || release >= 300.0) << factoryBank[p].name << " after " << previous
                                                            << ": 90 % after " << attack << " ms, release "
                                                            << release << " ms";
        }
    }
}

TEST(FactoryFamilies, PlucksBellsHarpsichordAndKicksDieAwayWhileHeld)
{
    const auto decaying = family(isDecaying);
    ASSERT_GE(decaying.size(), 10u);
    for (int32_t p : decaying) {
        const double drop = dropDbAt(heldNote(p, 60).envelope, 1.0);
        EXPECT_LE(drop, -12.0) << factoryBank[p].name;
    }
}

TEST(FactoryFamilies, KicksHitLowAndHatsHitHigh)
{
    for (int32_t p : family(isKick))
        EXPECT_LT(centroid(p, 60, 0.0, 0.4), 500.0) << factoryBank[p].name;
    for (int32_t p : family([](int32_t q) { return nameHas(q, "Hihat"); }))
        EXPECT_GT(centroid(p, 60, 0.0, 0.4), 5000.0) << factoryBank[p].name;
}

// ---- design rules of the data ----

class FactoryDesignRules : public testing::TestWithParam<int32_t> {};

TEST_P(FactoryDesignRules, DiscreteValuesSitAtStepCentres)
{
    const int32_t p = GetParam();
    const char* name = factoryBank[p].name;
    for (int32_t i : {kParamOsc1Coarse, kParamOsc2Coarse})
        EXPECT_TRUE(value(p, i) == 1.0f || atStepCentre(value(p, i), 24.0)) << name << " parameter " << i;
    for (int32_t i : {kParamOsc1Fine, kParamOsc2Fine, kParamOsc3Fine})
        EXPECT_TRUE(value(p, i) == 1.0f || atStepCentre(value(p, i), 128.0)) << name << " parameter " << i;
    EXPECT_TRUE(value(p, kParamOsc3Coarse) == 1.0f || atStepCentre(value(p, kParamOsc3Coarse), 96.0)) << name;
    for (int32_t i : {kParamOsc1Wave, kParamOsc2Wave}) {
        const float v = value(p, i);
        const bool beyond = i == kParamOsc1Wave && v == 2.578f;
        EXPECT_TRUE(beyond || v == static_cast<float>(std::lround(v * 39.0) / 39.0)) << name << " wave " << v;
    }
    const float mode = value(p, kParamVoiceMode), type = value(p, kParamFltType);
    EXPECT_TRUE(mode == 0.0f || mode == 0.5f || mode == 1.0f) << name;
    EXPECT_TRUE(type == 0.0f || type == static_cast<float>(1.0 / 3.0) || type == static_cast<float>(2.0 / 3.0) ||
                type == 1.0f)
        << name;
    for (int32_t i : {kParamLfoSync, kParamPercEnv, kParamChorusSync, kParamFltInvert, kParamSharedFilter})
        EXPECT_TRUE(value(p, i) == 0.0f || value(p, i) == 1.0f) << name << " switch " << i;
    const float voices = value(p, kParamVoiceCount);
    EXPECT_EQ(voices, static_cast<float>(std::lround(voices * 100.0) / 100.0)) << name;
}

TEST_P(FactoryDesignRules, VoiceModesGlideAndRoutingsFitTheName)
{
    const int32_t p = GetParam();
    const char* name = factoryBank[p].name;
    const float mode = value(p, kParamVoiceMode);
    const bool wide = nameHas(p, "Wide") || nameHas(p, "Dual"), unison = nameHas(p, "Unison");
    EXPECT_EQ(mode == 0.5f, wide) << name;
    EXPECT_EQ(mode == 1.0f, unison) << name;
    // Layers and stacked voices are detuned by multiples of Osc1's fine tuning; without it they would coincide.
    if (wide || unison) {
        EXPECT_NE(static_cast<int32_t>(value(p, kParamOsc1Fine) * 128.0f) - 64, 0) << name;
    }
    // The shared filter is mono: with Voice-Mode 2 it would drop the right-hand half of the stack.
    if (mode == 1.0f) {
        EXPECT_LE(value(p, kParamSharedFilter), 0.1f) << name;
    }
    // Glide belongs to lines played one note at a time: unison or four-voice programs.
    const int32_t voices = static_cast<int32_t>(value(p, kParamVoiceCount) * 100.01f);
    if (value(p, kParamGlide) > 0.0f) {
        EXPECT_TRUE(mode == 1.0f || voices == 4) << name;
    }
    // Bells and metal ring through frequency modulation.
    if (nameHas(p, "Bell") || nameHas(p, "Metal") || nameHas(p, "Steel")) {
        EXPECT_NE(value(p, kParamOscRouting), 0.0f) << name;
    }
    // Kicks fall in pitch on the percussive envelope; hats are inharmonic FM through a high-pass.
    if (isKick(p)) {
        EXPECT_EQ(value(p, kParamPercEnv), 1.0f) << name;
        EXPECT_GT(value(p, kParamPitchUpAmount), 0.0f) << name;
    }
    if (nameHas(p, "Hihat")) {
        EXPECT_EQ(static_cast<int32_t>(value(p, kParamFltType) * 4.01f), 1) << name;
        EXPECT_NE(value(p, kParamOscRouting), 0.0f) << name;
        const int32_t fineSteps = static_cast<int32_t>(value(p, kParamOsc2Fine) * 128.0f) - 64;
        EXPECT_NE(fineSteps, 0) << name << ": the modulator must not sit on a harmonic";
    }
}

INSTANTIATE_TEST_SUITE_P(DesignedPrograms, FactoryDesignRules, testing::Range(1, kNumPrograms - 1));
