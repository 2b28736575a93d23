// Keys through the X11 back end: real key events sent with XTEST to a frame in a window,
// typed into a text edit, and the character and virtual key the frame gives for each.
#include "X11TestDisplay.h"
#include <X11/keysym.h>
#include <vector>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

struct TypingCase
{
	std::string name;
	std::vector<KeySym> keys; // each pressed and released, one after the other
	std::string text;         // the field's text afterwards; it held "x"
	bool editing;             // the field is still being edited
	int changes;              // text changes the listener heard of
};

const TypingCase kTyping[] = {
	{"SpaceBetweenWords", {XK_a, XK_space, XK_b}, "xa b", true, 0},
	{"SpacesOnly", {XK_space, XK_space}, "x  ", true, 0},
	{"BackspaceTakesTheSpaceBack", {XK_a, XK_space, XK_BackSpace, XK_b}, "xab", true, 0},
	{"ReturnEndsTheEdit", {XK_a, XK_space, XK_Return}, "xa ", false, 1},
	{"KeypadEnterEndsTheEdit", {XK_space, XK_KP_Enter}, "x ", false, 1},
	{"EscapeRestoresTheText", {XK_a, XK_space, XK_Escape}, "x", false, 0},
	{"TabArrowsAndDeleteTypeNothing", {XK_Tab, XK_Left, XK_Delete, XK_a}, "xa", true, 0},
};

/** Presses and releases the key that gives sym. */
void typeKey (Display* d, KeySym sym)
{
	const KeyCode code = XKeysymToKeycode (d, sym);
	ASSERT_NE (code, 0) << "no key gives keysym " << sym;
	XTestFakeKeyEvent (d, code, True, CurrentTime);
	XTestFakeKeyEvent (d, code, False, CurrentTime);
	XSync (d, False);
}

/** Takes the focus and records every key it is given as "character/virt". */
class KeyRecorder : public CView
{
public:
	explicit KeyRecorder (const CRect& r) : CView (r) {}
	int32_t onKeyDown (VstKeyCode& key) override
	{
		keys.push_back (std::to_string (key.character) + "/" + std::to_string (key.virt));
		return 1;
	}
	std::vector<std::string> keys;
};

class X11TypingTest : public X11FrameTest, public ::testing::WithParamInterface<TypingCase>
{
};

} // namespace

TEST_P (X11TypingTest, KeysReachTheFocusedTextEdit)
{
	const TypingCase& c = GetParam ();
	CountingListener listener;
	auto* frame = new CFrame (CRect (0, 0, 200, 100), nullptr);
	ASSERT_TRUE (frame->open (reinterpret_cast<void*> (parent)));
	auto* edit = new CTextEdit (CRect (10, 10, 190, 40), &listener, 7, "x");
	frame->addView (edit);
	frame->idle ();

	// A click gives the field the focus; keys go to the window under the pointer.
	XSetInputFocus (x.get (), PointerRoot, RevertToPointerRoot, CurrentTime);
	fakeMove (50, 25);
	fakeButton (1, true);
	fakeButton (1, false);
	ASSERT_TRUE (idleUntil (frame, [&] { return edit->isEditingText (); }));
	for (KeySym sym : c.keys)
		typeKey (x.get (), sym);
	EXPECT_TRUE (idleUntil (frame, [&] {
		return edit->getText () == c.text && edit->isEditingText () == c.editing;
	})) << "text \"" << edit->getText () << "\"";
	frame->idle (); // nothing further arrives
	EXPECT_EQ (edit->getText (), c.text);
	EXPECT_EQ (listener.changes, c.changes);
	frame->close ();
}

INSTANTIATE_TEST_SUITE_P (Keys, X11TypingTest, ::testing::ValuesIn (kTyping),
                          [] (const ::testing::TestParamInfo<TypingCase>& info) { return info.param.name; });

// What the frame hands on for each key: printable characters with or without a
// virtual key, control keys by their virtual key alone.
TEST_F (X11FrameTest, KeysGiveTheirCharacterAndVirtualKey)
{
	const std::pair<KeySym, std::string> keys[] = {
		{XK_space, "32/7"}, {XK_a, "97/0"}, {XK_Return, "0/4"}, {XK_KP_Enter, "0/19"}, {XK_Escape, "0/6"},
		{XK_Tab, "0/2"}, {XK_BackSpace, "0/1"}, {XK_Delete, "0/22"}, {XK_Left, "0/11"}, {XK_Home, "0/10"}};
	auto* frame = new CFrame (CRect (0, 0, 200, 100), nullptr);
	ASSERT_TRUE (frame->open (reinterpret_cast<void*> (parent)));
	auto* recorder = new KeyRecorder (CRect (0, 0, 200, 100));
	frame->addView (recorder);
	frame->setFocusView (recorder);
	XSetInputFocus (x.get (), PointerRoot, RevertToPointerRoot, CurrentTime);
	fakeMove (50, 25);
	std::vector<std::string> expected;
	for (const auto& [sym, code] : keys)
	{
		typeKey (x.get (), sym);
		expected.push_back (code);
	}
	EXPECT_TRUE (idleUntil (frame, [&] { return recorder->keys.size () >= expected.size (); }));
	EXPECT_EQ (recorder->keys, expected);
	frame->close ();
}
