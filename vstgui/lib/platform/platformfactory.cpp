// The one place where a frame's back end is chosen.
#include "../cframe.h"
#include "headless/headlessframe.h"
#include "headless/headlessoptionmenu.h"
#include "iplatformoptionmenu.h"
#include "iplatformframe.h"

namespace VSTGUI {

SharedPointer<IPlatformFrame> createPlatformFrame (IPlatformFrameCallback* frame, const CRect& size,
                                                   void* parent, PlatformType platformType,
                                                   IPlatformFrameConfig* config)
{
	(void)frame;
	(void)config;
	if (platformType == PlatformType::kHeadless || parent == nullptr)
		return owned<IPlatformFrame> (new HeadlessFrame (size));
	// Windowed back ends are not available: the frame cannot open in a parent window.
	return nullptr;
}

SharedPointer<IPlatformOptionMenu> createPlatformOptionMenu (CFrame* frame)
{
	if (!frame || !frame->getPlatformFrame ())
		return nullptr;
	return owned<IPlatformOptionMenu> (new HeadlessOptionMenu);
}

} // namespace VSTGUI
