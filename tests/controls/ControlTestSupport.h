// Helpers shared by the control tests: headless frames, mouse events, pictures
// of known colours, pixels read back, and recording listeners.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vstgui/vstgui.h"

namespace ControlTest {

using namespace VSTGUI;

// A headless frame of w x h, opened, black background. Release with close().
inline CFrame* makeFrame(CCoord w, CCoord h, VSTGUIEditorInterface* editor = nullptr)
{
    auto* frame = new CFrame(CRect(0, 0, w, h), editor);
    EXPECT_TRUE(frame->open(nullptr, PlatformType::kHeadless));
    frame->setBackgroundColor(kBlackCColor);
    return frame;
}

inline CMouseEventResult mouseDown(CFrame* f, CCoord x, CCoord y, int32_t buttons = kLButton)
{
    CPoint p(x, y);
    return f->platformOnMouseDown(p, CButtonState(buttons));
}
inline CMouseEventResult mouseMoved(CFrame* f, CCoord x, CCoord y, int32_t buttons = 0)
{
    CPoint p(x, y);
    return f->platformOnMouseMoved(p, CButtonState(buttons));
}
inline CMouseEventResult mouseUp(CFrame* f, CCoord x, CCoord y, int32_t buttons = kLButton)
{
    CPoint p(x, y);
    return f->platformOnMouseUp(p, CButtonState(buttons));
}
inline bool wheel(CFrame* f, CCoord x, CCoord y, float distance)
{
    return f->platformOnMouseWheel(CPoint(x, y), kMouseWheelAxisY, distance, CButtonState(0));
}

// An opaque colour per index, distinct for indexes 0..63 and both halves.
inline CColor tone(int index, bool second = false)
{
    return CColor(static_cast<uint8_t>(20 + 3 * index), static_cast<uint8_t>(second ? 200 : 90),
        static_cast<uint8_t>(second ? 40 : 160), 255);
}

// A strip of rows x h pixels, w wide; row k is tone(k) in its left half and, with
// twoHalves, tone(k, true) in its right half.
inline SharedPointer<CBitmap> makeStrip(int rows, CCoord w, CCoord h, bool twoHalves)
{
    auto context = COffscreenContext::create(nullptr, w, h * rows);
    for (int k = 0; k < rows; ++k)
    {
        const CCoord half = twoHalves ? w / 2 : w;
        context->setFillColor(tone(k));
        context->drawRect(CRect(0, h * k, half, h * (k + 1)), kDrawFilled);
        if (twoHalves)
        {
            context->setFillColor(tone(k, true));
            context->drawRect(CRect(half, h * k, w, h * (k + 1)), kDrawFilled);
        }
    }
    context->endDraw();
    return context->getBitmap();
}

// A picture of frames stacked vertically, frame k filled with tone(k).
inline SharedPointer<CBitmap> makeFrames(int frames, CCoord w, CCoord h)
{
    return makeStrip(frames, w, h, false);
}

// Colour of pixel (x, y) of a bitmap, as stored (opaque colours read back as drawn).
inline CColor pixelAt(CBitmap* bitmap, CCoord x, CCoord y)
{
    CColor c(0, 0, 0, 0);
    if (auto* access = CBitmapPixelAccess::create(bitmap, true))
    {
        if (access->setPosition(static_cast<uint32_t>(x), static_cast<uint32_t>(y)))
            access->getColor(c);
        access->forget();
    }
    return c;
}

// Repaints what is invalid and answers the frame's colour at (x, y).
inline CColor framePixel(CFrame* frame, CCoord x, CCoord y)
{
    frame->updateInvalidAreas();
    return pixelAt(frame->getBackBuffer(), x, y);
}

// Records what a control tells its listener.
struct RecordingListener : IControlListener
{
    int changes = 0;
    int begins = 0;
    int ends = 0;
    std::vector<float> values;
    std::vector<std::string> order;
    CControl* lastControl = nullptr;

    void valueChanged(CControl* c) override
    {
        ++changes;
        values.push_back(c->getValue());
        order.push_back("changed");
        lastControl = c;
    }
    void controlBeginEdit(CControl*) override
    {
        ++begins;
        order.push_back("begin");
    }
    void controlEndEdit(CControl*) override
    {
        ++ends;
        order.push_back("end");
    }
};

// Uses the test clock for the timers while it lives.
struct TestClock
{
    TestClock() { CVSTGUITimer::useTestClock(true); }
    ~TestClock() { CVSTGUITimer::useTestClock(false); }
    // Advances by ms and lets the frame run its idle (timers fire there).
    static void advance(CFrame* frame, uint64_t ms)
    {
        CVSTGUITimer::advanceTestClock(ms);
        frame->idle();
    }
};

} // namespace ControlTest
