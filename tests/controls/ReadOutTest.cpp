// Value read-out (placing, the drawn box, the hide timer) and the knob that shows it:
// shown on a left press, refreshed one move late while dragging, hidden on release.
#include <cstdio>

#include "ControlTestSupport.h"
#include "controls/CDisplayAnimKnob.h"
#include "controls/IValueTextFormatter.h"
#include "controls/ZelCParamDisplay.h"
#include "graphics/CFixedString.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

const CRect kKnob(172, 36, 224, 88); // knob 0 at "Medium"
const CColor kBack(68, 89, 107, 255);

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

// A hidden read-out in a 12-pixel font (base height 14, view height 22) and a knob at kKnob.
class ReadOutFixture : public FrameFixture
{
protected:
    ReadOutFixture()
    {
        readOut->setBackColor(kBack);
        readOut->setFontColor(CColor(219, 221, 223, 255));
        readOut->setFrameColor(CColor(54, 54, 54, 255));
        readOut->setFont(font);
    }
    ~ReadOutFixture() override
    {
        readOut->hide();
        frame->close();
        frame = nullptr;
        readOut->forget();
        followButtonMode = 0;
    }
    CDisplayAnimKnob* addKnob(const CRect& r, int32_t tag, bool withReadOut = true)
    {
        auto* k = add(new CDisplayAnimKnob(r, &listener, tag, 63, 52, strip, CPoint(0, 0),
            withReadOut ? &formatter : nullptr, withReadOut ? readOut : nullptr));
        k->setValue(0.5f);
        return k;
    }
    std::string text() const { return readOut->text.c_str(); }

    ZelCParamDisplay* readOut = new ZelCParamDisplay(CRect(0, 0, 0, 0), frame);
    SharedPointer<CFontDesc> font = makeOwned<CFontDesc>("Verdana", 12);
    RecordingFormatter formatter;
    SharedPointer<CBitmap> strip = makeStrip(63, 52, 52);
};

} // namespace

// ---- placing and refreshing ------------------------------------------------------------

TEST_F(ReadOutFixture, PlacedBelowWhenThereIsRoom)
{
    struct Case { const char* name; CRect control; bool forceAbove; CRect view; };
    const Case cases[] = {{"below", kKnob, false, CRect(132, 93, 264, 115)},
        {"forcedAbove", kKnob, true, CRect(132, 9, 264, 31)},
        // Room below exactly 32 pixels: 672 - (618 + 22) = 32 opens below.
        {"exactRoomBelow", CRect(100, 566, 152, 618), false, CRect(60, 623, 192, 645)},
        {"onePixelLessAbove", CRect(100, 567, 152, 619), false, CRect(60, 540, 192, 562)},
        // Above is not kept inside the frame.
        {"aboveLeavesTheFrame", CRect(0, 10, 30, 660), false, CRect(-40, -17, 70, 5)}};
    for (const Case& c : cases)
    {
        readOut->show(c.control, c.forceAbove, true);
        EXPECT_TRUE(frame->isChild(readOut)) << c.name;
        EXPECT_EQ(readOut->getViewSize(), c.view) << c.name;
        readOut->hide();
    }
}

TEST_F(ReadOutFixture, HeightFollowsFontScaleAndMargin)
{
    struct Case { bool withFont; float scale; int32_t margin; double height; };
    // Without a font of its own the read-out has the library's normal font (12 pixels);
    // margins are kept within 0..64.
    const Case cases[] = {{true, 1.0f, 8, 22}, {false, 1.0f, 8, 22}, {true, 1.5f, 8, 29}, {true, 1.0f, 0, 14},
        {true, 1.0f, -3, 14}, {true, 1.0f, 100, 78}};
    for (const Case& c : cases)
    {
        auto* r = new ZelCParamDisplay(CRect(0, 0, 0, 0), frame);
        if (c.withFont)
            r->setFont(font);
        r->scale = c.scale;
        r->setMargin(c.margin);
        r->show(kKnob, false, true);
        EXPECT_EQ(r->getViewSize().getHeight(), c.height);
        r->hide();
        r->forget();
    }
    readOut->setMinRoomBelow(300); // the room settings are kept within 0..256 as well
    readOut->setSecondRoom(-9);
    EXPECT_EQ(std::make_pair(readOut->getMinRoomBelow(), readOut->getSecondRoom()), std::make_pair(256, 0));
    readOut->setMinRoomBelow(-1);
    readOut->setSecondRoom(257);
    EXPECT_EQ(std::make_pair(readOut->getMinRoomBelow(), readOut->getSecondRoom()), std::make_pair(0, 256));
}

TEST_F(ReadOutFixture, SecondShowOnlyRefreshesAndMovesFollowThePoint)
{
    TestClock clock;
    mouseMoved(frame, 180, 40); // on the knob
    readOut->show(kKnob, false, true);
    TestClock::advance(frame, 200);
    EXPECT_EQ(readOut->getTicks(), 1);
    readOut->show(CRect(500, 300, 552, 352), true, false);
    EXPECT_EQ(readOut->getViewSize(), CRect(132, 93, 264, 115));
    EXPECT_EQ(readOut->getMode(), ZelCParamDisplay::kHideFollowMouse);
    EXPECT_EQ(readOut->getTicks(), 0);
    EXPECT_EQ(readOut->getControlRect(), kKnob);
    readOut->moveBy(CPoint(0, 0));
    EXPECT_EQ(readOut->getViewSize(), CRect(132, 93, 264, 115));
    readOut->moveBy(CPoint(300, 200));
    EXPECT_EQ(readOut->getViewSize(), CRect(260, 205, 392, 227));
}

TEST_F(ReadOutFixture, FrameHoldsItsOwnReferenceWhileShown)
{
    readOut->getTimer()->start();
    readOut->hide(); // hiding while hidden only stops the timer
    EXPECT_FALSE(readOut->getTimer()->isRunning());
    EXPECT_EQ(readOut->getNbReference(), 1);
    readOut->show(kKnob, false, true);
    EXPECT_EQ(readOut->getNbReference(), 2);
    readOut->hide();
    EXPECT_FALSE(readOut->isAttached());
    EXPECT_EQ(readOut->getNbReference(), 1);
    readOut->show(kKnob, false, true); // shown again by its creator
    EXPECT_TRUE(readOut->isAttached());
    auto* orphan = new ZelCParamDisplay(CRect(0, 0, 0, 0), nullptr); // without a frame nothing shows
    orphan->show(kKnob, false, true);
    EXPECT_FALSE(orphan->isAttached());
    EXPECT_EQ(orphan->getViewSize(), CRect(0, 0, 0, 0));
    orphan->forget();
}

// ---- the drawn box ----------------------------------------------------------------------

TEST_F(ReadOutFixture, BoxIsSizedToTheTextAndAnchored)
{
    // Width of the drawn box; -1: as wide as the view, 0: between 16 and the view.
    struct Case { const char* text; int32_t margin, anchor; double width; };
    const Case cases[] = {{"", 8, 1, 16}, // empty text: twice the margin
        {"", 2, 1, 8},                    // never narrower than 8
        {"", 8, 0, 16}, {"", 8, 2, 16}, {"440.0 Hz", 8, 1, 0},
        {"a text far too long to fit into the read-out's view", 8, 1, -1}};
    for (const Case& c : cases)
    {
        readOut->text.assign(c.text);
        readOut->setMargin(c.margin);
        readOut->anchor = c.anchor;
        readOut->show(kKnob, false, true); // view (132, 93, 264, 115), centre 198
        frame->updateInvalidAreas();
        const CRect box = readOut->getLastBox();
        if (c.width == 0)
            EXPECT_TRUE(box.getWidth() > 16 && box.getWidth() < 132) << box.getWidth();
        else
            EXPECT_EQ(box.getWidth(), c.width < 0 ? 132 : c.width) << c.text;
        const double anchored[] = {box.left - 132, box.left + box.right - 2 * 198, box.right - 264};
        EXPECT_EQ(anchored[c.anchor], 0) << c.anchor;
        // Inside the frame line the box is filled with the background colour.
        EXPECT_EQ(framePixel(frame, box.left + 2, 104), kBack);
        EXPECT_EQ(framePixel(frame, box.right - 3, 96), kBack);
        EXPECT_NE(framePixel(frame, box.right + 1, 96), kBack);
        readOut->hide();
        frame->updateInvalidAreas();
    }
}

// ---- hide timer --------------------------------------------------------------------------

// Shown by the mouse, the read-out hides at the first tick with the mouse off the control,
// else at the fourth after the last knob move.
TEST_F(ReadOutFixture, FollowMouseHidesOffTheControlOrAtTheFourthTick)
{
    struct Case { CPoint mouse; bool outside; };
    const Case cases[] = {{CPoint(180, 40), false}, {CPoint(172, 36), false}, {CPoint(224, 50), true},
        {CPoint(200, 88), true}, {CPoint(171, 50), true}};
    TestClock clock;
    for (const Case& c : cases)
    {
        mouseMoved(frame, c.mouse.x, c.mouse.y);
        readOut->show(kKnob, false, true);
        ASSERT_TRUE(readOut->getTimer()->isRunning());
        TestClock::advance(frame, 199);
        EXPECT_TRUE(readOut->isAttached());
        for (int tick = 1; tick <= 5; ++tick) // a knob move after the first restarts the count
        {
            TestClock::advance(frame, tick == 1 ? 1 : 200);
            EXPECT_EQ(readOut->isAttached(), !c.outside && tick < 5) << c.mouse.x << "," << c.mouse.y << " " << tick;
            if (tick == 1)
                readOut->moveBy(CPoint(0, 0));
        }
        EXPECT_FALSE(readOut->getTimer()->isRunning());
    }
}

TEST_F(ReadOutFixture, FollowButtonHidesWhenTheLeftButtonGoesOrAfterSixTicks)
{
    TestClock clock;
    followButtonMode = 1;
    mouseMoved(frame, 600, 600, kLButton); // left button held, far from the control
    readOut->show(kKnob, false, false);
    EXPECT_EQ(readOut->getMode(), ZelCParamDisplay::kHideFollowButton);
    for (int tick = 1; tick <= 5; ++tick)
    {
        TestClock::advance(frame, 200);
        EXPECT_TRUE(readOut->isAttached()) << tick;
    }
    TestClock::advance(frame, 200);
    EXPECT_FALSE(readOut->isAttached());

    readOut->show(kKnob, false, false);
    TestClock::advance(frame, 200);
    EXPECT_TRUE(readOut->isAttached());
    mouseMoved(frame, 600, 600, kLButton | kRButton); // no longer the left button alone
    TestClock::advance(frame, 200);
    EXPECT_FALSE(readOut->isAttached());

    followButtonMode = 0; // a show not by the mouse then stays until hidden
    readOut->show(kKnob, false, false);
    EXPECT_EQ(readOut->getMode(), ZelCParamDisplay::kHideNever);
    EXPECT_FALSE(readOut->getTimer()->isRunning());
    TestClock::advance(frame, 5000);
    EXPECT_TRUE(readOut->isAttached());
}

// ---- the knob ------------------------------------------------------------------------------

TEST_F(ReadOutFixture, KnobDragShowsTheValueOneMoveLateAndHidesOnRelease)
{
    CDisplayAnimKnob* knob = addKnob(kKnob, 0);
    EXPECT_EQ(mouseDown(frame, 198, 62), kMouseEventHandled);
    EXPECT_EQ(readOut->getViewSize(), CRect(132, 93, 264, 115)); // below the knob
    EXPECT_EQ(text(), "0:0.500");
    // The press is no reset (the base answered 1): the read-out waits for the release.
    EXPECT_EQ(readOut->getMode(), ZelCParamDisplay::kHideNever);
    EXPECT_FALSE(readOut->getTimer()->isRunning());
    struct Step { double y; const char* shown; float value; }; // text and value after the move
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
    EXPECT_EQ(readOut->getNbReference(), 1);
    ASSERT_EQ(listener.values.size(), 3u);
    EXPECT_NEAR(listener.values[1], 0.6f, 1e-5f);
    EXPECT_EQ(listener.log, "begin changed changed changed end");
    mouseDown(frame, 198, 62);
    mouseMoved(frame, 198, 22, kLButton);
    frame->onMouseCancel(); // a cancelled drag restores the value and hides the read-out
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_FALSE(readOut->isAttached());
    knob->setValue(1.0f); // the knob shows the picture of its value
    EXPECT_EQ(framePixel(frame, 198, 62), tone(62));
    knob->setValue(0.0f);
    EXPECT_EQ(framePixel(frame, 198, 62), tone(0));
}

TEST_F(ReadOutFixture, KnobClicksResetShowOrPass)
{
    // The value before is 0.5, the default 0.25; shown: the read-out while the button is down.
    struct Case { const char* name; int32_t buttons; CMouseEventResult result; float valueAfter; bool shown; };
    const Case cases[] = {{"left", kLButton, kMouseEventHandled, 0.5f, true},
        {"controlResets", kLButton | kControl, kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.25f, false},
        {"doubleClickResets", kLButton | kDoubleClick, kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.25f, false},
        {"right", kRButton, kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.5f, false},
        {"middle", kMButton, kMouseEventNotHandled, 0.5f, false},
        {"controlRight", kRButton | kControl, kMouseEventNotHandled, 0.5f, false},
        {"shiftLeft", kLButton | kShift, kMouseEventHandled, 0.5f, true}};
    CDisplayAnimKnob* knob = addKnob(kKnob, 0);
    knob->setDefaultValue(0.25f);
    for (const Case& c : cases)
    {
        knob->setValue(0.5f);
        EXPECT_EQ(mouseDown(frame, 198, 62, c.buttons), c.result) << c.name;
        EXPECT_EQ(knob->getValue(), c.valueAfter) << c.name;
        EXPECT_EQ(readOut->isAttached(), c.shown) << c.name;
        mouseUp(frame, 198, 62, c.buttons);
        EXPECT_FALSE(readOut->isAttached()) << c.name;
    }
}

TEST_F(ReadOutFixture, OneReadOutServesEveryKnob)
{
    addKnob(kKnob, 0);
    addKnob(CRect(400, 36, 452, 88), 4);
    addKnob(CRect(100, 600, 152, 652), 58);
    click(198, 62);
    mouseDown(frame, 420, 62);
    EXPECT_EQ(readOut->getViewSize(), CRect(360, 93, 492, 115));
    EXPECT_EQ(text(), "4:0.500");
    mouseUp(frame, 420, 62);
    EXPECT_EQ(frame->getNbViews(), 3u); // the knobs; the read-out has left
    mouseDown(frame, 120, 620); // near the frame's bottom: above
    EXPECT_EQ(readOut->getViewSize(), CRect(60, 573, 192, 595));
    EXPECT_EQ(text(), "58:0.500");
    mouseUp(frame, 120, 620);
}

TEST_F(ReadOutFixture, KnobWithoutReadOutIsAPlainKnob)
{
    CDisplayAnimKnob* plain = addKnob(CRect(600, 36, 652, 88), 9, false);
    EXPECT_EQ(mouseDown(frame, 620, 62, kRButton), kMouseEventNotHandled);
    EXPECT_EQ(mouseDown(frame, 620, 62), kMouseEventHandled);
    mouseMoved(frame, 620, 52, kLButton);
    mouseUp(frame, 620, 52);
    EXPECT_NEAR(plain->getValue(), 0.55f, 1e-5f);
    EXPECT_TRUE(formatter.values.empty());
}
