#include "controls/CKeyboardCtrl.h"

#include "controls/IKeyboardNoteSink.h"
#include "controls/IKeyboardState.h"
#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

namespace {
constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kNoteOff = 0x80;
// Semitone of each white key (white numbers 0..6) and of each black key (0..4).
constexpr int32_t kWhiteSemitones[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int32_t kBlackSemitones[5] = {1, 3, 6, 8, 10};
// White number (0..6) or black number (0..4) of each semitone, and whether it is black.
constexpr int32_t kKeyNumber[12] = {0, 0, 1, 1, 2, 3, 2, 4, 3, 5, 4, 6};
constexpr bool kIsBlack[12] = {false, true, false, true, false, false, true, false, true, false, true, false};
} // namespace

CKeyboardCtrl::CKeyboardCtrl(const CRect& rect, IControlListener* l, int32_t t, IKeyboardNoteSink* n,
    IKeyboardState* s)
    : CControl(rect, l, t, nullptr), notes(n), state(s)
{
    setMouseEnabled(true);
}

int32_t CKeyboardCtrl::whiteKeyWidth() const
{
    CBitmap* white = state ? state->getKeysWhiteHeldBitmap() : nullptr;
    return white ? static_cast<int32_t>(white->getWidth() / 7.0) : 0;
}

int32_t CKeyboardCtrl::keyAt(int32_t x, int32_t y) const
{
    if (!state)
        return -1;
    const int32_t w = whiteKeyWidth();
    if (w <= 0)
        return -1;
    const KeyboardGeometry& g = state->getKeyboardGeometry();
    const int32_t dx = x - g.originLeft;
    const int32_t dy = y - g.originTop;
    // Left of the origin lies no key (and the table would be read at a negative index).
    if (dx < 0)
        return -1;
    const int32_t octaveWidth = 7 * w;
    const int32_t octave = dx / octaveWidth;
    const double r = dx % octaveWidth;
    const double ry = dy;
    int32_t key = -1;
    for (int i = 0; i < KeyboardGeometry::kBlackKeys; ++i)
    {
        const CRect& b = g.black[i];
        if (b.left <= r && r < b.right && b.top <= ry && ry < b.bottom)
            key = kBlackSemitones[i] + 12 * octave;
    }
    if (key < 0)
        key = kWhiteSemitones[(dx / w) % 7] + 12 * octave;
    return key >= 0 && key < kKeyCount ? key : -1;
}

int32_t CKeyboardCtrl::playNoteAt(int32_t x, int32_t y)
{
    const int32_t key = keyAt(x, y);
    if (key < 0 || !notes)
        return key;
    const uint8_t note = static_cast<uint8_t>(key + kLowestNote);
    switch (notes->getVoiceMode())
    {
        case 2:
            for (int32_t voice = 0; voice < notes->getVoiceCount(); ++voice)
                notes->queueGuiMidiEvent(kNoteOn, note, kVelocity, static_cast<uint8_t>(voice));
            break;
        case 1:
            notes->queueGuiMidiEvent(kNoteOn, note, kVelocity, 0);
            notes->queueGuiMidiEvent(kNoteOn, note, kVelocity, 1);
            break;
        default:
            notes->queueGuiMidiEvent(kNoteOn, note, kVelocity, 0);
            break;
    }
    return key;
}

void CKeyboardCtrl::releaseNote(int32_t keyIndex)
{
    if (keyIndex < 0 || keyIndex >= kKeyCount)
        return;
    if (state)
        state->setKeyHeld(keyIndex, false);
    if (notes)
        notes->queueGuiMidiEvent(kNoteOff, static_cast<uint8_t>(keyIndex + kLowestNote), 0, 0);
}

void CKeyboardCtrl::setKeyPressed(int32_t keyIndex, bool pressed)
{
    if (keyIndex < 0 || keyIndex >= kKeyCount)
        return;
    if (state)
        state->setKeyHeld(keyIndex, pressed);
    invalid();
}

CMouseEventResult CKeyboardCtrl::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if ((buttons & kButtonMask) != kLButton)
        return kMouseEventHandled;
    // A click while a key is still held (no mouse-up came) lets that key go first.
    releaseHeldKey();
    heldKey = playNoteAt(static_cast<int32_t>(where.x), static_cast<int32_t>(where.y));
    if (static_cast<uint32_t>(heldKey) >= static_cast<uint32_t>(kKeyCount))
    {
        heldKey = -1;
        return kMouseEventHandled;
    }
    beginEdit();
    if (state)
        state->setKeyHeld(heldKey, true);
    setKeyPressed(heldKey, true);
    return kMouseEventHandled;
}

void CKeyboardCtrl::releaseHeldKey()
{
    if (static_cast<uint32_t>(heldKey) >= static_cast<uint32_t>(kKeyCount))
        return;
    const int32_t key = heldKey;
    heldKey = -1;
    releaseNote(key);
    setKeyPressed(key, false);
    endEdit();
}

CMouseEventResult CKeyboardCtrl::onMouseUp(CPoint&, const CButtonState&)
{
    releaseHeldKey();
    return kMouseEventHandled;
}

CMouseEventResult CKeyboardCtrl::onMouseMoved(CPoint&, const CButtonState&)
{
    return kMouseEventHandled;
}

CMouseEventResult CKeyboardCtrl::onMouseCancel()
{
    releaseHeldKey();
    return kMouseEventHandled;
}

bool CKeyboardCtrl::removed(CView* parent)
{
    releaseHeldKey();
    return CControl::removed(parent);
}

void CKeyboardCtrl::draw(CDrawContext* context)
{
    if (state)
    {
        const KeyboardGeometry& g = state->getKeyboardGeometry();
        const int32_t w = whiteKeyWidth();
        CBitmap* white = state->getKeysWhiteHeldBitmap();
        CBitmap* black = state->getKeysBlackHeldBitmap();
        for (int32_t k = 0; k < kKeyCount; ++k)
        {
            if (!state->isKeyHeld(k))
                continue;
            const int32_t p = k % 12;
            const double octaveLeft = g.originLeft + (k / 12) * 7 * w;
            const double top = g.originTop;
            if (!kIsBlack[p])
            {
                if (!white)
                    continue;
                for (const CRect& part : g.white[kKeyNumber[p]])
                {
                    CRect dest(part);
                    dest.offset(octaveLeft, top);
                    context->drawBitmap(white, dest, CPoint(part.left, part.top), 1.0f);
                }
            }
            else if (black)
            {
                const CRect& b = g.black[kKeyNumber[p]];
                context->drawBitmap(black, CRect(b.left + octaveLeft, top, b.right + octaveLeft, top + b.bottom),
                    CPoint(b.left, 0), 1.0f);
            }
        }
    }
    setDirty(false);
}

} // namespace VSTGUI
