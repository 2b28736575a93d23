// The compiled-in parameter table and factory bank.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <tuple>

#include "engine/ParamControlTable.h"
#include "engine/ProgramBank.h"

namespace {

// FNV-1a over bytes: a digest of data that must never change.
uint64_t digest(uint64_t h, const void* data, size_t n)
{
    for (size_t i = 0; i < n; ++i) h = (h ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211ull;
    return h;
}

const std::set<int> kParallelRoutingPrograms = {0, 1, 8, 11, 14, 18, 25, 30, 37, 43, 44};
const std::set<int> kBeyondBankWavePrograms = {34, 36, 42, 81};

} // namespace

// The 128 names (NUL-padded) and the values of "Finest Art" and "Init Patch" are fixed: hosts'
// projects and the editor's menu rely on them. A digest guards every byte; a few shown here.
TEST(ProgramBank, NamesAndTabledProgramsAreExact)
{
    EXPECT_TRUE(sizeof(ProgramRecord) == 360u && sizeof(ProgramBank) == 46080u);
    EXPECT_EQ(offsetof(ProgramRecord, value), 32u);
    uint64_t names = 14695981039346656037ull, values = names;
    for (int p = 0; p < kNumPrograms; ++p) names = digest(names, factoryBank[p].name, kProgramNameSize);
    for (int p : {0, kNumPrograms - 1}) values = digest(values, factoryBank[p].value, sizeof(float) * kNumParams);
    EXPECT_EQ(names, 0x4e46dd0467c90a7ull);
    EXPECT_EQ(values, 0x84a1df766f34cb7eull);
    for (auto [p, name] : {std::pair{0, "Finest Art"}, {6, "Dravenor Bass II"}, {68, "Dirt Kick A3"}, {127, "Init Patch"}})
        EXPECT_STREQ(factoryBank[p].name, name);
    EXPECT_TRUE(factoryBank[0].value[0] == 0.515f && factoryBank[0].value[28] == 2.0f && factoryBank[127].value[29] == 1.0f);
}

// The facts other parts of the system rely on, for every program.
TEST(ProgramBank, EveryProgramHoldsTheFixedFacts)
{
    for (int p = 0; p < kNumPrograms; ++p) {
        const float* v = factoryBank[p].value;
        const float routing = v[kParamOscRouting];
        EXPECT_TRUE(routing == 0.0f || routing == 1.0f || routing == 2.0f) << p;
        EXPECT_EQ(routing == 2.0f, kParallelRoutingPrograms.count(p) == 1) << p;
        EXPECT_EQ(v[kParamOsc1Wave] == 2.578f, kBeyondBankWavePrograms.count(p) == 1) << p;
        EXPECT_TRUE(v[kParamVoiceCount] >= 0.04f && v[kParamVoiceCount] <= 0.12f) << p;
        EXPECT_TRUE(v[kParamBendRange] == 0.02f && v[kParamGlideType] == 0.0f && v[kParamModWheel] == 0.0f) << p;
        EXPECT_TRUE(v[kParamUnused63] == 0.0f && v[kParamUnused64] == 0.0f) << p;
        for (int i = 0; i < kNumParams; ++i) {
            const bool free = i == kParamOscRouting || (i == kParamOsc1Wave && v[i] == 2.578f);
            EXPECT_TRUE(free || (v[i] >= 0.0f && v[i] <= 1.0f)) << p << " " << i;
        }
        // It sounds: Osc1 (the voice output in every routing) plays a wave, and the output has gain.
        EXPECT_TRUE(int(v[kParamOsc1Wave] * 39.99f) >= 1 && v[kParamOutGain] > 0.0f) << p;
    }
}

// The editor builds its controls from this fixed table: names (at most 11 characters, "-"
// where there is no control, empty for the editor-only entries), kinds, switch variants and
// positions; a digest guards every byte, the rectangles starting empty.
TEST(ParamControlTable, NamesKindsAndSteps)
{
    EXPECT_EQ(digest(14695981039346656037ull, paramControlTable, sizeof(ParamControlInfo) * kNumControls),
              0x8f790c780ac001a1ull);
    for (int i = 0; i < kNumControls; ++i) {
        const ParamControlInfo& info = paramControlTable[i];
        const bool dashed = i == 59 || i == 60 || i == 61 || i == 63 || i == 64;
        EXPECT_EQ(std::strcmp(info.name, "-") == 0, dashed) << i;
        EXPECT_EQ(info.kind == kNoControl, dashed) << i;
        EXPECT_EQ(std::strlen(info.name) == 0, i >= kNumParams) << i;
        EXPECT_LE(std::strlen(info.name), 11u) << i;
    }
    for (auto [index, name, kind, steps] :
         {std::tuple{0, "Osc1-C", kKnobControl, 128}, {28, "Osc-Routing", kDiagramSelectorControl, 128},
          {32, "Voice-Mode", kVerticalSwitchControl, 3}, {33, "Flt-Type", kVerticalSwitchControl, 4},
          {62, "SharedFilt", kOnOffButtonControl, 1}, {85, "", kKeyboardControl, 128}}) {
        EXPECT_STREQ(paramControlTable[index].name, name);
        EXPECT_TRUE(paramControlTable[index].kind == kind && paramControlTable[index].steps == steps) << index;
    }
}
