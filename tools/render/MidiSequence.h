#pragma once
// A time-ordered list of short MIDI messages with their times in seconds: read
// from a Standard MIDI File or made as the built-in demo phrase.
// Built and read on the tool's one thread.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TimedMidi {
    double seconds;       // from the start of the phrase
    uint8_t bytes[3];     // status and up to two data bytes
};

class MidiSequence {
public:
    // Reads every channel message of a Standard MIDI File (tempo map applied); false with a
    // message naming the file and what is wrong. What was passed over is in warnings().
    bool loadFile(const std::string& path, std::string& error);
    // The same for a file's bytes held in memory; the message does not name a file.
    bool load(const unsigned char* bytes, std::size_t size, std::string& error);
    // A four-bar phrase at 120 BPM: chords, a bass line and a melody over C, A minor, F and G.
    void makeDemo();
    // Appends one message; keeps the list sorted (stable for equal times).
    void add(double seconds, uint8_t status, uint8_t data1, uint8_t data2);

    // The messages in time order.
    const std::vector<TimedMidi>& events() const { return events_; }
    // Time of the last message in seconds (0 when empty).
    double lengthSeconds() const;
    // What the last load passed over in a file it played (a track without its end, say).
    const std::vector<std::string>& warnings() const { return warnings_; }

private:
    std::vector<TimedMidi> events_;
    std::vector<std::string> warnings_;
};
