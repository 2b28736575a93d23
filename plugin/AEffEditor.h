#pragma once
// The editor interface that AudioEffect routes the host's editor opcodes to.
// Every call comes on the host's user-interface thread unless stated.

#include <cstdint>

#include "plugin/vst/ERect.h"
#include "plugin/vst/VstKeyCode.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;
    virtual ~AEffEditor() = default;

    // The plug-in that owns this editor. Any thread.
    AudioEffect* getEffect() const { return effect; }
    // Hands the host the window size; false when there is none. UI thread.
    virtual bool getRect(ERect** rect) {
        *rect = nullptr;
        return false;
    }
    // Builds the window inside the host's parent window. UI thread.
    virtual bool open(void* parentWindow) {
        systemWindow = parentWindow;
        return false;
    }
    // Tears the window down. UI thread.
    virtual void close() { systemWindow = nullptr; }
    // True between open and close; read on the audio thread too.
    virtual bool isOpen() const { return systemWindow != nullptr; }
    // Periodic idle step. UI thread.
    virtual void idle() {}
    // Keyboard input forwarded by the host; true when used. UI thread.
    virtual bool onKeyDown(VstKeyCode&) { return false; }
    virtual bool onKeyUp(VstKeyCode&) { return false; }
    // Knob mode chosen by the host (circular / linear); true when accepted. UI thread.
    virtual bool setKnobMode(int32_t) { return false; }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
