// Quilm.so under MIDI control and host automation: the controller map, the special
// controllers, program changes with bank select, the host-vendor switches, live
// parameter values and sample-rate changes.
#include <cmath>
#include <cstring>

#include "ModuleHost.h"
#include "tests/common/TestCaseName.h"

namespace {

// Which parameter each MIDI controller moves (-1: none), written out from the
// documented map rather than computed the way the plug-in does.
int32_t expectedParameter(int cc) {
    if (cc == 1) return 72;
    if (cc == 5) return 7;
    if ((cc >= 16 && cc <= 31) || (cc >= 33 && cc <= 63) || (cc >= 65 && cc <= 97)) return cc - 16;
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
        const bool holds = target >= 0 && std::fabs(before[static_cast<std::size_t>(target)] - 33.0f / 127.0f) < 1e-6f;
        const uint8_t value = holds ? 34 : 33;
        block({midiEvent(0, 0xB0 | (cc % 16), static_cast<uint8_t>(cc), value)});
        std::vector<float> after = parameters();
        for (int32_t p = 0; p < 82; ++p) {
            float expected = p == target ? static_cast<float>(value / 127.0) : before[static_cast<std::size_t>(p)];
            EXPECT_EQ(after[static_cast<std::size_t>(p)], expected) << "controller " << cc << " parameter " << p;
        }
    }
    // A pitch bend also moves the editor's wheel (86).
    block({midiEvent(0, 0xE0, 1, 96)});
    EXPECT_FLOAT_EQ(host->getParameter(86), 96.0f / 127.0f + 1.0f / 16129.0f);
    // An "Image-Line" host moves no parameter by controllers.
    ASSERT_TRUE(loadModule("Image-Line"));
    std::vector<float> before = parameters();
    for (uint8_t cc : {1, 5, 20, 110}) block({midiEvent(0, 0xB0, cc, 127)});
    EXPECT_EQ(parameters(), before);
}

TEST_F(ModuleTest, AllSoundOffSilencesAtOnce) {
    block({midiEvent(0, 0x90, 60, 127), midiEvent(0, 0x90, 67, 127)});
    for (int i = 0; i < 10; ++i) block({});
    EXPECT_FALSE(hasSound(block({midiEvent(0, 0xB0, 123, 0)})));
}

TEST_F(ModuleTest, ProgramChangesLoadOnlyProgramsOfTheBank) {
    struct Step {
        int bank;          // -1: no bank select before the MIDI program change; -2: effSetProgram instead
        intptr_t program;  // the data byte or the dispatcher's value
        int32_t expected;  // current program afterwards
        bool loads;        // the stored values replace the edit made before
    };
    const Step steps[] = {
        {-1, 5, 5, true},    {1, 5, 5, false},     {1, 0, 5, false},  // bank 1: programs 128 and up
        {-1, 7, 5, false},   {0, 7, 7, true},      {0, 127, 127, true},  {-1, 9, 9, true},
        {-2, 128, 9, false}, {-2, -1, 9, false},   {-2, intptr_t{1} << 40, 9, false},
        {-2, -(intptr_t{1} << 40), 9, false},      {-2, 5, 5, true},     {-2, 127, 127, true}};
    for (const Step& s : steps) {
        host->setParameter(16, 0.321f);
        if (s.bank == -2) {
            host->dispatch(effSetProgram, 0, s.program);
        } else {
            std::vector<VstMidiEvent> events;
            if (s.bank >= 0) events.push_back(midiEvent(0, 0xB3, 32, static_cast<uint8_t>(s.bank)));
            events.push_back(midiEvent(0, 0xC3, static_cast<uint8_t>(s.program)));
            block(events);
        }
        EXPECT_EQ(host->dispatch(effGetProgram), s.expected) << s.bank << " " << s.program;
        EXPECT_EQ(host->getParameter(16) != 0.321f, s.loads) << s.bank << " " << s.program;
    }
    EXPECT_EQ(host->dispatchText(effGetProgramName), "Init Patch");
    host->dispatch(effSetProgram, 0, 5);
    EXPECT_EQ(host->dispatchText(effGetProgramName), "Dravenor Bass I");
}

TEST_F(ModuleTest, HostReadsBackTheLiveValueLimitedToItsRange) {
    struct Case {
        int32_t index;
        float value, read;
    };
    const Case cases[] = {{3, 0.75f, 0.75f}, {28, 1.0f, 1.0f},  {28, 2.0f, 2.0f}, {28, 3.5f, 2.0f},  // Osc-Routing
                          {16, 1.5f, 1.0f},  {16, -1.0f, 0.0f}, {16, NAN, 0.0f},  {-1, 0.5f, 0.0f}, {500, 0.5f, 0.0f}};
    for (const Case& c : cases) {
        host->setParameter(16, 0.0f);
        host->setParameter(c.index, c.value);
        EXPECT_EQ(host->getParameter(c.index), c.read) << c.index << " " << c.value;
    }
    // Non-finite values change nothing and the output stays finite.
    std::vector<float> before = parameters();
    for (float bad : {NAN, INFINITY, -INFINITY}) {
        for (int32_t i = 0; i < 82; ++i) host->setParameter(i, bad);
    }
    EXPECT_EQ(parameters(), before);
    for (const auto& channel : block({midiEvent(0, 0x90, 60, 100)})) {
        for (float sample : channel) ASSERT_TRUE(std::isfinite(sample));
    }
    // What the host reads back restores the same values in a new instance.
    ASSERT_TRUE(loadModule());
    for (int32_t i = 0; i < 82; ++i) host->setParameter(i, before[static_cast<std::size_t>(i)]);
    EXPECT_EQ(parameters(), before);
}

TEST_F(ModuleTest, SampleRateChangeSilencesAndKeepsLiveEdits) {
    block({midiEvent(0, 0x90, 60, 127)});
    for (int i = 0; i < 10; ++i) block({});
    host->setParameter(16, 0.2f);
    host->setParameter(43, 0.9f);
    std::vector<float> before = parameters();
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(parameters(), before);
    EXPECT_EQ(host->dispatch(effGetProgram), 0);
    host->settings.sampleRate = 48000.0f;
    EXPECT_FALSE(hasSound(block({})));
    // The instance plays as an engine at that rate with those values does.
    ASSERT_TRUE(loadModule());
    for (int32_t i = 0; i < 82; ++i) host->setParameter(i, before[static_cast<std::size_t>(i)]);
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    for (float bad : {0.0f, -44100.0f, NAN, INFINITY}) host->dispatch(effSetSampleRate, 0, 0, nullptr, bad);  // refused
    auto played = block({midiEvent(0, 0x90, 60, 100)});
    ReferenceEngine reference(48000.0);
    for (int32_t i = 0; i < 82; ++i) reference.setParameter(i, before[static_cast<std::size_t>(i)]);
    reference.engine.noteOn(60, 100, 0);
    std::vector<std::vector<float>> expected(2, std::vector<float>(kBlock, 0.0f));
    reference.render(expected, 0, kBlock);
    EXPECT_EQ(played, expected);
}

// Program changes clear the chorus lines, except under the two hosts known to keep them.
class ChorusTail : public ModuleTest, public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(ChorusTail, SurvivesAProgramChangeOnlyForTheTwoHosts) {
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

INSTANTIATE_TEST_SUITE_P(Vendors, ChorusTail,
                         ::testing::Values(std::pair{"Steinberg", true}, std::pair{"Image-Line", true},
                                           std::pair{"Other", false}),
                         [](const auto& info) { return camelCaseName(info.param.first); });
