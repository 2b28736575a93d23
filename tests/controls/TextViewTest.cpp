// Text edit wrapping, line bands and focus; numeric display; curve display;
// click-through view; hover highlight.
#include <cmath>

#include "ControlTestSupport.h"
#include "controls/CClickThroughView.h"
#include "controls/CCurveDisplay.h"
#include "controls/CHoverHighlight.h"
#include "controls/CMyButton.h"
#include "controls/CNumericDisplay.h"
#include "controls/ZelCTextEdit.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

using TextFixture = FrameFixture;

} // namespace

// ---- text edit -------------------------------------------------------------------------------

TEST_F(TextFixture, WrapsAtSpacesBreaksAtBarsAndKeepsThreeLines)
{
    auto* edit = add(new ZelCTextEdit(CRect(10, 10, 110, 50), nullptr, 1, ""));
    auto context = COffscreenContext::create(frame, 10, 10);
    context->setFont(edit->getFont());
    // Room for exactly "aa " and "aa" (each measured in whole pixels), and one pixel more.
    const CCoord exact = std::trunc(context->getStringWidth("aa ")) + std::trunc(context->getStringWidth("aa"));
    struct Case { CCoord extra; const char* text; const char* lines[3]; }; // extra: width past exact
    const Case cases[] = {
        {1, "aa aa aa aa aa aa aa aa ", {"aa aa ", "aa aa ", "aa aa "}}, // more than three lines
        {0, "aa aa aa ", {"aa ", "aa ", "aa "}}, // a line exactly as wide as the field wraps
        {1, "aa aa aa", {"aa aa aa", "", ""}},   // a last word joins the current line unmeasured
        {1, "abcdefghijklmnopqrstuvwxyzabcdefghij", {"abcdefghijklmnopqrstuvwxyzabcdefghij", "", ""}},
        {1, "aa|bb", {"aa", "bb", ""}}, // a bar breaks the line
        {1, "x|y|z|w", {"x", "y", "z"}}, {1, "", {"", "", ""}}};
    for (const Case& c : cases)
    {
        edit->setViewSize(CRect(10, 10, 10 + exact + c.extra, 50));
        edit->setText(c.text);
        frame->invalidRect(CRect(0, 0, 400, 200));
        frame->updateInvalidAreas();
        for (uint32_t i = 0; i < 3; ++i)
            EXPECT_STREQ(edit->getLine(i), c.lines[i]) << c.text << " line " << i;
    }
}

TEST_F(TextFixture, EachLineIsDrawnInItsBandOneRowShortOfTheLineHeight)
{
    // Lines of 8 pixels in a 12-pixel font: each band of 7 rows is full, the row after it empty.
    auto* edit = add(new ZelCTextEdit(CRect(10, 10, 210, 40), nullptr, 1, "HHHH|HHHH"));
    edit->setFontColor(kWhiteCColor);
    edit->lineHeight = 8;
    for (int line = 0; line < 3; ++line)
    {
        const CCoord top = 10 + 8 * line;
        for (CCoord row = 0; row < 8; ++row)
        {
            const int ink = pixelsUnlike(frame, CRect(10, top + row, 210, top + row + 1), kBlackCColor);
            const bool empty = line == 2 || row == 7, full = row > 0 && row < 6;
            EXPECT_TRUE(empty ? ink == 0 : !full || ink > 0) << line << " " << row << ": " << ink;
        }
    }
}

TEST_F(TextFixture, LosingTheFocusTellsAListenerThatIsAnObject)
{
    struct ObjectListener : CBaseObject, IControlListener
    {
        std::vector<IdStringPtr> messages;
        CBaseObject* sender = nullptr;
        CMessageResult notify(CBaseObject* s, IdStringPtr message) override
        {
            sender = s;
            messages.push_back(message);
            return kMessageNotified;
        }
        void valueChanged(CControl*) override {}
    } object;
    auto* edit = add(new ZelCTextEdit(CRect(10, 10, 110, 50), &object, 1, "text"));
    frame->setFocusView(edit);
    frame->setFocusView(nullptr);
    EXPECT_EQ(object.messages, std::vector<IdStringPtr> {kMsgLooseFocus});
    EXPECT_EQ(object.sender, edit);
    auto* other = add(new ZelCTextEdit(CRect(10, 60, 110, 100), &listener, 2, "text")); // not an object
    frame->setFocusView(other);
    frame->setFocusView(nullptr);
    EXPECT_EQ(object.messages.size(), 1u);
}

// ---- numeric display ------------------------------------------------------------------------------

TEST_F(TextFixture, NumericFormats)
{
    // The offset is given with setOffsetFloat, or with setOffset when whole is set.
    struct Case { float value, range; int32_t decimals; bool percent; float offset; bool whole; const char* text; };
    const Case cases[] = {{0.5f, 100, 0, false, 0, false, "50"}, {0.999f, 100, 0, false, 0, false, "99"},
        {0.5f, 100, 0, false, 3, false, "53"}, {0.256f, 100, 1, true, 0, false, "25.6 %"},
        {0.5f, 100, 0, true, 0, false, "50 %"}, {0.5f, 100, 2, false, 0.25f, false, "50.25"},
        {0.5f, 24, 0, false, -12, false, "0"},
        {0.5f, 100, 0, false, 2.95f, false, "53"},   // the whole offset: floor of 3.05
        {0.5f, 100, 2, false, 2.95f, false, "52.95"}, // the exact one
        {0.5f, 100, 1, false, -4, true, "46.0"}};
    for (const Case& c : cases)
    {
        auto* display = add(new CNumericDisplay(CRect(10, 10, 110, 30), nullptr, 1));
        display->range = c.range;
        display->decimals = c.decimals;
        display->percent = c.percent;
        c.whole ? display->setOffset(static_cast<int32_t>(c.offset)) : display->setOffsetFloat(c.offset);
        display->setValue(c.value);
        EXPECT_STREQ(display->formatText().c_str(), c.text);
        EXPECT_GT(pixelsUnlike(frame, CRect(10, 10, 110, 30), kBlackCColor), 0) << c.text;
        frame->removeView(display);
    }
}

TEST_F(TextFixture, NumericWholeValuesAndDragsKeepingOnlyShift)
{
    auto* display = add(new CNumericDisplay(CRect(10, 10, 110, 30), nullptr, 1));
    display->range = 0;
    display->setIntValue(25); // no division by a zero range
    EXPECT_EQ(display->getValue(), 0.0f);
    display->range = 100;
    display->setValue(0.5f);
    mouseDown(frame, 50, 20);
    mouseMoved(frame, 50, 10, kLButton | kControl | kApple); // other modifiers are dropped
    EXPECT_NEAR(display->getValue(), 0.55f, 1e-5f);
    mouseMoved(frame, 50, 10, kLButton | kShift | kControl); // Shift starts finer steps here
    mouseMoved(frame, 50, 0, kLButton | kShift | kControl);
    EXPECT_NEAR(display->getValue(), 0.555f, 1e-5f);
    mouseUp(frame, 50, 0);
}

// ---- curve display ---------------------------------------------------------------------------------

TEST_F(TextFixture, CurveIsDrawnOverTheBackground)
{
    auto grey = makeStrip(1, 40, 30); // one picture of 40 x 30 in tone(0)
    auto* straight =
        add(new CCurveDisplay(CRect(10, 10, 50, 40), nullptr, 1, grey, 250, 20, 20, CCurveDisplay::kStraightCurve));
    straight->setValue(0.3f);
    // The line runs from the bottom-left (0, 0) to (38, 28), y counted upwards.
    EXPECT_GT(framePixel(frame, 10 + 19, 10 + 29 - 14).red, 150);
    EXPECT_EQ(framePixel(frame, 10 + 35, 10 + 25), tone(0)); // background away from the line

    // Width no multiple of 4: no canvas, nothing drawn.
    auto* none = add(new CCurveDisplay(CRect(60, 10, 102, 40), nullptr, 2, makeStrip(1, 42, 30), 250, 20, 20, 2));
    EXPECT_EQ(none->getCanvas(), nullptr);
    EXPECT_EQ(framePixel(frame, 80, 25), kBlackCColor);

    // The bend follows the value: the middle column's curve height moves with it.
    auto* bend = add(new CCurveDisplay(CRect(110, 10, 150, 40), nullptr, 3, grey, 250, 20, 20, 2));
    auto curveRow = [&](float v) {
        bend->setValue(v);
        for (int y = 10; y < 40; ++y)
            if (framePixel(frame, 110 + 19, y).red > 150)
                return y;
        return -1;
    };
    const int low = curveRow(0.1f), high = curveRow(0.9f);
    ASSERT_NE(low, -1);
    ASSERT_NE(high, -1);
    EXPECT_NE(low, high);
    auto* copy = static_cast<CCurveDisplay*>(bend->newCopy());
    EXPECT_NE(copy->getCanvas(), nullptr);
    EXPECT_NE(copy->getCanvas(), bend->getCanvas());
    copy->forget();
}

// ---- click-through view --------------------------------------------------------------------------

TEST_F(TextFixture, ClicksPassToTheCompanion)
{
    auto* button = add(new CMyButton(CRect(10, 10, 30, 20), &listener, 27, makeStrip(2, 20, 10)));
    auto* through = add(new CClickThroughView(CRect(100, 100, 150, 150), button));
    click(120, 120);
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(listener.changes, 1);

    button->remember();
    frame->removeView(button, true); // a companion that is not attached
    EXPECT_EQ(mouseDown(frame, 120, 120), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(listener.changes, 1);
    button->forget();
    through->setCompanion(nullptr);
    CPoint p(120, 120);
    EXPECT_EQ(through->onMouseUp(p, CButtonState(kLButton)), kMouseEventHandled);
}

// ---- hover highlight -------------------------------------------------------------------------------

TEST_F(TextFixture, HoverHighlightFollowsTheMouse)
{
    // A view that draws its hover highlight.
    struct HoverView : CView
    {
        HoverView(const CRect& r, CBitmap* picture) : CView(r), highlight(this, picture)
        {
            registerViewMouseListener(&highlight);
        }
        ~HoverView() noexcept override { unregisterViewMouseListener(&highlight); }
        void draw(CDrawContext* context) override
        {
            highlight.draw(context);
            setDirty(false);
        }
        CHoverHighlight highlight;
    };
    auto picture = makeStrip(2, 20, 10); // the highlight holds no reference of its own
    auto* withPicture = add(new HoverView(CRect(10, 10, 30, 20), picture));
    add(new HoverView(CRect(100, 100, 140, 140), nullptr));
    EXPECT_EQ(framePixel(frame, 20, 15), kBlackCColor);
    mouseMoved(frame, 20, 15);
    EXPECT_TRUE(withPicture->highlight.isHighlighted());
    EXPECT_EQ(framePixel(frame, 20, 15), tone(1)); // the picture's lower half
    mouseMoved(frame, 120, 120);
    EXPECT_FALSE(withPicture->highlight.isHighlighted());
    EXPECT_EQ(framePixel(frame, 20, 15), kBlackCColor);
    EXPECT_EQ(framePixel(frame, 100, 120), kRedCColor); // a red frame without a picture
    EXPECT_EQ(framePixel(frame, 120, 120), kBlackCColor);
    EXPECT_EQ(withPicture->highlight.mouseEntered(), kMouseEventNotImplemented);
}
