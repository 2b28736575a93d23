// The compiled-in parameter table and factory bank.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "engine/ParamControlTable.h"
#include "engine/ProgramBank.h"

namespace {

const char* const kExpectedNames[kNumPrograms] = {
    "Finest Art", "Dub Organ", "Bellpad", "Bottle Blow", "Bamboo", "Dravenor Bass I",
    "Dravenor Bass II", "Cute Lead", "Hard Pluck", "Wabber", "Glasshopper", "Monopad", "Wide Bass",
    "Wide Saw", "Sleep Well", "Funk Bass", "Reso Bass", "Another Lead", "Another Pad", "Obo",
    "Heavy Metal", "Useful Bass", "Room Bass", "Solid Dub Bass", "Rave Bass", "Reed Bleed",
    "Soft Ethno Bell", "Hornet", "Woody Bass", "Lead On", "Celestial Bell", "Echo Lead",
    "Filter Pad", "Harmless", "Voice Pad", "Harpsi", "Growing Pad", "Lullaby Pad", "Friendly",
    "Organ Synth", "Not-so-friendly", "Hostile", "Dark Drones", "Moody Keys", "Bubble Bath",
    "Beauty Pad", "Lonesome Pad", "Wabber Pad", "Organ Pad", "Muted Trumpet", "FM Brass",
    "FM Hammer", "FM Pad I", "FM Pad II", "Cheapo Clarinet", "Cheapo Organ", "Cheapo Sax",
    "Cheapo Synth", "Cheapo Violin", "Good Bass 1", "Good Bass 2", "Fretless Deep", "Nice Lead",
    "Perc Lead", "Saw Lead I", "Saw Lead II", "Deep Kick A 3", "Phat Kick A 3", "Dirt Kick A3",
    "Closed Hihat", "Open Hihat", "Steel Drum", "Tom Drum I", "Tom Drum II", "Plucked Lead",
    "Dual Saw", "Dual Brass", "Acid Lead 1", "Acid Lead 2", "Nice Square", "Saw Pad", "Wow Pad",
    "Disco Tom", "Lively Lead", "Fifth Element", "Hollow Sky", "Woop Bass", "Butterflies",
    "Bass Organ Stab", "Voiced Lead", "Club Bass", "Jungle Sub", "Sub Organ", "Solid Woof",
    "Space Wow", "Windy Horn", "Pleasant Organ", "Club Organ", "Ethnic Perc", "Plucked Bass",
    "Synth Clap", "I'm Morphing", "Worf", "Deep Drivin'", "Dravenistix", "Canada", "Nasty Edge",
    "True Love", "Pure Evil", "SyntheSax", "Lead or Bass", "Thingonastring", "Keys Please", "How",
    "Distorted Lead", "Unison Synth I", "Unison Synth II", "Funky Bassline", "Arp Pluck I",
    "Arp Pluck II", "Arp Lead", "Wabber Bass", "Nice Bass", "Double Note", "Dravenor Attack",
    "Times Square", "Accordion", "Init Patch",
};

const float kExpectedFinestArt[kNumParams] = {
    0.515f, 0.509f, 0.0f, 0.0f, 0.648f, 0.141f, 0.359f, 0.0f, 0.0f, 0.695f, 0.0f, 0.794f, 0.505f,
    0.51f, 0.0f, 0.814f, 0.672f, 0.273f, 0.446f, 0.0f, 0.144f, 0.0f, 0.0f, 0.687f, 0.872f, 0.026f,
    0.0f, 0.0f, 2.0f, 0.0f, 1.0f, 0.06f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.352f, 0.0f, 0.563f,
    0.406f, 0.563f, 0.275f, 0.906f, 0.0f, 0.617f, 1.0f, 0.813f, 0.234f, 0.203f, 0.154f, 0.586f,
    0.461f, 0.0f, 0.0f, 1.0f, 0.227f, 0.59f, 0.07f, 0.02f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.51f,
    0.485f, 0.58f, 0.125f, 0.625f, 0.285f, 0.0f, 0.91f, 0.0f, 0.0f, 0.07f, 0.0f, 0.0f, 0.07f, 0.0f,
    0.0f,
};

const float kExpectedInitPatch[kNumParams] = {
    0.516f, 0.528f, 0.0f, 0.0f, 0.606f, 0.0f, 0.047f, 0.0f, 0.0f, 1.0f, 0.52f, 0.427f, 0.516f,
    0.525f, 0.0f, 1.0f, 1.0f, 0.008f, 0.0f, 0.494f, 0.0f, 0.502f, 0.515f, 0.636f, 0.026f, 0.026f,
    0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.496f, 1.0f, 0.0f, 0.75f,
    0.567f, 0.981f, 0.0f, 0.876f, 0.102f, 0.511f, 1.0f, 1.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f,
    0.0f, 1.0f, 0.0f, 0.273f, 0.06f, 0.02f, 0.0f, 0.0f, 0.0f, 0.0f, 0.51f, 0.505f, 0.505f, 0.525f,
    0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.25f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
};

const std::set<int> kParallelRoutingPrograms = {0, 1, 8, 11, 14, 18, 25, 30, 37, 43, 44};
const std::set<int> kBeyondBankWavePrograms = {34, 36, 42, 81};

} // namespace

TEST(ProgramBank, RecordAndBankSizes)
{
    EXPECT_EQ(sizeof(ProgramRecord), 360u);
    EXPECT_EQ(sizeof(ProgramBank), 46080u);
    EXPECT_EQ(offsetof(ProgramRecord, value), 32u);
    EXPECT_EQ(sizeof(ParamControlInfo), 64u);
}

TEST(ProgramBank, NamesAreExactAndNulPadded)
{
    for (int p = 0; p < kNumPrograms; ++p) {
        const ProgramRecord& record = factoryBank[p];
        EXPECT_STREQ(record.name, kExpectedNames[p]) << "program " << p;
        for (size_t i = std::strlen(record.name); i < sizeof(record.name); ++i)
            EXPECT_EQ(record.name[i], 0) << "program " << p << " byte " << i;
    }
    EXPECT_EQ(std::strlen(factoryBank[6].name), 16u);  // "Dravenor Bass II", the longest
}

TEST(ProgramBank, TabledProgramsAreExact)
{
    for (int i = 0; i < kNumParams; ++i) {
        EXPECT_EQ(factoryBank[0].value[i], kExpectedFinestArt[i]) << "Finest Art value " << i;
        EXPECT_EQ(factoryBank[127].value[i], kExpectedInitPatch[i]) << "Init Patch value " << i;
    }
}

// The facts other parts of the system rely on, checked for every program.
class FactoryProgramFacts : public testing::TestWithParam<int> {};

TEST_P(FactoryProgramFacts, HoldsTheFixedFacts)
{
    const int p = GetParam();
    const float* v = factoryBank[p].value;
    const float routing = v[kParamOscRouting];
    EXPECT_TRUE(routing == 0.0f || routing == 1.0f || routing == 2.0f) << routing;
    EXPECT_EQ(routing == 2.0f, kParallelRoutingPrograms.count(p) == 1);
    EXPECT_EQ(v[kParamOsc1Wave] == 2.578f, kBeyondBankWavePrograms.count(p) == 1);
    EXPECT_GE(v[kParamVoiceCount], 0.04f);
    EXPECT_LE(v[kParamVoiceCount], 0.12f);
    EXPECT_EQ(v[kParamBendRange], 0.02f);
    EXPECT_EQ(v[kParamGlideType], 0.0f);
    EXPECT_EQ(v[kParamUnused63], 0.0f);
    EXPECT_EQ(v[kParamUnused64], 0.0f);
    EXPECT_EQ(v[kParamModWheel], 0.0f);
    for (int i = 0; i < kNumParams; ++i) {
        if (i == kParamOscRouting || (i == kParamOsc1Wave && v[i] == 2.578f)) continue;
        EXPECT_GE(v[i], 0.0f) << "parameter " << i;
        EXPECT_LE(v[i], 1.0f) << "parameter " << i;
    }
    // It sounds: Osc1 (the voice output in every routing) plays a wave, and the output has gain.
    EXPECT_GE(static_cast<int>(v[kParamOsc1Wave] * 39.99f), 1);
    EXPECT_GT(v[kParamOutGain], 0.0f);
}

INSTANTIATE_TEST_SUITE_P(AllPrograms, FactoryProgramFacts, testing::Range(0, kNumPrograms));

TEST(ParamControlTable, NoControlEntriesAreDashed)
{
    for (int i = 0; i < kNumParams; ++i) {
        const ParamControlInfo& info = paramControlTable[i];
        const bool dashed = i == 59 || i == 60 || i == 61 || i == 63 || i == 64;
        EXPECT_EQ(std::strcmp(info.name, "-") == 0, dashed) << i;
        EXPECT_EQ(info.kind == kNoControl, dashed) << i;
        EXPECT_GT(std::strlen(info.name), 0u) << i;
        EXPECT_LE(std::strlen(info.name), 11u) << i;
    }
}

TEST(ParamControlTable, EditorOnlyEntriesHaveEmptyNames)
{
    const ControlKind kinds[10] = {kOptionsMenuControl, kProgramMenuControl, kLogoLinkControl,
                                   kKeyboardControl, kWheelControl, kWaveStepControl,
                                   kWaveStepControl, kProgramStepControl, kWaveChooserControl,
                                   kWaveChooserControl};
    for (int i = kNumParams; i < kNumControls; ++i) {
        EXPECT_STREQ(paramControlTable[i].name, "") << i;
        EXPECT_EQ(paramControlTable[i].kind, kinds[i - kNumParams]) << i;
        EXPECT_EQ(paramControlTable[i].steps, 128) << i;
    }
}

TEST(ParamControlTable, VariantsStepsAndRectangles)
{
    for (int i = 0; i < kNumControls; ++i) {
        const ParamControlInfo& info = paramControlTable[i];
        EXPECT_EQ(info.variant, (i == 33 || i == 86) ? 1 : 0) << i;
        const int steps = i == 32 ? 3 : i == 33 ? 4 : (i == 34 || i == 62) ? 1 : 128;
        EXPECT_EQ(info.steps, steps) << i;
        EXPECT_EQ(info.left | info.top | info.right | info.bottom, 0) << i;
        EXPECT_EQ(info.name[35], 0) << i;
    }
}

struct NamedEntry {
    int index;
    const char* name;
    ControlKind kind;
};

class ParamControlEntries : public testing::TestWithParam<NamedEntry> {};

TEST_P(ParamControlEntries, NameAndKind)
{
    const NamedEntry& e = GetParam();
    EXPECT_STREQ(paramControlTable[e.index].name, e.name);
    EXPECT_EQ(paramControlTable[e.index].kind, e.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, ParamControlEntries,
    testing::Values(NamedEntry{0, "Osc1-C", kKnobControl}, NamedEntry{3, "Level/RM", kKnobControl},
                    NamedEntry{4, "LFO Rate", kKnobControl}, NamedEntry{16, "Flt-Cut", kKnobControl},
                    NamedEntry{24, "Osc1W", kWaveDisplayControl},
                    NamedEntry{25, "Osc2W", kWaveDisplayControl},
                    NamedEntry{27, "LFO-Sync", kOnOffButtonControl},
                    NamedEntry{28, "Osc-Routing", kDiagramSelectorControl},
                    NamedEntry{32, "Voice-Mode", kVerticalSwitchControl},
                    NamedEntry{33, "Flt-Type", kVerticalSwitchControl},
                    NamedEntry{34, "Flt-Inv", kOnOffButtonControl},
                    NamedEntry{59, "-", kNoControl}, NamedEntry{62, "SharedFilt", kOnOffButtonControl},
                    NamedEntry{72, "Modwheel", kWheelControl}, NamedEntry{81, "AT-Osc3", kKnobControl},
                    NamedEntry{85, "", kKeyboardControl}));
