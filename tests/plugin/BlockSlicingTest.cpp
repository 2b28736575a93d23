// Quilm.so played as hosts slice it: the envelopes run alike at every block size, down to
// a frame a block, and every note release acts however many note events one block holds.
#include <algorithm>
#include <string>
#include <vector>

#include "ModuleHost.h"
#include "engine/FactoryPatch.h"
#include "tests/common/TestCaseName.h"
#include "tests/engine/Listening.h"

namespace {

constexpr intptr_t kInitPatch = 127;
constexpr int32_t kWindow = 220;    // 5 ms at 44100 Hz
constexpr int32_t kLeadIn = 4410;   // 100 ms without notes, in which a cutoff change settles

using Settings = std::vector<std::pair<int32_t, float>>;

// A note event at a frame of the take.
struct Note {
    int64_t frame;
    uint8_t status, key, velocity;
};

Settings with(Settings a, const Settings& b) { return a.insert(a.end(), b.begin(), b.end()), a; }

// One voice: a key held, let go, and a second key that takes the voice over in its release.
const std::vector<Note> kRetaken = {
    {kLeadIn, 0x90, 60, 100}, {kLeadIn + 8820, 0x80, 60, 0}, {kLeadIn + 13230, 0x90, 64, 100}};
// A sine whose level holds once its attack is over.
const Settings kSine = {{kParamVoiceCount, 0.01f}, {kParamOsc2Wave, 0.0f}, {kParamAmpSustain, 1.0f},
                        {kParamVelAmp, 0.0f}};
// A saw whose filter the envelope opens over about 70 ms from a corner well below its harmonics.
const Settings kSweep = {{kParamVoiceCount, 0.01f}, {kParamOsc1Wave, factory::wave(2)}, {kParamOsc2Wave, 0.0f},
                         {kParamFltReso, 0.0f}, {kParamFltCutoff, 0.4f}, {kParamFltEnv, 0.3f},
                         {kParamFltAttack, 0.6f}, {kParamFltSustain, 1.0f}};
// The LFO sweeping the filter over the sine, faded in over about 630 ms.
const Settings kTremolo = with(kSine, {{kParamLfoFilter, 0.5f}, {kParamLfoRate, 0.697f}, {kParamFltCutoff, 0.6f},
                                       {kParamLfoDelay, 0.7f}});
const Settings kShared = {{kParamSharedFilter, 1.0f}};

struct Row {
    std::string name;
    Settings settings;  // over Init Patch
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

// The left output of Init Patch with the settings, played in blocks of `block` frames.
std::vector<float> take(const Settings& settings, const std::vector<Note>& notes, int64_t frames, int32_t block,
                        int32_t largestBlock = 512) {
    auto host = std::make_unique<PluginHost>();
    host->settings.blockSize = largestBlock;
    std::string error;
    if (!host->load(quilmModulePath(), error)) {
        ADD_FAILURE() << error;
        return {};
    }
    host->start();
    // Loaded twice, so that every time follows its own PercEnv.
    for (int i = 0; i < 2; ++i) host->dispatch(effSetProgram, 0, kInitPatch);
    for (auto [index, value] : settings) host->setParameter(index, value);
    std::vector<float> left;
    std::vector<VstMidiEvent> events;
    size_t next = 0;
    for (int64_t at = 0; at < frames; at += block) {
        const auto n = static_cast<int32_t>(std::min<int64_t>(block, frames - at));
        events.clear();
        for (; next < notes.size() && notes[next].frame < at + n; ++next) {
            const Note& e = notes[next];
            events.push_back(midiEvent(static_cast<int32_t>(e.frame - at), e.status, e.key, e.velocity));
        }
        if (!events.empty()) host->sendEvents(events.data(), static_cast<int32_t>(events.size()));
        host->process(n);
        left.insert(left.end(), host->output(0).begin(), host->output(0).begin() + n);
    }
    return left;
}

double windowDb(const std::vector<float>& x, size_t w) { return toDb(rms(x, w * kWindow, (w + 1) * kWindow)); }

}  // namespace

class AlikeAtEveryBlockSize : public testing::TestWithParam<Row> {
    ScopedSettingsFolder settings;
};

// The attacks of the amplitude, the filter envelope and the LFO's fade-in, each also on the
// shared filter and from a voice taken over in its release: 5 ms levels as at 512 frames a block.
TEST_P(AlikeAtEveryBlockSize, EnvelopesRunAlike) {
    const Row& row = GetParam();
    constexpr int64_t kFrames = kLeadIn + 26460;  // the lead-in and 600 ms
    const std::vector<float> reference = take(row.settings, kRetaken, kFrames, 512);
    ASSERT_EQ(reference.size(), size_t(kFrames));
    ASSERT_GT(toDb(rms(reference)), -40.0) << row.name << " must sound";
    for (int32_t block : {1, 2, 3, 8, 64}) {
        const std::vector<float> played = take(row.settings, kRetaken, kFrames, block);
        ASSERT_EQ(played.size(), reference.size());
        for (size_t w = 0; w < reference.size() / kWindow; ++w) {
            const double expected = windowDb(reference, w);
            if (expected < -80.0) continue;
            ASSERT_NEAR(windowDb(played, w), expected, 0.1)
                << row.name << " at " << block << " frames a block, " << w * 5 << " ms";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AlikeAtEveryBlockSize,
                         testing::Values(Row{"amplitude attack", with(kSine, {{kParamAmpAttack, 0.6f}})},
                                         Row{"filter envelope", kSweep},
                                         Row{"LFO fade-in", kTremolo},
                                         Row{"shared filter envelope", with(kSweep, kShared)},
                                         Row{"shared LFO fade-in", with(kTremolo, kShared)}),
                         [](const auto& info) { return camelCaseName(info.param.name); });

namespace {

constexpr int64_t kTail = 88200;  // 2 s after the last event: far longer than Init Patch's release

struct Crowd {
    std::string name;
    int32_t block;
    std::vector<Note> notes;  // in time order
};

void PrintTo(const Crowd& crowd, std::ostream* os) { *os << crowd.name; }

// The 128 keys started one after another and let go together.
std::vector<Note> glissando() {
    std::vector<Note> notes;
    for (uint8_t key = 0; key < 128; ++key) notes.push_back({key * 3, 0x90, key, 100});
    for (uint8_t key = 0; key < 128; ++key) notes.push_back({400, 0x80, key, 0});
    return notes;
}

// Four parts of 2000-frame notes, each part starting a note every 400 frames: 652 notes.
std::vector<Note> busySong() {
    std::vector<Note> notes;
    for (int64_t at = 0; at + 2000 < 65536; at += 100) {
        const auto part = static_cast<uint8_t>(at / 100 % 4);
        const auto key = static_cast<uint8_t>(36 + part * 12 + at / 400 % 12);
        notes.push_back({at, static_cast<uint8_t>(0x90 | part), key, 100});
        notes.push_back({at + 2000, static_cast<uint8_t>(0x80 | part), key, 0});
    }
    std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) { return a.frame < b.frame; });
    return notes;
}

// What a host sends at stop: a release of every key on every channel.
void stop(std::vector<Note>& notes, int64_t frame) {
    for (uint8_t channel = 0; channel < 16; ++channel) {
        for (uint8_t key = 0; key < 128; ++key) notes.push_back({frame, static_cast<uint8_t>(0x80 | channel), key, 0});
    }
}

// Twelve high keys held from the first block, the stop in the second.
std::vector<Note> heldThenStopped() {
    std::vector<Note> notes;
    for (uint8_t key = 100; key < 112; ++key) notes.push_back({0, static_cast<uint8_t>(0x90 | (key % 16)), key, 100});
    stop(notes, 512);
    return notes;
}

// More starts than the plug-in keeps in one block (a start every 12 frames, cycling over all
// keys), then the stop, in the same block.
std::vector<Note> overfullBlock() {
    std::vector<Note> notes;
    for (int64_t k = 0; k < 5000; ++k) notes.push_back({k * 12, 0x90, static_cast<uint8_t>(k * 7 % 128), 100});
    stop(notes, 60001);
    return notes;
}

}  // namespace

class EveryReleaseActs : public testing::TestWithParam<Crowd> {
    ScopedSettingsFolder settings;
};

// However many note events one block holds, every voice ends after its release.
TEST_P(EveryReleaseActs, SilentAtTheEnd) {
    const Crowd& crowd = GetParam();
    const int64_t frames = crowd.notes.back().frame + kTail;
    const std::vector<float> played = take({}, crowd.notes, frames, crowd.block, crowd.block);
    ASSERT_EQ(played.size(), size_t(frames));
    ASSERT_GT(peakOf(played), 0.01f) << crowd.name << " must sound";
    const std::vector<float> end(played.end() - 4410, played.end());
    EXPECT_LT(peakOf(end), 1e-6f) << crowd.name << ": notes sound after their release";
}

INSTANTIATE_TEST_SUITE_P(Table, EveryReleaseActs,
                         testing::Values(Crowd{"glissando released on one tick", 512, glissando()},
                                         Crowd{"busy song in blocks of 65536", 65536, busySong()},
                                         Crowd{"stop releasing every key", 512, heldThenStopped()},
                                         Crowd{"more starts than a block keeps", 65536, overfullBlock()}),
                         [](const auto& info) { return camelCaseName(info.param.name); });
