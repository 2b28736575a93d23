// Controls whose range does not start at 0: the picture each kind shows for a place
// in its range, a switch set by a click, a knob pointed at and a knob's wheel step.
#include "TestHelpers.h"
#include <functional>
#include <tuple>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

struct Range { float min, max; };
constexpr Range kRanges[] = {{-1.f, 1.f}, {2.f, 6.f}, {-6.f, -2.f}};

// Five pictures of 10 x 10; every kind is built over the same strip at (5, 5).
using Maker = std::function<CControl* (CBitmap*)>;
struct Kind { const char* name; Maker make; };
const Kind kKinds[] = {
    {"anim knob", [] (CBitmap* s) { return new CAnimKnob (CRect (5, 5, 15, 15), nullptr, 1, 5, 10, s); }},
    {"movie bitmap", [] (CBitmap* s) { return new CMovieBitmap (CRect (5, 5, 15, 15), nullptr, 1, 5, 10, s); }},
    {"vertical switch",
     [] (CBitmap* s) { return new CVerticalSwitch (CRect (5, 5, 15, 15), nullptr, 1, 5, 10, 5, s); }},
};

} // namespace

TEST (VstguiValueRange, EveryKindShowsThePictureOfItsPlaceInTheRange)
{
	auto strip = makeStrip (5, 10, 10);
	// Place in the range (0 = minimum, 1 = maximum) and the picture shown there.
	const std::pair<float, int> places[] = {{0.f, 0}, {0.5f, 2}, {0.75f, 3}, {1.f, 4}};
	for (const Kind& kind : kKinds)
	{
		for (const Range& range : kRanges)
		{
			for (auto [place, picture] : places)
			{
				SCOPED_TRACE (testing::Message () << kind.name << " in " << range.min << ".." << range.max
				                                  << " at " << place);
				CFrame* frame = makeHeadlessFrame (20, 20);
				CControl* control = kind.make (strip);
				control->setMin (range.min);
				control->setMax (range.max);
				control->setValue (range.min + place * (range.max - range.min));
				frame->addView (control);
				frame->idle ();
				EXPECT_EQ (pixelAt (frame->getBackBuffer (), 10, 10), stripColor (picture));
				frame->close ();
			}
		}
	}
}

TEST (VstguiValueRange, SwitchClicksKnobAnglesAndWheelStepsCoverTheWholeRange)
{
	KnobModeEditor editor;
	auto strip = makeStrip (5, 10, 10);
	for (const Range& range : kRanges)
	{
		SCOPED_TRACE (testing::Message () << range.min << ".." << range.max);
		const float span = range.max - range.min;
		CFrame* frame = makeHeadlessFrame (60, 60, &editor);
		// A switch of five positions, 10 pixels each: a click in band p selects position p.
		auto* sw = new CVerticalSwitch (CRect (0, 0, 10, 50), nullptr, 1, 5, 10, 5, strip);
		auto* knob = new CAnimKnob (CRect (20, 0, 30, 10), nullptr, 2, 5, 10, strip);
		for (CControl* c : {static_cast<CControl*> (sw), static_cast<CControl*> (knob)})
		{
			c->setMin (range.min);
			c->setMax (range.max);
			frame->addView (c);
		}
		for (int p : {4, 0, 2, 3})
		{
			mouseDown (frame, 5, 10 * p + 5, kLButton);
			mouseUp (frame, 5, 10 * p + 5, kLButton);
			EXPECT_FLOAT_EQ (sw->getValue (), range.min + span * static_cast<float> (p) / 4.f) << p;
			frame->idle ();
			EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 5), stripColor (p)) << p;
		}
		// Pointed at by its angle (Alt): straight up is the middle of the range, right of
		// the centre five sixths of it.
		const std::tuple<CCoord, CCoord, float> aims[] = {{25, 1, 0.5f}, {29, 5, 5.f / 6.f}};
		for (auto [x, y, place] : aims)
		{
			mouseDown (frame, x, y, kLButton | kAlt);
			mouseUp (frame, x, y, kLButton | kAlt);
			EXPECT_NEAR (knob->getValue (), range.min + place * span, 1e-4f) << x << ", " << y;
		}
		// One notch of the wheel from the middle moves the knob a tenth of its range up,
		// two back down; the range's ends hold.
		knob->setValue (range.min + span / 2.f);
		const std::pair<float, float> notches[] = {{1.f, 0.6f}, {-2.f, 0.4f}, {-9.f, 0.f}, {12.f, 1.f}};
		for (auto [distance, place] : notches)
		{
			frame->platformOnMouseWheel (CPoint (25, 5), kMouseWheelAxisY, distance, CButtonState ());
			EXPECT_NEAR (knob->getValue (), range.min + place * span, 1e-5f) << distance;
		}
		frame->close ();
	}
}
