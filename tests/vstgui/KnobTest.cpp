// Knobs: drag numbers, Shift, reset, wheel, circular mode, pictures.
#include "TestHelpers.h"

#include <cmath>
#include <limits>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

class KnobTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		frame = makeHeadlessFrame (100, 100, &editor);
		knob = new CKnob (CRect (0, 0, 100, 100), &listener, 4, nullptr, nullptr);
		knob->setValue (0.5f);
		frame->addView (knob);
	}
	void TearDown () override { frame->close (); }

	KnobModeEditor editor;
	CountingListener listener;
	CFrame* frame {nullptr};
	CKnob* knob {nullptr};
};

struct DragStep
{
	CCoord x, y;
	int32_t buttons;
	float expected;
};

struct DragCase
{
	const char* name;
	CCoord startX, startY;
	int32_t startButtons;
	std::vector<DragStep> steps;
};

class KnobDragTest : public KnobTest, public ::testing::WithParamInterface<DragCase>
{
};

} // namespace

TEST_P (KnobDragTest, LinearDragMovesByDistanceOver200)
{
	const DragCase& c = GetParam ();
	EXPECT_EQ (mouseDown (frame, c.startX, c.startY, c.startButtons), kMouseEventHandled);
	EXPECT_TRUE (knob->isEditing ());
	for (const auto& s : c.steps)
	{
		mouseMoved (frame, s.x, s.y, s.buttons);
		EXPECT_NEAR (knob->getValue (), s.expected, 1e-5) << c.name << " at " << s.x << "," << s.y;
	}
	mouseUp (frame, 0, 0, kLButton);
	EXPECT_FALSE (knob->isEditing ());
	EXPECT_EQ (listener.begins, 1);
	EXPECT_EQ (listener.ends, 1);
}

INSTANTIATE_TEST_SUITE_P (
    Table, KnobDragTest,
    ::testing::Values (
        DragCase {"up", 50, 50, kLButton, {{50, 30, kLButton, 0.6f}, {50, 10, kLButton, 0.7f}}},
        DragCase {"right adds", 50, 50, kLButton, {{60, 30, kLButton, 0.65f}, {40, 50, kLButton, 0.45f}}},
        DragCase {"down and left", 50, 50, kLButton, {{50, 70, kLButton, 0.4f}, {30, 70, kLButton, 0.3f}}},
        DragCase {"clamped", 50, 50, kLButton, {{50, -200, kLButton, 1.f}, {50, 150, kLButton, 0.f}}},
        DragCase {"shift is finer", 50, 50, kLButton | kShift, {{50, 30, kLButton | kShift, 0.51f}}},
        DragCase {"shift mid-drag re-bases",
                  50,
                  50,
                  kLButton,
                  {{50, 40, kLButton, 0.55f},
                   {50, 30, kLButton | kShift, 0.55f},
                   {50, 20, kLButton | kShift, 0.555f},
                   {50, 10, kLButton, 0.555f},
                   {50, 0, kLButton, 0.605f}}}),
    [] (const auto& info) {
	    std::string n = info.param.name;
	    for (auto& ch : n)
		    if (!isalnum (static_cast<unsigned char> (ch)))
			    ch = '_';
	    return n;
    });

TEST_F (KnobTest, DragNotifiesOnlyOnChange)
{
	mouseDown (frame, 50, 50, kLButton);
	mouseMoved (frame, 50, 40, kLButton);
	mouseMoved (frame, 50, 40, kLButton);
	mouseMoved (frame, 60, 50, kLButton); // same distance: same value
	EXPECT_EQ (listener.changes, 1);
	mouseUp (frame, 60, 50, kLButton);
}

TEST_F (KnobTest, ReadsOtherRangesToo)
{
	knob->setMin (-1.f);
	knob->setMax (3.f);
	knob->setValue (0.f);
	mouseDown (frame, 50, 50, kLButton);
	mouseMoved (frame, 50, 40, kLButton);
	EXPECT_NEAR (knob->getValue (), 0.2f, 1e-5); // 10 x 4 / 200
	mouseUp (frame, 50, 40, kLButton);
}

struct ClickCase
{
	int32_t buttons;
	CMouseEventResult result;
	float valueAfter;
	int changes;
};

class KnobClickTest : public KnobTest, public ::testing::WithParamInterface<ClickCase>
{
};

TEST_P (KnobClickTest, ResetAndRefusedClicks)
{
	const ClickCase& c = GetParam ();
	knob->setValue (0.9f);
	EXPECT_EQ (mouseDown (frame, 50, 50, c.buttons), c.result);
	EXPECT_FLOAT_EQ (knob->getValue (), c.valueAfter);
	EXPECT_EQ (listener.changes, c.changes);
	if (c.result != kMouseEventHandled)
	{
		EXPECT_FALSE (knob->isEditing ());
	}
	mouseUp (frame, 50, 50, c.buttons);
}

INSTANTIATE_TEST_SUITE_P (
    Table, KnobClickTest,
    ::testing::Values (ClickCase {kLButton | kControl, kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.5f, 1},
                       ClickCase {kLButton | kDoubleClick, kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.5f, 1},
                       ClickCase {kRButton, kMouseEventNotHandled, 0.9f, 0},
                       ClickCase {kMButton, kMouseEventNotHandled, 0.9f, 0},
                       ClickCase {kLButton | kRButton, kMouseEventNotHandled, 0.9f, 0},
                       ClickCase {kLButton | kControl | kShift, kMouseEventHandled, 0.9f, 0},
                       ClickCase {kLButton, kMouseEventHandled, 0.9f, 0}));

TEST_F (KnobTest, ResetAtDefaultDoesNotNotify)
{
	knob->setValue (0.5f);
	EXPECT_EQ (mouseDown (frame, 50, 50, kLButton | kDoubleClick), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
	EXPECT_EQ (listener.changes, 0);
}

TEST_F (KnobTest, WheelAddsATenthOfTheDistance)
{
	CPoint p (50, 50);
	EXPECT_TRUE (frame->platformOnMouseWheel (p, kMouseWheelAxisY, 1.f, CButtonState ()));
	EXPECT_NEAR (knob->getValue (), 0.6f, 1e-6);
	frame->platformOnMouseWheel (p, kMouseWheelAxisY, -2.f, CButtonState ());
	EXPECT_NEAR (knob->getValue (), 0.4f, 1e-6);
	frame->platformOnMouseWheel (p, kMouseWheelAxisY, 1.f, CButtonState (kShift));
	EXPECT_NEAR (knob->getValue (), 0.41f, 1e-6);
	EXPECT_EQ (listener.changes, 3);
	EXPECT_EQ (listener.begins, 3);
	knob->setValue (1.f);
	frame->platformOnMouseWheel (p, kMouseWheelAxisY, 1.f, CButtonState ());
	EXPECT_EQ (listener.changes, 3); // at the end: no change, no notification
}

TEST_F (KnobTest, AltOrCircularModeFollowsTheAngle)
{
	// Linear editor mode with Alt: circular. Right of the centre is 5/6 of the range
	// (the range runs clockwise from bottom left through the top to bottom right).
	EXPECT_EQ (mouseDown (frame, 90, 50, kLButton | kAlt), kMouseEventHandled);
	EXPECT_NEAR (knob->getValue (), 5.f / 6.f, 1e-4);
	mouseMoved (frame, 50, 10, kLButton | kAlt);
	EXPECT_NEAR (knob->getValue (), 0.5f, 1e-4);
	mouseMoved (frame, 10, 50, kLButton | kAlt);
	EXPECT_NEAR (knob->getValue (), 1.f / 6.f, 1e-4);
	mouseUp (frame, 10, 50, kLButton);
	// Circular editor mode without Alt.
	editor.mode = kCircularMode;
	mouseDown (frame, 50, 10, kLButton);
	EXPECT_NEAR (knob->getValue (), 0.5f, 1e-4);
	mouseUp (frame, 50, 10, kLButton);
}

struct StartAngleCase
{
	const char* name;
	double startAngle;
	bool valueStays; // a start angle that is not finite leaves the value alone
};

class KnobStartAngleTest : public KnobTest, public ::testing::WithParamInterface<StartAngleCase>
{
};

// Any start angle: a click and a drag in circular mode return at once. An angle 200 turns
// away from the usual one reads the same value as the usual one.
TEST_P (KnobStartAngleTest, ClickAndDragReturn)
{
	const double usual = 5. * 3.14159265358979 / 4.;
	editor.mode = kCircularMode;
	// The same knob with the usual start angle, outside the frame: it only reads angles.
	auto reference = makeOwned<CKnob> (CRect (0, 0, 100, 100), nullptr, 5, nullptr, nullptr);
	knob->setStartAngle (static_cast<float> (GetParam ().startAngle));
	const CPoint points[] = {{90, 50}, {50, 10}, {12, 70}};
	for (const CPoint& p : points)
	{
		knob->setValue (0.5f);
		mouseDown (frame, p.x, p.y, kLButton);
		mouseMoved (frame, p.x + 1, p.y, kLButton);
		mouseUp (frame, p.x + 1, p.y, kLButton);
		const float value = knob->getValue ();
		if (GetParam ().valueStays)
		{
			EXPECT_EQ (value, 0.5f);
		}
		else
		{
			EXPECT_TRUE (value >= 0.f && value <= 1.f) << value;
		}
		if (std::fabs (GetParam ().startAngle - usual) < 2000.)
		{
			EXPECT_NEAR (value, reference->valueFromPoint (CPoint (p.x + 1, p.y)), 1e-4);
		}
	}
}

INSTANTIATE_TEST_SUITE_P (
    Table, KnobStartAngleTest,
    ::testing::Values (StartAngleCase {"Usual", 5. * 3.14159265358979 / 4., false},
                       StartAngleCase {"TwoHundredTurnsOn", 5. * 3.14159265358979 / 4. + 400. * 3.14159265358979, false},
                       StartAngleCase {"TwoHundredTurnsBack", 5. * 3.14159265358979 / 4. - 400. * 3.14159265358979, false},
                       StartAngleCase {"Huge", 1e16, false}, StartAngleCase {"Huger", 1e20, false},
                       StartAngleCase {"HugeNegative", -1e20, false},
                       StartAngleCase {"Infinite", std::numeric_limits<double>::infinity (), true},
                       StartAngleCase {"MinusInfinite", -std::numeric_limits<double>::infinity (), true},
                       StartAngleCase {"NoNumber", std::numeric_limits<double>::quiet_NaN (), true}),
    [] (const auto& info) { return std::string (info.param.name); });

TEST_F (KnobTest, KnobWithoutPicturesDrawsNothing)
{
	frame->idle ();
	EXPECT_EQ (countPixels (frame->getBackBuffer (), CRect (0, 0, 100, 100), CColor (0, 0, 0, 255)), 10000);
}

struct AnimCase
{
	float value;
	int picture;
};

class AnimKnobTest : public ::testing::TestWithParam<AnimCase>
{
};

TEST_P (AnimKnobTest, DrawsFloorOfValueTimesNMinusOne)
{
	const AnimCase& c = GetParam ();
	CFrame* frame = makeHeadlessFrame (20, 20);
	auto strip = makeStrip (5, 10, 10);
	auto* knob = new CAnimKnob (CRect (5, 5, 15, 15), nullptr, 1, 5, 10, strip);
	knob->setValue (c.value);
	frame->addView (knob);
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 10, 10), stripColor (c.picture));
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 4, 4), CColor (0, 0, 0, 255));
	frame->close ();
}

INSTANTIATE_TEST_SUITE_P (Table, AnimKnobTest,
                          ::testing::Values (AnimCase {0.f, 0}, AnimCase {0.24f, 0}, AnimCase {0.25f, 1},
                                             AnimCase {0.74f, 2}, AnimCase {0.99f, 3}, AnimCase {1.f, 4}));

TEST (AnimKnob, PictureCountFromTheStrip)
{
	auto strip = makeStrip (7, 10, 10);
	auto* knob = new CAnimKnob (CRect (0, 0, 10, 10), nullptr, 1, strip);
	EXPECT_EQ (knob->getNumSubPixmaps (), 7);
	auto* copy = static_cast<CAnimKnob*> (knob->newCopy ());
	EXPECT_EQ (copy->getNumSubPixmaps (), 7);
	EXPECT_EQ (copy->getBackground (), strip.get ());
	copy->forget ();
	knob->forget ();
}
