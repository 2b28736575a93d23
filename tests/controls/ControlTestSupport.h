// Helpers shared by the control tests: a headless frame, mouse events through the
// frame's entry points, pictures of known colours, pixels read back, a recording listener.
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

// A strip of rows x h pixels, w wide; row k is tone(first + k) in its left half and,
// with twoHalves, tone(first + k, true) in its right half. One column of rows is a stack
// of frames.
inline SharedPointer<CBitmap> makeStrip(int rows, CCoord w, CCoord h, bool twoHalves = false, int first = 0)
{
    auto context = COffscreenContext::create(nullptr, w, h * rows);
    const CCoord half = twoHalves ? w / 2 : w;
    for (int k = 0; k < rows; ++k)
    {
        context->setFillColor(tone(first + k));
        context->drawRect(CRect(0, h * k, half, h * (k + 1)), kDrawFilled);
        context->setFillColor(tone(first + k, true));
        context->drawRect(CRect(half, h * k, w, h * (k + 1)), kDrawFilled);
    }
    context->endDraw();
    return context->getBitmap();
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

// Pixels of the band that differ from colour (the frame repainted first).
inline int pixelsUnlike(CFrame* frame, const CRect& band, const CColor& colour)
{
    frame->updateInvalidAreas();
    int n = 0;
    for (CCoord y = band.top; y < band.bottom; ++y)
        for (CCoord x = band.left; x < band.right; ++x)
            n += pixelAt(frame->getBackBuffer(), x, y) != colour;
    return n;
}

// Records what a control tells its listener; log holds "begin", "changed" and "end" in order.
struct RecordingListener : IControlListener
{
    int changes = 0;
    std::vector<float> values;
    std::string log;

    void valueChanged(CControl* c) override
    {
        ++changes;
        values.push_back(c->getValue());
        note("changed");
    }
    void controlBeginEdit(CControl*) override { note("begin"); }
    void controlEndEdit(CControl*) override { note("end"); }
    void note(const char* what) { log += log.empty() ? what : std::string(" ") + what; }
};

// Knobs and wheels follow vertical drags.
struct LinearEditor : VSTGUIEditorInterface
{
    int32_t getKnobMode() const override { return kLinearMode; }
};

// A frame of 1000 x 672 (the editor at "Medium") with a linear knob mode and a listener.
class FrameFixture : public ::testing::Test
{
protected:
    ~FrameFixture() override
    {
        if (frame)
            frame->close();
    }
    template <class T>
    T* add(T* view)
    {
        frame->addView(view);
        return view;
    }
    void click(CCoord x, CCoord y, int32_t buttons = kLButton)
    {
        mouseDown(frame, x, y, buttons);
        mouseUp(frame, x, y, buttons);
    }

    LinearEditor editor;
    CFrame* frame = makeFrame(1000, 672, &editor);
    RecordingListener listener;
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
