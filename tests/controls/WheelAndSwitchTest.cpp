// Wheels (frames, spring-back), the routing selector, the button, switches and the
// menu button with left, right and middle clicks. (The logo link: tests/editor.)
#include <functional>

#include "ControlTestSupport.h"
#include "controls/CDiagramSelector.h"
#include "controls/CKeyboardWheel.h"
#include "controls/CMyButton.h"
#include "controls/CMyOptionMenu.h"
#include "controls/CMyRockerSwitch.h"
#include "controls/CMyVerticalSwitch.h"
#include "controls/IWheelPictureSource.h"
#include "vstgui/lib/platform/headless/headlessoptionmenu.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

// The wheel strip: 91 frames of 16 x 40, frame k in tone(k % 64, k >= 64).
struct WheelPictures : IWheelPictureSource
{
    CBitmap* getWheelBitmap() const override { return strip; }
    static CColor colour(int k) { return tone(k % 64, k >= 64); }
    SharedPointer<CBitmap> strip = []() -> SharedPointer<CBitmap> {
        auto context = COffscreenContext::create(nullptr, 16, 40 * 91);
        for (int k = 0; k < 91; ++k)
        {
            context->setFillColor(colour(k));
            context->drawRect(CRect(0, 40 * k, 16, 40 * (k + 1)), kDrawFilled);
        }
        context->endDraw();
        return context->getBitmap();
    }();
};

class ControlFixture : public FrameFixture
{
protected:
    CDiagramSelector* addSelector(IControlListener* l)
    {
        return add(new CDiagramSelector(CRect(50, 50, 80, 70), l, 28, makeStrip(3, 30, 20)));
    }
    WheelPictures pictures;
};

} // namespace

// ---- wheels ------------------------------------------------------------------------------

TEST_F(ControlFixture, WheelValueSelectsTheFrame)
{
    auto* wheel = add(new CKeyboardWheel(CRect(10, 10, 26, 50), &listener, 72, &pictures, false));
    for (auto [value, index] : {std::pair(0.5f, 45), {1.0f, 0}, {0.0f, 90}, {0.25f, 68}, {0.999f, 1}})
    {
        wheel->setValue(value);
        EXPECT_EQ(wheel->frameIndex(), index);
        EXPECT_EQ(framePixel(frame, 18, 30), WheelPictures::colour(index)) << value;
    }
}

TEST_F(ControlFixture, WheelsReportEveryReleaseAndOnlyThePitchWheelSpringsBack)
{
    struct Case { bool spring; float start; double dragTo; float during, after; std::vector<float> heard; };
    const Case cases[] = {{true, 0.5f, 20, 0.7f, 0.5f, {0.7f, 0.5f}}, // the drag, then the spring-back
        {false, 0.0f, 60, 0.0f, 0.0f, {0.0f}},                       // no move: no change, yet a report
        {false, 0.0f, 0, 0.3f, 0.3f, {0.3f, 0.3f}}};
    for (const Case& c : cases)
    {
        listener = RecordingListener();
        auto* wheel = add(new CKeyboardWheel(CRect(10, 10, 26, 110), &listener, 72, &pictures, c.spring));
        wheel->setValue(c.start);
        mouseDown(frame, 18, 60);
        mouseMoved(frame, 18, c.dragTo, kLButton);
        EXPECT_NEAR(wheel->getValue(), c.during, 1e-5f);
        mouseUp(frame, 18, c.dragTo);
        EXPECT_TRUE(ControlTest::wheel(frame, 18, 60, 3.0f)); // the mouse wheel never moves it
        EXPECT_NEAR(wheel->getValue(), c.after, 1e-5f);
        ASSERT_EQ(listener.values.size(), c.heard.size());
        for (size_t i = 0; i < c.heard.size(); ++i)
            EXPECT_NEAR(listener.values[i], c.heard[i], 1e-5f);
        EXPECT_EQ(framePixel(frame, 18, 30), WheelPictures::colour(wheel->frameIndex()));
        frame->removeView(wheel);
    }
}

// ---- routing selector ------------------------------------------------------------------------

TEST_F(ControlFixture, RoutingSelectorCyclesByClickAndDrawsItsState)
{
    auto* selector = addSelector(&listener);
    const std::vector<float> expected = {1, 2, 0, 1};
    for (float v : expected)
    {
        EXPECT_EQ(mouseDown(frame, 60, 60), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        EXPECT_EQ(framePixel(frame, 60, 60), tone(static_cast<int>(v)));
    }
    for (int32_t b : {int32_t(kRButton), int32_t(kMButton), kLButton | kRButton})
        EXPECT_EQ(mouseDown(frame, 60, 60, b), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(selector->getValue(), 1.0f);
    EXPECT_EQ(listener.values, expected);
    EXPECT_EQ(listener.log, "begin changed end begin changed end begin changed end begin changed end");
}

TEST_F(ControlFixture, RoutingSelectorWheelStepsAndWrapsWithAListenerAndNoLock)
{
    auto* selector = addSelector(nullptr);
    EXPECT_FALSE(selector->onWheel(CPoint(60, 60), kMouseWheelAxisY, 1.0f, CButtonState()));
    EXPECT_EQ(selector->notify(nullptr, CVSTGUITimer::kMsgTimer), kMessageUnknown);
    selector->setListener(&listener);
    struct Case { float state, distance, next; };
    for (const Case& c : {Case {0, -1, 1}, {2, -1, 0}, {0, 1, 2}, {1, 1, 0}, {2, 0, 1}})
    {
        selector->setValue(c.state);
        EXPECT_TRUE(wheel(frame, 60, 60, c.distance));
        EXPECT_EQ(selector->getValue(), c.next) << c.state << " " << c.distance;
    }
    EXPECT_EQ(listener.changes, 5);
    selector->wheelLocked = true;
    EXPECT_TRUE(wheel(frame, 60, 60, 1.0f));
    EXPECT_EQ(selector->getValue(), 1.0f);
    EXPECT_EQ(listener.changes, 5);
}

// ---- button and switches --------------------------------------------------------------------------

// Each own class answers 3 to a right click and leaves its value; every other click goes
// to the library class, whose answer it gives.
TEST_F(ControlFixture, SwitchesLeaveRightClicksAndPassTheRest)
{
    auto two = makeStrip(2, 20, 10), three = makeStrip(3, 20, 10);
    const std::function<CControl*(bool)> makers[] = {
        [&](bool own) -> CControl* {
            const CRect r(10, 10, 30, 20);
            return own ? new CMyButton(r, &listener, 27, two) : new COnOffButton(r, nullptr, 27, two);
        },
        [&](bool own) -> CControl* {
            const CRect r(10, 10, 30, 20);
            const auto v = CRockerSwitch::kVertical;
            return own ? new CMyRockerSwitch(r, &listener, 89, 10, three, CPoint(0, 0), v)
                       : new CRockerSwitch(r, nullptr, 89, 10, three, CPoint(0, 0), v);
        },
        [&](bool own) -> CControl* {
            const CRect r(10, 10, 30, 40);
            return own ? new CMyVerticalSwitch(r, &listener, 32, 3, 10, 3, three)
                       : new CVerticalSwitch(r, nullptr, 32, 3, 10, 3, three);
        }};
    for (const auto& make : makers)
        for (int32_t b : {int32_t(kLButton), int32_t(kRButton), int32_t(kMButton), kRButton | kShift, kLButton | kRButton})
        {
            listener = RecordingListener();
            CControl* own = add(make(true));
            CControl* base = make(false);
            const float before = own->getValue();
            CPoint p(20, 12);
            const CMouseEventResult ownResult = mouseDown(frame, p.x, p.y, b);
            const bool right = (b & kButtonMask) == kRButton;
            EXPECT_EQ(ownResult, right ? kMouseDownEventHandledButDontNeedMovedOrUpEvents
                                       : base->onMouseDown(p, CButtonState(b))) << b;
            EXPECT_TRUE(!right || (own->getValue() == before && listener.changes == 0)) << b;
            mouseUp(frame, p.x, p.y, b);
            base->forget();
            frame->removeView(own);
        }
}

TEST_F(ControlFixture, ButtonRockerAndVerticalSwitchShowTheirState)
{
    auto* button = add(new CMyButton(CRect(10, 10, 30, 20), &listener, 27, makeStrip(2, 20, 10)));
    EXPECT_EQ(framePixel(frame, 20, 15), tone(0));
    click(20, 15);
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(framePixel(frame, 20, 15), tone(1)); // its pressed half

    auto* rocker = add(new CMyRockerSwitch(CRect(10, 30, 30, 60), &listener, 89, 10, makeStrip(3, 20, 10),
        CPoint(0, 0), CRockerSwitch::kVertical));
    mouseDown(frame, 20, 32);
    EXPECT_EQ(rocker->getValue(), -1.0f);
    mouseUp(frame, 20, 32); // springs back
    mouseDown(frame, 20, 58);
    EXPECT_EQ(rocker->getValue(), 1.0f);
    mouseUp(frame, 20, 58);
    EXPECT_EQ(listener.values, (std::vector<float> {1.0f, -1.0f, 0.0f, 1.0f, 0.0f}));

    auto* sw = add(new CMyVerticalSwitch(CRect(10, 70, 30, 100), &listener, 32, 3, 10, 3, makeStrip(3, 20, 10)));
    click(20, 95);
    EXPECT_EQ(sw->getPosition(), 2);
    EXPECT_EQ(framePixel(frame, 20, 72), tone(2)); // the picture of position 2 at the top
}

// ---- menu button -------------------------------------------------------------------------------------

TEST_F(ControlFixture, MenuButtonOpensOnLeftOrRightAloneAndShowsItsPressedHalf)
{
    auto* menu = add(new CMyOptionMenu(CRect(10, 10, 30, 20), &listener, 82, makeStrip(2, 20, 10)));
    menu->addEntry("Voices");
    menu->addEntry("Size");
    int popups = 0;
    CColor pressed;
    HeadlessOptionMenu::setScript([&](COptionMenu* root) {
        ++popups;
        pressed = pixelAt(frame->getBackBuffer(), 20, 15);
        return PlatformOptionMenuResult {root, 1};
    });
    EXPECT_EQ(framePixel(frame, 20, 15), tone(0));
    struct Case
    {
        int32_t buttons;
        int popups;
    };
    const Case cases[] = {{kLButton, 1}, {kRButton, 2}, {kMButton, 2}, {kLButton | kRButton, 2},
        {kRButton | kControl, 3}, {kLButton | kDoubleClick, 4}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(mouseDown(frame, 20, 15, c.buttons), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        EXPECT_EQ(popups, c.popups) << c.buttons;
    }
    HeadlessOptionMenu::setScript(nullptr);
    EXPECT_EQ(pressed, tone(1));
    EXPECT_EQ(framePixel(frame, 20, 15), tone(0));
    EXPECT_EQ(listener.changes, 4);
    EXPECT_EQ(menu->getValue(), 1.0f);
}
