#pragma once
// ZelCParamDisplay: the small box that shows a parameter's value as text next to
// a knob while it is dragged. Hidden it is outside the frame's view tree;
// showing adds it to the frame as a top-level view next to the control, hiding
// takes it out again, so one read-out serves every knob. While shown the frame
// holds a reference of its own; the creator keeps its reference throughout.
// UI thread only.

#include <cstdint>

#include "graphics/CFixedString.h"
#include "vstgui/lib/controls/cparamdisplay.h"

class CBitmapFont;

namespace VSTGUI {

// Process-wide: a show not made by the mouse follows the left button (mode 2).
extern uint8_t followButtonMode;

class ZelCParamDisplay : public CParamDisplay
{
public:
    enum HideMode
    {
        kHideNever = 0,       // stays until hidden
        kHideFollowMouse = 1, // hides when the mouse leaves the control (or after 4 ticks)
        kHideFollowButton = 2 // hides when the left button is let go (or after 6 ticks)
    };
    static constexpr uint32_t kTimerMs = 200; // tick period of the hide timer

    // A hidden read-out for frame; style picks when it hides (kHide...).
    ZelCParamDisplay(const CRect& size, CFrame* frame, CBitmap* background = nullptr, int32_t style = 0);
    // Stops and releases the timer.
    ~ZelCParamDisplay() noexcept override;
    ZelCParamDisplay(const ZelCParamDisplay&) = delete;
    ZelCParamDisplay& operator=(const ZelCParamDisplay&) = delete;
    CBaseObject* newCopy() const override { return nullptr; }

    // Places the read-out below (or above) controlRect and adds it to the frame;
    // while shown only refreshes it.
    void show(const CRect& controlRect, bool forceAbove, bool byMouse);
    // Moves the box to where (unless (0, 0)), redraws it and restarts its tick count.
    void moveBy(const CPoint& where);
    // Stops the timer and leaves the frame.
    void hide();
    // Pixels added to the text height and twice to its width, 0..64.
    void setMargin(int32_t value);
    // Room that must stay below the read-out for it to open below, 0..256.
    void setMinRoomBelow(int32_t value);
    // A second room value, 0..256 (kept; no placement rule reads it).
    void setSecondRoom(int32_t value);
    // The hide timer's ticks.
    CMessageResult notify(CBaseObject* sender, IdStringPtr message) override;
    // The box sized to the text, then the text.
    void draw(CDrawContext* context) override;

    // The settings and state above, for tests.
    int32_t getMargin() const { return margin; }
    int32_t getMinRoomBelow() const { return minRoomBelow; }
    int32_t getSecondRoom() const { return secondRoom; }
    int32_t getMode() const { return mode; }
    int32_t getTicks() const { return ticks; }
    const CRect& getControlRect() const { return controlRect; }
    CVSTGUITimer* getTimer() const { return timer; }
    // The box drawn last (inside the view).
    const CRect& getLastBox() const { return lastBox; }

    CFixedString text;                // the text shown; written by the knob
    CBitmapFont* bitmapFont = nullptr; // when set, text is measured and drawn with it; not owned
    float scale = 1.0f;               // factor on the measured text height and width
    int32_t anchor = 1;               // box in the view: 0 left edge, 1 centred, 2 right edge

private:
    CRect controlRect {0, 0, 32, 32};
    int32_t secondRoom = 32;
    int32_t minRoomBelow = 32;
    CVSTGUITimer* timer = nullptr; // owned
    int32_t ticks = 0;
    int32_t mode = kHideFollowMouse;
    int32_t margin = 8;
    CFrame* frame;                 // not owned
    CRect lastBox;
};

} // namespace VSTGUI
