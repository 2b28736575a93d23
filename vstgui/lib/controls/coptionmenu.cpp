#include "coptionmenu.h"
#include "../cdrawcontext.h"
#include "../cframe.h"
#include "../platform/iplatformoptionmenu.h"

namespace VSTGUI {

CMenuItem::CMenuItem (UTF8StringPtr t, UTF8StringPtr, int32_t, CBitmap* i, int32_t f)
: title (t ? t : ""), icon (i), flags (f)
{
}

CMenuItem::CMenuItem (UTF8StringPtr t, COptionMenu* sub, CBitmap* i) : title (t ? t : ""), icon (i)
{
	setSubmenu (sub);
}

CMenuItem::CMenuItem (UTF8StringPtr t, int32_t tg) : title (t ? t : ""), tag (tg)
{
}

CMenuItem::CMenuItem (const CMenuItem& item)
: CBaseObject (item), title (item.title), icon (item.icon), flags (item.flags), tag (item.tag)
{
	setSubmenu (item.submenu);
}

CMenuItem::~CMenuItem () noexcept
{
	setSubmenu (nullptr);
}

void CMenuItem::setTitle (UTF8StringPtr t)
{
	title = t ? t : "";
}

void CMenuItem::setSubmenu (COptionMenu* menu)
{
	if (menu == submenu)
		return;
	if (menu)
		menu->remember ();
	if (submenu)
		submenu->forget ();
	submenu = menu;
}

COptionMenu* CMenuItem::getSubmenu () const
{
	return submenu;
}

//------------------------------------------------------------------------
COptionMenu::COptionMenu () : COptionMenu (CRect (0, 0, 0, 0), nullptr, -1)
{
}

COptionMenu::COptionMenu (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                          CBitmap* bgClick, const int32_t s)
: CParamDisplay (size, background, s), bgWhenClick (bgClick)
{
	setListener (listener);
	CControl::setTag (tag);
	setWantsFocus (false);
}

COptionMenu::COptionMenu (const COptionMenu& m)
: CParamDisplay (m),
  currentIndex (m.currentIndex),
  nbItemsPerColumn (m.nbItemsPerColumn),
  bgWhenClick (m.bgWhenClick)
{
	for (const auto& item : m.menuItems)
		menuItems.push_back (owned (new CMenuItem (*item)));
}

COptionMenu::~COptionMenu () noexcept
{
	removeAllEntry ();
}

//------------------------------------------------------------------------
CMenuItem* COptionMenu::addEntry (CMenuItem* item, int32_t index)
{
	if (!item)
		return nullptr;
	auto held = owned (item);
	if (index < 0 || index >= getNbEntries ())
		menuItems.push_back (held);
	else
	{
		menuItems.insert (menuItems.begin () + index, held);
		if (currentIndex >= index)
			++currentIndex;
	}
	return item;
}

CMenuItem* COptionMenu::addEntry (COptionMenu* submenu, UTF8StringPtr title)
{
	if (!submenu)
		return nullptr;
	return addEntry (new CMenuItem (title, submenu));
}

CMenuItem* COptionMenu::addEntry (UTF8StringPtr title, int32_t index, int32_t itemFlags)
{
	if (title && std::string (title) == "-")
		return addSeparator (index);
	return addEntry (new CMenuItem (title, nullptr, 0, nullptr, itemFlags), index);
}

CMenuItem* COptionMenu::addSeparator (int32_t index)
{
	return addEntry (new CMenuItem ("", nullptr, 0, nullptr, CMenuItem::kSeparator), index);
}

bool COptionMenu::removeEntry (int32_t index)
{
	if (index < 0 || index >= getNbEntries ())
		return false;
	menuItems.erase (menuItems.begin () + index);
	if (currentIndex == index)
		currentIndex = -1;
	else if (currentIndex > index)
		--currentIndex;
	return true;
}

bool COptionMenu::removeAllEntry ()
{
	menuItems.clear ();
	currentIndex = -1;
	lastMenu = nullptr;
	lastResult = -1;
	return true;
}

CMenuItem* COptionMenu::getEntry (int32_t index) const
{
	if (index < 0 || index >= getNbEntries ())
		return nullptr;
	return menuItems[static_cast<size_t> (index)];
}

COptionMenu* COptionMenu::getSubMenu (int32_t idx) const
{
	CMenuItem* item = getEntry (idx);
	return item ? item->getSubmenu () : nullptr;
}

//------------------------------------------------------------------------
bool COptionMenu::setCurrent (int32_t index, bool countSeparator)
{
	if (!countSeparator)
	{
		// The index among the entries that are not separators.
		int32_t seen = -1;
		int32_t found = -1;
		for (int32_t i = 0; i < getNbEntries (); ++i)
		{
			if (menuItems[static_cast<size_t> (i)]->isSeparator ())
				continue;
			if (++seen == index)
			{
				found = i;
				break;
			}
		}
		index = found;
	}
	CMenuItem* item = getEntry (index);
	if (!item || item->isSeparator ())
		return false;
	currentIndex = index;
	value = static_cast<float> (index);
	invalid ();
	return true;
}

int32_t COptionMenu::getCurrentIndex (bool countSeparator) const
{
	if (countSeparator || currentIndex < 0)
		return currentIndex;
	int32_t separators = 0;
	for (int32_t i = 0; i < currentIndex && i < getNbEntries (); ++i)
		if (menuItems[static_cast<size_t> (i)]->isSeparator ())
			++separators;
	return currentIndex - separators;
}

bool COptionMenu::checkEntry (int32_t index, bool state)
{
	CMenuItem* item = getEntry (index);
	if (!item || item->isSeparator ())
		return false;
	item->setChecked (state);
	return true;
}

bool COptionMenu::checkEntryAlone (int32_t index)
{
	if (index < 0 || index >= getNbEntries ())
		return false;
	for (int32_t i = 0; i < getNbEntries (); ++i)
		menuItems[static_cast<size_t> (i)]->setChecked (i == index);
	return true;
}

bool COptionMenu::isCheckEntry (int32_t index) const
{
	CMenuItem* item = getEntry (index);
	return item && item->isChecked ();
}

void COptionMenu::setValue (float val)
{
	auto index = static_cast<int32_t> (val);
	if (index < 0 || index >= getNbEntries ())
		return;
	currentIndex = index;
	if (style & kMultipleCheckStyle)
	{
		CMenuItem* item = getEntry (index);
		item->setChecked (!item->isChecked ());
	}
	value = val;
}

//------------------------------------------------------------------------
bool COptionMenu::popup (const PopupCallback& callback)
{
	CFrame* frame = getFrame ();
	if (!frame || inPopup)
		return false;
	CBaseObjectGuard guard (this);
	lastMenu = nullptr;
	lastResult = -1;
	inPopup = true;
	// Show the pressed state now: the menu's own loop runs no frame idle.
	invalid ();
	frame->updateInvalidAreas ();
	PlatformOptionMenuResult result;
	if (auto platformMenu = createPlatformOptionMenu (frame))
		result = platformMenu->popup (this);
	inPopup = false;
	bool chosen = false;
	if (result.menu && result.index >= 0 && result.index < result.menu->getNbEntries ())
	{
		CBaseObjectGuard chosenGuard (result.menu);
		beginEdit ();
		lastMenu = result.menu;
		lastResult = result.index;
		result.menu->setValue (static_cast<float> (result.index));
		valueChanged ();
		invalid ();
		endEdit ();
		chosen = true;
	}
	else
		invalid ();
	if (chosen && callback)
		callback (this);
	return chosen;
}

COptionMenu* COptionMenu::getLastItemMenu (int32_t& idxInMenu) const
{
	idxInMenu = lastMenu ? static_cast<int32_t> (lastMenu->getValue ()) : -1;
	return lastMenu;
}

void COptionMenu::draw (CDrawContext* context)
{
	drawBack (context, inPopup ? bgWhenClick.get () : nullptr);
	if (CMenuItem* item = getCurrent ())
	{
		auto s = IPlatformString::createWithUTF8String (item->getTitle ());
		drawPlatformText (context, s);
	}
	setDirty (false);
}

CMouseEventResult COptionMenu::onMouseDown (CPoint&, const CButtonState& buttons)
{
	lastButton = buttons;
	if (buttons & (kLButton | kRButton | kApple))
	{
		popup ();
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	}
	return kMouseEventNotHandled;
}

} // namespace VSTGUI
