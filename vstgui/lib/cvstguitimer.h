// CVSTGUITimer: notifies its target with kMsgTimer at a fixed period, on the UI thread,
// driven by the frame's idle; its clock can be replaced by a test clock.
#pragma once

#include "vstguibase.h"
#include <functional>

namespace VSTGUI {

class CVSTGUITimer : public CBaseObject
{
public:
	using CallbackFunc = std::function<void (CVSTGUITimer*)>;

	/** A timer that notifies target every fireTime ms (the target is not referenced). */
	CVSTGUITimer (CBaseObject* target, uint32_t fireTime = 100, bool doStart = false);
	/** A timer that calls the function every fireTime ms. */
	CVSTGUITimer (const CallbackFunc& callback, uint32_t fireTime = 100, bool doStart = true);
	~CVSTGUITimer () noexcept override;

	/** Starts (or restarts) the period from now. UI thread. */
	virtual bool start ();
	/** Stops the timer. UI thread. */
	virtual bool stop ();
	bool isRunning () const { return running; }
	bool setFireTime (uint32_t newFireTime);
	uint32_t getFireTime () const { return fireTime; }

	/** Message sent to the target: "timer fired". */
	static IdStringPtr kMsgTimer;

	/** Fires every running timer whose time has come (the frames' idle). UI thread. */
	static void fireDueTimers ();
	/** Number of running timers (for tests). */
	static uint32_t getNbRunningTimers ();

	/** The timers' clock in ms: the system's steady clock, or a test clock. */
	static uint64_t now ();
	/** Switches to (true) or from (false) the test clock, which starts at 0. */
	static void useTestClock (bool state);
	/** Advances the test clock by ms (nothing fires until the next fireDueTimers). */
	static void advanceTestClock (uint64_t ms);

protected:
	void fire ();

	CBaseObject* target {nullptr};
	CallbackFunc callback;
	uint32_t fireTime;
	uint64_t nextFire {0};
	bool running {false};
};

} // namespace VSTGUI
