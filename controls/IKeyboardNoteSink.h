#pragma once
// Where the on-screen keyboard sends its notes and what it asks of the engine
// to lay them out in voices. The editor implements it over the plug-in object
// (VstXSynth::queueGuiMidiEvent and the engine's Voice-Mode and voice count).

#include <cstdint>

class IKeyboardNoteSink
{
public:
    virtual ~IKeyboardNoteSink() = default;

    // Queues one event for the audio thread: status 0x90 or 0x80, note, velocity,
    // voice number. UI thread.
    virtual void queueGuiMidiEvent(uint8_t status, uint8_t data1, uint8_t data2, uint8_t data3) = 0;
    // The engine's Voice-Mode: 0 one voice, 1 two voices, 2 as many as the voice count. UI thread.
    virtual int32_t getVoiceMode() const = 0;
    // The engine's voice count, which a Voice-Mode 2 note fills. UI thread.
    virtual int32_t getVoiceCount() const = 0;
};
