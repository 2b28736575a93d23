#pragma once
// Reads a Standard MIDI File held in memory into its channel messages, timed in seconds.
// Formats 0 and 1, pulses per beat (with the tempo map) or SMPTE frames; running status,
// sysex (F0) and escape (F7) events, meta events of any length, unknown chunks skipped.
// Every length is checked against the bytes left, so a damaged file is refused with a
// message naming what is wrong and where; it is never read past its end.
// Used on the tool's one thread.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/render/MidiSequence.h"

class MidiFileReader {
public:
    // Longest file the tool plays, in seconds: a damaged delta time can put a note days
    // away, and the render would then fill the disk.
    static constexpr double kMaxSeconds = 4.0 * 3600.0;

    // Reads size bytes; true with the channel messages in file order (by pulse, then track,
    // then position in the track) and what was passed over in warnings; false with error.
    bool read(const unsigned char* bytes, std::size_t size, std::vector<TimedMidi>& events,
              std::vector<std::string>& warnings, std::string& error);

private:
    struct Pulsed {  // a channel message at its pulse
        uint64_t pulse;
        uint8_t bytes[3];
    };
    struct Tempo {  // a tempo change at its pulse; 0: a time signature (the tempo stays)
        uint64_t pulse;
        uint32_t microsPerBeat;
    };

    bool readHeader();
    bool readTrack(std::size_t end);
    bool readNumber(std::size_t end, uint32_t& value);
    void readEscape(uint64_t pulse, std::size_t end);
    void timeEvents(std::vector<TimedMidi>& events);
    double seconds(uint64_t pulse, const Tempo* segment, double segmentStart) const;
    bool fail(const std::string& what);
    void warn(const std::string& what);

    const unsigned char* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;            // next byte to read
    int32_t track_ = 0;              // 1-based number of the track being read
    uint16_t tracks_ = 0;            // as the header declares
    uint32_t pulsesPerBeat_ = 0;     // 0 with SMPTE time
    double pulsesPerSecond_ = 0.0;   // SMPTE time: frames a second times pulses a frame
    std::vector<Pulsed> pulsed_;
    std::vector<Tempo> tempos_;
    std::vector<std::string>* warnings_ = nullptr;
    int32_t unsaidWarnings_ = 0;
    std::string* error_ = nullptr;
};
