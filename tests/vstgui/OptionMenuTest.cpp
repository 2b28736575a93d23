// Option menus: entries, separators, check marks, submenus and the popup flow.
#include "TestHelpers.h"
#include "vstgui/lib/platform/headless/headlessoptionmenu.h"

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

COptionMenu* makeMenu (IControlListener* listener, int32_t tag, int32_t style = COptionMenu::kMultipleCheckStyle)
{
	return new COptionMenu (CRect (0, 0, 40, 20), listener, tag, nullptr, nullptr, style);
}

class ScriptGuard
{
public:
	explicit ScriptGuard (HeadlessOptionMenu::Script s) { HeadlessOptionMenu::setScript (std::move (s)); }
	~ScriptGuard () { HeadlessOptionMenu::setScript (nullptr); }
};

} // namespace

TEST (OptionMenu, EntriesSeparatorsAndCurrentIndex)
{
	auto menu = owned (makeMenu (nullptr, 1));
	menu->addEntry ("Small");
	menu->addEntry ("-");
	menu->addEntry ("Large");
	menu->addSeparator ();
	menu->addEntry ("Huge", -1, CMenuItem::kChecked);
	menu->addEntry ("First", 0);
	EXPECT_EQ (menu->getNbEntries (), 6);
	EXPECT_STREQ (menu->getEntry (0)->getTitle (), "First");
	EXPECT_TRUE (menu->getEntry (2)->isSeparator ());
	EXPECT_TRUE (menu->isCheckEntry (5));
	EXPECT_EQ (menu->getEntry (6), nullptr);

	EXPECT_TRUE (menu->setCurrent (5));
	EXPECT_EQ (menu->getCurrentIndex (true), 5);
	EXPECT_EQ (menu->getCurrentIndex (false), 3);
	EXPECT_EQ (menu->getCurrentIndex (), 3);
	EXPECT_FALSE (menu->setCurrent (2)); // a separator
	EXPECT_FALSE (menu->setCurrent (9));
	EXPECT_EQ (menu->getCurrentIndex (true), 5);
	EXPECT_TRUE (menu->setCurrent (2, false)); // third entry that is no separator: "Large"
	EXPECT_STREQ (menu->getCurrent ()->getTitle (), "Large");
	EXPECT_EQ (menu->getCurrentIndex (true), 3);
}

TEST (OptionMenu, CheckEntryAlone)
{
	auto menu = owned (makeMenu (nullptr, 1));
	for (const char* t : {"a", "b", "c", "d"})
		menu->addEntry (t);
	menu->checkEntry (0, true);
	menu->checkEntry (3, true);
	EXPECT_TRUE (menu->checkEntryAlone (2));
	for (int i = 0; i < 4; ++i)
		EXPECT_EQ (menu->isCheckEntry (i), i == 2);
	EXPECT_FALSE (menu->checkEntryAlone (4));
	EXPECT_FALSE (menu->checkEntryAlone (-1));
	EXPECT_TRUE (menu->isCheckEntry (2)); // unchanged
	EXPECT_EQ (menu->getNbItemsPerColumn (), -1);
	menu->setNbItemsPerColumn (32);
	EXPECT_EQ (menu->getNbItemsPerColumn (), 32);
}

TEST (OptionMenu, SubmenuIsKeptByItsEntryAndReleasedWithIt)
{
	auto menu = owned (makeMenu (nullptr, 82, 0));
	auto* sub = makeMenu (nullptr, 100);
	EXPECT_EQ (sub->getNbReference (), 1);
	menu->addEntry (sub, "Pitchbend Range");
	EXPECT_EQ (sub->getNbReference (), 2);
	EXPECT_EQ (menu->getSubMenu (0), sub);
	menu->removeAllEntry ();
	EXPECT_EQ (sub->getNbReference (), 1);
	EXPECT_EQ (menu->getNbEntries (), 0);
	EXPECT_EQ (menu->getCurrentIndex (), -1);
	sub->forget ();
}

namespace {

class PopupTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		frame = makeHeadlessFrame (100, 100);
		root = makeMenu (&rootListener, 82, 0);
		sub = makeMenu (&subListener, 101);
		for (int i = 1; i <= 20; ++i)
			sub->addEntry ((std::to_string (i) + " voices").c_str ());
		sub->checkEntryAlone (11);
		root->addEntry (sub, "Polyphony");
		sub->forget (); // the entry holds it now
		root->addEntry ("Plain");
		frame->addView (root);
	}
	void TearDown () override { frame->close (); }

	CountingListener rootListener;
	CountingListener subListener;
	CFrame* frame {nullptr};
	COptionMenu* root {nullptr};
	COptionMenu* sub {nullptr};
};

} // namespace

TEST_F (PopupTest, ChoiceInSubmenuSetsItsValueTogglesCheckAndNotifiesRootOnly)
{
	bool sawInPopup = false;
	ScriptGuard script ([&] (COptionMenu* m) {
		sawInPopup = m->isInPopup ();
		EXPECT_EQ (m, root);
		return PlatformOptionMenuResult {sub, 19};
	});
	EXPECT_TRUE (root->popup ());
	EXPECT_TRUE (sawInPopup);
	EXPECT_FALSE (root->isInPopup ());
	EXPECT_EQ (rootListener.order, (std::vector<std::string> {"begin", "changed", "end"}));
	EXPECT_EQ (subListener.changes, 0);
	EXPECT_EQ (sub->getCurrentIndex (), 19);
	EXPECT_TRUE (sub->isCheckEntry (19)); // multiple-check style toggles the chosen entry
	EXPECT_TRUE (sub->isCheckEntry (11));
	int32_t index = -5;
	EXPECT_EQ (root->getLastItemMenu (index), sub);
	EXPECT_EQ (index, 19);
	EXPECT_EQ (root->getLastResult (), 19);
	EXPECT_EQ (root->getCurrentIndex (), -1); // the root's own value is untouched
}

TEST_F (PopupTest, ChoosingAgainUnchecksInCheckStyle)
{
	ScriptGuard script ([&] (COptionMenu*) { return PlatformOptionMenuResult {sub, 11}; });
	root->popup ();
	EXPECT_FALSE (sub->isCheckEntry (11));
}

TEST_F (PopupTest, ChoiceInRootAndCallback)
{
	int callbacks = 0;
	ScriptGuard script ([&] (COptionMenu*) { return PlatformOptionMenuResult {root, 1}; });
	EXPECT_TRUE (root->popup ([&] (COptionMenu* m) {
		EXPECT_EQ (m, root);
		++callbacks;
	}));
	EXPECT_EQ (callbacks, 1);
	EXPECT_EQ (root->getCurrentIndex (), 1);
	EXPECT_FALSE (root->isCheckEntry (1)); // style 0: no check mark
	EXPECT_EQ (rootListener.changes, 1);
}

TEST_F (PopupTest, CancelOrInvalidChoiceChangesNothing)
{
	for (PlatformOptionMenuResult r :
	     {PlatformOptionMenuResult {}, PlatformOptionMenuResult {sub, 20}, PlatformOptionMenuResult {sub, -1}})
	{
		ScriptGuard script ([r] (COptionMenu*) { return r; });
		EXPECT_FALSE (root->popup ());
	}
	EXPECT_EQ (rootListener.changes, 0);
	EXPECT_EQ (rootListener.begins, 0);
	int32_t index = 0;
	EXPECT_EQ (root->getLastItemMenu (index), nullptr);
	EXPECT_EQ (index, -1);
}

TEST_F (PopupTest, ClickPopsUpWithLeftOrRight)
{
	int popups = 0;
	ScriptGuard script ([&] (COptionMenu*) {
		++popups;
		return PlatformOptionMenuResult {};
	});
	EXPECT_EQ (mouseDown (frame, 5, 5, kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
	EXPECT_EQ (mouseDown (frame, 5, 5, kRButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
	EXPECT_EQ (mouseDown (frame, 5, 5, kMButton), kMouseEventNotHandled);
	EXPECT_EQ (popups, 2);
}

TEST (OptionMenu, PopupNeedsAFrame)
{
	auto menu = owned (makeMenu (nullptr, 1));
	menu->addEntry ("a");
	EXPECT_FALSE (menu->popup ());
}

TEST (OptionMenu, DrawsTheCurrentEntryTitle)
{
	CFrame* frame = makeHeadlessFrame (100, 20);
	auto* menu = makeMenu (nullptr, 83, COptionMenu::kMultipleCheckStyle);
	menu->setFontColor (kWhiteCColor);
	menu->setBackColor (kBlackCColor);
	menu->setTransparency (true);
	menu->addEntry ("MMMM");
	frame->addView (menu);
	frame->idle ();
	EXPECT_EQ (countPixels (frame->getBackBuffer (), CRect (0, 0, 40, 20), kBlackCColor), 800);
	menu->setCurrent (0);
	frame->idle ();
	EXPECT_LT (countPixels (frame->getBackBuffer (), CRect (0, 0, 40, 20), kBlackCColor), 780);
	frame->close ();
}
