#include "tools/render/MidiFileReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kDefaultMicrosPerBeat = 500000;  // 120 BPM until the first tempo event
constexpr int32_t kMaxWarnings = 10;                // more are counted, not listed

uint32_t bigEndian(const unsigned char* p, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | p[i];
    return value;
}

// Data bytes after a channel status: program change and channel pressure have one.
int dataBytes(uint8_t status) { return (status & 0xE0) == 0xC0 ? 1 : 2; }

std::string hexByte(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof(text), "0x%02X", value & 0xFFu);
    return text;
}

// A chunk's four-letter type as text; bytes outside printable ASCII shown as '?'.
std::string chunkType(const unsigned char* p) {
    std::string type = "'";
    for (int i = 0; i < 4; ++i) type += (p[i] >= 32 && p[i] < 127) ? static_cast<char>(p[i]) : '?';
    return type + "'";
}

}  // namespace

bool MidiFileReader::read(const unsigned char* bytes, std::size_t size, std::vector<TimedMidi>& events,
                          std::vector<std::string>& warnings, std::string& error) {
    *this = MidiFileReader();
    bytes_ = bytes;
    size_ = size;
    warnings_ = &warnings;
    error_ = &error;
    events.clear();
    warnings.clear();
    if (!readHeader()) return false;
    for (int32_t found = 0; found < tracks_;) {
        if (size_ - pos_ < 8) {
            return fail(pos_ == size_ ? "the file ends after " + std::to_string(found) + " of the " +
                                            std::to_string(tracks_) + " tracks its header declares"
                                      : "the file ends inside a chunk header");
        }
        const bool isTrack = std::memcmp(bytes_ + pos_, "MTrk", 4) == 0;
        const uint32_t length = bigEndian(bytes_ + pos_ + 4, 4);
        const std::string name = isTrack ? "its chunk" : "a chunk " + chunkType(bytes_ + pos_);
        if (isTrack) track_ = found + 1;
        const std::size_t start = pos_ + 8;
        if (length > size_ - start) {
            return fail(name + " declares " + std::to_string(length) + " bytes; the file has " +
                        std::to_string(size_ - start) + " left (is it cut short?)");
        }
        pos_ = start;
        if (isTrack) {
            if (!readTrack(start + length)) return false;
            ++found;
        }
        track_ = 0;
        pos_ = start + length;  // unknown chunks are skipped, as the standard asks
    }
    timeEvents(events);
    if (events.empty()) warn("it holds no channel message: only the tail is rendered");
    double last = 0.0;
    for (const TimedMidi& e : events) last = std::max(last, e.seconds);
    if (last > kMaxSeconds) {
        char text[160];
        std::snprintf(text, sizeof(text), "its last event lies %.0f s in, past the %.0f s this tool plays "
                      "(a damaged delta time?)", last, kMaxSeconds);
        *error_ = text;
        return false;
    }
    if (unsaidWarnings_ > 0) warnings.push_back("and " + std::to_string(unsaidWarnings_) + " more warnings");
    return true;
}

bool MidiFileReader::readHeader() {
    if (size_ < 8 || std::memcmp(bytes_, "MThd", 4) != 0) return fail("not a Standard MIDI File (no MThd at its start)");
    const uint32_t length = bigEndian(bytes_ + 4, 4);
    pos_ = 8;
    if (length < 6) return fail("the header chunk holds " + std::to_string(length) + " bytes, fewer than 6");
    if (length > size_ - 8) return fail("the header chunk declares " + std::to_string(length) + " bytes; the file has " +
                                        std::to_string(size_ - 8) + " left");
    const uint32_t format = bigEndian(bytes_ + 8, 2);
    tracks_ = static_cast<uint16_t>(bigEndian(bytes_ + 10, 2));
    const uint32_t division = bigEndian(bytes_ + 12, 2);
    if (format == 2) return fail("format 2 (independent patterns) is not played, only formats 0 and 1");
    if (format > 2) return fail("format " + std::to_string(format) + " is no Standard MIDI File format");
    if (tracks_ == 0) return fail("the header declares no track");
    if ((division & 0x8000) != 0) {
        // SMPTE time: the high byte is minus the frames a second (29: 30 drop-frame, 29.97 Hz).
        const int frames = -static_cast<int>(static_cast<int8_t>(division >> 8));
        const uint32_t ticks = division & 0xFF;
        if (frames != 24 && frames != 25 && frames != 29 && frames != 30) {
            return fail("SMPTE time of " + std::to_string(frames) + " frames a second (24, 25, 29 or 30 expected)");
        }
        if (ticks == 0) return fail("SMPTE time of 0 pulses a frame");
        pulsesPerSecond_ = (frames == 29 ? 30000.0 / 1001.0 : frames) * static_cast<double>(ticks);
    } else {
        if (division == 0) return fail("a division of 0 pulses a beat");
        pulsesPerBeat_ = division;
    }
    pos_ = 8 + length;  // a longer header's extra bytes are skipped
    return true;
}

bool MidiFileReader::readTrack(std::size_t end) {
    uint64_t pulse = 0;
    uint8_t running = 0;  // the last channel status; meta and sysex events keep it
    while (pos_ < end) {
        uint32_t delta = 0;
        if (!readNumber(end, delta)) return false;
        pulse += delta;
        if (pos_ >= end) return fail("the chunk ends after a delta time");
        uint8_t status = bytes_[pos_];
        if (status < 0x80) {
            if (running == 0) return fail("data byte " + hexByte(status) + " with no running status");
            status = running;
        } else {
            ++pos_;
        }
        if (status < 0xF0) {
            running = status;
            Pulsed message{pulse, {status, 0, 0}};
            for (int i = 1; i <= dataBytes(status); ++i) {
                if (pos_ >= end) return fail("the chunk ends inside a channel message");
                if (bytes_[pos_] >= 0x80) return fail("status byte " + hexByte(bytes_[pos_]) + " where a data byte belongs");
                message.bytes[i] = bytes_[pos_++];
            }
            pulsed_.push_back(message);
            continue;
        }
        if (status != 0xFF && status != 0xF0 && status != 0xF7) return fail(hexByte(status) + " is no MIDI file event");
        uint8_t type = 0;
        if (status == 0xFF) {
            if (pos_ >= end) return fail("the chunk ends inside a meta event");
            type = bytes_[pos_++];
        }
        uint32_t length = 0;
        if (!readNumber(end, length)) return false;
        if (length > end - pos_) {
            return fail("an event of " + std::to_string(length) + " bytes runs past its chunk's end");
        }
        if (status == 0xF7) readEscape(pulse, pos_ + length);
        if (status == 0xFF && type == 0x2F) return true;  // End of Track: what follows is padding
        if (status == 0xFF && type == 0x58 && length >= 4) tempos_.push_back({pulse, 0});
        if (status == 0xFF && type == 0x51) {
            const uint32_t micros = length >= 3 ? bigEndian(bytes_ + pos_, 3) : 0;
            if (micros > 0) {
                tempos_.push_back({pulse, micros});
            } else {
                warn("track " + std::to_string(track_) + ", byte " + std::to_string(pos_) + ": a tempo of " +
                     (length < 3 ? std::to_string(length) + " bytes" : std::string("0")) + " is ignored");
            }
        }
        pos_ += length;  // sysex and other meta events are not played
    }
    warn("track " + std::to_string(track_) + " has no End of Track event: it ends with its chunk");
    return true;
}

bool MidiFileReader::readNumber(std::size_t end, uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos_ >= end) return fail("the chunk ends inside a variable-length number");
        const uint8_t b = bytes_[pos_++];
        value = (value << 7) | (b & 0x7Fu);
        if ((b & 0x80) == 0) return true;
    }
    return fail("a variable-length number longer than 4 bytes");
}

void MidiFileReader::readEscape(uint64_t pulse, std::size_t end) {
    // The bytes of an escape go to the device as they stand: play the channel messages among
    // them (with running status inside the escape); system bytes and their data are passed over.
    Pulsed message{pulse, {0, 0, 0}};
    int have = 0;
    for (std::size_t i = pos_; i < end; ++i) {
        const uint8_t b = bytes_[i];
        if (b >= 0xF8) continue;  // real-time bytes may fall anywhere
        if (b >= 0x80) {
            message.bytes[0] = b < 0xF0 ? b : 0;
            have = 0;
        } else if (message.bytes[0] != 0) {
            message.bytes[++have] = b;
            if (have == dataBytes(message.bytes[0])) {
                pulsed_.push_back(message);
                message.bytes[1] = message.bytes[2] = 0;
                have = 0;
            }
        }
    }
}

void MidiFileReader::timeEvents(std::vector<TimedMidi>& events) {
    // Tracks are merged by pulse; equal pulses keep track order, then file order. Of tempo
    // changes at one pulse the last one counts. A time signature starts a segment at the tempo
    // before: the times are the same, only rounded from a later start, and so the times of
    // the files this tool has always read stay the same to the last bit.
    auto byPulse = [](const auto& a, const auto& b) { return a.pulse < b.pulse; };
    std::stable_sort(pulsed_.begin(), pulsed_.end(), byPulse);
    std::stable_sort(tempos_.begin(), tempos_.end(), byPulse);
    // The tempo map: segments starting at their pulse, with their start in seconds.
    std::vector<Tempo> segments{{0, kDefaultMicrosPerBeat}};
    std::vector<double> starts{0.0};
    for (const Tempo& t : tempos_) {
        if (t.pulse != segments.back().pulse) {
            starts.push_back(seconds(t.pulse, &segments.back(), starts.back()));
            segments.push_back({t.pulse, segments.back().microsPerBeat});
        }
        if (t.microsPerBeat > 0) segments.back().microsPerBeat = t.microsPerBeat;
    }
    events.reserve(pulsed_.size());
    std::size_t s = 0;
    for (const Pulsed& p : pulsed_) {
        // A message at a segment's first pulse is timed from the segment before (the same time).
        while (s + 1 < segments.size() && segments[s + 1].pulse < p.pulse) ++s;
        events.push_back({seconds(p.pulse, &segments[s], starts[s]), {p.bytes[0], p.bytes[1], p.bytes[2]}});
    }
}

double MidiFileReader::seconds(uint64_t pulse, const Tempo* segment, double segmentStart) const {
    if (pulsesPerBeat_ == 0) return static_cast<double>(pulse) / pulsesPerSecond_;
    // The segment's start plus its pulses at its tempo, in this order of operations, so that
    // the times of the files read before stay the same to the last bit.
    return segmentStart + static_cast<double>(pulse - segment->pulse) *
                              (segment->microsPerBeat / (static_cast<double>(pulsesPerBeat_) * 1000000.0));
}

bool MidiFileReader::fail(const std::string& what) {
    *error_ = (track_ > 0 ? "track " + std::to_string(track_) + ", " : std::string()) + "byte " +
              std::to_string(pos_) + ": " + what;
    return false;
}

void MidiFileReader::warn(const std::string& what) {
    if (static_cast<int32_t>(warnings_->size()) < kMaxWarnings) {
        warnings_->push_back(what);
    } else {
        ++unsaidWarnings_;
    }
}
