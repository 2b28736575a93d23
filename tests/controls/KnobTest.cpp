// Knob with read-out: the read-out on a left press, refreshed (one move late) while
// dragging, hidden on release; Shift, resets, right and middle clicks.
#include <cstdio>

#include "ControlTestSupport.h"
#include "controls/CDisplayAnimKnob.h"
#include "controls/IValueTextFormatter.h"
#include "controls/ZelCParamDisplay.h"
#include "graphics/CFixedString.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

struct LinearEditor : VSTGUIEditorInterface
{
    int32_t getKnobMode() const override { return kLinearMode; }
};

// Writes "<tag>:<value>" and remembers the values it was asked for.
struct RecordingFormatter : IValueTextFormatter
{
    std::vector<float> values;
    void formatValue(int32_t tag, float value, CFixedString& text) override
    {
        values.push_back(value);
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%d:%.3f", tag, static_cast<double>(value));
        text.assign(buffer);
    }
};

class KnobFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = makeFrame(1000, 672, &editor);
        readOut = new ZelCParamDisplay(CRect(0, 0, 0, 0), frame);
        readOut->setFont(font);
        knob = addKnob(CRect(172, 36, 224, 88), 0);
    }
    void TearDown() override
    {
        frame->close();
        readOut->forget();
    }
    CDisplayAnimKnob* addKnob(const CRect& r, int32_t tag)
    {
        auto* k = new CDisplayAnimKnob(r, &listener, tag, 63, 52, strip, CPoint(0, 0), &formatter, readOut);
        k->setValue(0.5f);
        frame->addView(k);
        return k;
    }
    std::string text() { return readOut->text.c_str(); }

    LinearEditor editor;
    CFrame* frame = nullptr;
    ZelCParamDisplay* readOut = nullptr;
    CDisplayAnimKnob* knob = nullptr;
    RecordingFormatter formatter;
    RecordingListener listener;
    SharedPointer<CFontDesc> font = makeOwned<CFontDesc>("Verdana", 12);
    SharedPointer<CBitmap> strip = makeFrames(63, 52, 52);
};

} // namespace

TEST_F(KnobFixture, LeftPressShowsTheValueBelowTheKnob)
{
    EXPECT_EQ(mouseDown(frame, 198, 62), kMouseEventHandled);
    EXPECT_TRUE(readOut->isAttached());
    EXPECT_EQ(readOut->getViewSize(), CRect(132, 93, 264, 115));
    EXPECT_EQ(text(), "0:0.500");
    // The press is no reset (the base answered 1): the read-out waits for the release.
    EXPECT_EQ(readOut->getMode(), ZelCParamDisplay::kHideNever);
    EXPECT_FALSE(readOut->getTimer()->isRunning());
    mouseUp(frame, 198, 62);
    EXPECT_FALSE(readOut->isAttached());
    EXPECT_EQ(readOut->getNbReference(), 1);
}

TEST_F(KnobFixture, ReadOutLagsOneMoveBehindTheValue)
{
    mouseDown(frame, 198, 62);
    struct Step
    {
        double y;
        const char* shown; // the read-out's text after the move
        float value;       // the knob's value after the move
    };
    const Step steps[] = {{52, "0:0.500", 0.55f}, {42, "0:0.550", 0.60f}, {62, "0:0.600", 0.50f}};
    for (const Step& s : steps)
    {
        mouseMoved(frame, 198, s.y, kLButton);
        EXPECT_EQ(text(), s.shown);
        EXPECT_NEAR(knob->getValue(), s.value, 1e-5f);
        EXPECT_TRUE(readOut->isAttached());
    }
    mouseUp(frame, 198, 62);
    EXPECT_FALSE(readOut->isAttached());
    ASSERT_EQ(listener.values.size(), 3u);
    EXPECT_NEAR(listener.values[1], 0.6f, 1e-5f);
    EXPECT_EQ(listener.order.front(), "begin");
    EXPECT_EQ(listener.order.back(), "end");
}

TEST_F(KnobFixture, ShiftDragsTenTimesFiner)
{
    mouseDown(frame, 198, 62, kLButton | kShift);
    EXPECT_TRUE(readOut->isAttached());
    mouseMoved(frame, 198, 42, kLButton | kShift);
    EXPECT_NEAR(knob->getValue(), 0.51f, 1e-5f);
    mouseMoved(frame, 198, 22, kLButton); // Shift let go: normal speed from this point on
    EXPECT_NEAR(knob->getValue(), 0.51f, 1e-5f);
    mouseMoved(frame, 198, 2, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.61f, 1e-5f);
    mouseUp(frame, 198, 2);
}

struct KnobClickCase
{
    const char* name;
    int32_t buttons;
    CMouseEventResult result;
    float valueAfter; // default 0.25, value before 0.5
    bool shown;       // the read-out while the button is down
};

class KnobClicks : public KnobFixture, public ::testing::WithParamInterface<KnobClickCase>
{
};

TEST_P(KnobClicks, ResultValueAndReadOut)
{
    const KnobClickCase& c = GetParam();
    knob->setDefaultValue(0.25f);
    EXPECT_EQ(mouseDown(frame, 198, 62, c.buttons), c.result);
    EXPECT_EQ(knob->getValue(), c.valueAfter);
    EXPECT_EQ(readOut->isAttached(), c.shown);
    mouseUp(frame, 198, 62, c.buttons);
    EXPECT_FALSE(readOut->isAttached());
}

INSTANTIATE_TEST_SUITE_P(Buttons, KnobClicks,
    ::testing::Values(KnobClickCase {"left", kLButton, kMouseEventHandled, 0.5f, true},
        KnobClickCase {"controlResets", kLButton | kControl, kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.25f,
            false},
        KnobClickCase {"doubleClickResets", kLButton | kDoubleClick, kMouseDownEventHandledButDontNeedMovedOrUpEvents,
            0.25f, false},
        KnobClickCase {"right", kRButton, kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.5f, false},
        KnobClickCase {"middle", kMButton, kMouseEventNotHandled, 0.5f, false},
        KnobClickCase {"controlRight", kRButton | kControl, kMouseEventNotHandled, 0.5f, false},
        KnobClickCase {"shiftLeft", kLButton | kShift, kMouseEventHandled, 0.5f, true}),
    [](const ::testing::TestParamInfo<KnobClickCase>& info) { return std::string(info.param.name); });

TEST_F(KnobFixture, ReadOutOpensAboveAKnobNearTheFrameBottom)
{
    CDisplayAnimKnob* low = addKnob(CRect(100, 600, 152, 652), 58);
    mouseDown(frame, 120, 620);
    EXPECT_EQ(readOut->getViewSize(), CRect(60, 573, 192, 595));
    EXPECT_EQ(text(), "58:0.500");
    mouseUp(frame, 120, 620);
    (void)low;
}

TEST_F(KnobFixture, OneReadOutServesEveryKnob)
{
    addKnob(CRect(400, 36, 452, 88), 4);
    mouseDown(frame, 198, 62);
    mouseUp(frame, 198, 62);
    mouseDown(frame, 420, 62);
    EXPECT_EQ(readOut->getViewSize(), CRect(360, 93, 492, 115));
    EXPECT_EQ(text(), "4:0.500");
    mouseUp(frame, 420, 62);
    EXPECT_EQ(frame->getNbViews(), 2u); // the two knobs; the read-out has left
}

TEST_F(KnobFixture, CancelledDragRestoresTheValueAndHidesTheReadOut)
{
    mouseDown(frame, 198, 62);
    mouseMoved(frame, 198, 22, kLButton);
    frame->onMouseCancel();
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_FALSE(readOut->isAttached());
}

TEST_F(KnobFixture, KnobWithoutReadOutIsAPlainKnob)
{
    auto* plain = new CDisplayAnimKnob(CRect(600, 36, 652, 88), &listener, 9, 63, 52, strip, CPoint(0, 0), nullptr,
        nullptr);
    plain->setValue(0.5f);
    frame->addView(plain);
    EXPECT_EQ(mouseDown(frame, 620, 62, kRButton), kMouseEventNotHandled);
    EXPECT_EQ(mouseDown(frame, 620, 62), kMouseEventHandled);
    mouseMoved(frame, 620, 52, kLButton);
    mouseUp(frame, 620, 52);
    EXPECT_NEAR(plain->getValue(), 0.55f, 1e-5f);
    EXPECT_TRUE(formatter.values.empty());
}

TEST_F(KnobFixture, KnobDrawsThePictureOfItsValue)
{
    knob->setValue(1.0f);
    EXPECT_EQ(framePixel(frame, 198, 62), tone(62));
    knob->setValue(0.0f);
    EXPECT_EQ(framePixel(frame, 198, 62), tone(0));
}
