// Value read-out: placement above and below, refresh, drawn box, hide timer modes.
#include "ControlTestSupport.h"
#include "controls/ZelCParamDisplay.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

class ReadOutFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = makeFrame(1000, 672);
        readOut = new ZelCParamDisplay(CRect(0, 0, 0, 0), frame);
        readOut->setBackColor(CColor(68, 89, 107, 255));
        readOut->setFontColor(CColor(219, 221, 223, 255));
        readOut->setFrameColor(CColor(54, 54, 54, 255));
        readOut->setFont(font); // 12 pixels: base height 14, view height 22
    }
    void TearDown() override
    {
        readOut->hide();
        frame->close();
        readOut->forget();
        followButtonMode = 0;
    }

    CFrame* frame = nullptr;
    ZelCParamDisplay* readOut = nullptr;
    SharedPointer<CFontDesc> font = makeOwned<CFontDesc>("Verdana", 12);
};

const CRect kKnob(172, 36, 224, 88); // knob 0 at "Medium"

} // namespace

struct ReadOutPlaceCase
{
    const char* name;
    CRect control;
    bool forceAbove;
    CRect view;
};

class ReadOutPlacing : public ReadOutFixture, public ::testing::WithParamInterface<ReadOutPlaceCase>
{
};

TEST_P(ReadOutPlacing, ViewRectangle)
{
    const ReadOutPlaceCase& c = GetParam();
    readOut->show(c.control, c.forceAbove, true);
    EXPECT_TRUE(readOut->isAttached());
    EXPECT_TRUE(frame->isChild(readOut));
    EXPECT_EQ(readOut->getViewSize(), c.view);
}

INSTANTIATE_TEST_SUITE_P(Rooms, ReadOutPlacing,
    ::testing::Values(ReadOutPlaceCase {"below", kKnob, false, CRect(132, 93, 264, 115)},
        ReadOutPlaceCase {"forcedAbove", kKnob, true, CRect(132, 9, 264, 31)},
        // Room below exactly 32 pixels: 672 - (618 + 22) = 32 opens below.
        ReadOutPlaceCase {"exactRoomBelow", CRect(100, 566, 152, 618), false, CRect(60, 623, 192, 645)},
        // One pixel less: above.
        ReadOutPlaceCase {"onePixelLessAbove", CRect(100, 567, 152, 619), false, CRect(60, 540, 192, 562)},
        // Above is not kept inside the frame.
        ReadOutPlaceCase {"aboveLeavesTheFrame", CRect(0, 10, 30, 660), false, CRect(-40, -17, 70, 5)}),
    [](const ::testing::TestParamInfo<ReadOutPlaceCase>& info) { return std::string(info.param.name); });

TEST_F(ReadOutFixture, HeightFollowsFontScaleAndMargin)
{
    struct Case
    {
        bool withFont;
        float scale;
        int32_t margin;
        double height;
    };
    // Without a font of its own the read-out has the library's normal font (12 pixels).
    const Case cases[] = {{true, 1.0f, 8, 22}, {false, 1.0f, 8, 22}, {true, 1.5f, 8, 29}, {true, 1.0f, 0, 14}};
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
}

TEST_F(ReadOutFixture, SecondShowOnlyRefreshes)
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
}

TEST_F(ReadOutFixture, MoveByMovesTheBoxUnlessGivenTheOrigin)
{
    readOut->show(kKnob, false, true);
    readOut->moveBy(CPoint(0, 0));
    EXPECT_EQ(readOut->getViewSize(), CRect(132, 93, 264, 115));
    readOut->moveBy(CPoint(300, 200));
    EXPECT_EQ(readOut->getViewSize(), CRect(260, 205, 392, 227));
}

TEST_F(ReadOutFixture, FrameHoldsItsOwnReferenceWhileShown)
{
    EXPECT_EQ(readOut->getNbReference(), 1);
    readOut->show(kKnob, false, true);
    EXPECT_EQ(readOut->getNbReference(), 2);
    readOut->hide();
    EXPECT_FALSE(readOut->isAttached());
    EXPECT_EQ(readOut->getNbReference(), 1);
    readOut->show(kKnob, false, true); // shown again by its creator
    EXPECT_TRUE(readOut->isAttached());
}

TEST_F(ReadOutFixture, SettersClamp)
{
    readOut->setMargin(-3);
    EXPECT_EQ(readOut->getMargin(), 0);
    readOut->setMargin(100);
    EXPECT_EQ(readOut->getMargin(), 64);
    readOut->setMinRoomBelow(300);
    EXPECT_EQ(readOut->getMinRoomBelow(), 256);
    readOut->setMinRoomBelow(-1);
    EXPECT_EQ(readOut->getMinRoomBelow(), 0);
    readOut->setSecondRoom(257);
    EXPECT_EQ(readOut->getSecondRoom(), 256);
    readOut->setSecondRoom(-9);
    EXPECT_EQ(readOut->getSecondRoom(), 0);
}

// ---- the drawn box ----------------------------------------------------------------------

struct BoxCase
{
    const char* text;
    int32_t margin;
    int32_t anchor;
    double width; // of the drawn box; -1: as wide as the view
};

class ReadOutBox : public ReadOutFixture, public ::testing::WithParamInterface<BoxCase>
{
};

TEST_P(ReadOutBox, Width)
{
    const BoxCase& c = GetParam();
    readOut->text.assign(c.text);
    readOut->setMargin(c.margin);
    readOut->anchor = c.anchor;
    readOut->show(kKnob, false, true); // view (132, 93, 264, 115), centre 198
    const CColor back(68, 89, 107, 255);
    frame->updateInvalidAreas();
    const CRect& box = readOut->getLastBox();
    const double width = c.width < 0 ? 132 : c.width;
    EXPECT_EQ(box.getWidth(), width);
    if (c.anchor == 0)
        EXPECT_EQ(box.left, 132);
    else if (c.anchor == 2)
        EXPECT_EQ(box.right, 264);
    else
        EXPECT_EQ(box.left + box.right, 2 * 198);
    // Inside the frame line the box is filled with the background colour.
    EXPECT_EQ(pixelAt(frame->getBackBuffer(), box.left + 2, 104), back);
    EXPECT_EQ(pixelAt(frame->getBackBuffer(), box.right - 3, 96), back);
    EXPECT_NE(pixelAt(frame->getBackBuffer(), box.right + 1, 96), back);
}

INSTANTIATE_TEST_SUITE_P(Boxes, ReadOutBox,
    ::testing::Values(BoxCase {"", 8, 1, 16},   // empty text: twice the margin
        BoxCase {"", 2, 1, 8},                  // never narrower than 8
        BoxCase {"", 8, 0, 16}, BoxCase {"", 8, 2, 16},
        BoxCase {"a text far too long to fit into the read-out's view", 8, 1, -1}));

TEST_F(ReadOutFixture, TextWidensTheBox)
{
    readOut->text.assign("440.0 Hz");
    readOut->show(kKnob, false, true);
    frame->updateInvalidAreas();
    EXPECT_GT(readOut->getLastBox().getWidth(), 16);
    EXPECT_LT(readOut->getLastBox().getWidth(), 132);
}

// ---- hide timer --------------------------------------------------------------------------

TEST_F(ReadOutFixture, FollowMouseHidesAtTheFirstTickOutsideTheControl)
{
    struct Case
    {
        CPoint mouse;
        bool outside;
    };
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
        TestClock::advance(frame, 1);
        EXPECT_EQ(readOut->isAttached(), !c.outside) << c.mouse.x << "," << c.mouse.y;
        readOut->hide();
    }
}

TEST_F(ReadOutFixture, FollowMouseHidesAtTheFourthTickAtTheLatest)
{
    TestClock clock;
    mouseMoved(frame, 180, 40);
    readOut->show(kKnob, false, true);
    for (int tick = 1; tick <= 3; ++tick)
    {
        TestClock::advance(frame, 200);
        EXPECT_TRUE(readOut->isAttached()) << tick;
    }
    TestClock::advance(frame, 200);
    EXPECT_FALSE(readOut->isAttached());
    EXPECT_FALSE(readOut->getTimer()->isRunning());
}

TEST_F(ReadOutFixture, RefreshRestartsTheTickCount)
{
    TestClock clock;
    mouseMoved(frame, 180, 40);
    readOut->show(kKnob, false, true);
    for (int tick = 1; tick <= 10; ++tick)
    {
        TestClock::advance(frame, 200);
        readOut->moveBy(CPoint(0, 0)); // a knob move
    }
    EXPECT_TRUE(readOut->isAttached());
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
}

TEST_F(ReadOutFixture, ShowNotByTheMouseStaysUntilHidden)
{
    TestClock clock;
    mouseMoved(frame, 600, 600);
    readOut->show(kKnob, false, false);
    EXPECT_EQ(readOut->getMode(), ZelCParamDisplay::kHideNever);
    EXPECT_FALSE(readOut->getTimer()->isRunning());
    TestClock::advance(frame, 5000);
    EXPECT_TRUE(readOut->isAttached());
    readOut->hide();
    EXPECT_FALSE(readOut->isAttached());
}

TEST_F(ReadOutFixture, HidingWhileHiddenOnlyStopsTheTimer)
{
    readOut->getTimer()->start();
    readOut->hide();
    EXPECT_FALSE(readOut->getTimer()->isRunning());
    EXPECT_FALSE(readOut->isAttached());
    EXPECT_EQ(readOut->getNbReference(), 1);
}

TEST_F(ReadOutFixture, WithoutAFrameNothingShows)
{
    auto* orphan = new ZelCParamDisplay(CRect(0, 0, 0, 0), nullptr);
    orphan->show(kKnob, false, true);
    EXPECT_FALSE(orphan->isAttached());
    EXPECT_EQ(orphan->getViewSize(), CRect(0, 0, 0, 0));
    orphan->forget();
}
