// The one call another thread (the audio thread) may make: marking a view dirty.
#include "TestHelpers.h"
#include <atomic>
#include <thread>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

class CountingControl : public CControl
{
public:
	using CControl::CControl;
	std::atomic<int> draws {0};
	void draw (CDrawContext* context) override
	{
		++draws;
		context->setFillColor (kRedCColor);
		context->drawRect (getViewSize (), kDrawFilled);
		setDirty (false);
	}
};

} // namespace

TEST (VstguiThreads, DirtyFromAnotherThreadIsPaintedByTheNextIdle)
{
	CFrame* frame = makeHeadlessFrame (20, 20);
	auto* control = new CountingControl (CRect (0, 0, 10, 10), nullptr, 85);
	frame->addView (control);
	frame->idle ();
	EXPECT_EQ (control->draws.load (), 1);
	std::atomic<bool> stop {false};
	std::thread audio ([&] {
		for (int i = 0; i < 2000 && !stop; ++i)
			control->setDirty (true);
	});
	for (int i = 0; i < 50; ++i)
		frame->idle ();
	stop = true;
	audio.join ();
	control->setDirty (true);
	int before = control->draws.load ();
	frame->idle ();
	EXPECT_EQ (control->draws.load (), before + 1);
	EXPECT_FALSE (control->isDirty ());
	frame->close ();
}
