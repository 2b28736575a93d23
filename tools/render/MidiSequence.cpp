#include "tools/render/MidiSequence.h"

#include <smf.h>

#include <algorithm>

bool MidiSequence::loadFile(const std::string& path, std::string& error) {
    smf_t* smf = smf_load(path.c_str());
    if (smf == nullptr) {
        error = "cannot read the MIDI file " + path;
        return false;
    }
    events_.clear();
    smf_event_t* event = nullptr;
    while ((event = smf_get_next_event(smf)) != nullptr) {
        if (smf_event_is_metadata(event) || event->midi_buffer_length < 1) continue;
        uint8_t status = event->midi_buffer[0];
        if (status < 0x80 || status >= 0xF0) continue;  // system messages are not played
        uint8_t d1 = event->midi_buffer_length > 1 ? event->midi_buffer[1] : 0;
        uint8_t d2 = event->midi_buffer_length > 2 ? event->midi_buffer[2] : 0;
        events_.push_back({event->time_seconds, {status, d1, d2}});
    }
    smf_delete(smf);
    std::stable_sort(events_.begin(), events_.end(),
                     [](const TimedMidi& a, const TimedMidi& b) { return a.seconds < b.seconds; });
    return true;
}

void MidiSequence::add(double seconds, uint8_t status, uint8_t data1, uint8_t data2) {
    TimedMidi message{seconds, {status, data1, data2}};
    auto at = std::upper_bound(events_.begin(), events_.end(), message,
                               [](const TimedMidi& a, const TimedMidi& b) { return a.seconds < b.seconds; });
    events_.insert(at, message);
}

void MidiSequence::makeDemo() {
    events_.clear();
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
