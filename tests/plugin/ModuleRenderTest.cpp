// Quilm.so playing: sample-accurate notes, the note queue's limits, pitch bend,
// channel pressure and the tempo it asks the host for, compared bit for bit
// with the engine driven directly.
#include <array>
#include <cmath>
#include <cstring>

#include "ModuleHost.h"

namespace {

using Block = std::vector<std::vector<float>>;

Block silentBlock(int32_t frames) { return Block(2, std::vector<float>(static_cast<std::size_t>(frames), 0.0f)); }

void expectIdentical(const Block& actual, const Block& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t c = 0; c < actual.size(); ++c) {
        ASSERT_EQ(actual[c].size(), expected[c].size());
        for (std::size_t i = 0; i < actual[c].size(); ++i) {
            // Bit for bit: compare the representations, so -0.0 and NaN count too.
            ASSERT_EQ(std::memcmp(&actual[c][i], &expected[c][i], sizeof(float)), 0)
                << "channel " << c << " frame " << i << ": " << actual[c][i] << " vs " << expected[c][i];
        }
    }
}

}  // namespace

TEST_F(ModuleTest, NoteOnAtFrame37IsBitIdenticalToTheEngine) {
    Block played = block({midiEvent(37, 0x90, 60, 100)});
    Block more = block({});

    ReferenceEngine reference;
    Block expected = silentBlock(kBlock);
    reference.render(expected, 0, 37);
    reference.engine.noteOn(60, 100, 0);
    reference.render(expected, 37, kBlock - 37);
    Block expectedMore = silentBlock(kBlock);
    reference.render(expectedMore, 0, kBlock);

    expectIdentical(played, expected);
    expectIdentical(more, expectedMore);
    if (!hasSound(expectedMore)) GTEST_SKIP() << "the engine renders no sound yet";
    for (int i = 0; i < 37; ++i) EXPECT_EQ(played[0][static_cast<std::size_t>(i)], 0.0f) << i;
}

TEST_F(ModuleTest, NotesAtTheSameFrameStartInArrivalOrderWithoutAGap) {
    Block played = block({midiEvent(10, 0x90, 60, 100), midiEvent(10, 0x91, 64, 90), midiEvent(5, 0x92, 67, 80)});
    ReferenceEngine reference;
    Block expected = silentBlock(kBlock);
    reference.render(expected, 0, 10);
    reference.engine.noteOn(60, 100, 0);
    reference.engine.noteOn(64, 90, 0);
    reference.engine.noteOn(67, 80, 0);  // earlier offset after a later one: acts at frame 10
    reference.render(expected, 10, kBlock - 10);
    expectIdentical(played, expected);
}

TEST_F(ModuleTest, OffsetsOutsideTheBlockActAtItsEdges) {
    // A host bug (offset past the block or negative) must neither write past the
    // buffers nor render backwards: the note acts at the last or the first frame.
    Block played = block({midiEvent(-20, 0x90, 48, 100), midiEvent(5000, 0x90, 55, 100)});
    ReferenceEngine reference;
    Block expected = silentBlock(kBlock);
    reference.engine.noteOn(48, 100, 0);
    reference.render(expected, 0, kBlock - 1);
    reference.engine.noteOn(55, 100, 0);
    reference.render(expected, kBlock - 1, 1);
    expectIdentical(played, expected);
}

TEST_F(ModuleTest, DataBytesAreMaskedToSevenBits) {
    Block played = block({midiEvent(0, 0x90, 0x80 | 60, 0x80 | 100)});
    ReferenceEngine reference;
    Block expected = silentBlock(kBlock);
    reference.engine.noteOn(60, 100, 0);
    reference.render(expected, 0, kBlock);
    expectIdentical(played, expected);
}

TEST_F(ModuleTest, AHundredNotesPerBlockAndControllersAfterThemStillAct) {
    std::vector<VstMidiEvent> events;
    for (int i = 0; i < 120; ++i) {
        events.push_back(midiEvent(i / 2, 0x90, static_cast<uint8_t>(20 + i % 80), 100));
    }
    events.push_back(midiEvent(0, 0xB0, 20, 127));  // controller 20 -> parameter 4
    Block played = block(events);
    EXPECT_EQ(host->getParameter(4), 1.0f);

    ReferenceEngine reference;
    reference.setParameter(4, 1.0f);
    Block expected = silentBlock(kBlock);
    int32_t pos = 0;
    for (int i = 0; i < 100; ++i) {
        int32_t frame = i / 2;
        if (frame > pos) {
            reference.render(expected, pos, frame - pos);
            pos = frame;
        }
        reference.engine.noteOn(static_cast<int8_t>(20 + i % 80), 100, 0);
    }
    reference.render(expected, pos, kBlock - pos);
    expectIdentical(played, expected);
    // The queue starts empty again in the next block.
    Block next = block({midiEvent(3, 0x90, 90, 100)});
    Block expectedNext = silentBlock(kBlock);
    reference.render(expectedNext, 0, 3);
    reference.engine.noteOn(90, 100, 0);
    reference.render(expectedNext, 3, kBlock - 3);
    expectIdentical(next, expectedNext);
}

TEST_F(ModuleTest, NoteOffAndVelocityZeroRelease) {
    block({midiEvent(0, 0x90, 60, 100), midiEvent(0, 0x90, 64, 100)});
    Block played = block({midiEvent(8, 0x80, 60, 30), midiEvent(16, 0x90, 64, 0)});
    ReferenceEngine reference;
    Block scratch = silentBlock(kBlock);
    reference.engine.noteOn(60, 100, 0);
    reference.engine.noteOn(64, 100, 0);
    reference.render(scratch, 0, kBlock);
    Block expected = silentBlock(kBlock);
    reference.render(expected, 0, 8);
    reference.engine.noteOff(60, 0);
    reference.render(expected, 8, 8);
    reference.engine.noteOff(64, 0);
    reference.render(expected, 16, kBlock - 16);
    expectIdentical(played, expected);
}

class PitchBendTest : public ModuleTest, public ::testing::WithParamInterface<std::array<int32_t, 3>> {};

TEST_P(PitchBendTest, BendIsRangeTimes128ScaledByTheFourteenBitValue) {
    const auto [lsb, msb, steps] = GetParam();
    host->setParameter(60, 0.03f);  // bend range 3 semitones
    Block played = block({midiEvent(0, 0xE0, static_cast<uint8_t>(lsb), static_cast<uint8_t>(msb)),
                          midiEvent(0, 0x90, 69, 100)});
    // The editor's wheel follows the bend.
    EXPECT_FLOAT_EQ(host->getParameter(86), static_cast<float>(msb) / 127.0f + static_cast<float>(lsb) / 16129.0f);
    ReferenceEngine reference;
    reference.setParameter(60, 0.03f);
    ASSERT_EQ(reference.engine.bendRange, 3);
    reference.setParameter(86, static_cast<float>(msb) / 127.0f + static_cast<float>(lsb) / 16129.0f);
    reference.engine.setPitchBend(steps);
    reference.engine.noteOn(69, 100, 0);
    Block expected = silentBlock(kBlock);
    reference.render(expected, 0, kBlock);
    expectIdentical(played, expected);
}

// Range 3 semitones: (384 x (value - 8192)) / 8192, truncated toward zero.
INSTANTIATE_TEST_SUITE_P(Values, PitchBendTest,
                         ::testing::Values(std::array<int32_t, 3>{0, 64, 0}, std::array<int32_t, 3>{127, 127, 383},
                                           std::array<int32_t, 3>{0, 0, -384}, std::array<int32_t, 3>{1, 64, 0},
                                           std::array<int32_t, 3>{0, 96, 192}, std::array<int32_t, 3>{127, 63, 0}));

TEST_F(ModuleTest, ChannelPressureSetsTheAftertouchAmount) {
    Block played = block({midiEvent(0, 0xD0, 127), midiEvent(0, 0x90, 60, 100)});
    Block later = block({});
    ReferenceEngine reference;
    reference.engine.channelPressure = 127.0f * 0.007874016f * 0.15f;
    reference.engine.noteOn(60, 100, 0);
    Block expected = silentBlock(kBlock);
    reference.render(expected, 0, kBlock);
    Block expectedLater = silentBlock(kBlock);
    reference.render(expectedLater, 0, kBlock);
    expectIdentical(played, expected);
    expectIdentical(later, expectedLater);
}

// Tempos the host may report; only a finite tempo in (0, 999] BPM is used.
class HostTempoTest : public ModuleTest, public ::testing::WithParamInterface<std::pair<double, float>> {};

TEST_P(HostTempoTest, OnlyASaneTempoReachesTheEngine) {
    const auto [reported, used] = GetParam();
    // Tempo-synced LFO and chorus make the tempo audible.
    host->setParameter(27, 1.0f);  // LFO-Sync
    host->setParameter(30, 1.0f);  // Ch-Sync
    host->settings.tempo = reported;
    Block played = block({midiEvent(0, 0x90, 60, 100)});
    for (int i = 0; i < 20; ++i) {
        Block more = block({});
        played[0].insert(played[0].end(), more[0].begin(), more[0].end());
        played[1].insert(played[1].end(), more[1].begin(), more[1].end());
    }
    ReferenceEngine reference;
    reference.setParameter(27, 1.0f);
    reference.setParameter(30, 1.0f);
    reference.engine.hostTempo = used;
    reference.engine.noteOn(60, 100, 0);
    Block expected = silentBlock(kBlock * 21);
    for (int i = 0; i < 21; ++i) reference.render(expected, i * kBlock, kBlock);
    expectIdentical(played, expected);
}

INSTANTIATE_TEST_SUITE_P(Tempos, HostTempoTest,
                         ::testing::Values(std::pair<double, float>{140.0, 1400000.0f},
                                           std::pair<double, float>{999.0, 9990000.0f},
                                           std::pair<double, float>{1000.0, 1200000.0f},
                                           std::pair<double, float>{0.0, 1200000.0f},
                                           std::pair<double, float>{-90.0, 1200000.0f},
                                           std::pair<double, float>{NAN, 1200000.0f},
                                           std::pair<double, float>{INFINITY, 1200000.0f}));

TEST_F(ModuleTest, NoTimeInfoOrNoValidTempoMeans120) {
    host->setParameter(27, 1.0f);
    host->settings.giveTimeInfo = false;
    Block noInfo = block({midiEvent(0, 0x90, 60, 100)});
    ASSERT_TRUE(loadModule());
    host->setParameter(27, 1.0f);
    host->settings.tempo = 200.0;
    host->settings.timeFlags = kVstTransportPlaying;  // tempo field not valid
    Block invalid = block({midiEvent(0, 0x90, 60, 100)});
    ReferenceEngine reference;
    reference.setParameter(27, 1.0f);
    reference.engine.noteOn(60, 100, 0);
    Block expected = silentBlock(kBlock);
    reference.render(expected, 0, kBlock);
    expectIdentical(noInfo, expected);
    expectIdentical(invalid, expected);
}

TEST_F(ModuleTest, ZeroFramesOrNoBuffersRenderNothingAndKeepTheNotes) {
    AEffect* e = host->effect();
    VstMidiEvent note = midiEvent(0, 0x90, 60, 100);
    host->sendEvents(&note, 1);
    e->processReplacing(e, nullptr, nullptr, 64);
    float* none[2] = {nullptr, nullptr};
    e->processReplacing(e, none, none, 64);
    Block played = block({}, kBlock);
    ReferenceEngine reference;
    reference.engine.noteOn(60, 100, 0);
    Block expected = silentBlock(kBlock);
    reference.render(expected, 0, kBlock);
    expectIdentical(played, expected);
}
