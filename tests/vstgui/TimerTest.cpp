// Timers under the test clock, driven by the frame's idle.
#include "TestHelpers.h"

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

class Target : public CBaseObject
{
public:
	int ticks {0};
	CVSTGUITimer* stopOnTick {nullptr};
	CMessageResult notify (CBaseObject* sender, IdStringPtr message) override
	{
		if (message != CVSTGUITimer::kMsgTimer)
			return kMessageUnknown;
		EXPECT_NE (dynamic_cast<CVSTGUITimer*> (sender), nullptr);
		++ticks;
		if (stopOnTick && ticks == 2)
			stopOnTick->stop ();
		return kMessageNotified;
	}
};

class TimerTest : public ::testing::Test
{
protected:
	void SetUp () override { CVSTGUITimer::useTestClock (true); }
	void TearDown () override { CVSTGUITimer::useTestClock (false); }
};

} // namespace

TEST_F (TimerTest, FiresEveryPeriodFromTheFrameIdle)
{
	CFrame* frame = makeHeadlessFrame (10, 10);
	Target target;
	auto* timer = new CVSTGUITimer (&target, 200, false);
	frame->idle ();
	CVSTGUITimer::advanceTestClock (1000);
	frame->idle ();
	EXPECT_EQ (target.ticks, 0); // not started
	timer->start ();
	EXPECT_TRUE (timer->isRunning ());
	CVSTGUITimer::advanceTestClock (199);
	frame->idle ();
	EXPECT_EQ (target.ticks, 0);
	CVSTGUITimer::advanceTestClock (1);
	frame->idle ();
	EXPECT_EQ (target.ticks, 1);
	frame->idle ();
	EXPECT_EQ (target.ticks, 1); // no time passed
	CVSTGUITimer::advanceTestClock (200);
	frame->idle ();
	EXPECT_EQ (target.ticks, 2);
	// A late idle fires once and counts the next period from then.
	CVSTGUITimer::advanceTestClock (1000);
	frame->idle ();
	EXPECT_EQ (target.ticks, 3);
	timer->stop ();
	CVSTGUITimer::advanceTestClock (1000);
	frame->idle ();
	EXPECT_EQ (target.ticks, 3);
	timer->forget ();
	frame->close ();
}

TEST_F (TimerTest, StartRestartsThePeriodAndStopInsideTheTick)
{
	Target target;
	auto* timer = new CVSTGUITimer (&target, 100, true);
	target.stopOnTick = timer;
	CVSTGUITimer::advanceTestClock (60);
	timer->start (); // restart: the period counts from now
	CVSTGUITimer::advanceTestClock (60);
	CVSTGUITimer::fireDueTimers ();
	EXPECT_EQ (target.ticks, 0);
	CVSTGUITimer::advanceTestClock (40);
	CVSTGUITimer::fireDueTimers ();
	EXPECT_EQ (target.ticks, 1);
	CVSTGUITimer::advanceTestClock (100);
	CVSTGUITimer::fireDueTimers ();
	EXPECT_EQ (target.ticks, 2);
	EXPECT_FALSE (timer->isRunning ()); // stopped by its target
	CVSTGUITimer::advanceTestClock (100);
	CVSTGUITimer::fireDueTimers ();
	EXPECT_EQ (target.ticks, 2);
	timer->forget ();
}

TEST_F (TimerTest, ReleasedTimerLeavesTheList)
{
	uint32_t before = CVSTGUITimer::getNbRunningTimers ();
	Target target;
	auto* timer = new CVSTGUITimer (&target, 10, true);
	EXPECT_EQ (CVSTGUITimer::getNbRunningTimers (), before + 1);
	timer->forget ();
	EXPECT_EQ (CVSTGUITimer::getNbRunningTimers (), before);
	CVSTGUITimer::advanceTestClock (100);
	CVSTGUITimer::fireDueTimers ();
	EXPECT_EQ (target.ticks, 0);
}

TEST_F (TimerTest, CallbackTimer)
{
	int calls = 0;
	auto* timer = new CVSTGUITimer ([&calls] (CVSTGUITimer*) { ++calls; }, 50);
	CVSTGUITimer::advanceTestClock (50);
	CVSTGUITimer::fireDueTimers ();
	EXPECT_EQ (calls, 1);
	EXPECT_TRUE (timer->setFireTime (10));
	EXPECT_EQ (timer->getFireTime (), 10u);
	CVSTGUITimer::advanceTestClock (10);
	CVSTGUITimer::fireDueTimers ();
	EXPECT_EQ (calls, 2);
	timer->forget ();
}
