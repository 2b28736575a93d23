// Checked array messages, the LED meter and the multi-LED switch.
#include "ControlTestSupport.h"
#include "controls/CCheckedArray.h"
#include "controls/ZelCMultiLedSwitch.h"
#include "controls/ZelCVUDisplay.h"
#include "platform/MessageBoxCapture.h"

using namespace VSTGUI;
using namespace ControlTest;

// ---- checked array ------------------------------------------------------------------------

TEST(CheckedArray, SizeLimitIsRefusedWithItsMessage)
{
    MessageBoxCapture capture;
    CCheckedArray<uint32_t> table(4);
    EXPECT_FALSE(table.resize(220000));
    EXPECT_EQ(table.size(), 0u);
    ASSERT_EQ(capture.messages().size(), 1u);
    const auto& m = capture.messages()[0];
    EXPECT_EQ(m.text, "Array max size exceeded [220000] / max: 220000 (Code: 4)");
    EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(m.style, 0x1010u);
    EXPECT_EQ(m.owner, nullptr);
    EXPECT_TRUE(table.resize(219999));
    EXPECT_EQ(table.size(), 219999u);
    EXPECT_EQ(capture.messages().size(), 1u);
}

TEST(CheckedArray, IndexOutOfRangeGivesAZeroedSpareAndCopiesAreOwnElements)
{
    MessageBoxCapture capture;
    CCheckedArray<int32_t> a(3);
    a.resize(5);
    for (uint32_t i = 0; i < 5; ++i)
        EXPECT_EQ(a[i], 0); // made zeroed
    a[4] = 7;
    for (uint32_t index : {5u, 0xFFFFFFFFu, 9u})
    {
        int32_t& spare = a[index];
        EXPECT_EQ(spare, 0); // zeroed again each time
        spare = 99;          // lands in the spare, not in the array
    }
    ASSERT_EQ(capture.messages().size(), 3u);
    EXPECT_EQ(capture.messages()[0].text, "Index out of range [5] / max: 5 (Code: 3)");
    EXPECT_EQ(capture.messages()[1].text, "Index out of range [-1] / max: 5 (Code: 3)");
    EXPECT_EQ(a[4], 7);
    CCheckedArray<int32_t> empty(3);
    EXPECT_EQ(empty[0], 0);
    EXPECT_EQ(capture.messages().size(), 3u); // the empty array says nothing

    CCheckedArray<int32_t> b(a);
    b[4] = 6;
    EXPECT_EQ(a[4], 7);
    EXPECT_EQ(b.getErrorCode(), 3);
    a.release();
    EXPECT_EQ(a.size(), 0u);
    EXPECT_EQ(b.size(), 5u);
}

// ---- LED meter ----------------------------------------------------------------------------

namespace {

class MeterFixture : public FrameFixture
{
protected:
    MeterFixture()
    {
        // Kind 1: three LEDs, lit state below; kind 2: two LEDs, lit state above.
        meter->setupLed(1, 3, green, true);
        meter->setupLed(2, 2, red, false);
    }
    // The colours of the first n LED places of a meter as drawn (black: nothing there).
    std::vector<CColor> leds(ZelCVUDisplay* m, int n)
    {
        m->invalid();
        const CRect& r = m->getViewSize();
        std::vector<CColor> out;
        for (int i = 0; i < n; ++i)
            out.push_back(framePixel(frame, r.left + 8 * i + 4, r.top + 3));
        return out;
    }
    std::vector<CColor> leds() { return leds(meter, 5); }
    std::vector<std::string> messages()
    {
        std::vector<std::string> out;
        for (const auto& m : capture.messages())
            out.push_back(m.text);
        return out;
    }

    // LEDs of 8 x 12, upper half and lower half.
    SharedPointer<CBitmap> green = makeStrip(2, 8, 6);      // unlit tone(0), lit tone(1)
    SharedPointer<CBitmap> red = makeStrip(2, 8, 6, false, 2); // lit tone(2), unlit tone(3)
    MessageBoxCapture capture;
    ZelCVUDisplay* meter = add(new ZelCVUDisplay(CRect(10, 10, 50, 16), nullptr, 0, 2, 0, 10));
};

} // namespace

TEST_F(MeterFixture, LevelLightsTheFirstLeds)
{
    const CColor G0 = tone(0), G1 = tone(1), R2 = tone(2), R3 = tone(3);
    struct Case { int32_t level, stored; std::vector<CColor> colours; };
    const Case cases[] = {{0, 0, {G0, G0, G0, R3, R3}}, {-4, 0, {G0, G0, G0, R3, R3}},
        {2, 2, {G1, G1, G0, R3, R3}}, {4, 4, {G1, G1, G1, R2, R3}}, {5, 5, {G1, G1, G1, R2, R2}},
        {9, 9, {G1, G1, G1, R2, R2}}, {25, 10, {G1, G1, G1, R2, R2}}};
    // Setting up kind 1 sized the order to its three LEDs, and kind 2's one LED did not fit.
    const std::vector<std::string> setUp = {"Index out of range [3] / max: 3 (Code: 4)"};
    EXPECT_EQ(messages(), setUp);
    // Refused set-ups change nothing: kind 0 or beyond the two, no repeat, no picture.
    meter->setupLed(0, 1, green, true);
    meter->setupLed(3, 1, green, true);
    meter->setupLed(1, 0, green, true);
    meter->setupLed(1, 1, nullptr, true);
    EXPECT_EQ(meter->getDrawCount(), 5);
    for (const Case& c : cases)
    {
        EXPECT_EQ(meter->setLevel(c.level), c.stored);
        EXPECT_EQ(meter->getLevel(), c.stored);
        EXPECT_EQ(leds(), c.colours) << c.level;
    }
    EXPECT_EQ(messages(), setUp); // drawing reads nothing past an end
}

TEST_F(MeterFixture, EverySetUpAddsItsLedsAndTheOrderTakesEveryKind)
{
    const CColor G0 = tone(0), R3 = tone(3), none = kBlackCColor;
    struct SetUp { int32_t number, repeat; bool red; };
    struct Case
    {
        int32_t kinds;
        std::vector<SetUp> setUps;
        int32_t drawn;
        std::vector<uint32_t> order;
        std::vector<CColor> colours;     // a kind without a picture takes no place
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        // A second set-up of one kind adds up: 1 + 2 LEDs.
        {1, {{1, 1, false}, {1, 2, false}}, 3, {0, 0, 0}, {G0, G0, G0, none}, {}},
        // Kinds not set up keep their one entry each; entries past the end are refused.
        {4, {{3, 2, true}, {1, 1, false}, {1, 2, false}}, 5, {0, 0, 1, 2, 2}, {G0, G0, R3, R3, none},
            {"Index out of range [2] / max: 2 (Code: 4)", "Index out of range [3] / max: 2 (Code: 4)",
                "Index out of range [4] / max: 2 (Code: 4)", "Index out of range [3] / max: 3 (Code: 4)",
                "Index out of range [4] / max: 3 (Code: 4)", "Index out of range [5] / max: 5 (Code: 4)"}},
    };
    for (const Case& c : cases)
    {
        capture.clear();
        auto* m = add(new ZelCVUDisplay(CRect(100, 40, 180, 46), nullptr, 0, c.kinds, 0, 10));
        for (const SetUp& u : c.setUps)
            m->setupLed(u.number, u.repeat, u.red ? red : green, !u.red);
        EXPECT_EQ(m->getDrawCount(), c.drawn);
        for (uint32_t i = 0; i < c.order.size(); ++i)
            EXPECT_EQ(m->orderAt(i), c.order[i]) << i;
        EXPECT_EQ(leds(m, static_cast<int>(c.colours.size())), c.colours);
        EXPECT_EQ(messages(), c.messages);
        frame->removeView(m);
    }
}

TEST_F(MeterFixture, CopiesAreIndependentAndKindsStayWithinSixteen)
{
    capture.clear();
    auto* copy = static_cast<ZelCVUDisplay*>(meter->newCopy());
    copy->setupLed(1, 1, green, true);
    EXPECT_EQ(copy->getDrawCount(), 6);
    EXPECT_EQ(meter->getDrawCount(), 5);
    EXPECT_EQ(meter->segmentAt(0).repeat, 3);
    copy->forget();
    EXPECT_EQ(add(new ZelCVUDisplay(CRect(0, 0, 10, 6), nullptr, 0, 0, 0, 10))->getLedCount(), 1);
    EXPECT_EQ(add(new ZelCVUDisplay(CRect(0, 0, 10, 6), nullptr, 0, 40, 0, 10))->getLedCount(), 16);
    EXPECT_TRUE(capture.messages().empty());
}

TEST_F(MeterFixture, TooLongAnOrderIsRefusedAndTheFirstKindStandsIn)
{
    capture.clear();
    meter->setupLed(1, 220000, green, true); // 5 + 220000 LEDs: refused with code 4
    EXPECT_EQ(messages(), std::vector<std::string> {"Array max size exceeded [220005] / max: 220000 (Code: 4)"});
    EXPECT_EQ(meter->getDrawCount(), 220005);
    meter->setLevel(3);
    // Without an order every place draws kind 1; nothing more is said.
    EXPECT_EQ(leds(), (std::vector<CColor> {tone(1), tone(1), tone(1), tone(0), tone(0)}));
    EXPECT_EQ(capture.messages().size(), 1u);
}

// ---- multi-LED switch ------------------------------------------------------------------------

namespace {

class LedSwitchFixture : public FrameFixture
{
protected:
    ZelCMultiLedSwitch* addSwitch(const CRect& r, int32_t count, int32_t orientation, CBitmap* picture)
    {
        return add(new ZelCMultiLedSwitch(r, &listener, 7, picture, count, orientation));
    }

    SharedPointer<CBitmap> picture = makeStrip(2, 10, 4); // LEDs of 10 x 4: unlit tone(0), lit tone(1)
};

} // namespace

TEST_F(LedSwitchFixture, ClickSelectsTheLedUnderThePointer)
{
    EXPECT_EQ(addSwitch(CRect(100, 20, 150, 80), 4, 1, nullptr)->getViewSize(), CRect(100, 20, 150, 80));
    // Orientation 1 is a column, 2 a row; along: pixels from the top or left edge. The value is
    // the share of the switch beyond the pointer, so an LED's last pixel row or column (4 in a
    // column of 16, 10 in a row of 40) still selects the LED before it.
    struct Case { int32_t orientation; double along; float value; int32_t led; };
    const Case cases[] = {{1, 0, 0.9998f, 0}, {1, 3, 0.8125f, 0}, {1, 4, 0.75f, 0}, {1, 5, 0.6875f, 1},
        {1, 8, 0.5f, 1}, {1, 15, 0.0625f, 3}, {2, 0, 0.9998f, 0}, {2, 9, 0.775f, 0}, {2, 10, 0.75f, 0},
        {2, 11, 0.725f, 1}, {2, 39, 0.025f, 3}};
    for (const Case& c : cases)
    {
        const bool row = c.orientation == 2;
        listener = RecordingListener();
        auto* s = addSwitch(CRect(20, 20, 21, 21), 4, c.orientation, picture); // sized to the LEDs
        EXPECT_EQ(s->getViewSize(), row ? CRect(20, 20, 60, 24) : CRect(20, 20, 30, 36));
        const CCoord x = row ? 20 + c.along : 25, y = row ? 22 : 20 + c.along;
        mouseDown(frame, x, y);
        EXPECT_FLOAT_EQ(s->getValue(), c.value) << c.along;
        EXPECT_EQ(s->getPosition(), c.led) << c.along;
        EXPECT_EQ(listener.log, "begin"); // not told before the release
        mouseUp(frame, x, y);
        EXPECT_EQ(listener.log, "begin changed end");
        EXPECT_EQ(listener.values, std::vector<float> {s->getValue()});
        for (int i = 0; i < 4; ++i) // the selected LED is lit, the others not
            EXPECT_EQ(framePixel(frame, row ? 25 + 10 * i : 25, row ? 22 : 22 + 4 * i), tone(i == c.led)) << i;
        frame->removeView(s);
    }
}

TEST_F(LedSwitchFixture, DragSelectsAndClampsAtTheEnds)
{
    auto* s = addSwitch(CRect(20, 20, 21, 21), 4, 1, picture);
    mouseDown(frame, 25, 22);
    mouseMoved(frame, 25, 90, kLButton);
    EXPECT_EQ(s->getPosition(), 3);
    mouseMoved(frame, 25, -40, kLButton);
    EXPECT_EQ(s->getPosition(), 0);
    mouseMoved(frame, 25, 30, kRButton); // not the left button alone: no change
    EXPECT_EQ(s->getPosition(), 0);
    mouseUp(frame, 25, 30);
    EXPECT_EQ(listener.changes, 1);
    EXPECT_EQ(mouseDown(frame, 25, 22, kRButton), kMouseEventNotHandled);
}

TEST_F(LedSwitchFixture, ValueEndsAndPositions)
{
    auto* s = addSwitch(CRect(20, 20, 21, 21), 4, 1, picture);
    s->setValue(1.0f);
    frame->updateInvalidAreas();
    EXPECT_FLOAT_EQ(s->getValue(), 0.9998f);
    EXPECT_EQ(s->getPosition(), 0);
    s->setValue(0.0f);
    EXPECT_EQ(s->getPosition(), 3);
    for (int32_t i = 0; i < 4; ++i)
    {
        s->setPosition(i);
        EXPECT_EQ(s->getPosition(), i);
    }
    s->setPosition(9);
    EXPECT_EQ(s->getPosition(), 3);
}

TEST_F(LedSwitchFixture, NoSizeNeverDivides)
{
    auto* empty = addSwitch(CRect(100, 20, 100, 20), 4, 1, nullptr); // no picture, no height
    CPoint p(100, 20);
    EXPECT_EQ(empty->onMouseMoved(p, CButtonState(kLButton)), kMouseEventHandled);
    EXPECT_EQ(empty->getValue(), 0.0f);
    auto* none = addSwitch(CRect(120, 20, 130, 20), 0, 1, picture); // no LEDs at all
    click(125, 20);
    EXPECT_EQ(none->getValue(), 0.0f);
    auto* bare = addSwitch(CRect(140, 20, 160, 60), 4, 1, nullptr); // no picture: an even share each
    mouseDown(frame, 150, 41);
    EXPECT_EQ(bare->getPosition(), 2);
    mouseUp(frame, 150, 41);
}
