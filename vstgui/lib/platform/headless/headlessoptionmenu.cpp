#include "headlessoptionmenu.h"

namespace VSTGUI {

namespace {

HeadlessOptionMenu::Script& currentScript ()
{
	static HeadlessOptionMenu::Script script;
	return script;
}

} // namespace

void HeadlessOptionMenu::setScript (Script script)
{
	currentScript () = std::move (script);
}

PlatformOptionMenuResult HeadlessOptionMenu::popup (COptionMenu* optionMenu)
{
	if (!currentScript ())
		return {};
	return currentScript () (optionMenu);
}

} // namespace VSTGUI
