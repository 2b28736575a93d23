#include "x11errorscope.h"
#include <atomic>

namespace VSTGUI {

namespace {

// Xlib has one error handler for the whole process. The scopes live on the UI thread,
// but the handler may also run on a host thread that reads its own connection meanwhile:
// what it reads is atomic.
constexpr int kSlots = 8; // displays in scope at once: a frame's, a menu's and nesting
std::atomic<Display*> ownDisplays[kSlots] {};
std::atomic<XErrorHandler> hostHandler {nullptr};
std::atomic<unsigned> dropped {0};
int depth = 0; // UI thread

int routeError (Display* display, XErrorEvent* event)
{
	for (auto& own : ownDisplays)
	{
		if (own.load (std::memory_order_acquire) == display)
		{
			dropped.fetch_add (1, std::memory_order_relaxed);
			return 0;
		}
	}
	XErrorHandler host = hostHandler.load (std::memory_order_acquire);
	return host ? host (display, event) : 0;
}

} // namespace

X11ErrorScope::X11ErrorScope (Display* display)
{
	for (int i = 0; i < kSlots && display; ++i)
	{
		Display* expected = nullptr;
		if (ownDisplays[i].compare_exchange_strong (expected, display, std::memory_order_acq_rel))
		{
			slot = i;
			break;
		}
	}
	if (depth++ == 0)
		hostHandler.store (XSetErrorHandler (routeError), std::memory_order_release);
}

X11ErrorScope::~X11ErrorScope ()
{
	if (--depth == 0)
		XSetErrorHandler (hostHandler.load (std::memory_order_acquire));
	if (slot >= 0)
		ownDisplays[slot].store (nullptr, std::memory_order_release);
}

unsigned X11ErrorScope::errorCount ()
{
	return dropped.load (std::memory_order_relaxed);
}

} // namespace VSTGUI
