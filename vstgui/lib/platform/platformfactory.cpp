// The one place where a frame's back end is chosen.
#include "../cframe.h"
#include "headless/headlessframe.h"
#include "headless/headlessoptionmenu.h"
#include "iplatformoptionmenu.h"
#include "x11/x11frame.h"
#include "x11/x11optionmenu.h"
#include <cstdint>
#include "iplatformframe.h"

namespace VSTGUI {

SharedPointer<IPlatformFrame> createPlatformFrame (IPlatformFrameCallback* frame, const CRect& size,
                                                   void* parent, PlatformType platformType,
                                                   IPlatformFrameConfig* config)
{
	(void)config;
	if (platformType == PlatformType::kHeadless || parent == nullptr)
		return owned<IPlatformFrame> (new HeadlessFrame (size));
	if (platformType == PlatformType::kDefaultNative || platformType == PlatformType::kX11EmbedWindowID)
		return X11Frame::create (frame, size, static_cast<Window> (reinterpret_cast<uintptr_t> (parent)));
	return nullptr;
}

SharedPointer<IPlatformOptionMenu> createPlatformOptionMenu (CFrame* frame)
{
	if (!frame || !frame->getPlatformFrame ())
		return nullptr;
	if (auto* x11 = dynamic_cast<X11Frame*> (frame->getPlatformFrame ()))
		return owned<IPlatformOptionMenu> (new X11OptionMenu (x11));
	return owned<IPlatformOptionMenu> (new HeadlessOptionMenu);
}

} // namespace VSTGUI
