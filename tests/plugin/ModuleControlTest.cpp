// Quilm.so under MIDI control and host automation: the controller map, the
// special controllers, program changes with bank select, the host-vendor
// switches and live parameter values.
#include <cctype>
#include <cmath>
#include <cstring>

#include "ModuleHost.h"

namespace {

// Which parameter each MIDI controller moves (-1: none), written out from the
// documented map rather than computed the way the plug-in does.
int32_t expectedParameter(int cc) {
    if (cc == 1) return 72;
    if (cc == 5) return 7;
    if (cc >= 16 && cc <= 31) return cc - 16;
    if (cc >= 33 && cc <= 63) return cc - 16;
    if (cc >= 65 && cc <= 97) return cc - 16;
    if (cc == 110) return 16;
    if (cc == 111) return 48;
    return -1;
}

}  // namespace

TEST_F(ModuleTest, EveryControllerMovesExactlyItsMappedParameter) {
    for (int cc = 0; cc < 128; ++cc) {
        if (cc == 123) continue;  // resets the sound; checked on its own
        std::vector<float> before = parameters();
        int32_t target = expectedParameter(cc);
        // A value the parameter does not hold yet.
        uint8_t value = (target >= 0 && std::fabs(before[static_cast<std::size_t>(target)] - 33.0f / 127.0f) < 1e-6f)
                            ? 34
                            : 33;
        block({midiEvent(0, 0xB0 | (cc % 16), static_cast<uint8_t>(cc), value)});
        std::vector<float> after = parameters();
        for (int32_t p = 0; p < 82; ++p) {
            float expected = p == target ? static_cast<float>(value / 127.0) : before[static_cast<std::size_t>(p)];
            EXPECT_EQ(after[static_cast<std::size_t>(p)], expected) << "controller " << cc << " parameter " << p;
        }
    }
}

TEST_F(ModuleTest, ControllersSharingAParameter) {
    struct Case {
        uint8_t cc;
        int32_t parameter;
    };
    for (const Case c : {Case{23, 7}, Case{5, 7}, Case{88, 72}, Case{1, 72}, Case{110, 16}, Case{111, 48},
                         Case{20, 4}}) {
        block({midiEvent(0, 0xB0, c.cc, 127)});
        EXPECT_EQ(host->getParameter(c.parameter), 1.0f) << int(c.cc);
        block({midiEvent(0, 0xB0, c.cc, 0)});
        EXPECT_EQ(host->getParameter(c.parameter), 0.0f) << int(c.cc);
    }
}

TEST_F(ModuleTest, AllSoundOffSilencesAtOnce) {
    block({midiEvent(0, 0x90, 60, 127), midiEvent(0, 0x90, 67, 127)});
    for (int i = 0; i < 10; ++i) block({});
    auto out = block({midiEvent(0, 0xB0, 123, 0)});
    EXPECT_FALSE(hasSound(out));
}

TEST_F(ModuleTest, SustainPedalChangesNothing) {
    std::vector<float> before = parameters();
    block({midiEvent(0, 0xB0, 64, 127)});
    EXPECT_EQ(parameters(), before);
}

TEST_F(ModuleTest, ImageLineHostsKeepParametersFromControllers) {
    ASSERT_TRUE(loadModule("Image-Line"));
    std::vector<float> before = parameters();
    for (uint8_t cc : {1, 5, 20, 110}) block({midiEvent(0, 0xB0, cc, 127)});
    EXPECT_EQ(parameters(), before);
}

TEST_F(ModuleTest, ProgramChangeWithBankSelect) {
    struct Step {
        int bank;      // -1: no bank select before the change
        int program;   // data byte of the program change
        int expected;  // current program afterwards
    };
    const Step steps[] = {{-1, 5, 5}, {1, 5, 5}, {-1, 7, 5}, {0, 7, 7}, {0, 127, 127}, {-1, 0, 0}};
    for (const Step& s : steps) {
        std::vector<VstMidiEvent> events;
        if (s.bank >= 0) events.push_back(midiEvent(0, 0xB3, 32, static_cast<uint8_t>(s.bank)));
        events.push_back(midiEvent(0, 0xC3, static_cast<uint8_t>(s.program)));
        block(events);
        EXPECT_EQ(host->dispatch(effGetProgram), s.expected) << s.bank << " " << s.program;
    }
}

TEST_F(ModuleTest, ProgramChangeLoadsTheStoredValues) {
    host->dispatch(effSetProgram, 0, 5);
    std::vector<float> program5 = parameters();
    host->setParameter(16, 0.123f);
    EXPECT_EQ(host->getParameter(16), 0.123f);
    host->dispatch(effSetProgram, 0, 5);
    EXPECT_EQ(parameters(), program5);
    EXPECT_EQ(host->dispatchText(effGetProgramName), "Dravenor Bass I");
}

TEST_F(ModuleTest, OutOfRangeProgramsChangeNothing) {
    host->dispatch(effSetProgram, 0, 9);
    host->setParameter(16, 0.321f);
    for (intptr_t program : {intptr_t{128}, intptr_t{-1}, intptr_t{1} << 40, -(intptr_t{1} << 40)}) {
        host->dispatch(effSetProgram, 0, program);
        EXPECT_EQ(host->dispatch(effGetProgram), 9) << program;
        EXPECT_EQ(host->getParameter(16), 0.321f) << program;
    }
    host->dispatch(effSetProgram, 0, 127);
    EXPECT_EQ(host->dispatch(effGetProgram), 127);
    EXPECT_EQ(host->dispatchText(effGetProgramName), "Init Patch");
}

TEST_F(ModuleTest, GetParameterAnswersTheLiveValue) {
    host->setParameter(3, 0.75f);
    EXPECT_EQ(host->getParameter(3), 0.75f);
    host->setParameter(28, 1.0f);  // Osc-Routing carries 0, 1 or 2
    EXPECT_EQ(host->getParameter(28), 1.0f);
    EXPECT_EQ(host->getParameter(-1), 0.0f);
    EXPECT_EQ(host->getParameter(500), 0.0f);
    // Saving what the host reads back and restoring it into a new instance
    // restores the sound: the values survive a round trip.
    std::vector<float> saved = parameters();
    ASSERT_TRUE(loadModule());
    for (int32_t i = 0; i < 82; ++i) host->setParameter(i, saved[static_cast<std::size_t>(i)]);
    EXPECT_EQ(parameters(), saved);
}

TEST_F(ModuleTest, NonFiniteValuesChangeNothing) {
    std::vector<float> before = parameters();
    for (float bad : {NAN, INFINITY, -INFINITY}) {
        for (int32_t i = 0; i < 82; ++i) host->setParameter(i, bad);
    }
    EXPECT_EQ(parameters(), before);
    auto out = block({midiEvent(0, 0x90, 60, 100)});
    for (const auto& channel : out) {
        for (float sample : channel) ASSERT_TRUE(std::isfinite(sample));
    }
}

TEST_F(ModuleTest, SampleRateChangeKeepsLiveEdits) {
    host->setParameter(16, 0.2f);
    host->setParameter(43, 0.9f);
    std::vector<float> before = parameters();
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(parameters(), before);
    EXPECT_EQ(host->dispatch(effGetProgram), 0);
    // The instance plays as an engine at that rate with those values does.
    host->settings.sampleRate = 48000.0f;
    auto played = block({midiEvent(0, 0x90, 60, 100)});
    ReferenceEngine reference(48000.0);
    for (int32_t i = 0; i < 82; ++i) reference.setParameter(i, before[static_cast<std::size_t>(i)]);
    reference.engine.noteOn(60, 100, 0);
    std::vector<std::vector<float>> expected(2, std::vector<float>(kBlock, 0.0f));
    reference.render(expected, 0, kBlock);
    EXPECT_EQ(played, expected);
}

TEST_F(ModuleTest, SampleRateChangeSilencesTheVoices) {
    block({midiEvent(0, 0x90, 60, 127)});
    for (int i = 0; i < 10; ++i) block({});
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    EXPECT_FALSE(hasSound(block({})));
}

// Program changes clear the chorus lines, except under hosts known to keep them.
class ChorusOnProgramChange : public ModuleTest, public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(ChorusOnProgramChange, TailSurvivesOnlyForTheTwoHosts) {
    const auto [vendor, keepsTail] = GetParam();
    ASSERT_TRUE(loadModule(vendor));
    host->setParameter(43, 1.0f);  // a full chorus
    host->setParameter(10, 1.0f);  // notes held at full level
    block({midiEvent(0, 0x90, 60, 127), midiEvent(0, 0x90, 64, 127)});
    // Fill both chorus lines once round (200000 frames), so whatever part of
    // them is read after the change holds sound.
    for (int i = 0; i < 200000 / kBlock + 100; ++i) block({});
    host->dispatch(effSetProgram, 0, 0);
    bool sound = false;
    for (int i = 0; i < 40 && !sound; ++i) sound = hasSound(block({}));
    EXPECT_EQ(sound, keepsTail) << vendor;
}

INSTANTIATE_TEST_SUITE_P(Vendors, ChorusOnProgramChange,
                         ::testing::Values(std::pair<const char*, bool>{"Steinberg", true},
                                           std::pair<const char*, bool>{"Image-Line", true},
                                           std::pair<const char*, bool>{"steinberg", false},
                                           std::pair<const char*, bool>{"Steinberg Media", false},
                                           std::pair<const char*, bool>{"Quilm Test Host", false},
                                           std::pair<const char*, bool>{"", false}),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param.first; *c != '\0'; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             }
                             return (name.empty() ? "Empty" : name) + std::to_string(info.index);
                         });
