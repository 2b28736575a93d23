#pragma once
// CKeyboardCtrl: the editor's five-octave on-screen keyboard (key indexes 0..59 =
// MIDI notes 24..83), laid over the keys that the background shows. A left click
// plays the key under the pointer (note-ons by Voice-Mode through the note sink),
// releasing the button sends its note-off; dragging does not change the note.
// It draws only held keys, from the octave pictures with keys held. UI thread.

#include <cstdint>

#include "vstgui/lib/controls/ccontrol.h"

class IKeyboardNoteSink;
class IKeyboardState;

namespace VSTGUI {

class CKeyboardCtrl : public CControl
{
public:
    static constexpr int32_t kKeyCount = 60;
    static constexpr int32_t kLowestNote = 24;  // MIDI note of key index 0
    static constexpr uint8_t kVelocity = 127;   // of every note-on

    // A keyboard over rect that plays into notes and reads and writes state (both
    // not owned, either may be null).
    CKeyboardCtrl(const CRect& rect, IControlListener* listener, int32_t tag, IKeyboardNoteSink* notes,
        IKeyboardState* state);
    CKeyboardCtrl(const CKeyboardCtrl& other) = default;
    CBaseObject* newCopy() const override { return new CKeyboardCtrl(*this); }

    // Left alone: plays the key under the pointer. Always handled.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // Releases the key the click started. Always handled.
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    // Nothing (the note stays). Always handled.
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    // The gesture was taken away: the held key is released.
    CMouseEventResult onMouseCancel() override;
    // Leaving the view tree releases a held key.
    bool removed(CView* parent) override;
    // The held keys from the octave pictures.
    void draw(CDrawContext* context) override;

    // The key index under frame point (x, y) (-1 when it maps to no key) and its
    // note-ons queued; a point that maps to no key queues nothing.
    int32_t playNoteAt(int32_t x, int32_t y);
    // Clears the key's flag and queues its note-off.
    void releaseNote(int32_t keyIndex);
    // Sets the key's flag and redraws (indexes outside 0..59 ignored).
    void setKeyPressed(int32_t keyIndex, bool pressed);
    // Key index under frame point (x, y) by the geometry, or -1 outside the five octaves.
    int32_t keyAt(int32_t x, int32_t y) const;
    // Width of a white key: int(white-held picture width / 7), 0 without the picture.
    int32_t whiteKeyWidth() const;

    // The key held by the mouse, or -1.
    int32_t getHeldKey() const { return heldKey; }

private:
    // Lets go of the click's key, if any: note-off, flag cleared, edit ended.
    void releaseHeldKey();

    IKeyboardNoteSink* notes; // not owned
    IKeyboardState* state;    // not owned
    int32_t heldKey = -1;     // key index of the click's note, -1 for none
};

} // namespace VSTGUI
