// Text edit wrapping and focus, numeric display, curve display, click-through view
// and hover highlight.
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

class TextFixture : public ::testing::Test
{
protected:
    void SetUp() override { frame = makeFrame(400, 200); }
    void TearDown() override { frame->close(); }

    // Width of text in the font, as the text edit measures it.
    CCoord widthOf(const char* text, CFontRef font)
    {
        auto context = COffscreenContext::create(frame, 10, 10);
        context->setFont(font);
        return context->getStringWidth(text);
    }
    // Number of pixels in the band of rows [top, bottom) of the view that are not black.
    int inkIn(const CRect& band)
    {
        frame->updateInvalidAreas();
        int n = 0;
        for (CCoord y = band.top; y < band.bottom; ++y)
            for (CCoord x = band.left; x < band.right; ++x)
                if (pixelAt(frame->getBackBuffer(), x, y) != kBlackCColor)
                    ++n;
        return n;
    }

    CFrame* frame = nullptr;
};

} // namespace

// ---- text edit -------------------------------------------------------------------------------

TEST_F(TextFixture, WrapsAtSpacesBreaksAtBarsAndKeepsThreeLines)
{
    auto* edit = new ZelCTextEdit(CRect(10, 10, 110, 50), nullptr, 1, "");
    frame->addView(edit);
    CFontRef font = edit->getFont();
    // Room for two short words a line: "aa " plus "bb" fits, one more word does not.
    const CCoord fits = std::ceil(widthOf("aa ", font) + widthOf("bb", font)) + 1;
    edit->setViewSize(CRect(10, 10, 10 + fits, 50));
    struct Case
    {
        const char* text;
        const char* lines[3];
    };
    const Case cases[] = {
        {"aa bb cc dd ee ff gg hh ", {"aa bb ", "cc dd ", "ee ff "}},   // more than three lines
        {"aa bb cc", {"aa bb cc", "", ""}}, // a last word joins the current line unmeasured
        {"abcdefghijklmnopqrstuvwxyzabcdefghij", {"abcdefghijklmnopqrstuvwxyzabcdefghij", "", ""}},
        {"aa|bb", {"aa", "bb", ""}},                                   // a bar breaks the line
        {"x|y|z|w", {"x", "y", "z"}},
        {"", {"", "", ""}}};
    for (const Case& c : cases)
    {
        edit->setText(c.text);
        frame->invalidRect(CRect(0, 0, 400, 200));
        frame->updateInvalidAreas();
        for (uint32_t i = 0; i < 3; ++i)
            EXPECT_STREQ(edit->getLine(i), c.lines[i]) << c.text << " line " << i;
    }
}

TEST_F(TextFixture, EachLineIsDrawnInItsOwnBand)
{
    auto* edit = new ZelCTextEdit(CRect(10, 10, 210, 46), nullptr, 1, "first|second");
    edit->setFontColor(kWhiteCColor);
    frame->addView(edit);
    EXPECT_GT(inkIn(CRect(10, 10, 210, 22)), 0);
    EXPECT_GT(inkIn(CRect(10, 22, 210, 34)), 0);
    EXPECT_EQ(inkIn(CRect(10, 34, 210, 46)), 0);
}

TEST_F(TextFixture, LosingTheFocusTellsAListenerThatIsAnObject)
{
    struct ObjectListener : CBaseObject, IControlListener
    {
        std::vector<IdStringPtr> messages;
        CBaseObject* sender = nullptr;
        int changes = 0;
        CMessageResult notify(CBaseObject* s, IdStringPtr message) override
        {
            sender = s;
            messages.push_back(message);
            return kMessageNotified;
        }
        void valueChanged(CControl*) override { ++changes; }
    } object;
    auto* edit = new ZelCTextEdit(CRect(10, 10, 110, 50), &object, 1, "text");
    frame->addView(edit);
    frame->setFocusView(edit);
    frame->setFocusView(nullptr);
    ASSERT_EQ(object.messages.size(), 1u);
    EXPECT_EQ(object.messages[0], kMsgLooseFocus);
    EXPECT_EQ(object.sender, edit);

    RecordingListener plain; // not an object: only the edit's own handling
    auto* other = new ZelCTextEdit(CRect(10, 60, 110, 100), &plain, 2, "text");
    frame->addView(other);
    frame->setFocusView(other);
    frame->setFocusView(nullptr);
    EXPECT_EQ(object.messages.size(), 1u);
}

// ---- numeric display ------------------------------------------------------------------------------

struct NumberCase
{
    float value;
    float range;
    int32_t decimals;
    bool percent;
    int32_t offset;
    float offsetFloat;
    const char* text;
};

class NumericText : public TextFixture, public ::testing::WithParamInterface<NumberCase>
{
};

TEST_P(NumericText, Format)
{
    const NumberCase& c = GetParam();
    auto* display = new CNumericDisplay(CRect(10, 10, 110, 30), nullptr, 1);
    display->range = c.range;
    display->decimals = c.decimals;
    display->percent = c.percent;
    display->offset = c.offset;
    display->offsetFloat = c.offsetFloat;
    display->setValue(c.value);
    EXPECT_STREQ(display->formatText().c_str(), c.text);
    frame->addView(display);
    EXPECT_GT(inkIn(CRect(10, 10, 110, 30)), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, NumericText,
    ::testing::Values(NumberCase {0.5f, 100, 0, false, 0, 0, "50"}, NumberCase {0.999f, 100, 0, false, 0, 0, "99"},
        NumberCase {0.5f, 100, 0, false, 3, 3, "53"}, NumberCase {0.256f, 100, 1, true, 0, 0, "25.6 %"},
        NumberCase {0.5f, 100, 0, true, 0, 0, "50 %"}, NumberCase {0.5f, 100, 2, false, 0, 0.25f, "50.25"},
        NumberCase {0.5f, 24, 0, false, -12, -12, "0"}));

TEST_F(TextFixture, NumericOffsetsAndWholeValues)
{
    auto* display = new CNumericDisplay(CRect(10, 10, 110, 30), nullptr, 1);
    display->setOffsetFloat(2.95f);
    EXPECT_EQ(display->offset, 3);
    EXPECT_FLOAT_EQ(display->offsetFloat, 2.95f);
    display->setOffset(-4);
    EXPECT_FLOAT_EQ(display->offsetFloat, -4.0f);
    display->setIntValue(25);
    EXPECT_FLOAT_EQ(display->getValue(), 0.25f);
    EXPECT_EQ(display->getIntValue(), 25);
    display->range = 0;
    display->setIntValue(25); // no division by a zero range
    EXPECT_EQ(display->getValue(), 0.0f);
    display->forget();
}

TEST_F(TextFixture, NumericDragKeepsOnlyShift)
{
    struct LinearEditor : VSTGUIEditorInterface
    {
        int32_t getKnobMode() const override { return kLinearMode; }
    } editor;
    CFrame* own = makeFrame(200, 200, &editor);
    auto* display = new CNumericDisplay(CRect(10, 10, 110, 30), nullptr, 1);
    display->setValue(0.5f);
    own->addView(display);
    mouseDown(own, 50, 20);
    mouseMoved(own, 50, 10, kLButton | kControl | kApple); // other modifiers are dropped
    EXPECT_NEAR(display->getValue(), 0.55f, 1e-5f);
    mouseMoved(own, 50, 10, kLButton | kShift | kControl); // Shift starts finer steps here
    mouseMoved(own, 50, 0, kLButton | kShift | kControl);
    EXPECT_NEAR(display->getValue(), 0.555f, 1e-5f);
    mouseUp(own, 50, 0);
    own->close();
}

// ---- curve display ---------------------------------------------------------------------------------

TEST_F(TextFixture, CurveIsDrawnOverTheBackground)
{
    auto grey = makeFrames(1, 40, 30); // one picture of 40 x 30 in tone(0)
    auto* straight =
        new CCurveDisplay(CRect(10, 10, 50, 40), nullptr, 1, grey, 250, 20, 20, CCurveDisplay::kStraightCurve);
    straight->setValue(0.3f);
    frame->addView(straight);
    frame->updateInvalidAreas();
    // The line runs from the bottom-left (0, 0) to (38, 28), y counted upwards.
    const CColor onLine = pixelAt(frame->getBackBuffer(), 10 + 19, 10 + 29 - 14);
    EXPECT_GT(onLine.red, 150);
    EXPECT_EQ(pixelAt(frame->getBackBuffer(), 10 + 35, 10 + 25), tone(0)); // background away from the line

    auto odd = makeFrames(1, 42, 30); // width no multiple of 4: no canvas, nothing drawn
    auto* none = new CCurveDisplay(CRect(60, 10, 102, 40), nullptr, 2, odd, 250, 20, 20, 2);
    frame->addView(none);
    EXPECT_EQ(none->getCanvas(), nullptr);
    EXPECT_EQ(framePixel(frame, 80, 25), kBlackCColor);

    // The bend follows the value: the middle column's curve height moves with it.
    auto* bend = new CCurveDisplay(CRect(110, 10, 150, 40), nullptr, 3, grey, 250, 20, 20, 2);
    frame->addView(bend);
    auto curveRow = [&](float v) {
        bend->setValue(v);
        frame->updateInvalidAreas();
        for (int y = 10; y < 40; ++y)
            if (pixelAt(frame->getBackBuffer(), 110 + 19, y).red > 150)
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
    RecordingListener listener;
    auto* button = new CMyButton(CRect(10, 10, 30, 20), &listener, 27, makeFrames(2, 20, 10));
    frame->addView(button);
    auto* through = new CClickThroughView(CRect(100, 100, 150, 150), button);
    frame->addView(through);
    mouseDown(frame, 120, 120);
    mouseUp(frame, 120, 120);
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

namespace {

// A view that draws its hover highlight.
class HoverView : public CView
{
public:
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

} // namespace

TEST_F(TextFixture, HoverHighlightFollowsTheMouse)
{
    auto picture = makeFrames(2, 20, 10); // the highlight holds no reference of its own
    auto* withPicture = new HoverView(CRect(10, 10, 30, 20), picture);
    auto* framed = new HoverView(CRect(100, 100, 140, 140), nullptr);
    frame->addView(withPicture);
    frame->addView(framed);
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
