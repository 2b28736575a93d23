// Value types, reference counting, messages and the control base.
#include "TestHelpers.h"
#include <cmath>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

TEST (VstguiValues, EnumerationsHaveTheLibraryValues)
{
	EXPECT_EQ (kLButton, 2);
	EXPECT_EQ (kMButton, 4);
	EXPECT_EQ (kRButton, 8);
	EXPECT_EQ (kShift, 16);
	EXPECT_EQ (kControl, 32);
	EXPECT_EQ (kAlt, 64);
	EXPECT_EQ (kApple, 128);
	EXPECT_EQ (kButton4, 0x100);
	EXPECT_EQ (kButton5, 0x200);
	EXPECT_EQ (kDoubleClick, 0x400);
	EXPECT_EQ (kMouseEventNotImplemented, 0);
	EXPECT_EQ (kMouseEventHandled, 1);
	EXPECT_EQ (kMouseEventNotHandled, 2);
	EXPECT_EQ (kMouseDownEventHandledButDontNeedMovedOrUpEvents, 3);
	EXPECT_EQ (kMouseMoveEventHandledButDontNeedMoreEvents, 4);
	EXPECT_EQ (kLeftText, 0);
	EXPECT_EQ (kCenterText, 1);
	EXPECT_EQ (kRightText, 2);
	EXPECT_EQ (IPlatformBitmapPixelAccess::kARGB, 0);
	EXPECT_EQ (IPlatformBitmapPixelAccess::kRGBA, 1);
	EXPECT_EQ (IPlatformBitmapPixelAccess::kABGR, 2);
	EXPECT_EQ (IPlatformBitmapPixelAccess::kBGRA, 3);
	EXPECT_EQ (kMessageUnknown, 0);
	EXPECT_EQ (kMessageNotified, 1);
}

struct ButtonCase
{
	int32_t state;
	int32_t buttons;
	int32_t modifiers;
	bool left;
	bool right;
};

class ButtonStateTest : public ::testing::TestWithParam<ButtonCase>
{
};

TEST_P (ButtonStateTest, MasksButtonsAndModifiers)
{
	const ButtonCase& c = GetParam ();
	CButtonState b (c.state);
	EXPECT_EQ (b.getButtonState (), c.buttons);
	EXPECT_EQ (b.getModifierState (), c.modifiers);
	EXPECT_EQ (b.isLeftButton (), c.left);
	EXPECT_EQ (b.isRightButton (), c.right);
	EXPECT_EQ (b (), c.state);
}

INSTANTIATE_TEST_SUITE_P (
    Table, ButtonStateTest,
    ::testing::Values (ButtonCase {kLButton, kLButton, 0, true, false},
                       ButtonCase {kLButton | kShift, kLButton, kShift, true, false},
                       ButtonCase {kLButton | kDoubleClick, kLButton, 0, true, false},
                       ButtonCase {kLButton | kRButton, kLButton | kRButton, 0, false, false},
                       ButtonCase {kRButton | kControl | kAlt, kRButton, kControl | kAlt, false, true},
                       ButtonCase {kButton4 | kButton5 | kMButton, 0x304, 0, false, false},
                       ButtonCase {kShift | kApple, 0, kShift | kApple, false, false}));

TEST (VstguiValues, RectangleEdges)
{
	CRect r (10, 20, 30, 40);
	EXPECT_TRUE (r.pointInside (CPoint (10, 20)));
	EXPECT_TRUE (r.pointInside (CPoint (29.9, 39.9)));
	EXPECT_FALSE (r.pointInside (CPoint (30, 25)));
	EXPECT_FALSE (r.pointInside (CPoint (15, 40)));
	EXPECT_FALSE (r.pointInside (CPoint (9.99, 25)));
	EXPECT_EQ (r.getWidth (), 20);
	EXPECT_EQ (r.getHeight (), 20);
	CRect b (r);
	b.bound (CRect (25, 0, 100, 30));
	EXPECT_EQ (b, CRect (25, 20, 30, 30));
	CRect none (r);
	none.bound (CRect (50, 50, 60, 60));
	EXPECT_TRUE (none.isEmpty ());
	CRect u (r);
	u.unite (CRect (0, 0, 5, 5));
	EXPECT_EQ (u, CRect (0, 0, 30, 40));
	EXPECT_TRUE (r.rectOverlap (CRect (29, 39, 50, 50)));
	EXPECT_FALSE (r.rectOverlap (CRect (30, 20, 50, 50)));
}

//------------------------------------------------------------------------
namespace {

int liveObjects = 0;

class Counted : public CBaseObject
{
public:
	Counted () { ++liveObjects; }
	~Counted () noexcept override { --liveObjects; }

	static IdStringPtr kMsgPing;
	int pings {0};
	CMessageResult notify (CBaseObject* sender, IdStringPtr message) override
	{
		if (message == kMsgPing)
		{
			++pings;
			return kMessageNotified;
		}
		return CBaseObject::notify (sender, message);
	}
};

IdStringPtr Counted::kMsgPing = "ping";

} // namespace

TEST (VstguiReferences, NewObjectStartsAtOneAndDiesAtZero)
{
	liveObjects = 0;
	auto* o = new Counted;
	EXPECT_EQ (o->getNbReference (), 1);
	o->remember ();
	EXPECT_EQ (o->getNbReference (), 2);
	o->forget ();
	EXPECT_EQ (liveObjects, 1);
	o->forget ();
	EXPECT_EQ (liveObjects, 0);
}

TEST (VstguiReferences, SharedPointerHoldsOneReference)
{
	liveObjects = 0;
	{
		auto p = makeOwned<Counted> ();
		EXPECT_EQ (p->getNbReference (), 1);
		SharedPointer<Counted> q (p);
		EXPECT_EQ (p->getNbReference (), 2);
		SharedPointer<CBaseObject> base (p);
		EXPECT_EQ (p->getNbReference (), 3);
		q = nullptr;
		EXPECT_EQ (p->getNbReference (), 2);
	}
	EXPECT_EQ (liveObjects, 0);
}

TEST (VstguiReferences, MessagesAreComparedByPointer)
{
	Counted o;
	char sameText[] = "ping";
	EXPECT_EQ (o.notify (nullptr, Counted::kMsgPing), kMessageNotified);
	EXPECT_EQ (o.notify (nullptr, sameText), kMessageUnknown);
	EXPECT_EQ (o.pings, 1);
}

//------------------------------------------------------------------------
namespace {

struct ListenerLog : IControlListener
{
	int changes {0};
	int begins {0};
	int ends {0};
	void valueChanged (CControl*) override { ++changes; }
	void controlBeginEdit (CControl*) override { ++begins; }
	void controlEndEdit (CControl*) override { ++ends; }
};

struct EditorLog : VSTGUIEditorInterface
{
	std::vector<long> begins, ends;
	void beginEdit (EditHookIndex index) override { begins.push_back (index); }
	void endEdit (EditHookIndex index) override { ends.push_back (index); }
};

} // namespace

struct SetValueCase
{
	float min, max, in, expected;
};

class ControlSetValueTest : public ::testing::TestWithParam<SetValueCase>
{
};

TEST_P (ControlSetValueTest, ClampsAndNotifiesNobody)
{
	const SetValueCase& c = GetParam ();
	ListenerLog log;
	auto* control = new CControl (CRect (0, 0, 10, 10), &log, 7);
	control->setMin (c.min);
	control->setMax (c.max);
	control->setValue (0.25f);
	control->setValue (c.in);
	EXPECT_FLOAT_EQ (control->getValue (), c.expected);
	EXPECT_EQ (log.changes, 0);
	control->forget ();
}

INSTANTIATE_TEST_SUITE_P (Table, ControlSetValueTest,
                          ::testing::Values (SetValueCase {0.f, 1.f, 0.5f, 0.5f},
                                             SetValueCase {0.f, 1.f, 1.5f, 1.f},
                                             SetValueCase {0.f, 1.f, -3.f, 0.f},
                                             SetValueCase {-1.f, 1.f, -0.5f, -0.5f},
                                             SetValueCase {0.f, 2.f, 2.01f, 2.f},
                                             SetValueCase {0.f, 1.f, std::nanf (""), 0.25f}));

TEST (VstguiControl, DefaultsAndDirtyState)
{
	auto* control = new CControl (CRect (0, 0, 10, 10), nullptr, 3);
	EXPECT_FLOAT_EQ (control->getDefaultValue (), 0.5f);
	EXPECT_FLOAT_EQ (control->getMin (), 0.f);
	EXPECT_FLOAT_EQ (control->getMax (), 1.f);
	EXPECT_EQ (control->getTag (), 3);
	EXPECT_FALSE (control->isDirty ());
	control->setValue (0.7f);
	EXPECT_TRUE (control->isDirty ());
	control->setDirty (false);
	EXPECT_FALSE (control->isDirty ());
	control->setDirty (true);
	EXPECT_TRUE (control->isDirty ());
	control->forget ();
}

TEST (VstguiControl, NestedEditsReachListenerAndEditorOnce)
{
	ListenerLog log;
	EditorLog editor;
	CFrame* frame = makeHeadlessFrame (50, 50, &editor);
	auto* control = new CControl (CRect (0, 0, 10, 10), &log, 42);
	frame->addView (control);
	control->beginEdit ();
	control->beginEdit ();
	EXPECT_TRUE (control->isEditing ());
	EXPECT_EQ (log.begins, 1);
	control->endEdit ();
	EXPECT_EQ (log.ends, 0);
	EXPECT_TRUE (control->isEditing ());
	control->endEdit ();
	control->endEdit (); // one too many: ignored
	EXPECT_FALSE (control->isEditing ());
	EXPECT_EQ (log.ends, 1);
	EXPECT_EQ (editor.begins, std::vector<long> {42});
	EXPECT_EQ (editor.ends, std::vector<long> {42});
	control->valueChanged ();
	EXPECT_EQ (log.changes, 1);
	frame->close ();
}

TEST (VstguiControl, ControlClickRestoresDefault)
{
	ListenerLog log;
	auto* control = new CControl (CRect (0, 0, 10, 10), &log, 1);
	control->setValue (0.9f);
	EXPECT_FALSE (control->checkDefaultValue (CButtonState (kLButton)));
	EXPECT_FALSE (control->checkDefaultValue (CButtonState (kRButton | kControl)));
	EXPECT_TRUE (control->checkDefaultValue (CButtonState (kLButton | kControl)));
	EXPECT_FLOAT_EQ (control->getValue (), 0.5f);
	EXPECT_EQ (log.changes, 1);
	EXPECT_TRUE (control->checkDefaultValue (CButtonState (kLButton | kControl)));
	EXPECT_EQ (log.changes, 1); // already at the default: no notification
	control->forget ();
}
