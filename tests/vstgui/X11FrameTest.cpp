// The X11 back end under a virtual X server: a frame inside a parent window, real X
// events sent with XTEST, and a screenshot compared with the headless rendering.
#include "TestHelpers.h"
#include "platform/WindowSystem.h"
#include "vstgui/lib/platform/x11/x11frame.h"
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

/** A display to test on: the one in DISPLAY, or a private Xvfb started here. */
class TestDisplay
{
public:
	TestDisplay ()
	{
		display = XOpenDisplay (nullptr);
		if (!display)
			startXvfb ();
	}
	~TestDisplay ()
	{
		if (display)
			XCloseDisplay (display);
		if (server > 0)
		{
			kill (server, SIGTERM);
			waitpid (server, nullptr, 0);
			if (!oldDisplay.empty ())
				setenv ("DISPLAY", oldDisplay.c_str (), 1);
			else
				unsetenv ("DISPLAY");
		}
	}
	Display* get () const { return display; }

private:
	void startXvfb ()
	{
		if (access ("/usr/bin/Xvfb", X_OK) != 0)
			return;
		if (const char* d = getenv ("DISPLAY"))
			oldDisplay = d;
		std::string name (":");
		name += std::to_string (200 + getpid () % 500);
		server = fork ();
		if (server == 0)
		{
			execl ("/usr/bin/Xvfb", "Xvfb", name.c_str (), "-screen", "0", "640x480x24", "-nolisten", "tcp",
			       static_cast<char*> (nullptr));
			_exit (127);
		}
		setenv ("DISPLAY", name.c_str (), 1);
		for (int i = 0; i < 100 && !display; ++i)
		{
			std::this_thread::sleep_for (std::chrono::milliseconds (30));
			display = XOpenDisplay (nullptr);
		}
	}

	Display* display {nullptr};
	pid_t server {-1};
	std::string oldDisplay;
};

class X11FrameTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		if (!x.get ())
			GTEST_SKIP () << "no X display and no Xvfb";
		Display* d = x.get ();
		int event, error, major, minor;
		if (!XTestQueryExtension (d, &event, &error, &major, &minor))
			GTEST_SKIP () << "no XTEST extension";
		XSetWindowAttributes attributes {};
		attributes.override_redirect = True;
		attributes.background_pixel = WhitePixel (d, DefaultScreen (d));
		parent = XCreateWindow (d, DefaultRootWindow (d), 0, 0, 200, 100, 0, CopyFromParent, InputOutput,
		                        CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
		XMapRaised (d, parent);
		XSync (d, False);
	}
	void TearDown () override
	{
		if (parent)
		{
			XDestroyWindow (x.get (), parent);
			XSync (x.get (), False);
		}
	}

	/** Runs the frame's idle until done answers true (at most about 3 s). */
	bool idleUntil (CFrame* frame, const std::function<bool ()>& done)
	{
		for (int i = 0; i < 300; ++i)
		{
			frame->idle ();
			if (done ())
				return true;
			std::this_thread::sleep_for (std::chrono::milliseconds (10));
		}
		return false;
	}

	void fakeMove (int px, int py)
	{
		XTestFakeMotionEvent (x.get (), DefaultScreen (x.get ()), px, py, CurrentTime);
		XSync (x.get (), False);
	}
	void fakeButton (unsigned int button, bool press)
	{
		XTestFakeButtonEvent (x.get (), button, press ? True : False, CurrentTime);
		XSync (x.get (), False);
	}

	/** Builds the views of the test picture into a frame. */
	static void addViews (CFrame* frame, CBitmap* knobStrip, CBitmap* buttonStrip, CountingListener* listener,
	                      CAnimKnob** knob, COnOffButton** button)
	{
		frame->setBackgroundColor (CColor (30, 40, 50, 255));
		*knob = new CAnimKnob (CRect (10, 10, 60, 60), listener, 1, 11, 50, knobStrip);
		(*knob)->setValue (0.5f);
		*button = new COnOffButton (CRect (100, 10, 140, 50), listener, 2, buttonStrip);
		frame->addView (*knob);
		frame->addView (*button);
	}

	static TestDisplay x;
	Window parent {0};
};

TestDisplay X11FrameTest::x;

} // namespace

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
