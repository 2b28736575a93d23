// On/off button, rocker switch, vertical switch and movie bitmap.
#include "TestHelpers.h"

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

class SwitchFixture : public ::testing::Test
{
protected:
	void SetUp () override
	{
		CVSTGUITimer::useTestClock (true);
		frame = makeHeadlessFrame (100, 100);
	}
	void TearDown () override
	{
		frame->close ();
		CVSTGUITimer::useTestClock (false);
	}

	CountingListener listener;
	CFrame* frame {nullptr};
};

} // namespace

TEST_F (SwitchFixture, OnOffButtonTogglesOnMouseUpInside)
{
	auto strip = makeStrip (2, 10, 10); // off above, on below
	auto* button = new COnOffButton (CRect (0, 0, 10, 10), &listener, 27, strip);
	frame->addView (button);
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 5), stripColor (0));

	EXPECT_EQ (mouseDown (frame, 5, 5, kLButton), kMouseEventHandled);
	EXPECT_TRUE (button->isEditing ());
	EXPECT_EQ (listener.changes, 0);
	mouseUp (frame, 5, 5, kLButton);
	EXPECT_FLOAT_EQ (button->getValue (), 1.f);
	EXPECT_EQ (listener.order, (std::vector<std::string> {"begin", "changed", "end"}));
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 5), stripColor (1));

	mouseDown (frame, 5, 5, kLButton);
	mouseUp (frame, 50, 50, kLButton); // released outside: no toggle
	EXPECT_FLOAT_EQ (button->getValue (), 1.f);
	EXPECT_EQ (listener.changes, 1);
	EXPECT_EQ (listener.ends, 2);

	EXPECT_EQ (mouseDown (frame, 5, 5, kRButton), kMouseEventNotHandled);
	EXPECT_EQ (mouseDown (frame, 5, 5, kMButton), kMouseEventNotHandled);
	mouseDown (frame, 5, 5, kLButton);
	mouseUp (frame, 5, 5, kLButton);
	EXPECT_FLOAT_EQ (button->getValue (), 0.f);
}

struct RockerCase
{
	CCoord y;
	float pressed;
};

class RockerTest : public SwitchFixture, public ::testing::WithParamInterface<RockerCase>
{
};

TEST_P (RockerTest, UpperHalfMinusLowerHalfPlusThenBackToZero)
{
	const RockerCase& c = GetParam ();
	auto* rocker = new CRockerSwitch (CRect (0, 0, 10, 30), &listener, 89, 30, makeStrip (3, 10, 30), CPoint (),
	                                  CRockerSwitch::kVertical);
	frame->addView (rocker);
	EXPECT_FLOAT_EQ (rocker->getMin (), -1.f);
	EXPECT_FLOAT_EQ (rocker->getValue (), 0.f);
	EXPECT_EQ (mouseDown (frame, 5, c.y, kLButton), kMouseEventHandled);
	EXPECT_FLOAT_EQ (rocker->getValue (), c.pressed);
	EXPECT_EQ (listener.values, (std::vector<float> {c.pressed}));
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 5), stripColor (c.pressed < 0 ? 0 : 2));
	mouseUp (frame, 5, c.y, kLButton);
	EXPECT_FLOAT_EQ (rocker->getValue (), 0.f);
	EXPECT_EQ (listener.values, (std::vector<float> {c.pressed, 0.f}));
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 5), stripColor (1));
	EXPECT_EQ (listener.begins, 1);
	EXPECT_EQ (listener.ends, 1);
}

INSTANTIATE_TEST_SUITE_P (Table, RockerTest,
                          ::testing::Values (RockerCase {0, -1.f}, RockerCase {14, -1.f}, RockerCase {15, -1.f},
                                             RockerCase {16, 1.f}, RockerCase {29, 1.f}));

TEST_F (SwitchFixture, RockerFollowsTheDragAndWheelSpringsBackByTimer)
{
	auto* rocker = new CRockerSwitch (CRect (0, 0, 10, 30), &listener, 87, 30, nullptr, CPoint (),
	                                  CRockerSwitch::kVertical);
	frame->addView (rocker);
	mouseDown (frame, 5, 5, kLButton);
	mouseMoved (frame, 5, 25, kLButton);
	EXPECT_FLOAT_EQ (rocker->getValue (), 1.f);
	mouseUp (frame, 5, 25, kLButton);
	listener = CountingListener ();

	CPoint p (5, 5);
	EXPECT_TRUE (frame->platformOnMouseWheel (p, kMouseWheelAxisY, 1.f, CButtonState ()));
	EXPECT_FLOAT_EQ (rocker->getValue (), -1.f);
	EXPECT_EQ (listener.changes, 1);
	CVSTGUITimer::advanceTestClock (199);
	frame->idle ();
	EXPECT_FLOAT_EQ (rocker->getValue (), -1.f);
	CVSTGUITimer::advanceTestClock (1);
	frame->idle ();
	EXPECT_FLOAT_EQ (rocker->getValue (), 0.f);
	EXPECT_EQ (listener.values, (std::vector<float> {-1.f, 0.f}));
	EXPECT_EQ (listener.begins, 1);
	EXPECT_EQ (listener.ends, 1);

	frame->platformOnMouseWheel (p, kMouseWheelAxisY, -1.f, CButtonState ());
	EXPECT_FLOAT_EQ (rocker->getValue (), 1.f);
	frame->platformOnMouseWheel (p, kMouseWheelAxisY, 0.f, CButtonState ());
	EXPECT_FLOAT_EQ (rocker->getValue (), 1.f);
	CVSTGUITimer::advanceTestClock (200);
	frame->idle ();
	EXPECT_FLOAT_EQ (rocker->getValue (), 0.f);
	EXPECT_EQ (listener.begins, listener.ends);
	CVSTGUITimer::advanceTestClock (1000);
	frame->idle ();
	EXPECT_EQ (listener.values.back (), 0.f);
	EXPECT_EQ (listener.changes, 5); // -1, 0, +1, +1, 0: the timer fired once per wheel burst
}

struct VerticalCase
{
	CCoord y;
	int position;
};

class VerticalSwitchTest : public SwitchFixture, public ::testing::WithParamInterface<VerticalCase>
{
};

TEST_P (VerticalSwitchTest, PositionFromHeightAndPictureByPosition)
{
	const VerticalCase& c = GetParam ();
	auto* sw = new CVerticalSwitch (CRect (0, 0, 10, 40), &listener, 33, 4, 10, 4, makeStrip (4, 10, 10));
	frame->addView (sw);
	EXPECT_EQ (mouseDown (frame, 5, c.y, kLButton), kMouseEventHandled);
	mouseUp (frame, 5, c.y, kLButton);
	EXPECT_NEAR (sw->getValue (), c.position / 3.f, 1e-6);
	EXPECT_EQ (sw->getPosition (), c.position);
	EXPECT_EQ (listener.changes, c.position == 0 ? 0 : 1);
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 2), stripColor (c.position));
}

INSTANTIATE_TEST_SUITE_P (Table, VerticalSwitchTest,
                          ::testing::Values (VerticalCase {0, 0}, VerticalCase {9.9, 0}, VerticalCase {10, 1},
                                             VerticalCase {25, 2}, VerticalCase {39, 3}));

TEST_F (SwitchFixture, VerticalSwitchWithThreePositions)
{
	auto* sw = new CVerticalSwitch (CRect (0, 0, 10, 30), &listener, 32, 3, 10, 3, nullptr);
	frame->addView (sw);
	mouseDown (frame, 5, 15, kLButton);
	EXPECT_FLOAT_EQ (sw->getValue (), 0.5f);
	mouseMoved (frame, 5, 29, kLButton);
	EXPECT_FLOAT_EQ (sw->getValue (), 1.f);
	mouseMoved (frame, 5, 500, kLButton); // clamped to the last position
	EXPECT_FLOAT_EQ (sw->getValue (), 1.f);
	mouseUp (frame, 5, 29, kLButton);
	EXPECT_EQ (mouseDown (frame, 5, 5, kRButton), kMouseEventNotHandled);
}

TEST_F (SwitchFixture, MovieBitmapShowsThePictureOfTheValue)
{
	auto* movie = new CMovieBitmap (CRect (0, 0, 4, 4), nullptr, 24, 40, 4, makeStrip (40, 4, 4));
	frame->addView (movie);
	for (int w : {0, 1, 17, 24, 38, 39})
	{
		movie->setValue (static_cast<float> (w) / 39.f);
		frame->idle ();
		EXPECT_EQ (pixelAt (frame->getBackBuffer (), 1, 1), stripColor (w)) << w;
	}
}
