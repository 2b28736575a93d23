// The X11 back end under a virtual X server: a frame inside a parent window, real X
// events sent with XTEST, and a screenshot compared with the headless rendering.
#include "X11TestDisplay.h"
#include "platform/WindowSystem.h"
#include "tests/common/CountingXErrorHandler.h"
#include "vstgui/lib/platform/x11/x11frame.h"
#include <X11/Xutil.h>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

TEST_F (X11FrameTest, RealEventsTurnAKnobAndToggleAButtonAndTheWindowShowsTheFrame)
{
	KnobModeEditor editor;
	CountingListener listener;
	auto knobStrip = makeStrip (11, 50, 50);
	auto buttonStrip = makeStrip (2, 40, 40);
	auto* frame = new CFrame (CRect (0, 0, 200, 100), &editor);
	ASSERT_TRUE (frame->open (reinterpret_cast<void*> (parent)));
	auto* platform = dynamic_cast<X11Frame*> (frame->getPlatformFrame ());
	ASSERT_NE (platform, nullptr);
	CAnimKnob* knob = nullptr;
	COnOffButton* button = nullptr;
	addViews (frame, knobStrip, buttonStrip, &listener, &knob, &button);
	frame->idle ();

	// Drag the knob 20 pixels up: 0.5 + 20 / 200.
	fakeMove (35, 35);
	fakeButton (1, true);
	fakeMove (35, 15);
	fakeButton (1, false);
	EXPECT_TRUE (idleUntil (frame, [&] { return !knob->isEditing () && listener.ends == 1; }));
	EXPECT_NEAR (knob->getValue (), 0.6f, 1e-5);
	CPoint where;
	frame->getCurrentMouseLocation (where);
	EXPECT_EQ (where, CPoint (35, 15)); // from the pointer itself

	// Click the button.
	fakeMove (120, 30);
	fakeButton (1, true);
	fakeButton (1, false);
	EXPECT_TRUE (idleUntil (frame, [&] { return button->getValue () == 1.f; }));

	// The wheel (buttons 4 and 5) turns the knob.
	fakeMove (35, 35);
	fakeButton (5, true);
	fakeButton (5, false);
	EXPECT_TRUE (idleUntil (frame, [&] { return std::abs (knob->getValue () - 0.5f) < 1e-5; }));

	// Let every repaint reach the window, then compare with the headless picture.
	frame->idle ();
	XSync (platform->getDisplay (), False);
	XImage* image = XGetImage (x.get (), platform->getWindow (), 0, 0, 200, 100, AllPlanes, ZPixmap);
	ASSERT_NE (image, nullptr);

	auto* reference = makeHeadlessFrame (200, 100);
	CountingListener other;
	CAnimKnob* knob2 = nullptr;
	COnOffButton* button2 = nullptr;
	addViews (reference, knobStrip, buttonStrip, &other, &knob2, &button2);
	knob2->setValue (knob->getValue ());
	button2->setValue (button->getValue ());
	reference->idle ();
	int differing = 0;
	for (int py = 0; py < 100; ++py)
		for (int px = 0; px < 200; ++px)
		{
			unsigned long p = XGetPixel (image, px, py);
			CColor c = pixelAt (reference->getBackBuffer (), static_cast<uint32_t> (px), static_cast<uint32_t> (py));
			CColor s (static_cast<uint8_t> ((p & image->red_mask) >> 16), static_cast<uint8_t> ((p & image->green_mask) >> 8),
			          static_cast<uint8_t> (p & image->blue_mask), 255);
			differing += s != c;
		}
	EXPECT_EQ (differing, 0);
	EXPECT_EQ (pixelAt (reference->getBackBuffer (), 120, 30), stripColor (1));
	XDestroyImage (image);
	reference->close ();
	frame->close ();
}

TEST_F (X11FrameTest, WindowCallsWorkOnXWindows)
{
	auto* frame = new CFrame (CRect (0, 0, 50, 50), nullptr);
	ASSERT_TRUE (frame->open (reinterpret_cast<void*> (parent), PlatformType::kX11EmbedWindowID));
	HWND window = reinterpret_cast<HWND> (parent);
	RECT r {};
	ASSERT_TRUE (GetWindowRect (window, &r));
	EXPECT_EQ (r.right - r.left, 200);
	EXPECT_EQ (r.bottom - r.top, 100);
	EXPECT_TRUE (SetWindowPos (window, nullptr, 0, 0, 220, 130, SWP_NOMOVE));
	ASSERT_TRUE (GetWindowRect (window, &r));
	EXPECT_EQ (r.right - r.left, 220);
	EXPECT_EQ (r.bottom - r.top, 130);
	EXPECT_FALSE (GetWindowRect (reinterpret_cast<HWND> (uintptr_t (0x7ffffff)), &r));
	frame->setSize (80, 60);
	XWindowAttributes attributes;
	XSync (dynamic_cast<X11Frame*> (frame->getPlatformFrame ())->getDisplay (), False);
	XGetWindowAttributes (x.get (), dynamic_cast<X11Frame*> (frame->getPlatformFrame ())->getWindow (), &attributes);
	EXPECT_EQ (attributes.width, 80);
	EXPECT_EQ (attributes.height, 60);
	frame->close ();
}

TEST_F (X11FrameTest, MissingParentOrDisplayRefusesToOpen)
{
	auto* frame = new CFrame (CRect (0, 0, 50, 50), nullptr);
	EXPECT_FALSE (frame->open (reinterpret_cast<void*> (uintptr_t (0x7ffffff))));
	std::string old = getenv ("DISPLAY") ? getenv ("DISPLAY") : "";
	setenv ("DISPLAY", ":4321", 1);
	EXPECT_FALSE (frame->open (reinterpret_cast<void*> (parent)));
	setenv ("DISPLAY", old.c_str (), 1);
	EXPECT_FALSE (frame->isOpen ());
	frame->close ();
}

//------------------------------------------------------------------------
namespace {

struct ScreenRect
{
	int x, y, w, h;
};

/** Plays the user of a popped-up menu from a thread with a connection of its own. */
class MenuUser
{
public:
	explicit MenuUser (std::function<void (MenuUser&)> script)
	: thread ([this, script] {
		  display = XOpenDisplay (nullptr);
		  if (!display)
			  return;
		  if (waitForMenu ())
			  script (*this);
		  XCloseDisplay (display);
	  })
	{
	}
	~MenuUser () { thread.join (); }

	/** The menu windows on the screen, lowest first. */
	std::vector<ScreenRect> menus ()
	{
		std::vector<ScreenRect> out;
		Window root = DefaultRootWindow (display), parentOut, *children = nullptr;
		unsigned int n = 0;
		if (!XQueryTree (display, root, &root, &parentOut, &children, &n))
			return out;
		for (unsigned int i = 0; i < n; ++i)
		{
			XWindowAttributes a;
			if (XGetWindowAttributes (display, children[i], &a) && a.override_redirect && a.map_state == IsViewable &&
			    a.width != 200)
				out.push_back ({a.x, a.y, a.width, a.height});
		}
		XFree (children);
		return out;
	}
	/** Waits until n menu windows are shown; false after about 3 s. */
	bool waitForMenus (size_t n)
	{
		for (int i = 0; i < 300; ++i)
		{
			if (menus ().size () == n)
				return true;
			std::this_thread::sleep_for (std::chrono::milliseconds (10));
		}
		return false;
	}
	void move (int x, int y)
	{
		XTestFakeMotionEvent (display, DefaultScreen (display), x, y, CurrentTime);
		XSync (display, False);
		std::this_thread::sleep_for (std::chrono::milliseconds (30));
	}
	void click (int x, int y)
	{
		move (x, y);
		XTestFakeButtonEvent (display, 1, True, CurrentTime);
		XTestFakeButtonEvent (display, 1, False, CurrentTime);
		XSync (display, False);
	}
	void key (KeySym sym)
	{
		KeyCode code = XKeysymToKeycode (display, sym);
		XTestFakeKeyEvent (display, code, True, CurrentTime);
		XTestFakeKeyEvent (display, code, False, CurrentTime);
		XSync (display, False);
	}
	/** The pixels of a screen rectangle, row by row. */
	std::vector<unsigned long> pixels (const ScreenRect& r)
	{
		std::vector<unsigned long> out;
		XImage* image = XGetImage (display, DefaultRootWindow (display), r.x, r.y, static_cast<unsigned> (r.w),
		                           static_cast<unsigned> (r.h), AllPlanes, ZPixmap);
		if (!image)
			return out;
		for (int y = 0; y < r.h; ++y)
			for (int x = 0; x < r.w; ++x)
				out.push_back (XGetPixel (image, x, y));
		XDestroyImage (image);
		return out;
	}

private:
	/** The menu holds the pointer once it is ready for input. */
	bool waitForMenu ()
	{
		for (int i = 0; i < 300; ++i)
		{
			int r = XGrabPointer (display, DefaultRootWindow (display), False, ButtonPressMask, GrabModeAsync,
			                      GrabModeAsync, None, None, CurrentTime);
			if (r == GrabSuccess)
				XUngrabPointer (display, CurrentTime);
			XSync (display, False);
			if (r == AlreadyGrabbed)
				return true;
			std::this_thread::sleep_for (std::chrono::milliseconds (10));
		}
		return false;
	}

	Display* display {nullptr};
	std::thread thread;
};

class X11MenuTest : public X11FrameTest
{
protected:
	void SetUp () override
	{
		X11FrameTest::SetUp ();
		if (IsSkipped ())
			return;
		frame = new CFrame (CRect (0, 0, 200, 100), nullptr);
		ASSERT_TRUE (frame->open (reinterpret_cast<void*> (parent)));
		menu = new COptionMenu (CRect (10, 10, 60, 30), &listener, 82, nullptr, nullptr, COptionMenu::kMultipleCheckStyle);
		menu->addEntry ("One");
		menu->addEntry ("Two");
		sub = new COptionMenu (CRect (), nullptr, 100, nullptr, nullptr, COptionMenu::kMultipleCheckStyle);
		sub->addEntry ("A");
		sub->addEntry ("B");
		menu->addEntry (sub, "More");
		sub->forget ();
		frame->addView (menu);
		frame->idle ();
	}
	void TearDown () override
	{
		if (frame)
			frame->close ();
		X11FrameTest::TearDown ();
	}

	CountingListener listener;
	CFrame* frame {nullptr};
	COptionMenu* menu {nullptr};
	COptionMenu* sub {nullptr};
};

} // namespace

TEST_F (X11MenuTest, ClickOnAnEntryChoosesIt)
{
	bool chosen = false;
	{
		MenuUser user ([] (MenuUser& u) {
			auto m = u.menus ();
			ASSERT_EQ (m.size (), 1u);
			EXPECT_EQ (m[0].x, 10); // below the control
			EXPECT_EQ (m[0].y, 30);
			u.click (m[0].x + 20, m[0].y + 30); // second row
		});
		chosen = menu->popup ();
	}
	EXPECT_TRUE (chosen);
	EXPECT_EQ (menu->getCurrentIndex (), 1);
	EXPECT_EQ (listener.changes, 1);
	int32_t index = -1;
	EXPECT_EQ (menu->getLastItemMenu (index), menu);
	EXPECT_EQ (index, 1);
}

TEST_F (X11MenuTest, SubmenuOpensBesideItsEntry)
{
	{
		MenuUser user ([] (MenuUser& u) {
			auto m = u.menus ();
			ASSERT_EQ (m.size (), 1u);
			u.move (m[0].x + 20, m[0].y + 50); // "More"
			ASSERT_TRUE (u.waitForMenus (2));
			auto both = u.menus ();
			const ScreenRect& s = both.back ().x > both.front ().x ? both.back () : both.front ();
			EXPECT_EQ (s.y, m[0].y + 40);
			u.click (s.x + 10, s.y + 30); // "B"
		});
		EXPECT_TRUE (menu->popup ());
	}
	int32_t index = -1;
	EXPECT_EQ (menu->getLastItemMenu (index), sub);
	EXPECT_EQ (index, 1);
	EXPECT_TRUE (sub->isCheckEntry (1));
	EXPECT_EQ (listener.changes, 1);
}

TEST_F (X11MenuTest, ColumnsAndCancel)
{
	menu->removeAllEntry ();
	for (const char* t : {"a", "b", "c", "d"})
		menu->addEntry (t);
	menu->setNbItemsPerColumn (2);
	{
		MenuUser user ([] (MenuUser& u) {
			auto m = u.menus ();
			ASSERT_EQ (m.size (), 1u);
			EXPECT_EQ (m[0].h, 40); // two rows
			u.click (m[0].x + m[0].w * 3 / 4, m[0].y + 30); // second column, second row
		});
		EXPECT_TRUE (menu->popup ());
	}
	EXPECT_EQ (menu->getCurrentIndex (), 3);
	{
		MenuUser user ([] (MenuUser& u) { u.click (190, 90); }); // outside: cancel
		EXPECT_FALSE (menu->popup ());
	}
	EXPECT_EQ (listener.changes, 1);
}

TEST_F (X11MenuTest, EntriesOfAnyBytesAreAllDrawn)
{
	// 128 entries in columns of 32, as the program menu has them; every fourth entry
	// carries bytes that are not UTF-8 (a Latin-1 name, stray bytes, a cut sequence).
	const char* const bytes[] = {"Caf\xe9 Bass", "\xff\xfeLead \x80\xc0\xaf", "Bell \xf0\x9f\x8e"};
	const char* const shownAs[] = {"Caf\xc3\xa9 Bass", "\xc3\xbf\xc3\xbeLead \xc2\x80\xc3\x80\xc2\xaf",
	                               "Bell \xc3\xb0\xc2\x9f\xc2\x8e"};
	Display* d = x.get ();
	if (DisplayHeight (d, DefaultScreen (d)) < 700)
		GTEST_SKIP () << "the screen is too small for 32 rows of entries";
	auto popupShowing = [&] (const char* const* names) {
		menu->removeAllEntry ();
		for (int i = 0; i < 128; ++i)
			menu->addEntry (i % 4 == 0 ? names[(i / 4) % 3] : ("Program " + std::to_string (i)).c_str ());
		menu->setNbItemsPerColumn (32);
		fakeMove (DisplayWidth (d, DefaultScreen (d)) - 1, DisplayHeight (d, DefaultScreen (d)) - 1);
		std::vector<unsigned long> shown;
		{
			MenuUser user ([&] (MenuUser& u) {
				auto m = u.menus ();
				ASSERT_EQ (m.size (), 1u);
				EXPECT_EQ (m[0].h, 32 * 20);
				shown = u.pixels (m[0]);
				u.key (XK_Escape);
			});
			EXPECT_FALSE (menu->popup ());
		}
		return shown;
	};
	const std::vector<unsigned long> withBytes = popupShowing (bytes);
	const std::vector<unsigned long> reference = popupShowing (shownAs);
	ASSERT_FALSE (reference.empty ());
	EXPECT_TRUE (withBytes == reference) << "each entry shows its bytes as Latin-1, and every entry is drawn";
}

// The host may destroy its window, and the server the frame's window with it, before the
// frame closes. Whatever the frame does next, no error of its connections reaches the
// process's handler (Xlib's default one ends the process), and that handler stays.
TEST_F (X11FrameTest, ParentDestroyedBeforeTheFrameCloses)
{
	Display* d = x.get ();
	CountingXErrorHandler reached (d);
	const std::pair<const char*, std::function<void (CFrame*, HWND)>> cases[] = {
	    {"close at once", [] (CFrame*, HWND) {}},
	    {"idle and draw",
	     [] (CFrame* frame, HWND) {
		     frame->setBackgroundColor (CColor (200, 10, 10, 255));
		     frame->invalidRect (CRect (0, 0, 200, 100));
		     frame->idle ();
	     }},
	    {"resize",
	     [] (CFrame* frame, HWND) {
		     frame->setSize (120, 80);
		     frame->idle ();
	     }},
	    {"parent's rectangle and position",
	     [] (CFrame*, HWND parent) {
		     RECT r {};
		     EXPECT_FALSE (GetWindowRect (parent, &r));
		     EXPECT_FALSE (SetWindowPos (parent, nullptr, 0, 0, 300, 200, SWP_NOMOVE));
	     }},
	    {"pointer",
	     [] (CFrame* frame, HWND) {
		     CPoint where;
		     frame->getCurrentMouseLocation (where);
		     frame->getCurrentMouseButtons ();
	     }},
	    {"menu",
	     [] (CFrame* frame, HWND) {
		     auto* menu = new COptionMenu (CRect (10, 10, 60, 30), nullptr, 1, nullptr, nullptr, 0);
		     menu->addEntry ("One");
		     frame->addView (menu);
		     MenuUser user ([] (MenuUser& u) { u.key (XK_Escape); });
		     EXPECT_FALSE (menu->popup ());
	     }},
	};
	for (const auto& [name, afterLoss] : cases)
	{
		XSetWindowAttributes attributes {};
		attributes.override_redirect = True;
		Window lost = XCreateWindow (d, DefaultRootWindow (d), 0, 0, 200, 100, 0, CopyFromParent, InputOutput,
		                             CopyFromParent, CWOverrideRedirect, &attributes);
		XMapRaised (d, lost);
		XSync (d, False);
		auto* frame = new CFrame (CRect (0, 0, 200, 100), nullptr);
		ASSERT_TRUE (frame->open (reinterpret_cast<void*> (lost)));
		frame->idle ();
		XDestroyWindow (d, lost);
		XSync (d, False);
		afterLoss (frame, reinterpret_cast<HWND> (lost));
		frame->idle ();
		frame->close ();
		EXPECT_EQ (CountingXErrorHandler::otherErrors, 0) << name;
	}
	EXPECT_EQ (CountingXErrorHandler::ownErrors, 0);
	EXPECT_TRUE (CountingXErrorHandler::installed ());
}

namespace {

/** Asks the host's connection about a window that does not exist when clicked, as a
    host may when the editor calls it back from a mouse handler. */
class HostCallingView : public CView
{
public:
	HostCallingView (const CRect& size, Display* host) : CView (size), host (host) {}
	CMouseEventResult onMouseDown (CPoint&, const CButtonState&) override
	{
		XWindowAttributes attributes;
		XGetWindowAttributes (host, 0x7ffffff, &attributes);
		++clicks;
		return kMouseEventHandled;
	}
	Display* host;
	int clicks {0};
};

} // namespace

// An error of the host's own connection that arrives while the frame handles its events
// still reaches the host's handler.
TEST_F (X11FrameTest, HostErrorsDuringTheFramesEventsReachTheHost)
{
	Display* d = x.get ();
	CountingXErrorHandler reached (d);
	auto* frame = new CFrame (CRect (0, 0, 200, 100), nullptr);
	ASSERT_TRUE (frame->open (reinterpret_cast<void*> (parent)));
	auto* view = new HostCallingView (CRect (0, 0, 200, 100), d);
	frame->addView (view);
	frame->idle ();
	fakeMove (50, 50);
	fakeButton (1, true);
	fakeButton (1, false);
	EXPECT_TRUE (idleUntil (frame, [&] { return view->clicks == 1; }));
	frame->close ();
	EXPECT_EQ (CountingXErrorHandler::ownErrors, 1);
	EXPECT_EQ (CountingXErrorHandler::otherErrors, 0);
}
