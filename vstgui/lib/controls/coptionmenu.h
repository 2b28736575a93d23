// CMenuItem and COptionMenu: a control that pops up a menu of entries (with submenus,
// check marks and columns) and takes the chosen entry as its value.
#pragma once

#include "cparamdisplay.h"
#include <functional>
#include <string>
#include <vector>

namespace VSTGUI {

class COptionMenu;

//------------------------------------------------------------------------
/** One menu entry: title, flags, tag, icon and an optional submenu. UI thread. */
class CMenuItem : public CBaseObject
{
public:
	enum Flags
	{
		kNoFlags = 0,
		kDisabled = 1 << 0,
		kTitle = 1 << 1,
		kChecked = 1 << 2,
		kSeparator = 1 << 3
	};

	/** An entry with these flags (key code and modifiers are accepted and ignored). */
	CMenuItem (UTF8StringPtr title, UTF8StringPtr keycode = nullptr, int32_t keyModifiers = 0,
	           CBitmap* icon = nullptr, int32_t flags = kNoFlags);
	/** An entry that opens submenu (the entry keeps a reference to it). */
	CMenuItem (UTF8StringPtr title, COptionMenu* submenu, CBitmap* icon = nullptr);
	/** A plain entry with a tag. */
	CMenuItem (UTF8StringPtr title, int32_t tag);
	CMenuItem (const CMenuItem& item);
	~CMenuItem () noexcept override;

	/** The text shown (a null title is kept as empty). */
	void setTitle (UTF8StringPtr title);
	UTF8StringPtr getTitle () const { return title.c_str (); }
	/** The menu the entry opens (referenced; null for none). */
	void setSubmenu (COptionMenu* submenu);
	COptionMenu* getSubmenu () const;
	/** Flags: a check mark, greyed out, a heading, a separator line. */
	void setChecked (bool state = true) { setFlag (kChecked, state); }
	bool isChecked () const { return (flags & kChecked) != 0; }
	void setEnabled (bool state = true) { setFlag (kDisabled, !state); }
	bool isEnabled () const { return (flags & kDisabled) == 0; }
	void setIsTitle (bool state = true) { setFlag (kTitle, state); }
	bool isTitle () const { return (flags & kTitle) != 0; }
	void setIsSeparator (bool state = true) { setFlag (kSeparator, state); }
	bool isSeparator () const { return (flags & kSeparator) != 0; }
	/** A number of the caller's (-1 unless set), and a picture shown with the title. */
	void setTag (int32_t t) { tag = t; }
	int32_t getTag () const { return tag; }
	CBitmap* getIcon () const { return icon; }
	void setIcon (CBitmap* bitmap) { icon = bitmap; }

	CLASS_METHODS (CMenuItem, CBaseObject)

protected:
	void setFlag (int32_t flag, bool state)
	{
		if (state)
			flags |= flag;
		else
			flags &= ~flag;
	}

	std::string title;
	COptionMenu* submenu {nullptr};
	SharedPointer<CBitmap> icon;
	int32_t flags {kNoFlags};
	int32_t tag {-1};
};

using CMenuItemList = std::vector<SharedPointer<CMenuItem>>;

//------------------------------------------------------------------------
/** A control showing its current entry that pops up its menu on a click. UI thread. */
class COptionMenu : public CParamDisplay
{
public:
	enum Style
	{
		/** Choosing an entry toggles its check mark (several may be checked). */
		kMultipleCheckStyle = 1 << 10,
		kCheckStyle = 1 << 11
	};
	using PopupCallback = std::function<void (COptionMenu* menu)>;

	/** An empty menu of no size and tag -1 (for submenus). */
	COptionMenu ();
	/** A menu control over size; bgWhenClick (may be null) is its background while popped up. */
	COptionMenu (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background = nullptr,
	             CBitmap* bgWhenClick = nullptr, const int32_t style = 0);
	COptionMenu (const COptionMenu& menu);
	~COptionMenu () noexcept override;

	// Entries ----------------------------------------------------------------
	/** Adds item at index (-1: at the end); the menu takes over the caller's reference. */
	virtual CMenuItem* addEntry (CMenuItem* item, int32_t index = -1);
	/** Adds an entry that opens submenu; the entry keeps a reference to the submenu. */
	virtual CMenuItem* addEntry (COptionMenu* submenu, UTF8StringPtr title);
	/** Adds an entry titled title ("-" makes a separator) at index (-1: at the end). */
	virtual CMenuItem* addEntry (UTF8StringPtr title, int32_t index = -1, int32_t itemFlags = CMenuItem::kNoFlags);
	/** Adds a separator line at index (-1: at the end). */
	virtual CMenuItem* addSeparator (int32_t index = -1);
	/** Removes the entry at index, keeping the current entry where it was; false out of range. */
	virtual bool removeEntry (int32_t index);
	/** Removes every entry (releasing submenus) and forgets the current and the last choice. */
	virtual bool removeAllEntry ();
	/** The entry at index (separators counted), or null. */
	CMenuItem* getEntry (int32_t index) const;
	/** Number of entries (separators counted), the list itself, and the submenu of entry idx (or null). */
	int32_t getNbEntries () const { return static_cast<int32_t> (menuItems.size ()); }
	const CMenuItemList* getItems () const { return &menuItems; }
	COptionMenu* getSubMenu (int32_t idx) const;

	// Current entry and check marks ---------------------------------------------
	/** Makes index current (by default separators count). UI thread. */
	virtual bool setCurrent (int32_t index, bool countSeparator = true);
	/** The current entry, or null. */
	CMenuItem* getCurrent () const { return getEntry (currentIndex); }
	/** The current index, separators left out unless countSeparator. */
	int32_t getCurrentIndex (bool countSeparator = false) const;
	/** Sets or clears one entry's check mark; false for a separator or an index out of range. */
	virtual bool checkEntry (int32_t index, bool state);
	/** Checks that entry and unchecks all others; an index out of range changes nothing. */
	virtual bool checkEntryAlone (int32_t index);
	/** True when that entry has a check mark. */
	bool isCheckEntry (int32_t index) const;
	/** Entries per column of the popped-up menu (-1: one column). */
	virtual void setNbItemsPerColumn (int32_t val) { nbItemsPerColumn = val; }
	int32_t getNbItemsPerColumn () const { return nbItemsPerColumn; }
	/** Value = an entry's index: makes it current (toggling its check in kMultipleCheckStyle). */
	void setValue (float val) override;

	// The popped-up menu ----------------------------------------------------------
	/** Shows the menu and returns when it closes (modal). On a choice: begins the edit,
	    sets the chosen (sub)menu's value to the entry's index, tells the listener of
	    this (root) menu, redraws, ends the edit and calls callback; true. UI thread. */
	virtual bool popup (const PopupCallback& callback = nullptr);
	/** The (sub)menu of the last choice and the chosen index in it; null when none. */
	COptionMenu* getLastItemMenu (int32_t& idxInMenu) const;
	COptionMenu* getLastItemMenu () const { return lastMenu; }
	/** The index chosen last, whether the menu is popped up, and its background meanwhile. */
	int32_t getLastResult () const { return lastResult; }
	bool isInPopup () const { return inPopup; }
	CBitmap* getBackgroundWhenClick () const { return bgWhenClick; }

	void draw (CDrawContext* context) override;
	/** Left, right (or Apple) click: pops the menu up; answers 3. */
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	void setStyle (int32_t val) override { style = val; }

	CLASS_METHODS (COptionMenu, CParamDisplay)

protected:
	CMenuItemList menuItems;
	int32_t currentIndex {-1};
	CButtonState lastButton {0};
	int32_t nbItemsPerColumn {-1};
	COptionMenu* lastMenu {nullptr};
	int32_t lastResult {-1};
	SharedPointer<CBitmap> bgWhenClick;
	bool inPopup {false};
};

} // namespace VSTGUI
