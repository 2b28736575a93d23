#pragma once
// What the on-screen keyboard reads and writes in its editor: the key geometry
// of the current size, the 60 held-key flags (key index 0..59 = notes 24..83,
// also lit by the audio thread for notes the plug-in plays) and the two octave
// pictures that show held keys.

#include <cstdint>

#include "controls/KeyboardGeometry.h"
#include "vstgui/lib/vstguifwd.h"

class IKeyboardState
{
public:
    static constexpr int32_t kKeyCount = 60;

    virtual ~IKeyboardState() = default;

    // The key rectangles of the current editor size. UI thread.
    virtual const KeyboardGeometry& getKeyboardGeometry() const = 0;
    // True while key keyIndex (0..59) is drawn as held. UI thread.
    virtual bool isKeyHeld(int32_t keyIndex) const = 0;
    // Sets or clears the held flag of key keyIndex (0..59). UI thread.
    virtual void setKeyHeld(int32_t keyIndex, bool held) = 0;
    // The octave picture with the white keys held (kKeysWhiteHeldBitmap), or null. UI thread.
    virtual VSTGUI::CBitmap* getKeysWhiteHeldBitmap() const = 0;
    // The octave picture with the black keys held (kKeysBlackHeldBitmap), or null. UI thread.
    virtual VSTGUI::CBitmap* getKeysBlackHeldBitmap() const = 0;
};
