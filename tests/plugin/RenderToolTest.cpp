// The offline host quilm-render: its command line, MIDI input, block playing,
// WAV output, and the tool run end to end on the built Quilm.so.
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "ModuleHost.h"
#include "tools/render/MidiSequence.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/Renderer.h"
#include "tools/render/WavWriter.h"

namespace {

bool parse(std::vector<std::string> words, RenderOptions& options, std::string& error) {
    words.insert(words.begin(), "quilm-render");
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    return options.parse(static_cast<int>(argv.size()), argv.data(), error);
}

// A file name of this process's own, so that test runs in parallel do not meet.
std::string tempPath(const char* name) { return ::testing::TempDir() + std::to_string(getpid()) + "-" + name; }

// The frames of a WAV file, interleaved; info describes it.
std::vector<float> readWav(const std::string& path, SF_INFO& info) {
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) return {};
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    std::remove(path.c_str());
    return samples;
}

}  // namespace

TEST(RenderOptions, AcceptsTheDocumentedOptionsAndRejectsBadOnes) {
    RenderOptions options;
    std::string error;
    ASSERT_TRUE(parse({"a.so", "--demo", "--program", "3", "--out", "x.wav", "--rate", "48000", "--block", "128",
                       "--param", "16=0.25", "--param", "3=1", "--tempo", "90", "--vendor", "Steinberg", "--tail",
                       "0.5"},
                      options, error))
        << error;
    EXPECT_EQ(options.plugins, std::vector<std::string>{"a.so"});
    EXPECT_EQ(options.program, 3);
    EXPECT_EQ(options.outFile, "x.wav");
    EXPECT_EQ(options.sampleRate, 48000.0f);
    EXPECT_EQ(options.blockSize, 128);
    EXPECT_EQ(options.params, (std::vector<std::pair<int32_t, float>>{{16, 0.25f}, {3, 1.0f}}));
    EXPECT_EQ(options.tempo, 90.0);
    EXPECT_EQ(options.vendor, "Steinberg");
    EXPECT_EQ(options.tailSeconds, 0.5);
    const std::vector<std::vector<std::string>> bad = {
        {},                         {"a.so", "--rate", "0"},     {"a.so", "--rate", "nan"}, {"a.so", "--block", "0"},
        {"a.so", "--block", "12x"}, {"a.so", "--program", "-1"}, {"a.so", "--param", "16"}, {"a.so", "--param", "x=1"},
        {"a.so", "--tempo", "-3"},  {"a.so", "--out"},           {"a.so", "--frobnicate"},
        {"a.so", "b.so"},  // rendering takes one plug-in
        {"a.so", "--param", "0=1e39"},  // past the float range
        {"a.so", "--param", "0=inf"},   {"a.so", "--rate", "1000.9"}, {"a.so", "--out", ""},
    };
    for (const auto& words : bad) {
        RenderOptions rejected;
        error.clear();
        EXPECT_FALSE(parse(words, rejected, error)) << (words.empty() ? "" : words.back());
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(parse({"a.so", "b.so", "--bench"}, options, error));
}

TEST(MidiSequence, DemoPhraseIsSortedAndEveryNoteEnds) {
    MidiSequence sequence;
    sequence.makeDemo();
    int held[128] = {};
    double last = 0.0;
    for (const TimedMidi& e : sequence.events()) {
        EXPECT_GE(e.seconds, last);
        last = e.seconds;
        held[e.bytes[1]] += e.bytes[0] == 0x90 ? 1 : e.bytes[0] == 0x80 ? -1 : 0;
    }
    for (int n = 0; n < 128; ++n) EXPECT_EQ(held[n], 0) << n;
    EXPECT_GT(sequence.lengthSeconds(), 8.0);
}

TEST(MidiSequence, ReadsAStandardMidiFileWithItsTempo) {
    // One track at 60 BPM (1 s per beat), 96 pulses per beat: a note at beat 1 lasting one beat.
    const unsigned char file[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 19,
                                  0, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40,  // 1,000,000 us per beat
                                  96, 0x90, 60, 100, 96, 0x80, 60, 0, 0, 0xFF, 0x2F, 0};
    const std::string path = tempPath("sequence.mid");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file), sizeof(file));
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(sequence.loadFile(path, error)) << error;
    std::remove(path.c_str());
    ASSERT_EQ(sequence.events().size(), 2u);
    EXPECT_NEAR(sequence.events()[0].seconds, 1.0, 1e-9);
    EXPECT_EQ(sequence.events()[0].bytes[0], 0x90);
    EXPECT_NEAR(sequence.events()[1].seconds, 2.0, 1e-9);
    EXPECT_FALSE(sequence.loadFile(tempPath("missing.mid"), error));
}

TEST(Renderer, PlaysEveryEventAtItsFrame) {
    ScopedSettingsFolder settings;
    PluginHost host;
    host.settings.blockSize = 100;
    std::string error;
    ASSERT_TRUE(host.load(quilmModulePath(), error)) << error;
    host.start();
    MidiSequence sequence;
    sequence.add(0.0, 0xB0, 20, 127);              // controller at the start
    sequence.add(150.0 / 44100.0, 0x90, 60, 100);  // frame 150: block 1, offset 50
    int64_t frames = 0;
    int blocks = 0;
    bool early = false, late = false;  // sound before and from frame 150
    double spent = Renderer::play(host, sequence, 0.01, [&](int32_t n) {
        for (int32_t i = 0; i < n; ++i) (frames + i < 150 ? early : late) |= host.output(0)[std::size_t(i)] != 0.0f;
        frames += n;
        ++blocks;
        return true;
    });
    EXPECT_GE(spent, 0.0);
    EXPECT_EQ(frames, static_cast<int64_t>(std::ceil((150.0 / 44100.0 + 0.01) * 44100.0)));
    EXPECT_EQ(host.getParameter(4), 1.0f);
    EXPECT_FALSE(early);
    EXPECT_TRUE(late);
    EXPECT_EQ(host.callCount(audioMasterGetTime), blocks);
    EXPECT_EQ(Renderer::play(host, sequence, 0.0, [](int32_t) { return false; }), -1.0);
}

TEST(WavWriter, WritesInterleavedFloatStereo) {
    const std::string path = tempPath("writer.wav");
    {
        WavWriter wav;
        std::string error;
        ASSERT_TRUE(wav.open(path, 48000, 2, error)) << error;
        std::vector<float> left = {0.5f, -0.25f, 0.0f}, right = {1.0f, 0.0f, -1.0f};
        ASSERT_TRUE(wav.write({left.data(), right.data()}, 3));
        ASSERT_TRUE(wav.finish(error)) << error;
    }
    SF_INFO info{};
    EXPECT_EQ(readWav(path, info), (std::vector<float>{0.5f, 1.0f, -0.25f, 0.0f, 0.0f, -1.0f}));
    EXPECT_EQ(info.samplerate, 48000);
    WavWriter bad;
    std::string error;
    EXPECT_FALSE(bad.open("/nonexistent-folder/x.wav", 44100, 2, error));
    EXPECT_FALSE(error.empty());
}

TEST(QuilmRender, RendersTheDemoAndListsTheInstrument) {
    ScopedSettingsFolder settings;
    const std::string tool = std::string(QUILM_RENDER_PATH) + " " + quilmModulePath();
    const std::string wav = tempPath("demo.wav"), log = tempPath("render.log");
    ASSERT_EQ(std::system((tool + " --demo --program 5 --tail 0.5 --out " + wav + " > " + log + " 2>&1").c_str()), 0);
    SF_INFO info{};
    double energy = 0.0;
    for (float s : readWav(wav, info)) {
        ASSERT_TRUE(std::isfinite(s));
        energy += static_cast<double>(s) * s;
    }
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_GT(energy, 0.0) << "the demo is silent";
    ASSERT_EQ(std::system((tool + " --list > " + log).c_str()), 0);
    std::stringstream text;
    text << std::ifstream(log).rdbuf();
    std::remove(log.c_str());
    EXPECT_NE(text.str().find("'QULM'"), std::string::npos);
    EXPECT_NE(text.str().find("parameters: 82"), std::string::npos);
    EXPECT_NE(text.str().find("127 Init Patch"), std::string::npos);
    EXPECT_NE(std::system((std::string(QUILM_RENDER_PATH) + " /nonexistent.so > /dev/null 2>&1").c_str()), 0);
}
