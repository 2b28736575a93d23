// What a program plays depends on its values alone, played through the built Quilm.so:
// vibrato is as deep at every sample rate, and a program sounds the same sample for sample
// however its 82 values arrive (in either order, after another program, as a program
// load, loaded twice or followed by a rate call).
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ModuleHost.h"
#include "tests/engine/Listening.h"

namespace {

constexpr intptr_t kInitPatch = 127;

// A fresh plug-in at a rate, in blocks of 512 frames.
std::unique_ptr<PluginHost> startedAt(float rate) {
    auto host = std::make_unique<PluginHost>();
    host->settings.sampleRate = rate;
    std::string error;
    EXPECT_TRUE(host->load(quilmModulePath(), error)) << error;
    host->start();
    return host;
}

// The left output while the events (sent before the first block) sound for frames,
// with the keys released after release frames.
std::vector<float> play(PluginHost& host, const std::vector<VstMidiEvent>& events, int32_t frames, int32_t release) {
    std::vector<float> left;
    const int32_t block = host.settings.blockSize;
    for (int32_t at = 0; at < frames; at += block) {
        std::vector<VstMidiEvent> now;
        if (at == 0) now = events;
        if (release >= at && release < at + block)
            for (const VstMidiEvent& e : events)
                if ((e.midiData[0] & 0xF0) == 0x90) now.push_back(midiEvent(release - at, 0x80, uint8_t(e.midiData[1])));
        if (!now.empty()) host.sendEvents(now.data(), static_cast<int32_t>(now.size()));
        host.process(block);
        left.insert(left.end(), host.output(0).begin(), host.output(0).end());
    }
    left.resize(static_cast<size_t>(frames));
    return left;
}

struct VibratoRow {
    const char* name;
    std::vector<std::pair<int32_t, float>> values;  // over Init Patch with Osc2 off
    std::vector<VstMidiEvent> before;               // sent with the note
};

// Half the swing of note 69's cycle frequencies from 100 to 600 ms, in cents.
double vibratoCents(const VibratoRow& row, float rate) {
    auto host = startedAt(rate);
    host->dispatch(effSetProgram, 0, kInitPatch);
    host->setParameter(kParamOsc2Wave, 0.0f);
    for (auto [index, v] : row.values) host->setParameter(index, v);
    std::vector<VstMidiEvent> events = row.before;
    events.push_back(midiEvent(0, 0x90, 69, 100));
    const std::vector<float> out = play(*host, events, static_cast<int32_t>(rate * 0.6f), INT32_MAX);
    double lo = 1e30, hi = 0.0;
    for (const auto& [t, hz] : cycleFrequencies(out, static_cast<size_t>(rate * 0.1f), out.size(), rate))
        lo = std::min(lo, hz), hi = std::max(hi, hz);
    return 600.0 * std::log2(hi / lo);
}

TEST(ProgramSound, VibratoIsAsDeepAtEveryRate) {
    const VibratoRow rows[] = {
        {"LFO Osc", {{kParamLfoOsc, 0.3f}}, {}},
        {"MW-LFO with the wheel up", {{kParamWheelLfo, 0.5f}}, {midiEvent(0, 0xB0, 1, 127)}},
        {"AT-LFO with full pressure", {{kParamPressureLfo, 1.0f}}, {midiEvent(0, 0xD0, 127)}},
    };
    for (const VibratoRow& row : rows) {
        const double at44 = vibratoCents(row, 44100.0f);
        EXPECT_GT(at44, 20.0) << row.name << " must swing";
        for (float rate : {48000.0f, 96000.0f})
            EXPECT_NEAR(vibratoCents(row, rate), at44, 0.05 * at44) << row.name << " at " << rate << " Hz";
    }
}

// Every factory program (53 with PercEnv on, the rest off): each way of bringing its values
// must give the samples of the program chosen in a fresh plug-in.
TEST(ProgramSound, ValuesSoundTheSameHoweverTheyArrive) {
    const auto send = [](PluginHost& h, int32_t p, bool backward) {
        for (int32_t k = 0; k < kNumParams; ++k) {
            const int32_t i = backward ? kNumParams - 1 - k : k;
            h.setParameter(i, factoryBank[p].value[i]);
        }
    };
    const std::pair<const char*, std::function<void(PluginHost&, int32_t)>> ways[] = {
        {"sent 0..81", [&](PluginHost& h, int32_t p) { send(h, p, false); }},
        {"sent 81..0", [&](PluginHost& h, int32_t p) { send(h, p, true); }},
        {"sent after program 127", [&](PluginHost& h, int32_t p) {
             h.dispatch(effSetProgram, 0, kInitPatch);
             send(h, p, false);
         }},
        {"chosen after program 127", [](PluginHost& h, int32_t p) {
             h.dispatch(effSetProgram, 0, kInitPatch);
             h.dispatch(effSetProgram, 0, p);
         }},
        {"chosen twice", [](PluginHost& h, int32_t p) {
             h.dispatch(effSetProgram, 0, p);
             h.dispatch(effSetProgram, 0, p);
         }},
        {"chosen, then the rate set again", [](PluginHost& h, int32_t p) {
             h.dispatch(effSetProgram, 0, p);
             h.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
         }},
    };
    const std::vector<VstMidiEvent> chord{midiEvent(0, 0x90, 48, 100), midiEvent(0, 0x90, 60, 90),
                                          midiEvent(0, 0x90, 64, 80), midiEvent(0, 0x90, 67, 70)};
    constexpr int32_t kFrames = 13230, kRelease = 8820;  // 300 ms, released at 200 ms
    for (int32_t p = 0; p < kNumPrograms; ++p) {
        auto chosen = startedAt(44100.0f);
        chosen->dispatch(effSetProgram, 0, p);
        const std::vector<float> expected = play(*chosen, chord, kFrames, kRelease);
        ASSERT_GT(rms(expected), 0.0) << "program " << p << " must sound";
        for (const auto& [name, bring] : ways) {
            auto host = startedAt(44100.0f);
            bring(*host, p);
            EXPECT_TRUE(play(*host, chord, kFrames, kRelease) == expected) << "program " << p << ", " << name;
        }
    }
}

}  // namespace
