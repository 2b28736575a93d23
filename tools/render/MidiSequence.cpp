#include "tools/render/MidiSequence.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/render/MidiFileReader.h"

namespace {

// Larger files are not read: MIDI files of real music are well below this.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;

bool earlier(const TimedMidi& a, const TimedMidi& b) { return a.seconds < b.seconds; }

}  // namespace

bool MidiSequence::loadFile(const std::string& path, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = "cannot read the MIDI file " + path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    std::size_t n = 0;
    while (bytes.size() <= kMaxFileBytes && (n = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    const int readError = std::ferror(file) != 0 ? errno : 0;
    std::fclose(file);
    if (readError != 0 || bytes.size() > kMaxFileBytes) {
        error = "cannot read the MIDI file " + path + ": " +
                (readError != 0 ? std::strerror(readError) : "it is larger than 1 GiB");
        return false;
    }
    if (!load(bytes.data(), bytes.size(), error)) {
        error = "the MIDI file " + path + " is not played: " + error;
        return false;
    }
    return true;
}

bool MidiSequence::load(const unsigned char* bytes, std::size_t size, std::string& error) {
    MidiFileReader reader;
    if (!reader.read(bytes, size, events_, warnings_, error)) {
        events_.clear();
        return false;
    }
    std::stable_sort(events_.begin(), events_.end(), earlier);
    return true;
}

void MidiSequence::add(double seconds, uint8_t status, uint8_t data1, uint8_t data2) {
    TimedMidi message{seconds, {status, data1, data2}};
    auto at = std::upper_bound(events_.begin(), events_.end(), message, earlier);
    events_.insert(at, message);
}

void MidiSequence::makeDemo() {
    events_.clear();
    warnings_.clear();
    constexpr double beat = 0.5;  // seconds per beat at 120 BPM
    auto note = [this](double start, double length, uint8_t key, uint8_t velocity) {
        add(start, 0x90, key, velocity);
        add(start + length, 0x80, key, 64);
    };
    // C major, A minor, F major, G major: one bar each.
    const uint8_t chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    const uint8_t roots[4] = {36, 33, 29, 31};
    const uint8_t melody[4][8] = {{72, 74, 76, 79, 76, 74, 72, 67},
                                  {69, 72, 76, 72, 69, 67, 64, 67},
                                  {65, 69, 72, 77, 76, 72, 69, 72},
                                  {71, 74, 79, 77, 74, 71, 67, 71}};
    for (int bar = 0; bar < 4; ++bar) {
        double barStart = bar * 4 * beat;
        for (uint8_t key : chords[bar]) note(barStart, 4 * beat - 0.05, key, 80);
        note(barStart, 2 * beat - 0.05, roots[bar], 100);
        note(barStart + 2 * beat, 2 * beat - 0.05, static_cast<uint8_t>(roots[bar] + 7), 90);
        for (int step = 0; step < 8; ++step) {
            note(barStart + step * beat / 2, beat / 2 - 0.04, melody[bar][step], step % 2 == 0 ? 100 : 76);
        }
    }
    // A final chord that rings out.
    note(16 * beat, 2 * beat, 48, 100);
    for (uint8_t key : {60, 64, 67, 72}) note(16 * beat, 2 * beat, key, 90);
}

double MidiSequence::lengthSeconds() const { return events_.empty() ? 0.0 : events_.back().seconds; }
