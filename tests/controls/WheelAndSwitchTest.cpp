// Wheels (frames, spring-back), the routing selector, the logo link, the button,
// switches and the menu button with left, right and middle clicks.
#include "ControlTestSupport.h"
#include "controls/CDiagramSelector.h"
#include "controls/CKeyboardWheel.h"
#include "controls/CMyButton.h"
#include "controls/CMyOptionMenu.h"
#include "controls/CMyRockerSwitch.h"
#include "controls/CMyVerticalSwitch.h"
#include "controls/CRollOverSwitch.h"
#include "controls/IWheelPictureSource.h"
#include "vstgui/lib/platform/headless/headlessoptionmenu.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

struct LinearEditor : VSTGUIEditorInterface
{
    int32_t getKnobMode() const override { return kLinearMode; }
};

CColor wheelColour(int k)
{
    return CColor(static_cast<uint8_t>(10 + 2 * k), static_cast<uint8_t>(250 - 2 * k), 77, 255);
}

// The wheel strip: 91 frames of 16 x 40, frame k in wheelColour(k).
struct WheelPictures : IWheelPictureSource
{
    WheelPictures()
    {
        auto context = COffscreenContext::create(nullptr, 16, 40 * 91);
        for (int k = 0; k < 91; ++k)
        {
            context->setFillColor(wheelColour(k));
            context->drawRect(CRect(0, 40 * k, 16, 40 * (k + 1)), kDrawFilled);
        }
        context->endDraw();
        strip = context->getBitmap();
    }
    CBitmap* getWheelBitmap() const override { return strip; }
    SharedPointer<CBitmap> strip;
};

class ControlFixture : public ::testing::Test
{
protected:
    void SetUp() override { frame = makeFrame(400, 300, &editor); }
    void TearDown() override { frame->close(); }
    template <class T>
    T* add(T* view)
    {
        frame->addView(view);
        return view;
    }

    LinearEditor editor;
    CFrame* frame = nullptr;
    RecordingListener listener;
};

} // namespace

// ---- wheels ------------------------------------------------------------------------------

class WheelFrames : public ControlFixture, public ::testing::WithParamInterface<std::pair<float, int>>
{
};

TEST_P(WheelFrames, ValueSelectsTheFrame)
{
    WheelPictures pictures;
    auto* wheel = add(new CKeyboardWheel(CRect(10, 10, 26, 50), &listener, 72, &pictures, false));
    wheel->setValue(GetParam().first);
    EXPECT_EQ(wheel->frameIndex(), GetParam().second);
    EXPECT_EQ(framePixel(frame, 18, 30), wheelColour(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(Values, WheelFrames,
    ::testing::Values(std::make_pair(0.5f, 45), std::make_pair(1.0f, 0), std::make_pair(0.0f, 90),
        std::make_pair(0.25f, 68), std::make_pair(0.999f, 1)));

TEST_F(ControlFixture, PitchWheelSpringsBackAndReportsIt)
{
    WheelPictures pictures;
    auto* wheel = add(new CKeyboardWheel(CRect(10, 10, 26, 110), &listener, 86, &pictures, true));
    wheel->setValue(0.5f);
    mouseDown(frame, 18, 60);
    mouseMoved(frame, 18, 20, kLButton);
    EXPECT_NEAR(wheel->getValue(), 0.7f, 1e-5f);
    mouseUp(frame, 18, 20);
    EXPECT_EQ(wheel->getValue(), 0.5f);
    ASSERT_EQ(listener.changes, 2); // the drag, then the spring-back
    EXPECT_EQ(listener.values.back(), 0.5f);
    EXPECT_EQ(framePixel(frame, 18, 30), wheelColour(45));
}

TEST_F(ControlFixture, ModulationWheelKeepsItsValueButStillReports)
{
    WheelPictures pictures;
    auto* wheel = add(new CKeyboardWheel(CRect(10, 10, 26, 110), &listener, 72, &pictures, false));
    wheel->setValue(0.0f);
    mouseDown(frame, 18, 60);
    mouseUp(frame, 18, 60); // no move: no change, yet a report
    EXPECT_EQ(wheel->getValue(), 0.0f);
    EXPECT_EQ(listener.changes, 1);
    mouseDown(frame, 18, 60);
    mouseMoved(frame, 18, 0, kLButton);
    mouseUp(frame, 18, 0);
    EXPECT_NEAR(wheel->getValue(), 0.3f, 1e-5f);
    EXPECT_NEAR(listener.values.back(), 0.3f, 1e-5f);
}

TEST_F(ControlFixture, MouseWheelNeverMovesAWheel)
{
    WheelPictures pictures;
    auto* modWheel = add(new CKeyboardWheel(CRect(10, 10, 26, 110), &listener, 72, &pictures, false));
    modWheel->setValue(0.4f);
    EXPECT_TRUE(wheel(frame, 18, 60, 3.0f));
    EXPECT_EQ(modWheel->getValue(), 0.4f);
    EXPECT_EQ(listener.changes, 0);
}

// ---- routing selector ------------------------------------------------------------------------

TEST_F(ControlFixture, RoutingSelectorCyclesByClickAndDrawsItsState)
{
    auto* selector = add(new CDiagramSelector(CRect(50, 50, 80, 70), &listener, 28, makeFrames(3, 30, 20)));
    EXPECT_EQ(selector->getFrameHeight(), 20);
    EXPECT_EQ(selector->getFrameWidth(), 30);
    const float expected[] = {1, 2, 0, 1};
    for (float v : expected)
    {
        EXPECT_EQ(mouseDown(frame, 60, 60), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        EXPECT_EQ(selector->getValue(), v);
        EXPECT_EQ(framePixel(frame, 60, 60), tone(static_cast<int>(v)));
    }
    EXPECT_EQ(listener.values, std::vector<float>(std::begin(expected), std::end(expected)));
    EXPECT_EQ(listener.begins, 4);
    EXPECT_EQ(listener.ends, 4);
    for (int32_t b : {int32_t(kRButton), int32_t(kMButton), kLButton | kRButton})
        EXPECT_EQ(mouseDown(frame, 60, 60, b), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(selector->getValue(), 1.0f);
    EXPECT_EQ(listener.changes, 4);
}

struct SelectorWheelCase
{
    float state, distance, next;
};

class SelectorWheel : public ControlFixture, public ::testing::WithParamInterface<SelectorWheelCase>
{
};

TEST_P(SelectorWheel, StepsAndWraps)
{
    const SelectorWheelCase& c = GetParam();
    auto* selector = add(new CDiagramSelector(CRect(50, 50, 80, 70), &listener, 28, makeFrames(3, 30, 20)));
    selector->setValue(c.state);
    EXPECT_TRUE(wheel(frame, 60, 60, c.distance));
    EXPECT_EQ(selector->getValue(), c.next);
    EXPECT_EQ(listener.changes, 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, SelectorWheel,
    ::testing::Values(SelectorWheelCase {0, -1, 1}, SelectorWheelCase {2, -1, 0}, SelectorWheelCase {0, 1, 2},
        SelectorWheelCase {1, 1, 0}, SelectorWheelCase {2, 0, 1}));

TEST_F(ControlFixture, RoutingSelectorWheelNeedsAListenerAndNoLock)
{
    auto* selector = add(new CDiagramSelector(CRect(50, 50, 80, 70), nullptr, 28, makeFrames(3, 30, 20)));
    EXPECT_FALSE(selector->onWheel(CPoint(60, 60), kMouseWheelAxisY, 1.0f, CButtonState()));
    selector->setListener(&listener);
    selector->wheelLocked = true;
    EXPECT_TRUE(wheel(frame, 60, 60, 1.0f));
    EXPECT_EQ(selector->getValue(), 0.0f);
    EXPECT_EQ(listener.changes, 0);
    EXPECT_EQ(selector->notify(nullptr, CVSTGUITimer::kMsgTimer), kMessageUnknown);
}

// ---- logo link ---------------------------------------------------------------------------------

namespace {
std::vector<std::string> openedAddresses;
void recordAddress(const CFixedString& address)
{
    openedAddresses.push_back(address.data());
}
} // namespace

TEST_F(ControlFixture, LogoLinkOpensTheAddressOnALeftClickAndDrawsNothing)
{
    openedAddresses.clear();
    add(new CRollOverSwitch(CRect(100, 100, 200, 150), &listener, 84, makeFrames(1, 100, 50), recordAddress,
        "www.example.org"));
    EXPECT_EQ(framePixel(frame, 150, 120), kBlackCColor);
    for (int32_t b : {int32_t(kLButton), int32_t(kRButton), int32_t(kMButton), kLButton | kShift})
        EXPECT_EQ(mouseDown(frame, 150, 120, b), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(openedAddresses, (std::vector<std::string> {"www.example.org", "www.example.org"}));
    EXPECT_EQ(listener.changes, 0);
}

// ---- button and switches --------------------------------------------------------------------------

TEST_F(ControlFixture, ButtonDrawsItsHalvesAndToggles)
{
    auto* button = add(new CMyButton(CRect(10, 10, 30, 20), &listener, 27, makeFrames(2, 20, 10)));
    EXPECT_EQ(framePixel(frame, 20, 15), tone(0));
    mouseDown(frame, 20, 15);
    mouseUp(frame, 20, 15);
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(framePixel(frame, 20, 15), tone(1));
    EXPECT_EQ(listener.changes, 1);
}

// Each own class answers 3 to a right click and leaves its value; every other click goes
// to the library class, whose answer it gives.
class SwitchClicks : public ControlFixture, public ::testing::WithParamInterface<int32_t>
{
protected:
    void check(CControl* own, CControl* base, CCoord x, CCoord y)
    {
        add(own);
        const float before = own->getValue();
        const int32_t b = GetParam();
        const CMouseEventResult ownResult = mouseDown(frame, x, y, b);
        if ((b & kButtonMask) == kRButton)
        {
            EXPECT_EQ(ownResult, kMouseDownEventHandledButDontNeedMovedOrUpEvents);
            EXPECT_EQ(own->getValue(), before);
            EXPECT_EQ(listener.changes, 0);
            base->forget();
            return;
        }
        CPoint p(x, y);
        EXPECT_EQ(ownResult, base->onMouseDown(p, CButtonState(b)));
        mouseUp(frame, x, y, b);
        base->forget();
    }
};

TEST_P(SwitchClicks, Button)
{
    auto bitmap = makeFrames(2, 20, 10);
    check(new CMyButton(CRect(10, 10, 30, 20), &listener, 27, bitmap),
        new COnOffButton(CRect(10, 10, 30, 20), nullptr, 27, bitmap), 20, 15);
}

TEST_P(SwitchClicks, RockerSwitch)
{
    auto bitmap = makeFrames(3, 20, 10);
    check(new CMyRockerSwitch(CRect(10, 10, 30, 20), &listener, 89, 10, bitmap, CPoint(0, 0), CRockerSwitch::kVertical),
        new CRockerSwitch(CRect(10, 10, 30, 20), nullptr, 89, 10, bitmap, CPoint(0, 0), CRockerSwitch::kVertical), 20,
        12);
}

TEST_P(SwitchClicks, VerticalSwitch)
{
    auto bitmap = makeFrames(3, 20, 10);
    check(new CMyVerticalSwitch(CRect(10, 10, 30, 40), &listener, 32, 3, 10, 3, bitmap),
        new CVerticalSwitch(CRect(10, 10, 30, 40), nullptr, 32, 3, 10, 3, bitmap), 20, 35);
}

INSTANTIATE_TEST_SUITE_P(Buttons, SwitchClicks,
    ::testing::Values(int32_t(kLButton), int32_t(kRButton), int32_t(kMButton), kRButton | kShift, kLButton | kRButton));

TEST_F(ControlFixture, RockerStepsAndSpringsBack)
{
    auto* rocker = add(new CMyRockerSwitch(CRect(10, 10, 30, 40), &listener, 89, 10, makeFrames(3, 20, 10),
        CPoint(0, 0), CRockerSwitch::kVertical));
    mouseDown(frame, 20, 12);
    EXPECT_EQ(rocker->getValue(), -1.0f);
    mouseUp(frame, 20, 12);
    EXPECT_EQ(rocker->getValue(), 0.0f);
    mouseDown(frame, 20, 38);
    EXPECT_EQ(rocker->getValue(), 1.0f);
    mouseUp(frame, 20, 38);
    EXPECT_EQ(listener.values, (std::vector<float> {-1.0f, 0.0f, 1.0f, 0.0f}));
}

TEST_F(ControlFixture, VerticalSwitchTakesThePositionUnderThePointer)
{
    auto* sw = add(new CMyVerticalSwitch(CRect(10, 10, 30, 40), &listener, 32, 3, 10, 3, makeFrames(3, 20, 10)));
    mouseDown(frame, 20, 35);
    mouseUp(frame, 20, 35);
    EXPECT_EQ(sw->getPosition(), 2);
    EXPECT_EQ(framePixel(frame, 20, 12), tone(2)); // the picture of position 2 at the top
}

// ---- menu button -------------------------------------------------------------------------------------

TEST_F(ControlFixture, MenuButtonOpensOnLeftOrRightAloneAndShowsItsPressedHalf)
{
    auto* menu = add(new CMyOptionMenu(CRect(10, 10, 30, 20), &listener, 82, makeFrames(2, 20, 10)));
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
