// Pop-up list with the mouse: hover, choosing by click and by press-drag-release,
// closing by a click outside, the observer, wheel stepping and the 250 ms timer.
#include <functional>

#include "ControlTestSupport.h"
#include "controls/ZelCFrameMuseObserver.h"
#include "controls/ZelCPopup.h"
#include "controls/ZelCPopupControl.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

// The editor's Medium wave chooser: rectangle (80, 44, 148, 76), 40 items of 68 x 32,
// 8 per column, spacing 1. Open, its grid is (80, 79, 436, 346) and item i's cell
// starts at (82 + 71 (i / 8), 81 + 33 (i % 8)).
class ChooserFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = makeFrame(1000, 672);
        frame->registerMouseObserver(&observer);
        chooser = makeChooser(CRect(80, 44, 148, 76), 90);
    }
    void TearDown() override
    {
        observer.closeAll();
        frame->close();
    }

    ZelCPopup* makeChooser(const CRect& rect, int32_t tag)
    {
        auto* popup = new ZelCPopup(ZelCPopup::kPictureItems, rect, &listener, frame, &observer, tag);
        popup->wheelStepping = 1;
        popup->itemsPerColumn = 8;
        popup->drawClosed = 0;
        popup->listFillColor = popup->highlightFillColor = CColor(70, 90, 110, 255);
        popup->addImageItems(makeStrip(40, 136, 32, true), 40, true);
        popup->spacing = 1;
        frame->addView(popup);
        return popup;
    }
    static CPoint itemCentre(int i) { return CPoint(82 + 71 * (i / 8) + 34, 81 + 33 * (i % 8) + 16); }
    void click(const CPoint& p)
    {
        mouseDown(frame, p.x, p.y);
        mouseUp(frame, p.x, p.y);
    }
    int32_t selected() const
    {
        int32_t id = 0;
        chooser->getSelected(id);
        return id;
    }

    CFrame* frame = nullptr;
    ZelCFrameMuseObserver observer;
    RecordingListener listener;
    ZelCPopup* chooser = nullptr;
};

} // namespace

TEST_F(ChooserFixture, ClickOpensTheGridAndCountsItOpen)
{
    EXPECT_FALSE(chooser->isOpen());
    click(CPoint(90, 50));
    EXPECT_TRUE(chooser->isOpen());
    EXPECT_EQ(observer.openCount, 1);
    EXPECT_TRUE(chooser->getTimer()->isRunning());
    EXPECT_TRUE(frame->isChild(chooser->getDropDown()));
    EXPECT_EQ(listener.changes, 0);
    EXPECT_EQ(listener.begins, 1);
    EXPECT_EQ(listener.ends, 1);
}

TEST_F(ChooserFixture, HoverFollowsTheMouseOverTheGrid)
{
    click(CPoint(90, 50));
    struct Step
    {
        CPoint where;
        int32_t hovered;
    };
    const Step steps[] = {
        {itemCentre(0), 0},
        {itemCentre(13), 13},
        {CPoint(82 + 67, 81 + 31), 0},      // last pixel of item 0's cell
        {CPoint(82 + 68, 81 + 10), 0},      // first gap column: item 0's cell grown by the spacing
        {CPoint(82 + 69, 81 + 10), ZelCPopup::kNone}, // the divider's column belongs to no cell
        {CPoint(82 + 70, 81 + 10), 8},      // the next column's cell grown by the spacing
        {CPoint(82 + 30, 81 + 32), 0},      // the row gap belongs to the cell above first
    };
    for (const Step& s : steps)
    {
        mouseMoved(frame, s.where.x, s.where.y);
        EXPECT_EQ(chooser->getHoveredId(), s.hovered) << s.where.x << "," << s.where.y;
    }
}

TEST_F(ChooserFixture, ClickOnAnItemChoosesItAndClosesTheGrid)
{
    click(CPoint(90, 50));
    mouseMoved(frame, itemCentre(13).x, itemCentre(13).y);
    listener = RecordingListener();
    click(itemCentre(13));
    EXPECT_EQ(selected(), 13);
    EXPECT_EQ(chooser->getValue(), 13.0f);
    EXPECT_FALSE(chooser->isOpen());
    EXPECT_EQ(observer.openCount, 0);
    EXPECT_FALSE(chooser->getTimer()->isRunning());
    EXPECT_EQ(listener.order, (std::vector<std::string> {"begin", "changed", "end"}));
    EXPECT_EQ(listener.values, std::vector<float> {13.0f});
}

TEST_F(ChooserFixture, PressDragReleaseChoosesTheItemUnderTheRelease)
{
    mouseDown(frame, 90, 50);
    ASSERT_TRUE(chooser->isOpen());
    mouseMoved(frame, itemCentre(5).x, itemCentre(5).y, kLButton); // the pop-up holds the mouse
    mouseMoved(frame, itemCentre(21).x, itemCentre(21).y, kLButton);
    EXPECT_EQ(chooser->getHoveredId(), 21);
    mouseUp(frame, itemCentre(21).x, itemCentre(21).y);
    EXPECT_EQ(selected(), 21);
    EXPECT_FALSE(chooser->isOpen());
    EXPECT_EQ(listener.changes, 1);
}

TEST_F(ChooserFixture, ReleaseOverTheSelectedItemChangesNothing)
{
    chooser->setValue(7);
    mouseDown(frame, 90, 50);
    mouseMoved(frame, itemCentre(7).x, itemCentre(7).y, kLButton);
    mouseUp(frame, itemCentre(7).x, itemCentre(7).y);
    EXPECT_EQ(selected(), 7);
    EXPECT_EQ(listener.changes, 0);
    EXPECT_EQ(listener.ends, 1);
    EXPECT_TRUE(chooser->isOpen());
}

TEST_F(ChooserFixture, AHoverFromAnEarlierOpeningChoosesNothing)
{
    chooser->setValue(2);
    click(CPoint(90, 50));
    mouseMoved(frame, itemCentre(30).x, itemCentre(30).y);
    EXPECT_EQ(chooser->getHoveredId(), 30);
    mouseDown(frame, 700, 600); // a click outside closes the grid
    EXPECT_FALSE(chooser->isOpen());
    EXPECT_EQ(chooser->getHoveredId(), ZelCPopup::kNone);
    click(CPoint(90, 50)); // opens again; the release points at no item
    EXPECT_TRUE(chooser->isOpen());
    EXPECT_EQ(selected(), 2);
    EXPECT_EQ(listener.changes, 0);
}

TEST_F(ChooserFixture, ClickOutsideClosesWithoutChoosing)
{
    click(CPoint(90, 50));
    mouseMoved(frame, itemCentre(3).x, itemCentre(3).y);
    mouseDown(frame, 900, 20);
    mouseUp(frame, 900, 20);
    EXPECT_FALSE(chooser->isOpen());
    EXPECT_EQ(observer.openCount, 0);
    EXPECT_EQ(listener.changes, 0);
}

TEST_F(ChooserFixture, ClickInsideOneGridClosesTheOtherGrids)
{
    ZelCPopup* other = makeChooser(CRect(80, 132, 148, 164), 91);
    chooser->openDropDown(CPoint(90, 50));
    other->openDropDown(CPoint(90, 140));
    ASSERT_EQ(observer.openCount, 2);
    const CRect grid = chooser->getDropDown()->getViewSize();
    mouseDown(frame, grid.left + 1, grid.top + 1); // on the border, no item hovered
    EXPECT_TRUE(chooser->isOpen());
    EXPECT_FALSE(other->isOpen());
    EXPECT_EQ(observer.openCount, 1);
}

TEST_F(ChooserFixture, ChoosingClosesEveryOpenGrid)
{
    ZelCPopup* other = makeChooser(CRect(500, 44, 568, 76), 91);
    click(CPoint(90, 50));
    other->openDropDown(CPoint(510, 50));
    ASSERT_EQ(observer.openCount, 2);
    mouseMoved(frame, itemCentre(4).x, itemCentre(4).y);
    click(itemCentre(4));
    EXPECT_FALSE(chooser->isOpen());
    EXPECT_FALSE(other->isOpen());
    EXPECT_EQ(observer.openCount, 0);
}

TEST_F(ChooserFixture, BlockedObserverSwallowsClicksAndClosesNothing)
{
    click(CPoint(90, 50));
    observer.blockFlag = 1;
    EXPECT_EQ(mouseDown(frame, 900, 20), kMouseMoveEventHandledButDontNeedMoreEvents);
    EXPECT_TRUE(chooser->isOpen());
    EXPECT_EQ(mouseMoved(frame, itemCentre(3).x, itemCentre(3).y), kMouseEventHandled);
    EXPECT_EQ(chooser->getHoveredId(), ZelCPopup::kNone); // the move never reached the grid
    EXPECT_TRUE(observer.closePopupsAt(CPoint(900, 20)));
    EXPECT_TRUE(chooser->isOpen());
    observer.blockFlag = 0;
    EXPECT_TRUE(observer.closePopupsAt(CPoint(900, 20)));
    EXPECT_FALSE(chooser->isOpen());
}

TEST_F(ChooserFixture, ObserverListsEveryRegistrationAndForgetsAllOfThem)
{
    ASSERT_EQ(observer.getPopups().size(), 1u);
    observer.addPopup(chooser);
    observer.addPopup(nullptr);
    EXPECT_EQ(observer.getPopups().size(), 2u);
    EXPECT_EQ(observer.getPopups().front(), chooser);
    auto* second = new ZelCPopup(ZelCPopup::kTextItems, CRect(0, 0, 10, 10), nullptr, frame, &observer, 1);
    EXPECT_EQ(observer.getPopups().front(), second); // new registrations go to the front
    observer.removePopup(chooser);
    EXPECT_EQ(observer.getPopups().size(), 1u);
    second->forget(); // unregisters itself
    EXPECT_TRUE(observer.getPopups().empty());
    observer.removePopup(nullptr);
    observer.addPopup(chooser); // back for the tear-down
}

TEST_F(ChooserFixture, EmptyListDoesNotOpen)
{
    auto* empty = new ZelCPopup(ZelCPopup::kTextItems, CRect(600, 600, 640, 616), &listener, frame, &observer, 1);
    frame->addView(empty);
    click(CPoint(610, 605));
    EXPECT_FALSE(empty->isOpen());
    EXPECT_EQ(observer.openCount, 0);
}

// ---- wheel -----------------------------------------------------------------------------

struct WheelCase
{
    int32_t start;   // selected before (ZelCPopup::kNone: nothing)
    float distance;
    int32_t after;
    int changes;     // listener calls
};

class ChooserWheel : public ChooserFixture, public ::testing::WithParamInterface<WheelCase>
{
};

TEST_P(ChooserWheel, Steps)
{
    const WheelCase& c = GetParam();
    if (c.start != ZelCPopup::kNone)
        chooser->setValue(static_cast<float>(c.start));
    EXPECT_TRUE(wheel(frame, 90, 50, c.distance));
    int32_t id = 0;
    chooser->getSelected(id);
    EXPECT_EQ(id, c.after);
    EXPECT_EQ(listener.changes, c.changes);
}

INSTANTIATE_TEST_SUITE_P(Stepping, ChooserWheel,
    ::testing::Values(WheelCase {5, 1.0f, 6, 1}, WheelCase {5, -1.0f, 4, 1},
        WheelCase {0, -1.0f, 0, 1},   // at the first item: no wrap, still reported
        WheelCase {39, 1.0f, 39, 1},  // at the last item
        WheelCase {5, 0.0f, 5, 1},    // no step, still reported
        WheelCase {ZelCPopup::kNone, 1.0f, ZelCPopup::kNone, 0}));

TEST_F(ChooserFixture, WheelWithoutSteppingIsSwallowed)
{
    chooser->wheelStepping = 0;
    chooser->setValue(5);
    EXPECT_TRUE(wheel(frame, 90, 50, 1.0f));
    EXPECT_EQ(selected(), 5);
    EXPECT_EQ(listener.changes, 0);
}

TEST_F(ChooserFixture, SteppingSkipsSeparators)
{
    auto* list = new ZelCPopup(ZelCPopup::kTextItems, CRect(0, 0, 10, 10), nullptr, frame, &observer, 1);
    list->addItem("a", 0);
    list->addSeparator(nullptr);
    list->addSeparator("title");
    list->addItem("b", 2);
    list->setValue(0);
    EXPECT_TRUE(list->selectNext());
    EXPECT_EQ(list->getValue(), 2.0f);
    EXPECT_FALSE(list->selectNext());
    EXPECT_TRUE(list->selectPrevious());
    EXPECT_EQ(list->getValue(), 0.0f);
    EXPECT_FALSE(list->selectPrevious());
    list->forget();
}

// ---- values ------------------------------------------------------------------------------

TEST_F(ChooserFixture, ValueRules)
{
    int32_t id = 0;
    EXPECT_EQ(chooser->getValue(), 0.0f);
    EXPECT_FALSE(chooser->getSelected(id));
    EXPECT_EQ(id, ZelCPopup::kNone);
    chooser->setValue(0.0f);
    EXPECT_EQ(chooser->getValue(), 0.0f);
    EXPECT_TRUE(chooser->getSelected(id)); // item 0 told apart from nothing
    chooser->setValue(2.95f);              // floor of 3.05
    EXPECT_EQ(chooser->getValue(), 3.0f);
    chooser->setValue(77.0f); // no such item: unchanged
    EXPECT_EQ(chooser->getValue(), 3.0f);
    EXPECT_FALSE(chooser->selectItem(40));
    EXPECT_EQ(listener.changes, 0); // selection never notifies
}

TEST_F(ChooserFixture, MinusHalfSelectsTheFirstSeparator)
{
    auto* list = new ZelCPopup(ZelCPopup::kTextItems, CRect(0, 0, 10, 10), nullptr, frame, &observer, 1);
    list->addItem("a", 0);
    list->addSeparator("x");
    list->setValue(-0.5f);
    int32_t id = 0;
    EXPECT_TRUE(list->getSelected(id));
    EXPECT_EQ(id, -1);
    list->forget();
}

TEST_F(ChooserFixture, ItemNames)
{
    auto* list = new ZelCPopup(ZelCPopup::kTextItems, CRect(0, 0, 10, 10), nullptr, frame, &observer, 1);
    list->addItem("Saw", 4);
    list->addItem("Square", 4);
    list->setItemName("Pulse", 4);
    list->setItemName("None", 9);
    CFixedString name;
    EXPECT_TRUE(list->getItemName(&name, 4));
    EXPECT_STREQ(name.c_str(), "Pulse");
    EXPECT_FALSE(list->getItemName(&name, 9));
    EXPECT_FALSE(list->getItemName(nullptr, 4));
    EXPECT_STREQ(std::next(list->getItems()->begin())->name.data(), "Square");
    list->clearItems(false);
    EXPECT_EQ(list->getItemCount(), 0u);
    EXPECT_FALSE(list->getItemName(&name, 4));
    list->forget();
}

// ---- the 250 ms timer ------------------------------------------------------------------

TEST_F(ChooserFixture, TimerDropsTheHoverOffTheGridAndClosesWhenTheMouseLeavesTheFrame)
{
    TestClock clock;
    click(CPoint(90, 50));
    ASSERT_TRUE(chooser->getTimer()->isRunning());
    mouseMoved(frame, itemCentre(6).x, itemCentre(6).y);
    TestClock::advance(frame, 250); // a tick with the mouse on the grid keeps the hover
    EXPECT_EQ(chooser->getHoveredId(), 6);
    mouseMoved(frame, 700, 500); // off the grid, over no view: nobody tracks the hover
    EXPECT_EQ(chooser->getHoveredId(), 6);
    TestClock::advance(frame, 249);
    EXPECT_EQ(chooser->getHoveredId(), 6);
    TestClock::advance(frame, 1);
    EXPECT_EQ(chooser->getHoveredId(), ZelCPopup::kNone);
    EXPECT_TRUE(chooser->isOpen());
    mouseMoved(frame, -5, 300); // out of the frame
    TestClock::advance(frame, 250);
    EXPECT_FALSE(chooser->isOpen());
    EXPECT_FALSE(chooser->getTimer()->isRunning());
    EXPECT_EQ(observer.openCount, 0);
}

// ---- the observer's view mouse listener half ----------------------------------------------

namespace {

struct HookEditor : VSTGUIEditorInterface
{
    std::vector<std::string> hooks;
    void beginEdit(EditHookIndex index) override { hooks.push_back("begin " + std::to_string(index)); }
    void endEdit(EditHookIndex index) override { hooks.push_back("end " + std::to_string(index)); }
};

// A view that counts the mouse events it sees.
struct CountingView : CView
{
    using CView::CView;
    int downs = 0, moves = 0, ups = 0;
    CMouseEventResult onMouseDown(CPoint&, const CButtonState&) override
    {
        ++downs;
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseMoved(CPoint&, const CButtonState&) override
    {
        ++moves;
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override
    {
        ++ups;
        return kMouseEventHandled;
    }
};

} // namespace

TEST(FrameMouseListener, GesturesReachTheEditorHooksUnlessBlocked)
{
    HookEditor editor;
    CFrame* frame = makeFrame(200, 100, &editor);
    ZelCFrameMuseObserver observer;
    auto* view = new CountingView(CRect(10, 10, 50, 50));
    view->registerViewMouseListener(&observer);
    frame->addView(view);

    mouseDown(frame, 20, 20);
    mouseMoved(frame, 25, 20, kLButton);
    mouseUp(frame, 25, 20);
    EXPECT_EQ(editor.hooks, (std::vector<std::string> {"begin -1", "end -1"}));
    EXPECT_EQ(view->downs, 1);
    EXPECT_EQ(view->moves, 1);
    EXPECT_EQ(view->ups, 1);

    editor.hooks.clear();
    observer.blockFlag = 1;
    mouseDown(frame, 20, 20); // swallowed: the view sees neither the press nor the moves
    mouseMoved(frame, 25, 20, kLButton);
    mouseUp(frame, 25, 20); // the release still ends the gesture
    EXPECT_EQ(editor.hooks, std::vector<std::string> {"end -1"});
    EXPECT_EQ(view->downs, 1);
    EXPECT_EQ(view->moves, 1);
    EXPECT_EQ(view->ups, 2);
    editor.hooks.clear();

    observer.blockFlag = 0;
    mouseDown(frame, 20, 20);
    frame->onMouseCancel(); // a cancelled gesture ends as well
    EXPECT_EQ(editor.hooks, (std::vector<std::string> {"begin -1", "end -1"}));
    view->unregisterViewMouseListener(&observer);
    frame->close();
}

TEST_F(ChooserFixture, EveryOperationReleasesTheBusyWord)
{
    CFixedString name;
    int32_t id = 0;
    const std::function<void()> operations[] = {[&] { chooser->selectItem(3); }, [&] { chooser->selectNext(); },
        [&] { chooser->selectPrevious(); }, [&] { chooser->getItemName(&name, 3); },
        [&] { chooser->getItemName(&name, 99); }, [&] { chooser->setItemName("x", 3); },
        [&] { chooser->itemAt(CPoint(10, 10)); }, [&] { chooser->layoutItems(); },
        [&] { chooser->placeDropDown(CPoint(90, 50)); }, [&] { chooser->remeasureItems(); },
        [&] { chooser->getSelected(id); }, [&] { click(CPoint(90, 50)); }, [&] { framePixel(frame, 100, 100); },
        [&] { chooser->addItem("more", 40); }, [&] { chooser->addSeparator(nullptr); },
        [&] { chooser->clearItems(false); }};
    for (const auto& operation : operations)
    {
        operation();
        EXPECT_FALSE(chooser->areItemsBusy());
    }
}

TEST_F(ChooserFixture, CopyKeepsTheSettingsButNoItems)
{
    chooser->setValue(5);
    auto* copy = static_cast<ZelCPopup*>(chooser->newCopy());
    EXPECT_EQ(copy->getItemCount(), 0u);
    EXPECT_EQ(copy->getValue(), 0.0f);
    EXPECT_EQ(copy->itemsPerColumn, 8u);
    EXPECT_EQ(copy->wheelStepping, 1);
    EXPECT_EQ(copy->drawClosed, 0);
    EXPECT_EQ(copy->spacing, 1u);
    EXPECT_EQ(copy->listFillColor, CColor(70, 90, 110, 255));
    EXPECT_NE(copy->getDropDown(), chooser->getDropDown());
    EXPECT_EQ(observer.getPopups().front(), copy);
    copy->forget();
    EXPECT_EQ(observer.getPopups().front(), chooser);
}
