// Mouse dispatch of the frame: observers, z-order, capture, modifier clicks, wheel.
#include "TestHelpers.h"

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

struct Observer : IMouseObserver
{
	std::vector<std::string>* log {nullptr};
	CMouseEventResult downResult {kMouseEventNotHandled};
	CMouseEventResult moveResult {kMouseEventNotHandled};
	std::vector<CView*> entered, exited;

	CMouseEventResult onMouseDown (CFrame*, const CPoint&, const CButtonState&) override
	{
		log->push_back ("observer:down");
		return downResult;
	}
	CMouseEventResult onMouseMoved (CFrame*, const CPoint&, const CButtonState&) override
	{
		log->push_back ("observer:moved");
		return moveResult;
	}
	void onMouseEntered (CView* v, CFrame*) override { entered.push_back (v); }
	void onMouseExited (CView* v, CFrame*) override { exited.push_back (v); }
};

class Dispatch : public ::testing::Test
{
protected:
	void SetUp () override
	{
		frame = makeHeadlessFrame (100, 100);
		lower = new RecordingView (CRect (0, 0, 60, 60), &log, "lower");
		upper = new RecordingView (CRect (40, 40, 100, 100), &log, "upper");
		frame->addView (lower);
		frame->addView (upper);
		observer.log = &log;
		frame->registerMouseObserver (&observer);
	}
	void TearDown () override { frame->close (); }

	CMouseEventResult down (CCoord x, CCoord y, int32_t buttons = kLButton)
	{
		CPoint p (x, y);
		return frame->platformOnMouseDown (p, CButtonState (buttons));
	}
	CMouseEventResult move (CCoord x, CCoord y, int32_t buttons = kLButton)
	{
		CPoint p (x, y);
		return frame->platformOnMouseMoved (p, CButtonState (buttons));
	}
	CMouseEventResult up (CCoord x, CCoord y, int32_t buttons = kLButton)
	{
		CPoint p (x, y);
		return frame->platformOnMouseUp (p, CButtonState (buttons));
	}

	/** The log without the pointer's entering and leaving views. */
	std::vector<std::string> events () const
	{
		std::vector<std::string> out;
		for (const auto& e : log)
			if (e.find ("entered") == std::string::npos && e.find ("exited") == std::string::npos)
				out.push_back (e);
		return out;
	}

	std::vector<std::string> log;
	CFrame* frame {nullptr};
	RecordingView* lower {nullptr};
	RecordingView* upper {nullptr};
	Observer observer;
};

using Log = std::vector<std::string>;

} // namespace

TEST_F (Dispatch, ObserverFirstThenTopmostView)
{
	EXPECT_EQ (down (50, 50), kMouseEventHandled);
	EXPECT_EQ (events (), (Log {"observer:down", "upper:down"}));
	EXPECT_EQ (upper->lastPoint, CPoint (50, 50)); // frame coordinates
	log.clear ();
	EXPECT_EQ (up (50, 50), kMouseEventHandled);
	EXPECT_EQ (events (), (Log {"upper:up"}));
}

TEST_F (Dispatch, ObserverAnswerEndsTheHandling)
{
	for (CMouseEventResult r : {kMouseEventHandled, kMouseMoveEventHandledButDontNeedMoreEvents,
	                            kMouseDownEventHandledButDontNeedMovedOrUpEvents})
	{
		log.clear ();
		observer.downResult = r;
		EXPECT_EQ (down (10, 10), r);
		EXPECT_EQ (events (), (Log {"observer:down"}));
	}
	observer.downResult = kMouseEventNotHandled;
	observer.moveResult = kMouseEventHandled;
	log.clear ();
	move (10, 10, 0);
	EXPECT_EQ (events (), (Log {"observer:moved"}));
}

TEST_F (Dispatch, HandledCapturesMovesAndUpEvenOutside)
{
	down (10, 10);
	log.clear ();
	move (90, 90);
	move (150, -20);
	EXPECT_EQ (events (), (Log {"observer:moved", "lower:moved", "observer:moved", "lower:moved"}));
	EXPECT_EQ (lower->lastPoint, CPoint (150, -20));
	EXPECT_EQ (lower->lastButtons, kLButton);
	log.clear ();
	up (150, -20);
	EXPECT_EQ (events (), (Log {"lower:up"}));
	// The capture is over: a move goes to the view under the pointer, buttons reduced to modifiers.
	log.clear ();
	move (90, 90, kLButton | kShift);
	EXPECT_EQ (events (), (Log {"observer:moved", "upper:moved"}));
	EXPECT_EQ (upper->lastButtons, kShift);
}

TEST_F (Dispatch, DownHandledButDontNeedMovedOrUpCapturesNothing)
{
	lower->downResult = kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	EXPECT_EQ (down (10, 10), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
	log.clear ();
	move (20, 20);
	up (20, 20);
	EXPECT_EQ (events (), (Log {"observer:moved", "lower:moved"}));
}

TEST_F (Dispatch, OpaqueNotHandledEndsTheSearchTransparentPassesOn)
{
	upper->downResult = kMouseEventNotHandled;
	EXPECT_EQ (down (50, 50), kMouseEventNotHandled);
	EXPECT_EQ (events (), (Log {"observer:down", "upper:down"}));
	log.clear ();
	upper->setTransparency (true);
	EXPECT_EQ (down (50, 50), kMouseEventHandled);
	EXPECT_EQ (events (), (Log {"observer:down", "upper:down", "lower:down"}));
}

TEST_F (Dispatch, InvisibleDisabledAndHitTestAreSkipped)
{
	upper->setMouseEnabled (false);
	down (50, 50);
	EXPECT_EQ (events (), (Log {"observer:down", "lower:down"}));
	up (50, 50);
	upper->setMouseEnabled (true);
	upper->setVisible (false);
	log.clear ();
	down (50, 50);
	EXPECT_EQ (events (), (Log {"observer:down", "lower:down"}));
	up (50, 50);
	upper->setVisible (true);
	upper->setMouseableArea (CRect (55, 55, 100, 100));
	log.clear ();
	down (50, 50);
	EXPECT_EQ (events (), (Log {"observer:down", "lower:down"}));
	up (50, 50);
	log.clear ();
	EXPECT_EQ (down (70, 5), kMouseEventNotHandled); // no view there
	EXPECT_EQ (events (), (Log {"observer:down"}));
}

TEST_F (Dispatch, RemovingTheCapturingViewEndsTheCapture)
{
	down (50, 50);
	upper->remember ();
	frame->removeView (upper, true);
	log.clear ();
	move (50, 50);
	up (50, 50);
	for (const auto& entry : log)
		EXPECT_EQ (entry.find ("upper"), std::string::npos) << entry;
	upper->forget ();
}

TEST_F (Dispatch, WheelGoesToTopmostViewThatTakesIt)
{
	CPoint p (50, 50);
	EXPECT_FALSE (frame->platformOnMouseWheel (p, kMouseWheelAxisY, 1.f, CButtonState ()));
	EXPECT_EQ (events (), (Log {"upper:wheel", "lower:wheel"}));
	log.clear ();
	lower->wheelResult = true;
	EXPECT_TRUE (frame->platformOnMouseWheel (p, kMouseWheelAxisX, -2.f, CButtonState (kShift)));
	EXPECT_EQ (events (), (Log {"upper:wheel", "lower:wheel"}));
	EXPECT_FLOAT_EQ (lower->lastDistance, -2.f);
	EXPECT_EQ (lower->lastButtons, kShift);
	upper->wheelResult = true;
	log.clear ();
	frame->platformOnMouseWheel (p, kMouseWheelAxisY, 1.f, CButtonState ());
	EXPECT_EQ (events (), (Log {"upper:wheel"}));
}

TEST_F (Dispatch, EnterAndExitFollowThePointer)
{
	move (10, 10, 0);
	move (90, 90, 0);
	move (200, 200, 0);
	EXPECT_EQ (log, (Log {"observer:moved", "lower:entered", "lower:moved", "observer:moved", "lower:exited",
	                      "upper:entered", "upper:moved", "observer:moved", "upper:exited"}));
	EXPECT_EQ (observer.entered, (std::vector<CView*> {lower, upper}));
	EXPECT_EQ (observer.exited, (std::vector<CView*> {lower, upper}));
	CPoint where;
	EXPECT_TRUE (frame->getCurrentMouseLocation (where));
	EXPECT_EQ (where, CPoint (200, 200));
}

TEST_F (Dispatch, CurrentButtonsFollowTheEvents)
{
	down (10, 10, kLButton | kShift);
	EXPECT_EQ (frame->getCurrentMouseButtons (), CButtonState (kLButton | kShift));
	up (10, 10, kLButton | kShift);
	EXPECT_EQ (frame->getCurrentMouseButtons ().getButtonState (), 0);
}

//------------------------------------------------------------------------
namespace {

struct ModifierListener : IControlListener
{
	int32_t answer {0};
	std::vector<int32_t> asked;
	void valueChanged (CControl*) override {}
	int32_t controlModifierClicked (CControl*, CButtonState button) override
	{
		asked.push_back (button ());
		return answer;
	}
};

class ClickControl : public CControl
{
public:
	using CControl::CControl;
	int downs {0};
	CMouseEventResult onMouseDown (CPoint&, const CButtonState&) override
	{
		++downs;
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	}
};

struct ModifierCase
{
	int32_t buttons;
	int32_t listenerAnswer;
	bool asked;
	int controlDowns;
};

class ModifierClickTest : public ::testing::TestWithParam<ModifierCase>
{
};

} // namespace

TEST_P (ModifierClickTest, ListenerIsAskedFirst)
{
	const ModifierCase& c = GetParam ();
	ModifierListener listener;
	listener.answer = c.listenerAnswer;
	CFrame* frame = makeHeadlessFrame (50, 50);
	auto* control = new ClickControl (CRect (0, 0, 50, 50), &listener, 5);
	frame->addView (control);
	CPoint p (10, 10);
	frame->platformOnMouseDown (p, CButtonState (c.buttons));
	EXPECT_EQ (!listener.asked.empty (), c.asked);
	if (c.asked)
	{
		EXPECT_EQ (listener.asked.front (), c.buttons);
	}
	EXPECT_EQ (control->downs, c.controlDowns);
	frame->close ();
}

INSTANTIATE_TEST_SUITE_P (Table, ModifierClickTest,
                          ::testing::Values (ModifierCase {kLButton, 1, false, 1},
                                             ModifierCase {kRButton, 0, true, 1},
                                             ModifierCase {kRButton, 1, true, 0},
                                             ModifierCase {kLButton | kShift, 1, true, 0},
                                             ModifierCase {kLButton | kControl, 0, true, 1},
                                             ModifierCase {kLButton | kAlt, 1, true, 0},
                                             ModifierCase {kLButton | kDoubleClick, 1, false, 1}));

//------------------------------------------------------------------------
namespace {

struct BlockingListener : IViewMouseListener
{
	bool block {false};
	int downs {0};
	CMouseEventResult viewOnMouseDown (CView*, CPoint, CButtonState) override
	{
		++downs;
		return block ? kMouseEventHandled : kMouseEventNotHandled;
	}
};

} // namespace

TEST_F (Dispatch, ViewMouseListenerSeesTheEventFirst)
{
	BlockingListener listener;
	upper->registerViewMouseListener (&listener);
	down (50, 50);
	up (50, 50);
	EXPECT_EQ (listener.downs, 1);
	EXPECT_EQ (events (), (Log {"observer:down", "upper:down", "upper:up"}));
	listener.block = true;
	log.clear ();
	EXPECT_EQ (down (50, 50), kMouseEventHandled);
	EXPECT_EQ (events (), (Log {"observer:down"}));
	upper->unregisterViewMouseListener (&listener);
}

TEST (VstguiDispatchNested, ContainerChildrenGetContainerCoordinates)
{
	std::vector<std::string> log;
	CFrame* frame = makeHeadlessFrame (100, 100);
	auto* box = new CViewContainer (CRect (20, 30, 80, 90));
	box->setTransparency (true);
	auto* inner = new RecordingView (CRect (5, 5, 25, 25), &log, "inner");
	box->addView (inner);
	frame->addView (box);
	CPoint p (30, 40);
	EXPECT_EQ (frame->platformOnMouseDown (p, CButtonState (kLButton)), kMouseEventHandled);
	EXPECT_EQ (inner->lastPoint, CPoint (10, 10));
	CPoint m (100, 100);
	frame->platformOnMouseMoved (m, CButtonState (kLButton));
	EXPECT_EQ (inner->lastPoint, CPoint (80, 70));
	CPoint local (10, 10);
	inner->localToFrame (local);
	EXPECT_EQ (local, CPoint (30, 40));
	frame->platformOnMouseUp (m, CButtonState (kLButton));
	EXPECT_EQ (log, (std::vector<std::string> {"inner:entered", "inner:down", "inner:moved", "inner:up",
	                                           "inner:exited"}));
	frame->close ();
}

namespace {

/** Takes a view out of the frame and puts a new one in when clicked, then passes the click on. */
class TreeChanger : public CView
{
public:
	TreeChanger (const CRect& r, CView* victim, std::vector<std::string>* log) : CView (r), victim (victim), log (log)
	{
		setTransparency (true);
	}
	CMouseEventResult onMouseDown (CPoint&, const CButtonState&) override
	{
		getFrame ()->removeView (victim, true);
		getFrame ()->addView (new RecordingView (getViewSize (), log, "added"));
		log->push_back ("changer:down");
		return kMouseEventNotHandled;
	}
	CView* victim;
	std::vector<std::string>* log;
};

} // namespace

TEST (VstguiDispatchTree, AHandlerMayChangeTheViewsDuringTheClick)
{
	std::vector<std::string> log;
	CFrame* frame = makeHeadlessFrame (50, 50);
	auto* bottom = new RecordingView (CRect (0, 0, 50, 50), &log, "bottom");
	auto* victim = new RecordingView (CRect (0, 0, 50, 50), &log, "victim");
	victim->setTransparency (true);
	victim->downResult = kMouseEventNotHandled;
	frame->addView (bottom);
	frame->addView (victim);
	frame->addView (new TreeChanger (CRect (0, 0, 50, 50), victim, &log));
	CPoint p (10, 10);
	EXPECT_EQ (frame->platformOnMouseDown (p, CButtonState (kLButton)), kMouseEventHandled);
	std::erase_if (log, [] (const std::string& e) { return e.find ("entered") != std::string::npos; });
	EXPECT_EQ (log, (std::vector<std::string> {"changer:down", "bottom:down"}));
	frame->close ();
}
