// Quilm.so playing, compared bit for bit with the engine driven directly:
// sample-accurate notes, the note queue's limits, pitch bend, channel pressure and
// the tempo it takes from the host.
#include <cmath>
#include <cstring>
#include <string>

#include "ModuleHost.h"
#include "tests/common/TestCaseName.h"

namespace {

using Block = std::vector<std::vector<float>>;

// One step of the reference: render frames, or act on the engine.
struct Step {
    enum Kind { kRender, kNoteOn, kNoteOff, kParameter, kBend, kPressure, kTempo } kind;
    int32_t a = 0;  // frames to render (-1: up to the end), note, parameter, or bend in 1/128 semitone
    float b = 0;    // velocity, value, pressure amount or tempo (BPM x 10000)
};

struct Case {
    std::string name;
    std::vector<std::vector<VstMidiEvent>> blocks;  // the events of each block played
    std::vector<Step> reference;
    std::vector<std::pair<int32_t, float>> parameters = {};
    double tempo = 120.0;
    int32_t timeFlags = kVstTempoValid;
    bool timeInfo = true;
};

Step render(int32_t frames = -1) { return {Step::kRender, frames}; }
Step on(int32_t note, float velocity) { return {Step::kNoteOn, note, velocity}; }

void expectIdentical(const Block& actual, const Block& expected, const std::string& name) {
    for (std::size_t c = 0; c < 2; ++c) {
        ASSERT_EQ(actual[c].size(), expected[c].size()) << name;
        for (std::size_t i = 0; i < actual[c].size(); ++i) {
            // Bit for bit: compare the representations, so -0.0 and NaN count too.
            ASSERT_EQ(std::memcmp(&actual[c][i], &expected[c][i], sizeof(float)), 0)
                << name << ": channel " << c << " frame " << i << ": " << actual[c][i] << " vs " << expected[c][i];
        }
    }
}

// Bend range 3 semitones: (384 x (value - 8192)) / 8192, truncated toward zero.
Case bendCase(uint8_t lsb, uint8_t msb, int32_t steps) {
    return {"bend " + std::to_string(msb * 128 + lsb), {{midiEvent(0, 0xE0, lsb, msb), midiEvent(0, 0x90, 69, 100)}},
            {{Step::kBend, steps}, on(69, 100), render()}, {{60, 0.03f}}};
}

// Tempo-synced LFO and chorus make the tempo the engine uses audible.
Case tempoCase(double reported, float used, int32_t flags = kVstTempoValid, bool timeInfo = true) {
    std::string name = "tempo " + (std::isnan(reported) ? std::string("NaN") : std::to_string(std::lround(reported)));
    if ((flags & kVstTempoValid) == 0) name += " not marked valid";
    if (!timeInfo) name += " without time info";
    return {name, {{midiEvent(0, 0x90, 60, 100)}, {}, {}, {}, {}, {}, {}, {}},
            {{Step::kTempo, 0, used}, on(60, 100), render()}, {{27, 1.0f}, {30, 1.0f}}, reported, flags, timeInfo};
}

std::vector<Case> renderCases() {
    std::vector<Case> cases = {
        {"note at frame 37", {{midiEvent(37, 0x90, 60, 100)}, {}}, {render(37), on(60, 100), render()}},
        // Same offset: arrival order, no gap; an earlier offset after a later one acts at the later.
        {"same frame",
         {{midiEvent(10, 0x90, 60, 100), midiEvent(10, 0x91, 64, 90), midiEvent(5, 0x92, 67, 80)}},
         {render(10), on(60, 100), on(64, 90), on(67, 80), render()}},
        // A host bug (offset past the block or negative) must neither write past the buffers nor
        // render backwards: the note acts at the last or the first frame.
        {"offsets outside", {{midiEvent(-20, 0x90, 48, 100), midiEvent(5000, 0x90, 55, 100)}},
         {on(48, 100), render(kBlock - 1), on(55, 100), render()}},
        {"data bytes masked", {{midiEvent(0, 0x90, 0x80 | 60, 0x80 | 100)}}, {on(60, 100), render()}},
        {"note off and velocity 0",
         {{midiEvent(0, 0x90, 60, 100), midiEvent(0, 0x90, 64, 100)},
          {midiEvent(8, 0x80, 60, 30), midiEvent(16, 0x90, 64, 0)}},
         {on(60, 100), on(64, 100), render(kBlock + 8), {Step::kNoteOff, 60}, render(8), {Step::kNoteOff, 64},
          render()}},
        {"channel pressure", {{midiEvent(0, 0xD0, 127), midiEvent(0, 0x90, 60, 100)}, {}},
         {{Step::kPressure, 0, 127.0f * 0.007874016f * 0.15f}, on(60, 100), render()}},
        bendCase(0, 64, 0), bendCase(127, 127, 383), bendCase(0, 0, -384), bendCase(1, 64, 0), bendCase(0, 96, 192),
        bendCase(127, 63, 0),
        // Only a finite tempo in (0, 999] BPM is used; anything else, or none, means 120.
        tempoCase(140.0, 1400000.0f), tempoCase(999.0, 9990000.0f), tempoCase(1000.0, 1200000.0f),
        tempoCase(0.0, 1200000.0f), tempoCase(NAN, 1200000.0f), tempoCase(200.0, 1200000.0f, kVstTransportPlaying),
        tempoCase(200.0, 1200000.0f, kVstTempoValid, false),
    };
    // More note events than a block keeps (4096): past them a start is dropped and a release
    // still acts, once per key; a controller after them still acts, and the next block starts
    // with an empty queue.
    constexpr int kKept = 4096;
    Case many{"notes past the limit", {{}, {midiEvent(3, 0x90, 90, 100)}}, {{Step::kParameter, 4, 1.0f}}};
    int32_t pos = 0;
    for (int i = 0; i < kKept + 20; ++i) {
        many.blocks[0].push_back(midiEvent(i / 80, 0x90, static_cast<uint8_t>(20 + i % 80), 100));
        if (i >= kKept) continue;
        if (i / 80 > pos) many.reference.push_back(render(i / 80 - pos));
        pos = std::max(pos, i / 80);
        many.reference.push_back(on(20 + i % 80, 100));
    }
    // Keys 24 to 35 hold the twelve voices; 30 is let go twice, and a start among the releases is dropped.
    many.blocks[0].insert(many.blocks[0].end(), {midiEvent(55, 0x80, 30, 0), midiEvent(58, 0x90, 33, 0),
                                                 midiEvent(59, 0x90, 44, 100), midiEvent(60, 0x80, 30, 0)});
    many.blocks[0].push_back(midiEvent(0, 0xB0, 20, 127));  // controller 20 -> parameter 4
    many.reference.insert(many.reference.end(), {render(55 - pos), {Step::kNoteOff, 30}, render(3),
                                                 {Step::kNoteOff, 33}, render(kBlock - 58 + 3), on(90, 100), render()});
    cases.push_back(many);
    return cases;
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

}  // namespace

class Plays : public ModuleTest, public ::testing::WithParamInterface<Case> {};

TEST_P(Plays, AsTheEngineDrivenDirectly) {
    const Case& c = GetParam();
    host->settings.tempo = c.tempo;
    host->settings.timeFlags = c.timeFlags;
    host->settings.giveTimeInfo = c.timeInfo;
    ReferenceEngine reference;
    for (const auto& [index, value] : c.parameters) {
        host->setParameter(index, value);
        reference.setParameter(index, value);
    }
    Block played(2);
    for (const auto& events : c.blocks) {
        Block out = block(events);
        for (std::size_t ch = 0; ch < 2; ++ch) played[ch].insert(played[ch].end(), out[ch].begin(), out[ch].end());
    }
    const auto total = static_cast<int32_t>(played[0].size());
    Block expected(2, std::vector<float>(played[0].size(), 0.0f));
    int32_t at = 0;
    for (const Step& s : c.reference) {
        switch (s.kind) {
            case Step::kRender:
                // In slices that end where the host's blocks end, as the plug-in renders.
                for (int32_t left = s.a < 0 ? total - at : s.a; left > 0;) {
                    const int32_t frames = std::min(left, kBlock - at % kBlock);
                    reference.render(expected, at, frames);
                    at += frames;
                    left -= frames;
                }
                break;
            case Step::kNoteOn:
                reference.engine.noteOn(static_cast<int8_t>(s.a), static_cast<int8_t>(s.b), 0);
                break;
            case Step::kNoteOff: reference.engine.noteOff(static_cast<uint8_t>(s.a), 0); break;
            case Step::kParameter: reference.setParameter(s.a, s.b); break;
            case Step::kBend: reference.engine.setPitchBend(s.a); break;
            case Step::kPressure: reference.engine.channelPressure = s.b; break;
            case Step::kTempo: reference.engine.hostTempo = s.b; break;
        }
    }
    ASSERT_EQ(at, total) << c.name;
    expectIdentical(played, expected, c.name);
}

INSTANTIATE_TEST_SUITE_P(Cases, Plays, ::testing::ValuesIn(renderCases()),
                         [](const auto& info) { return camelCaseName(info.param.name); });

TEST_F(ModuleTest, ZeroFramesOrNoBuffersRenderNothingAndKeepTheNotes) {
    AEffect* e = host->effect();
    VstMidiEvent note = midiEvent(0, 0x90, 60, 100);
    host->sendEvents(&note, 1);
    e->processReplacing(e, nullptr, nullptr, 64);
    float* none[2] = {nullptr, nullptr};
    e->processReplacing(e, none, none, 64);
    float left = 0, right = 0;
    float* one[2] = {&left, &right};
    e->processReplacing(e, one, one, 0);
    Block played = block({});
    ReferenceEngine reference;
    reference.engine.noteOn(60, 100, 0);
    Block expected(2, std::vector<float>(kBlock, 0.0f));
    reference.render(expected, 0, kBlock);
    expectIdentical(played, expected, "after empty calls");
}
