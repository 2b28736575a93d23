// A frame back end without a window: the frame paints into its back buffer only, and
// events come through the frame's platformOn... entry points (tests inject them). UI thread.
#pragma once

#include "../iplatformframe.h"

namespace VSTGUI {

class HeadlessFrame : public IPlatformFrame
{
public:
	explicit HeadlessFrame (const CRect& size) : size (size) {}

	bool setSize (const CRect& newSize) override
	{
		size = newSize;
		return true;
	}
	// A headless frame has no pointer of its own: the frame uses its last event.
	bool getCurrentMousePosition (CPoint&) const override { return false; }
	bool getCurrentMouseButtons (CButtonState&) const override { return false; }
	void present (const CRect&) override {}
	void pumpEvents () override {}
	void* getPlatformRepresentation () const override { return nullptr; }
	PlatformType getPlatformType () const override { return PlatformType::kHeadless; }

private:
	CRect size;
};

} // namespace VSTGUI
