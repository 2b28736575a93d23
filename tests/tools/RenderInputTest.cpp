// quilm-render on what a user may hand it: Standard MIDI Files legal and damaged (read from
// buffers of their exact size, so that the sanitizer build sees any read past the end), an
// existing output file that a failed render must leave alone, and plug-in paths.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/CommandRun.h"
#include "tools/render/MidiFileReader.h"
#include "tools/render/MidiSequence.h"
#include "tools/render/PluginHost.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/WavWriter.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes chunk(const char* type, const Bytes& body, std::size_t length) {
    const auto n = static_cast<uint32_t>(length);
    return Bytes(type, type + 4) + Bytes{uint8_t(n >> 24), uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n)} + body;
}
Bytes chunk(const char* type, const Bytes& body) { return chunk(type, body, body.size()); }
Bytes header(int format, int tracks, int division = 96) {
    return chunk("MThd", {0, uint8_t(format), 0, uint8_t(tracks), uint8_t(division >> 8), uint8_t(division)});
}
Bytes track(const Bytes& events) { return chunk("MTrk", events); }
const Bytes kEnd = {0, 0xFF, 0x2F, 0};
const Bytes kNote = {0, 0x90, 60, 100};
Bytes one(const Bytes& events) { return header(0, 1) + track(events + kEnd); }

struct Read {
    bool ok;
    std::string events;  // "seconds status data1 data2|..."
    std::string error, warnings;
};

// The first size bytes of a file, read by MidiSequence from a buffer of exactly that size.
Read read(const Bytes& file, std::size_t size) {
    std::unique_ptr<unsigned char[]> exact(new unsigned char[size > 0 ? size : 1]);
    std::copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size), exact.get());
    MidiSequence sequence;
    Read r{};
    r.ok = sequence.load(exact.get(), size, r.error);
    for (const TimedMidi& e : sequence.events()) {
        char text[64];
        std::snprintf(text, sizeof(text), "%s%g %x %x %x", r.events.empty() ? "" : "|", e.seconds, e.bytes[0],
                      e.bytes[1], e.bytes[2]);
        r.events += text;
    }
    for (const std::string& w : sequence.warnings()) r.warnings += w + "\n";
    return r;
}
Read read(const Bytes& file) { return read(file, file.size()); }

struct FileCase {
    const char* name;
    Bytes file;
    const char* expected;  // events when legal, else a part of the error
    const char* warning;   // a part of the warnings ("" for none)
};

// Legal files, 96 pulses a beat at 120 BPM unless they say otherwise: 96 pulses are 0.5 s.
const FileCase kLegal[] = {
    {"RunningStatus", one({0, 0x90, 60, 100, 96, 62, 100, 0, 0xD0, 40, 96, 0x80, 60, 0, 0, 62, 0}),
     "0 90 3c 64|0.5 90 3e 64|0.5 d0 28 0|1 80 3c 0|1 80 3e 0", ""},
    {"TempoTrackThenNotes",
     header(1, 2) + track(Bytes{0, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40} + kEnd) + track(Bytes{96, 0x90, 60, 100} + kEnd),
     "1 90 3c 64", ""},
    {"TempoChangeMidway", one({96, 0x90, 60, 100, 0, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40, 96, 0x80, 60, 0}),
     "0.5 90 3c 64|1.5 80 3c 0", ""},
    {"NotesInAnEscape", one({0, 0xF7, 6, 0x90, 60, 0xF8, 100, 62, 100, 0, 0xF7, 3, 0xF2, 5, 6}),
     "0 90 3c 64|0 90 3e 64", ""},
    {"EscapeEndsInsideAMessage", one({0, 0xF7, 2, 0x90, 61, 0x40, 0x90, 62, 100}), "0.333333 90 3e 64", ""},
    {"SysexPassedOver", one(Bytes{0, 0xF0, 3, 0x7E, 0x01, 0xF7} + kNote), "0 90 3c 64", ""},
    {"RunningStatusAcrossMeta", one({0, 0x90, 60, 100, 0, 0xFF, 0x01, 2, 'h', 'i', 96, 62, 100}),
     "0 90 3c 64|0.5 90 3e 64", ""},
    {"ForeignChunkSkipped", header(0, 1) + chunk("XFIH", {1, 2, 3}) + track(kNote + kEnd), "0 90 3c 64", ""},
    {"NoEndOfTrack", header(0, 1) + track(kNote), "0 90 3c 64", "no End of Track"},
    {"LongMeta", one(Bytes{0, 0xFF, 0x01, 0x81, 0x48} + Bytes(200, 'x') + kNote), "0 90 3c 64", ""},
    {"ShortTempoIgnored", one({0, 0xFF, 0x51, 2, 0x0F, 0x42, 96, 0x90, 60, 100}), "0.5 90 3c 64", "tempo of 2 bytes"},
    {"EmptyMetaAndTrack", header(1, 2) + track({0, 0xFF, 0x03, 0}) + track(kNote + kEnd), "0 90 3c 64",
     "track 1 has no End"},
    {"SmpteTime", header(0, 1, 0xE728) + track(Bytes{0x83, 0x74, 0xC0, 5} + kEnd), "0.5 c0 5 0", ""},  // 25 x 40/s
    {"LongerHeaderAndPadding", chunk("MThd", {0, 0, 0, 1, 0, 96, 7, 7}) + track(kNote + kEnd + Bytes{0, 0}) + Bytes{1},
     "0 90 3c 64", ""},
    {"OnlyMeta", one({0, 0xFF, 0x01, 1, 'x'}), "", "no channel message"},
};

const FileCase kDamaged[] = {
    {"NotMidi", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 4, 'M', 'I', 'D', 'I'}, "no MThd", ""},
    {"ShortHeader", chunk("MThd", {0, 0, 0, 1}) + track(kNote + kEnd), "fewer than 6", ""},
    {"FormatTwo", header(2, 1) + track(kNote + kEnd), "format 2", ""},
    {"NoTrack", header(1, 0), "no track", ""},
    {"DivisionZero", header(0, 1, 0) + track(kNote + kEnd), "0 pulses a beat", ""},
    {"SmpteOddFrames", header(0, 1, 0xE928) + track(kNote + kEnd), "23 frames", ""},
    {"LengthTooLong", header(0, 1) + chunk("MTrk", kNote + kEnd, 0xFFFFFFFFu), "declares 4294967295 bytes", ""},
    {"LengthTooShort", header(0, 1) + chunk("MTrk", kNote + kEnd, 3), "track 1, byte 25: the chunk ends inside a channel", ""},
    {"ForeignChunkTooLong", header(0, 1) + chunk("XFIH", {1}, 9), "chunk 'XFIH' declares 9", ""},
    {"TrackMissing", header(1, 2) + track(kNote + kEnd), "ends after 1 of the 2 tracks", ""},
    {"CutChunkHeader", header(0, 1) + Bytes{'M', 'T', 'r'}, "inside a chunk header", ""},
    {"NoRunningStatus", one({0, 60, 100}), "no running status", ""},
    {"NumberOfFiveBytes", one({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 100}), "longer than 4 bytes", ""},
    {"CutAfterADelta", header(0, 1) + track(kNote + Bytes{0}), "the chunk ends after a delta time", ""},
    {"MetaPastItsChunk", header(0, 1) + track({0, 0xFF, 0x01, 10, 'a'}), "10 bytes runs past", ""},
    {"MetaCutAfterItsType", header(0, 1) + track({0, 0xFF}), "ends inside a meta event", ""},
    {"SystemCommonEvent", one({0, 0xF4}), "0xF4 is no MIDI file event", ""},
    {"StatusForData", one({0, 0x90, 60, 0x80, 0}), "status byte 0x80 where a data byte", ""},
    {"NoteDaysAway", one({0x8F, 0xFF, 0xFF, 0x7F, 0x90, 60, 100}), "past the 14400 s", ""},
};

class LegalMidiFile : public testing::TestWithParam<FileCase> {};
class DamagedMidiFile : public testing::TestWithParam<FileCase> {};

TEST_P(LegalMidiFile, PlaysItsMessagesAtTheirTimes) {
    const Read r = read(GetParam().file);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.events, GetParam().expected);
    if (*GetParam().warning == '\0') {
        EXPECT_EQ(r.warnings, "");
    }
    EXPECT_NE(r.warnings.find(GetParam().warning), std::string::npos) << r.warnings;
}

TEST_P(DamagedMidiFile, IsRefusedWithWhatIsWrong) {
    const Read r = read(GetParam().file);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.events, "");
    EXPECT_NE(r.error.find(GetParam().expected), std::string::npos) << r.error;
}

auto caseName = [](const testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Reader, LegalMidiFile, testing::ValuesIn(kLegal), caseName);
INSTANTIATE_TEST_SUITE_P(Reader, DamagedMidiFile, testing::ValuesIn(kDamaged), caseName);

// A format 1 file with a little of everything: tempo, time signature, long text, sysex, an
// escape, running status, a foreign chunk between the tracks. The first track's events:
const std::vector<Bytes> kRichEvents = {
    {0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20}, {0, 0xFF, 0x58, 4, 3, 2, 24, 8},
    Bytes{0, 0xFF, 0x01, 0x81, 0x02} + Bytes(130, 't'), {0, 0xF0, 2, 0x01, 0xF7},
    kNote, {48, 64, 90}, {48, 0x80, 60, 0}, {0, 64, 0}, kEnd};
// The first track cut to its first bytes (a track chunk that ends inside its events, say).
Bytes richFile(std::size_t firstTrackBytes = SIZE_MAX) {
    Bytes first;
    for (const Bytes& e : kRichEvents) first = first + e;
    first.resize(std::min(firstTrackBytes, first.size()));
    return header(1, 2) + track(first) + chunk("XFIH", {9, 9}) +
           track(Bytes{24, 0xF7, 3, 0x90, 67, 80, 72, 0xC1, 7, 24, 0x80, 67, 0} + kEnd);
}

// Each prefix is read from a buffer of its size (for the sanitizers) and as the start of the
// whole file (a reader that reads on finds real bytes there and would take them).
TEST(MidiFileReader, RefusesEveryPrefixOfAFileAndPlaysTheWhole) {
    const Bytes file = richFile();
    const Read whole = read(file);
    ASSERT_TRUE(whole.ok) << whole.error;
    EXPECT_EQ(whole.events, "0 90 3c 64|0.125 90 43 50|0.25 90 40 5a|0.5 80 3c 0|0.5 80 40 0|0.5 c1 7 0|0.625 80 43 0");
    for (std::size_t n = 0; n < file.size(); ++n) {
        const Read prefix = read(file, n);
        EXPECT_FALSE(prefix.ok) << n << " bytes: " << prefix.events;
        EXPECT_NE(prefix.error, "") << n;
        MidiSequence sequence;
        std::string error;
        EXPECT_FALSE(sequence.load(file.data(), n, error)) << n;
    }
}

// A track chunk that stops short ends there: played when it ends between two events, refused
// when it cuts one. The next chunk's bytes follow, for a reader that reads past its chunk.
TEST(MidiFileReader, ATrackEndsWhereItsChunkSays) {
    std::vector<std::size_t> between{0};  // offsets between two events of the first track
    for (const Bytes& e : kRichEvents) between.push_back(between.back() + e.size());
    for (std::size_t cut = 0; cut < between.back(); ++cut) {
        const Read r = read(richFile(cut));
        EXPECT_EQ(r.ok, std::count(between.begin(), between.end(), cut) == 1) << "cut at " << cut << ": " << r.error;
        if (r.ok) {
            EXPECT_NE(r.warnings.find("track 1 has no End of Track"), std::string::npos) << cut;
        }
    }
}

TEST(MidiFileReader, DamagedCopiesAreRefusedOrPlayedWithinTheLimit) {
    const Bytes file = richFile();
    std::mt19937 random(39);
    int played = 0;
    for (int copy = 0; copy < 3000; ++copy) {
        Bytes damaged = file;
        for (int k = 1 + copy % 3; k > 0; --k) damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        MidiSequence sequence;
        std::string error;
        if (!sequence.load(damaged.data(), damaged.size(), error)) continue;
        ++played;
        for (const TimedMidi& e : sequence.events()) {
            ASSERT_TRUE(e.seconds >= 0.0 && e.seconds <= MidiFileReader::kMaxSeconds) << copy;
            ASSERT_TRUE(e.bytes[0] >= 0x80 && e.bytes[0] < 0xF0 && e.bytes[1] < 0x80 && e.bytes[2] < 0x80) << copy;
        }
    }
    EXPECT_GT(played, 100);  // changed data bytes still play
}

// quilm-render run on the test instrument of tests/tools (a sine while a note is held).
struct Tool {
    std::string folder = testing::TempDir() + "render-input-" + std::to_string(getpid());
    std::string plugin = QUILM_FAULTY_PLUGIN;
    Tool() { runCommand("mkdir -p " + folder); }
    ~Tool() { runCommand("rm -rf " + folder); }
    CommandRun run(const std::string& arguments, const std::string& before = "") const {
        return runCommand("cd " + folder + " && " + before + std::string(QUILM_RENDER_PATH) + " " + arguments);
    }
    std::string contents(const std::string& name) const {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST(QuilmRenderInput, AFailedRenderLeavesTheExistingOutputAsItWas) {
    Tool tool;
    std::ofstream(tool.folder + "/cut.mid", std::ios::binary) << std::string(14, 'M');
    const std::string precious = "RIFF precious";
    const struct {
        const char* before;     // shell words before the tool
        const char* arguments;  // after the plug-in
    } failures[] = {
        {"ulimit -f 64; ", ""},  // 64 KiB: the demo is 3.9 MB
        {"", "--midi cut.mid"},
        {"", "--program 9"},
        {"", "--param 9=0.5"},
    };
    for (const auto& f : failures) {
        std::ofstream(tool.folder + "/song.wav") << precious;
        const CommandRun run = tool.run(tool.plugin + " --out song.wav " + f.arguments, f.before);
        EXPECT_NE(run.status, 0) << run.output;
        EXPECT_EQ(tool.contents("song.wav"), precious) << f.before << f.arguments;
        EXPECT_EQ(runCommand("ls -A " + tool.folder).output, "cut.mid\nsong.wav\n") << f.before << f.arguments;
    }
    // Stopped while it writes (a render of 10 minutes one frame a block).
    const CommandRun stopped =
        runCommand("cd " + tool.folder + " && (" + QUILM_RENDER_PATH + " " + tool.plugin +
                   " --out song.wav --tail 600 --block 1 & until ls -A | grep -q tmp || ! kill -0 $!; do sleep 0.01; done;"
                   " kill -TERM $!; wait $!)");
    EXPECT_NE(stopped.status, 0) << stopped.output;
    EXPECT_EQ(tool.contents("song.wav"), precious);
    EXPECT_EQ(runCommand("ls -A " + tool.folder).output, "cut.mid\nsong.wav\n");
    // A render that succeeds replaces the file and keeps its permissions.
    chmod((tool.folder + "/song.wav").c_str(), 0600);
    EXPECT_EQ(tool.run(tool.plugin + " --out song.wav --tail 0.1").status, 0);
    EXPECT_EQ(tool.contents("song.wav").compare(0, 4, "RIFF"), 0);
    EXPECT_NE(tool.contents("song.wav"), precious);
    struct stat replaced {};
    ASSERT_EQ(stat((tool.folder + "/song.wav").c_str(), &replaced), 0);
    EXPECT_EQ(replaced.st_mode & 07777, 0600u);
}

TEST(QuilmRenderInput, PluginsAndOptionsGiveAResultOrAClearRefusal) {
    Tool tool;
    const std::size_t slash = tool.plugin.rfind('/');
    const std::string pluginFolder = tool.plugin.substr(0, slash), pluginName = tool.plugin.substr(slash + 1);
    runCommand("cp " + tool.plugin + " " + tool.folder + "/libm.so.6 && mkdir " + tool.folder + "/folder.wav");
    const struct {
        std::string before, arguments;
        int status;
        const char* expected;
    } cases[] = {
        {"cd " + pluginFolder + " && ", pluginName + " --list", 0, "name: Faulty"},
        {"", "libm.so.6 --list", 0, "name: Faulty"},  // the file here, not the system library
        {"", "missing.so --list", 1, "cannot open the plug-in missing.so: No such file"},
        // Only the accumulating process: played into cleared buffers, so the sine stays at 0.1.
        {"QUILM_FAULTY_PLUGIN=accumulating-only ", tool.plugin + " --tail 0.1", 0, "peak 0.1000"},
        {"", tool.plugin + " --out folder.wav", 1, "it is a folder"},
        {"", tool.plugin + " --gui --program 2", 1, "has only 2 programs"},
        {"", tool.plugin + " --gui --param 4=1", 1, "has only 4 parameters"},
    };
    for (const auto& c : cases) {
        const CommandRun run = tool.run(c.arguments, c.before);
        EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

// --out as an ordinary user meets it. Run as root, the user is nobody (root may write
// anything) and root and uid 4242 are the other users; rows that need them are skipped otherwise.
struct OutputCase {
    const char* name;
    const char* setup;      // shell run by the user in the row's empty folder
    const char* rootSetup;  // then by root; rows with one need root
    const char* before;     // shell words before the tool, in the tool's own shell
    std::string out;
    int status;
    const char* said;       // in what the tool prints
    const char* after;      // shell whose output is expected next
    const char* expected;
    bool asUser = true;     // false: the tool runs as root
    bool protectedLinks = false;
};

const OutputCase kOutputs[] = {
    {"OwnReadOnlyFileKept", "echo kept > f.wav; chmod 444 f.wav", "", "", "f.wav", 1, "f.wav: Permission denied",
     "cat f.wav; ls -A", "kept\nf.wav\n"},
    {"OthersFileInOwnFolderKept", "", "echo kept > f.wav; chown 4242:4242 f.wav", "", "f.wav", 1,
     "Permission denied", "cat f.wav; stat -c %u f.wav; ls -A", "kept\n4242\nf.wav\n"},
    // In place over a longer file: the file is the render and nothing more (past the header,
    // whose PEAK chunk holds the time of writing).
    {"WritableFileInLockedFolderWrittenInPlace", "head -c 5000000 /dev/zero > f.wav; chmod 555 .", "", "", "f.wav", 0,
     "rendered",
     "ls -A; ../quilm-render ../*.so --tail 0.1 --out ../new.wav >/dev/null && cmp -i 88 f.wav ../new.wav && echo same",
     "f.wav\nsame\n"},
    {"LongestName", "", "", "", std::string(251, 'n') + ".wav", 0, "rendered", "head -c 4 n*; ls -A | wc -l",
     "RIFF1\n"},
    {"DanglingLinkStaysALink", "mkdir d; ln -s made.wav d/f.wav", "", "", "d/f.wav", 0, "rendered",
     "readlink d/f.wav; head -c 4 d/made.wav", "made.wav\nRIFF"},
    {"LinkToAFileStaysALink", "echo old > t.wav; ln -s t.wav f.wav", "", "", "f.wav", 0, "rendered",
     "readlink f.wav; head -c 4 t.wav", "t.wav\nRIFF"},
    {"FifoWithoutReaderRefused", "mkfifo f.wav", "", "", "f.wav", 1, "cannot hold a WAV", "ls -A", "f.wav\n"},
    {"FifoWithReaderRefused", "mkfifo f.wav", "", "exec 3<>f.wav; ", "f.wav", 1, "cannot hold a WAV", "ls -A",
     "f.wav\n"},
    {"DeviceWrittenDirectly", "", "", "", "/dev/null", 0, "rendered", "ls -A", ""},
    // Another user's link in root's sticky folder: the kernel follows it for nobody but its owner.
    {"PlantedLinkNotFollowed", "echo kept > mine.wav",
     "mkdir -m 1777 sticky; ln -s ../mine.wav sticky/f.wav; chown -h 4242 sticky/f.wav", "", "sticky/f.wav", 1,
     "Permission denied", "cat mine.wav", "kept\n", true, true},
    {"ReplacedFileKeepsItsOwner", "echo old > f.wav; chmod 640 f.wav", "", "", "f.wav", 0, "rendered",
     "stat -c '%u %a' f.wav; head -c 4 f.wav", "65534 640\nRIFF", false},
};

void PrintTo(const OutputCase& c, std::ostream* out) { *out << c.name; }

class OutputTarget : public testing::TestWithParam<OutputCase> {};

TEST_P(OutputTarget, IsMetAsAnOrdinaryWriteMeetsIt) {
    const OutputCase& c = GetParam();
    const bool root = geteuid() == 0;
    if ((*c.rootSetup != '\0' || !c.asUser) && !root) GTEST_SKIP() << "needs root to play the other users";
    int linksProtected = 0;
    std::ifstream("/proc/sys/fs/protected_symlinks") >> linksProtected;
    if (c.protectedLinks && linksProtected != 1) GTEST_SKIP() << "fs.protected_symlinks is off";
    // The tool and the plug-in are copied where the user may run them; the row's folder is the user's.
    Tool tool;
    const std::string user = root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const std::string folder = tool.folder + "/row", row = "cd " + folder + " && ";
    ASSERT_EQ(runCommand("chmod 755 " + tool.folder + " && cp " + QUILM_RENDER_PATH + " " + tool.plugin + " " +
                         tool.folder + " && mkdir " + folder + (root ? " && chown 65534:65534 " + folder : ""))
                  .status,
              0);
    const std::string rootSetup = *c.rootSetup != '\0' ? c.rootSetup : "true";
    ASSERT_EQ(runCommand(row + user + "sh -c '" + c.setup + "' && " + rootSetup).status, 0);
    const std::string plugin = tool.plugin.substr(tool.plugin.rfind('/') + 1);
    const CommandRun run = runCommand(row + c.before + "timeout -k 5 20 " + (c.asUser ? user : "") +
                                      "../quilm-render ../" + plugin + " --tail 0.1 --out " + c.out);
    runCommand("chmod -R u+w " + tool.folder);
    EXPECT_EQ(run.status, c.status) << run.output;
    EXPECT_NE(run.output.find(c.said), std::string::npos) << run.output;
    EXPECT_EQ(runCommand(row + c.after).output, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Output, OutputTarget, testing::ValuesIn(kOutputs),
                         [](const testing::TestParamInfo<OutputCase>& info) { return std::string(info.param.name); });

TEST(WavWriter, WritesRf64OnlyForARenderPastFourGiB) {
    const std::string path = testing::TempDir() + "writer-" + std::to_string(getpid()) + ".wav";
    const struct {
        int64_t expectedFrames;
        int format;
    } cases[] = {{0, SF_FORMAT_WAV}, {536870399, SF_FORMAT_WAV}, {536870400, SF_FORMAT_RF64}};  // 8 bytes a frame
    for (const auto& c : cases) {
        WavWriter wav;
        std::string error;
        ASSERT_TRUE(wav.open(path, 44100, 2, error, c.expectedFrames)) << error;
        const std::vector<float> left = {0.5f, -0.25f}, right = {1.0f, 0.0f};
        ASSERT_TRUE(wav.write({left.data(), right.data()}, 2));
        ASSERT_TRUE(wav.finish(error)) << error;
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr);
        std::vector<float> samples(4);
        EXPECT_EQ(sf_readf_float(file, samples.data(), 2), 2);
        sf_close(file);
        EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, c.format) << c.expectedFrames;
        EXPECT_EQ(samples, (std::vector<float>{0.5f, 1.0f, -0.25f, 0.0f}));
    }
    std::remove(path.c_str());
}

TEST(RenderOptions, StartPluginAppliesTheSettingsParametersAndProgram) {
    RenderOptions options;
    options.tempo = 90.0;
    options.program = 1;
    options.params = {{2, 0.25f}};
    PluginHost host;
    std::string error;
    ASSERT_TRUE(options.startPlugin(host, QUILM_FAULTY_PLUGIN, error)) << error;
    EXPECT_EQ(host.settings.tempo, 90.0);
    EXPECT_EQ(host.dispatch(effGetProgram), 1);
    EXPECT_EQ(host.getParameter(2), 0.25f);
}

}  // namespace
