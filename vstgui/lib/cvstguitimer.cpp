#include "cvstguitimer.h"
#include <algorithm>
#include <chrono>
#include <vector>

namespace VSTGUI {

IdStringPtr CVSTGUITimer::kMsgTimer = "timer fired";

namespace {

// Running timers; the user-interface thread alone starts, stops and fires them.
std::vector<CVSTGUITimer*>& runningTimers ()
{
	static std::vector<CVSTGUITimer*> timers;
	return timers;
}

bool testClockActive = false;
uint64_t testClockNow = 0;

} // namespace

uint64_t CVSTGUITimer::now ()
{
	if (testClockActive)
		return testClockNow;
	using namespace std::chrono;
	return static_cast<uint64_t> (
	    duration_cast<milliseconds> (steady_clock::now ().time_since_epoch ()).count ());
}

void CVSTGUITimer::useTestClock (bool state)
{
	testClockActive = state;
	testClockNow = 0;
}

void CVSTGUITimer::advanceTestClock (uint64_t ms)
{
	testClockNow += ms;
}

//------------------------------------------------------------------------
CVSTGUITimer::CVSTGUITimer (CBaseObject* t, uint32_t ms, bool doStart) : target (t), fireTime (ms)
{
	if (doStart)
		start ();
}

CVSTGUITimer::CVSTGUITimer (const CallbackFunc& cb, uint32_t ms, bool doStart)
: callback (cb), fireTime (ms)
{
	if (doStart)
		start ();
}

CVSTGUITimer::~CVSTGUITimer () noexcept
{
	stop ();
}

bool CVSTGUITimer::start ()
{
	nextFire = now () + fireTime;
	if (!running)
	{
		running = true;
		runningTimers ().push_back (this);
	}
	return true;
}

bool CVSTGUITimer::stop ()
{
	if (!running)
		return false;
	running = false;
	auto& timers = runningTimers ();
	timers.erase (std::remove (timers.begin (), timers.end (), this), timers.end ());
	return true;
}

bool CVSTGUITimer::setFireTime (uint32_t ms)
{
	fireTime = ms;
	if (running)
		nextFire = now () + fireTime;
	return true;
}

void CVSTGUITimer::fire ()
{
	// The next period counts from now: a late idle fires once, not once per missed period.
	nextFire = now () + fireTime;
	if (target)
		target->notify (this, kMsgTimer);
	else if (callback)
		callback (this);
}

void CVSTGUITimer::fireDueTimers ()
{
	uint64_t t = now ();
	// A snapshot, each entry held while it fires: a target may stop or release timers.
	std::vector<CVSTGUITimer*> due;
	for (auto* timer : runningTimers ())
	{
		if (timer->nextFire <= t)
		{
			timer->remember ();
			due.push_back (timer);
		}
	}
	for (auto* timer : due)
	{
		if (timer->running)
			timer->fire ();
		timer->forget ();
	}
}

uint32_t CVSTGUITimer::getNbRunningTimers ()
{
	return static_cast<uint32_t> (runningTimers ().size ());
}

} // namespace VSTGUI
