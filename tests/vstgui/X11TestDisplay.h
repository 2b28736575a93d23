// A display for the X11 back end's tests (the one in DISPLAY, or a private Xvfb) and a
// fixture with a parent window on it and XTEST input. One test at a time: real events
// move the display's one pointer and keyboard.
#pragma once

#include "TestHelpers.h"
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace QuilmVstguiTest {

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

	static inline TestDisplay x;
	Window parent {0};
};

} // namespace QuilmVstguiTest
