#pragma once
// What the instrument's plug-in object asks of its editor beyond the generic
// editor interface (AEffEditor): key lights, program refresh and the own host's
// mouse wheel. An editor class derives from its AEffEditor base (for example the
// GUI library's plug-in editor) and from this interface; the plug-in finds this
// part of the editor it made by a cross-cast.

#include <cstdint>

class SynthEditor {
public:
    // Lights (on) or clears a key of the on-screen keyboard. Audio thread, only while open.
    virtual void setKeyDisplay(int32_t note, bool on) = 0;
    // Redraws the keyboard once when a key changed since the last call. Audio thread, only while open.
    virtual void flushKeyDisplay() = 0;
    // Marks the program menu and controls for refreshing at the next idle step. Any thread.
    virtual void requestProgramRefresh() = 0;
    // A mouse-wheel message of the own host: screen position (x bits 0..15, y 16..31) and distance. UI thread.
    virtual void onMouseWheel(intptr_t position, float distance) = 0;

protected:
    // The editor is deleted through its AEffEditor base.
    ~SynthEditor() = default;
};
