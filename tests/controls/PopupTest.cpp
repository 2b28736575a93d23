// Pop-up list: strip cutting, layout, placing, drawing, choosing with the mouse and
// the wheel, the frame's mouse observer and the 250 ms timer.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <sstream>

#include "ControlTestSupport.h"
#include "controls/ZelCFrameMuseObserver.h"
#include "controls/ZelCPopup.h"
#include "controls/ZelCPopupControl.h"
#include "graphics/CPixelCanvas.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

const CColor kFill(250, 250, 240, 255), kHighlight(180, 60, 60, 255), kLine(30, 30, 30, 255);

// A frame with the editor's mouse observer. The chooser is the editor's at "Medium":
// (80, 44, 148, 76), 40 items of 68 x 32, 8 per column, spacing 1; open, its grid is
// (80, 79, 436, 346) and item i's cell starts at (82 + 71 (i / 8), 81 + 33 (i % 8)).
class PopupFixture : public FrameFixture
{
protected:
    PopupFixture() { frame->registerMouseObserver(&observer); }
    ~PopupFixture() override
    {
        observer.closeAll();
        frame->close(); // the pop-ups unregister from the observer, which is still alive
        frame = nullptr;
    }
    ZelCPopup* addPopup(int32_t style, const CRect& rect, uint32_t perColumn = 0, uint32_t spacing = 7)
    {
        auto* popup = add(new ZelCPopup(style, rect, &listener, frame, &observer, 90));
        popup->itemsPerColumn = perColumn;
        popup->spacing = spacing;
        return popup;
    }
    // n pictures of w x h cut from a two-column strip.
    ZelCPopup* addPictures(const CRect& rect, int n, CCoord w, CCoord h, uint32_t perColumn, uint32_t spacing)
    {
        ZelCPopup* popup = addPopup(ZelCPopup::kPictureItems, rect, perColumn, spacing);
        popup->addImageItems(makeStrip(n, 2 * w, h, true), static_cast<uint32_t>(n), true);
        return popup;
    }
    ZelCPopup* addChooser(const CRect& rect = CRect(80, 44, 148, 76))
    {
        ZelCPopup* popup = addPictures(rect, 40, 68, 32, 8, 1);
        popup->wheelStepping = 1;
        popup->drawClosed = 0;
        popup->listFillColor = popup->highlightFillColor = CColor(70, 90, 110, 255);
        return popup;
    }
    static CPoint cellOf(int i) { return CPoint(82 + 71 * (i / 8), 81 + 33 * (i % 8)); }
    static CPoint centreOf(int i) { return cellOf(i) + CPoint(34, 16); }
    void moveTo(const CPoint& p, int32_t buttons = 0) { mouseMoved(frame, p.x, p.y, buttons); }
    static int32_t selectedOf(ZelCPopup* popup)
    {
        int32_t id = 0;
        popup->getSelected(id);
        return id;
    }
    // First and last column of the band holding a pixel unlike background.
    std::pair<CCoord, CCoord> inkColumns(const CRect& band, const CColor& background)
    {
        std::pair<CCoord, CCoord> ink(-1, -1);
        for (CCoord x = band.left; x < band.right; ++x)
            if (pixelsUnlike(frame, CRect(x, band.top, x + 1, band.bottom), background) > 0)
                ink = {ink.first < 0 ? x : ink.first, x};
        return ink;
    }

    ZelCFrameMuseObserver observer;
};

CColor canvasPixel(const CPixelCanvas* canvas, uint32_t x, uint32_t y)
{
    uint8_t r = 0, g = 0, b = 0;
    canvas->getPixel(x, y, r, g, b);
    return CColor(r, g, b, 255);
}

} // namespace

// ---- items ------------------------------------------------------------------------------

TEST_F(PopupFixture, StripRowsBecomeThePlainAndTheHighlightedPictures)
{
    struct Case { CCoord width, height; uint32_t count; bool twoColumns; uint32_t itemWidth, itemHeight; };
    const Case cases[] = {{408, 3840, 40, true, 204, 96}, // the master chooser strip
        {96, 960, 40, true, 48, 24}, {136, 1280, 40, true, 68, 32}, // "Small", "Medium"
        {200, 1920, 40, true, 100, 48}, {304, 2880, 40, true, 152, 72}, // "Large", "Huge"
        {204, 3840, 40, false, 204, 96}, // one column
        {102, 80, 4, true, 48, 20},      // halves of 51: cropped to 48, highlight from column 51
        {136, 1280, 0, true, 0, 0},      // count 0: nothing
        {136, 1240, 40, true, 0, 0}};    // rows of 31 pixels: nothing
    for (const Case& c : cases)
    {
        const int rows = c.count ? static_cast<int>(c.count) : 1;
        ZelCPopup* popup = addPopup(ZelCPopup::kPictureItems, CRect(0, 0, 10, 10));
        popup->addImageItems(makeStrip(rows, c.width, c.height / rows, c.twoColumns), c.count, c.twoColumns);
        ASSERT_EQ(popup->getItemCount(), c.itemWidth ? c.count : 0u) << c.width;
        int32_t id = 0;
        for (const PopupItem& item : *popup->getItems())
        {
            ASSERT_EQ(item.id, id);
            ASSERT_EQ(CPoint(item.image->getWidth(), item.image->getHeight()), CPoint(c.itemWidth, c.itemHeight));
            ASSERT_EQ(item.highlightImage != nullptr, c.twoColumns);
            for (uint32_t corner : {0u, 1u}) // top-left and bottom-right pixels
            {
                const uint32_t x = corner * (c.itemWidth - 1), y = corner * (c.itemHeight - 1);
                EXPECT_EQ(canvasPixel(item.image, x, y), tone(id)) << id;
                EXPECT_TRUE(!c.twoColumns || canvasPixel(item.highlightImage, x, y) == tone(id, true)) << id;
            }
            ++id;
        }
    }
}

TEST_F(PopupFixture, ValuesNamesAndStepping)
{
    ZelCPopup* list = addPopup(ZelCPopup::kTextItems, CRect(0, 0, 10, 10));
    auto* orphan = new ZelCPopup(ZelCPopup::kPictureItems, CRect(0, 0, 10, 10), nullptr, nullptr, nullptr, 1);
    orphan->addBitmapItem("a", makeStrip(1, 16, 8), 5); // bitmap items need a frame
    EXPECT_EQ(orphan->getItemCount(), 0u);
    orphan->forget();
    list->addBitmapItem("a", makeStrip(1, 16, 8), 0);
    list->addSeparator(nullptr);
    list->addSeparator("title");
    list->addItem("Saw", 4);
    list->addItem("Square", 4);
    int32_t id = 0;
    EXPECT_EQ(list->getValue(), 0.0f); // nothing selected reads as 0, as item 0 does
    EXPECT_FALSE(list->getSelected(id));
    EXPECT_EQ(id, ZelCPopup::kNone);
    list->setValue(0.0f);
    EXPECT_TRUE(list->getSelected(id)); // item 0 told apart from nothing
    EXPECT_FALSE(list->selectPrevious());
    EXPECT_TRUE(list->selectNext()); // over both separators
    EXPECT_EQ(list->getValue(), 4.0f);
    EXPECT_FALSE(list->selectNext()); // the second item 4 is no step
    EXPECT_TRUE(list->selectPrevious());
    EXPECT_EQ(list->getValue(), 0.0f);
    list->setValue(3.95f); // floor of 4.05
    list->setValue(77.0f); // no such item: unchanged
    EXPECT_FALSE(list->selectItem(40));
    EXPECT_EQ(list->getValue(), 4.0f);
    list->setValue(-0.5f); // id -1: the first separator
    EXPECT_EQ(selectedOf(list), -1);
    EXPECT_EQ(listener.changes, 0); // selecting never notifies

    list->setItemName("Pulse", 4);
    list->setItemName("None", 9);
    CFixedString name;
    EXPECT_TRUE(list->getItemName(&name, 4));
    EXPECT_STREQ(name.c_str(), "Pulse");
    EXPECT_STREQ(list->getItems()->back().name.data(), "Square");
    EXPECT_FALSE(list->getItemName(&name, 9));
    EXPECT_FALSE(list->getItemName(nullptr, 4));
    list->clearItems(false);
    EXPECT_EQ(list->getItemCount(), 0u);
    EXPECT_FALSE(list->getItemName(&name, 4));
    click(5, 5); // an empty list opens no grid
    EXPECT_FALSE(list->isOpen());
    EXPECT_EQ(observer.openCount, 0);
}

// ---- layout and placing -------------------------------------------------------------------

TEST_F(PopupFixture, ChooserCellsFollowTheWorkedExample)
{
    ZelCPopup* popup = addPictures(CRect(80, 44, 148, 76), 40, 68, 32, 8, 1);
    click(90, 50);
    ASSERT_TRUE(popup->isOpen());
    EXPECT_EQ(popup->getColumnCount(), 5u);
    EXPECT_EQ(CPoint(popup->getListWidth(), popup->getListHeight()), CPoint(352, 263));
    EXPECT_EQ(popup->getDropDown()->getViewSize(), CRect(80, 79, 436, 346));
    for (const PopupItem& item : *popup->getItems())
        EXPECT_EQ(item.cell, CRect(cellOf(item.id), CPoint(68, 32))) << item.id;
}

TEST_F(PopupFixture, TextListsSeparatorsAndAlignment)
{
    ZelCPopup* popup = addPopup(ZelCPopup::kTextItems, CRect(10, 10, 50, 26)); // spacing 7
    popup->listFillColor = kFill;
    popup->addItem("i", 0);
    const uint32_t shortWidth = popup->getCellWidth();
    popup->addItem("a much longer name", 1);
    EXPECT_EQ(popup->getCellHeight(), 16u); // text items are 16 pixels tall
    EXPECT_GT(popup->getCellWidth(), shortWidth);
    EXPECT_GT(shortWidth, 3u);

    auto cellPicture = makeStrip(1, 40, 16); // the pop-up holds no reference of its own
    popup->setCellBitmap(cellPicture);       // cells of 40 x 16
    popup->addSeparator(nullptr);
    popup->addItem("two", 2);
    popup->addSeparator("title");
    popup->addItem("three", 3);
    click(20, 15); // the grid opens below: cells from (18, 37)
    const CRect expected[] = {{0, 0, 40, 16}, {0, 23, 40, 39}, {0, 46, 40, 47}, // a separator: 1 pixel, 7 down
        {0, 53, 40, 69}, {0, 76, 40, 92}, {0, 99, 40, 115}}; // a named one is as tall as an item
    const CRect* cell = expected;
    for (const PopupItem& item : *popup->getItems())
        EXPECT_EQ(item.cell, CRect(*cell++).offset(18, 37));
    EXPECT_EQ(popup->getListHeight(), 115u);
    // The separator's line lies 4 pixels into its cell.
    EXPECT_EQ(framePixel(frame, 38, 37 + 49), kFill);
    EXPECT_EQ(framePixel(frame, 38, 37 + 50), kLine);
    EXPECT_EQ(framePixel(frame, 38, 37 + 51), kFill);
    // Item texts are left-aligned in their cells.
    const auto ink = inkColumns(CRect(18, 37, 58, 53), kFill);
    EXPECT_GE(ink.first, 18);
    EXPECT_LE(ink.first, 20);
    EXPECT_LT(ink.second, 24);
    popup->closeDropDown(); // the closed control shows the selected name right-aligned
    popup->setValue(3);
    const auto closedInk = inkColumns(CRect(10, 10, 50, 26), kBlackCColor);
    EXPECT_GT(closedInk.first, 15);
    EXPECT_GE(closedInk.second, 46);
}

TEST_F(PopupFixture, GridIsPlacedWhereThereIsRoom)
{
    // Four pictures of 20 x 16 in one column, spacing 2: the grid is 20 x 70 and needs
    // 74 pixels of room (listHeight + 2 x spacing).
    struct Case { const char* name; CRect popup; CCoord clickX; CRect grid; };
    const Case cases[] = {{"below", CRect(10, 10, 34, 22), 15, CRect(10, 25, 36, 101)},
        {"aboveNearTheBottom", CRect(10, 150, 34, 162), 15, CRect(10, 73, 36, 149)},
        // Room below exactly the grid plus twice the spacing, more above: above.
        {"exactRoomOpensAbove", CRect(10, 110, 34, 122), 15, CRect(10, 33, 36, 109)},
        {"onePixelMoreOpensBelow", CRect(10, 109, 34, 121), 15, CRect(10, 124, 36, 200)},
        {"rightAligned", CRect(276, 10, 296, 22), 280, CRect(272, 25, 298, 101)},
        // At least one and a half grids wide: the grid starts at the click.
        {"wideOpensAtTheClick", CRect(10, 10, 40, 22), 25, CRect(25, 25, 51, 101)},
        // Reaching into the frame's 4-pixel margin gives negative rooms, compared signed.
        {"negativeRoomBelow", CRect(10, 190, 34, 199), 15, CRect(10, 113, 36, 189)},
        {"negativeRoomRight", CRect(276, 10, 299, 22), 280, CRect(275, 25, 301, 101)}};
    frame->setSize(300, 200);
    for (const Case& c : cases)
    {
        ZelCPopup* popup = addPictures(c.popup, 4, 20, 16, 0, 2);
        click(c.clickX, c.popup.top + 5);
        ASSERT_TRUE(popup->isOpen()) << c.name;
        EXPECT_EQ(popup->getDropDown()->getViewSize(), c.grid) << c.name;
        // The first cell lies inside the border of spacing + 1 pixels.
        EXPECT_EQ(popup->getItems()->front().cell.getTopLeft(), c.grid.getTopLeft() + CPoint(3, 3)) << c.name;
        popup->closeDropDown();
        frame->removeView(popup);
    }
}

TEST_F(PopupFixture, PlaceIsWorkedOutOnceAndKeptUntilTheItemsChange)
{
    ZelCPopup* popup = addPictures(CRect(10, 10, 40, 22), 4, 20, 12, 0, 2);
    click(25, 15); // wide: opens at the click
    const CRect first = popup->getDropDown()->getViewSize();
    mouseDown(frame, 500, 500); // closes
    EXPECT_FALSE(popup->isOpen());
    mouseDown(frame, 12, 15);
    EXPECT_EQ(popup->getDropDown()->getViewSize(), first);
    popup->closeDropDown();
    popup->addImageItems(makeStrip(1, 40, 12, true), 1, true); // layout pending again
    EXPECT_TRUE(popup->isLayoutPending());
    mouseDown(frame, 12, 15);
    EXPECT_EQ(popup->getDropDown()->getViewSize().left, 12);
}

// Measuring again or a new cell size lays the grid out again: an open grid at once, a
// closed one at its next opening. The cells stay where they are drawn and pointed at.
TEST_F(PopupFixture, CellChangesLayTheGridOutAgain)
{
    // Cells first 68 x 40 from a cell bitmap, then 68 x 32 as the pictures.
    auto tall = makeStrip(1, 68, 40), fitting = makeStrip(1, 68, 32);
    struct Case { const char* name; bool open; CBitmap* cellsBefore; std::function<void(ZelCPopup*)> change; };
    const Case cases[] = {{"remeasureOpen", true, nullptr, [](ZelCPopup* p) { p->remeasureItems(); }},
        {"remeasureClosed", false, nullptr, [](ZelCPopup* p) { p->remeasureItems(); }},
        {"cellBitmapOpen", true, tall, [&](ZelCPopup* p) { p->setCellBitmap(fitting); }},
        {"cellBitmapClosed", false, tall, [&](ZelCPopup* p) { p->setCellBitmap(fitting); }}};
    for (const Case& c : cases)
    {
        ZelCPopup* chooser = addChooser();
        chooser->setCellBitmap(c.cellsBefore);
        click(90, 50);
        if (!c.open)
            mouseDown(frame, 900, 600); // closes; the place stays worked out
        c.change(chooser);
        if (!c.open)
            click(90, 50);
        ASSERT_TRUE(chooser->isOpen()) << c.name;
        EXPECT_EQ(chooser->getDropDown()->getViewSize(), CRect(80, 79, 436, 346)) << c.name;
        for (int i : {0, 13, 39})
        {
            EXPECT_EQ(framePixel(frame, cellOf(i).x + 10, cellOf(i).y + 10), tone(i)) << c.name << " item " << i;
            moveTo(centreOf(i));
            EXPECT_EQ(chooser->getHoveredId(), i) << c.name;
        }
        chooser->closeDropDown();
        frame->removeView(chooser);
    }
}

// The pop-up holds a reference on its cell bitmap from setting it until it is replaced or
// the pop-up is destroyed; a null bitmap changes nothing.
TEST_F(PopupFixture, CellBitmapIsHeldWhileItIsTheCellBitmap)
{
    ZelCPopup* popup = addPopup(ZelCPopup::kPictureItems, CRect(300, 100, 340, 120), 0, 1);
    SharedPointer<CBitmap> first = makeStrip(1, 8, 8), second = makeStrip(1, 8, 8);
    const int32_t own = first->getNbReference();
    struct Step { std::function<void()> act; int32_t first, second; };
    const Step steps[] = {{[&] { popup->setCellBitmap(first); }, own + 1, own},
        {[&] { popup->setCellBitmap(second); }, own, own + 1},
        {[&] { popup->setCellBitmap(nullptr); }, own, own + 1},
        {[&] { frame->removeView(popup); }, own, own}};
    for (const Step& step : steps)
    {
        step.act();
        EXPECT_EQ(std::pair(first->getNbReference(), second->getNbReference()), std::pair(step.first, step.second));
    }
}

// A caller may let its own reference on the cell bitmap go: the open grid still draws it
// behind the unhighlighted pictures.
TEST_F(PopupFixture, CellBitmapOutlivesTheCallersReference)
{
    ZelCPopup* popup = addPopup(ZelCPopup::kPictureItems, CRect(300, 100, 340, 120), 0, 1);
    auto* picture = new CPixelCanvas(8, 8, 1, 1);
    picture->setCoverage(0.0f); // nothing drawn: the cell bitmap shows through
    popup->addImageItem(nullptr, picture, 0);
    CBitmap* cells = makeStrip(1, 8, 8, false, 5).take(); // the caller's one reference
    popup->setCellBitmap(cells);
    cells->forget();
    click(310, 110);
    const CRect cell = popup->getItems()->front().cell;
    EXPECT_EQ(framePixel(frame, cell.left + 4, cell.top + 4), tone(5));
}

// ---- drawing --------------------------------------------------------------------------------

TEST_F(PopupFixture, GridShowsPlainItemsTheSelectionHighlightedAndColumnDividers)
{
    ZelCPopup* chooser = addChooser();
    chooser->setValue(9);
    click(90, 50);
    auto itemPixel = [&](int i) { return framePixel(frame, cellOf(i).x + 30, cellOf(i).y + 15); };
    EXPECT_EQ(itemPixel(0), tone(0));
    EXPECT_EQ(itemPixel(9), tone(9, true));
    EXPECT_EQ(itemPixel(10), tone(10));
    // Divider between columns 0 and 1: x = 80 + 1 + 68 + 2 = 151, in listFrameColor.
    EXPECT_EQ(framePixel(frame, 151, 200), kLine);
    EXPECT_EQ(framePixel(frame, 150, 200), chooser->listFillColor);
    moveTo(centreOf(10)); // hovering highlights as well
    EXPECT_EQ(itemPixel(10), tone(10, true));
    chooser->closeDropDown();
    chooser->drawClosed = 1; // the closed control shows the selected picture when asked to
    chooser->setValue(3);
    EXPECT_EQ(framePixel(frame, 100, 60), tone(3));
    chooser->drawClosed = 0;
    chooser->setValue(4);
    EXPECT_EQ(framePixel(frame, 100, 60), kBlackCColor); // the frame's background
}

// The highlight behind the selected item grows past its cell by an amount set by the
// spacing, within the grid: the grid's frame line lies spacing + 1 pixels left of and
// above the cells, spacing pixels right of and below them.
TEST_F(PopupFixture, HighlightGrowsWithTheSpacing)
{
    struct Case { uint32_t spacing; CCoord sideways, upAndDown; };
    const Case cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 2, 1}, {3, 5, 3}, {9, 5, 3}};
    for (const Case& c : cases)
    {
        ZelCPopup* popup = addPictures(CRect(300, 100, 340, 120), 1, 40, 20, 0, c.spacing);
        popup->listFillColor = kFill;
        popup->highlightFillColor = kHighlight;
        popup->setValue(0);
        click(310, 110);
        const CRect cell = popup->getItems()->front().cell;
        const CCoord p = c.spacing, midX = cell.left + 20, midY = cell.top + 10;
        // The last pixel of the grown rectangle on each side, as far as the grid reaches.
        const CCoord gx = std::min(c.sideways, p + 1), gy = std::min(c.upAndDown, p + 1);
        const CColor insideX = gx ? kHighlight : tone(0, true), insideY = gy ? kHighlight : tone(0, true);
        EXPECT_EQ(framePixel(frame, cell.left - gx, midY), insideX) << p;
        EXPECT_EQ(framePixel(frame, cell.right - 1 + gx, midY), insideX) << p;
        EXPECT_EQ(framePixel(frame, midX, cell.top - gy), insideY) << p;
        EXPECT_EQ(framePixel(frame, midX, cell.bottom - 1 + gy), insideY) << p;
        // The first pixel past it: the fill, or the frame line when that comes next.
        auto outside = [&](CCoord grow) { return grow == p ? kLine : kFill; };
        if (c.sideways <= p)
        {
            EXPECT_EQ(framePixel(frame, cell.left - c.sideways - 1, midY), outside(c.sideways)) << p;
            EXPECT_EQ(framePixel(frame, cell.right + c.sideways, midY), outside(c.sideways)) << p;
        }
        EXPECT_EQ(framePixel(frame, midX, cell.top - c.upAndDown - 1), outside(c.upAndDown)) << p;
        EXPECT_EQ(framePixel(frame, midX, cell.bottom + c.upAndDown), outside(c.upAndDown)) << p;
        popup->closeDropDown();
        frame->removeView(popup);
    }
}

// Unhighlighted pictures stand on the list's fill colour, also after a highlight.
TEST_F(PopupFixture, PicturesAreComposedOverTheFillColour)
{
    ZelCPopup* popup = addPopup(ZelCPopup::kPictureItems, CRect(300, 100, 340, 120), 0, 1);
    popup->listFillColor = CColor(200, 100, 0, 255);
    for (int32_t id = 0; id < 2; ++id)
    {
        auto* picture = new CPixelCanvas(8, 8, 1, 1);
        picture->setCoverage(0.0f);
        for (uint32_t x = 2; x < 6; ++x)
            for (uint32_t y = 2; y < 6; ++y)
                picture->plotSet(x, y, 0, 100, 200, 0.5f); // half covered
        popup->addImageItem(nullptr, picture, id);
    }
    click(310, 110);
    const CRect cell = popup->getItems()->front().cell; // 8 x 16: items are at least 16 tall
    auto check = [&](const char* when) {
        const CColor blend = framePixel(frame, cell.left + 3, cell.top + 3); // half (0, 100, 200)
        EXPECT_LE(std::abs(blend.red - 100) + std::abs(blend.green - 100) + std::abs(blend.blue - 100), 4) << when;
        EXPECT_EQ(framePixel(frame, cell.left, cell.top), popup->listFillColor) << when;
    };
    check("never highlighted");
    moveTo(CPoint(cell.left + 4, cell.top + 4)); // highlights item 0
    moveTo(CPoint(cell.left + 4, cell.top + 21)); // then item 1 instead
    ASSERT_EQ(popup->getHoveredId(), 1);
    check("after a highlight");
}

// ---- choosing with the mouse ---------------------------------------------------------------

// Mouse events on the chooser, each 'd' down, 'u' up, 'm' move, 'M' move with the left
// button held, at an item's centre ("d13"), the pop-up ("dP") or far outside ("dX").
TEST_F(PopupFixture, OpenHoverChooseAndClose)
{
    struct Case { const char* name; int32_t before; const char* steps; bool open; int32_t after; const char* log; };
    const Case cases[] = {{"clickOpens", ZelCPopup::kNone, "dP uP", true, ZelCPopup::kNone, "begin end"},
        {"clickOutsideClosesWithoutChoosing", ZelCPopup::kNone, "dP uP m3 dX uX", false, ZelCPopup::kNone,
            "begin end"},
        {"clickOnAnItemChooses", ZelCPopup::kNone, "dP uP m13 d13 u13", false, 13, "begin end begin changed end"},
        {"pressDragRelease", 2, "dP M5 M21 u21", false, 21, "begin end begin changed end"},
        {"releaseOverTheSelectedItem", 7, "dP M7 u7", true, 7, "begin end"},
        // The hover of an earlier opening is gone: the release over the pop-up chooses nothing.
        {"earlierHoverChoosesNothing", 2, "dP uP m30 dX dP uP", true, 2, "begin end begin end"}};
    ZelCPopup* chooser = addChooser(); // nothing selected in the first three cases
    for (const Case& c : cases)
    {
        listener = RecordingListener();
        if (c.before != ZelCPopup::kNone)
            chooser->setValue(static_cast<float>(c.before));
        std::istringstream steps(c.steps);
        for (std::string s; steps >> s;)
        {
            const CPoint p = s[1] == 'P' ? CPoint(90, 50) : s[1] == 'X' ? CPoint(900, 600) : centreOf(std::stoi(&s[1]));
            if (s[0] == 'd')
                mouseDown(frame, p.x, p.y);
            else if (s[0] == 'u')
                mouseUp(frame, p.x, p.y);
            else
                moveTo(p, s[0] == 'M' ? kLButton : 0);
        }
        EXPECT_EQ(chooser->isOpen(), c.open) << c.name;
        EXPECT_EQ(frame->isChild(chooser->getDropDown()), c.open) << c.name;
        EXPECT_EQ(chooser->getTimer()->isRunning(), c.open) << c.name;
        EXPECT_EQ(observer.openCount, c.open ? 1 : 0) << c.name;
        EXPECT_EQ(selectedOf(chooser), c.after) << c.name;
        EXPECT_EQ(listener.log, c.log) << c.name;
        EXPECT_EQ(listener.values, std::vector<float>(listener.changes, static_cast<float>(c.after))) << c.name;
        chooser->closeDropDown();
    }
}

TEST_F(PopupFixture, HoverFollowsTheMouseOverTheGrid)
{
    ZelCPopup* chooser = addChooser();
    click(90, 50);
    struct Case { CPoint where; int32_t hovered; };
    const Case cases[] = {{centreOf(0), 0}, {centreOf(13), 13},
        {CPoint(82 + 67, 81 + 31), 0},                // last pixel of item 0's cell
        {CPoint(82 + 68, 81 + 10), 0},                // first gap column: item 0's cell grown by the spacing
        {CPoint(82 + 69, 81 + 10), ZelCPopup::kNone}, // the divider's column belongs to no cell
        {CPoint(82 + 70, 81 + 10), 8},                // the next column's cell grown by the spacing
        {CPoint(82 + 30, 81 + 32), 0},                // the row gap belongs to the cell above first
        {CPoint(85, 60), ZelCPopup::kNone}};          // over the pop-up itself, which tracks the hover too
    for (const Case& c : cases)
    {
        moveTo(c.where);
        EXPECT_EQ(chooser->getHoveredId(), c.hovered) << c.where.x << "," << c.where.y;
    }
}

TEST_F(PopupFixture, ClicksCloseTheGridsTheyMissUnlessBlocked)
{
    ZelCPopup* chooser = addChooser();
    ZelCPopup* other = addChooser(CRect(500, 44, 568, 76));
    chooser->openDropDown(CPoint(90, 50));
    other->openDropDown(CPoint(510, 50));
    ASSERT_EQ(observer.openCount, 2);
    mouseDown(frame, 81, 80); // on the first grid's border, no item hovered
    EXPECT_TRUE(chooser->isOpen());
    EXPECT_FALSE(other->isOpen());
    EXPECT_EQ(observer.openCount, 1);
    other->openDropDown(CPoint(510, 50));
    moveTo(centreOf(4));
    click(centreOf(4).x, centreOf(4).y);
    EXPECT_FALSE(chooser->isOpen() || other->isOpen());
    EXPECT_EQ(observer.openCount, 0);

    click(90, 50); // a blocked observer swallows clicks and closes nothing
    observer.blockFlag = 1;
    EXPECT_EQ(mouseDown(frame, 900, 20), kMouseMoveEventHandledButDontNeedMoreEvents);
    EXPECT_EQ(mouseMoved(frame, centreOf(3).x, centreOf(3).y), kMouseEventHandled);
    EXPECT_EQ(chooser->getHoveredId(), ZelCPopup::kNone); // the move never reached the grid
    EXPECT_TRUE(observer.closePopupsAt(CPoint(900, 20)));
    EXPECT_TRUE(chooser->isOpen());
    observer.blockFlag = 0;
    EXPECT_TRUE(observer.closePopupsAt(CPoint(900, 20)));
    EXPECT_FALSE(chooser->isOpen());
}

TEST_F(PopupFixture, ObserverListsRegistrationsAndCopiesKeepTheSettings)
{
    ZelCPopup* chooser = addChooser();
    chooser->setValue(5);
    observer.addPopup(chooser);
    observer.addPopup(nullptr);
    EXPECT_EQ(observer.getPopups(), (std::list<ZelCPopup*> {chooser, chooser}));
    auto* copy = static_cast<ZelCPopup*>(chooser->newCopy());
    EXPECT_EQ(observer.getPopups().front(), copy); // new registrations go to the front
    EXPECT_EQ(copy->getItemCount(), 0u);
    EXPECT_EQ(selectedOf(copy), ZelCPopup::kNone);
    EXPECT_EQ(std::vector<uint32_t>({copy->itemsPerColumn, copy->wheelStepping, copy->drawClosed, copy->spacing}),
        std::vector<uint32_t>({8, 1, 0, 1}));
    EXPECT_EQ(copy->listFillColor, chooser->listFillColor);
    EXPECT_NE(copy->getDropDown(), chooser->getDropDown());
    observer.removePopup(chooser);
    copy->forget(); // unregisters itself
    EXPECT_TRUE(observer.getPopups().empty());
    observer.removePopup(nullptr);
    observer.addPopup(chooser); // back for the tear-down
}

TEST_F(PopupFixture, WheelStepsTheSelection)
{
    struct Case { uint8_t stepping; int32_t start; float distance; int32_t after; int changes; };
    const Case cases[] = {{1, 5, 1.0f, 6, 1}, {1, 5, -1.0f, 4, 1},
        {1, 0, -1.0f, 0, 1}, {1, 39, 1.0f, 39, 1}, // at the ends: no wrap, still reported
        {1, 5, 0.0f, 5, 1},                         // no step, still reported
        {0, 5, 1.0f, 5, 0},                         // stepping off: swallowed
        {1, ZelCPopup::kNone, 1.0f, ZelCPopup::kNone, 0}}; // nothing selected: swallowed
    ZelCPopup* chooser = addChooser();
    for (const Case& c : cases)
    {
        listener = RecordingListener();
        chooser->wheelStepping = c.stepping;
        if (c.start == ZelCPopup::kNone)
            chooser->clearItems(false); // nothing selected, nothing to step to
        chooser->setValue(static_cast<float>(c.start));
        EXPECT_TRUE(wheel(frame, 90, 50, c.distance));
        EXPECT_EQ(selectedOf(chooser), c.after) << c.start << " " << c.distance;
        EXPECT_EQ(listener.changes, c.changes) << c.start << " " << c.distance;
    }
}

TEST_F(PopupFixture, TimerDropsTheHoverOffTheGridAndClosesWhenTheMouseLeavesTheFrame)
{
    TestClock clock;
    ZelCPopup* chooser = addChooser();
    click(90, 50);
    moveTo(centreOf(6));
    TestClock::advance(frame, 250); // a tick with the mouse on the grid keeps the hover
    EXPECT_EQ(chooser->getHoveredId(), 6);
    moveTo(CPoint(700, 500)); // off the grid, over no view: nobody tracks the hover
    TestClock::advance(frame, 249);
    EXPECT_EQ(chooser->getHoveredId(), 6);
    TestClock::advance(frame, 1);
    EXPECT_EQ(chooser->getHoveredId(), ZelCPopup::kNone);
    EXPECT_TRUE(chooser->isOpen());
    moveTo(CPoint(-5, 300)); // out of the frame
    TestClock::advance(frame, 250);
    EXPECT_FALSE(chooser->isOpen() || chooser->getTimer()->isRunning());
    EXPECT_EQ(observer.openCount, 0);
}

// The observer's view mouse listener half: a view's gestures reach the editor's hooks.
TEST(FrameMouseListener, GesturesReachTheEditorHooksUnlessBlocked)
{
    static std::string log; // the editor's hooks and the view's mouse events, in order
    struct HookEditor : VSTGUIEditorInterface
    {
        void beginEdit(EditHookIndex index) override { log += "begin" + std::to_string(index) + " "; }
        void endEdit(EditHookIndex index) override { log += "end" + std::to_string(index) + " "; }
    } editor;
    struct LoggingView : CView
    {
        using CView::CView;
        CMouseEventResult onMouseDown(CPoint&, const CButtonState&) override { return log += "down ", kMouseEventHandled; }
        CMouseEventResult onMouseMoved(CPoint&, const CButtonState&) override { return log += "move ", kMouseEventHandled; }
        CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override { return log += "up ", kMouseEventHandled; }
    };
    log.clear();
    CFrame* frame = makeFrame(200, 100, &editor);
    ZelCFrameMuseObserver observer;
    auto* view = new LoggingView(CRect(10, 10, 50, 50));
    view->registerViewMouseListener(&observer);
    frame->addView(view);
    for (uint8_t blocked : {0, 1}) // blocked, the press and the moves are swallowed
    {
        observer.blockFlag = blocked;
        mouseDown(frame, 20, 20);
        mouseMoved(frame, 25, 20, kLButton);
        mouseUp(frame, 25, 20);
    }
    observer.blockFlag = 0;
    mouseDown(frame, 20, 20);
    frame->onMouseCancel(); // a cancelled gesture ends as well
    EXPECT_EQ(log, "begin-1 down move end-1 up end-1 up begin-1 down end-1 ");
    view->unregisterViewMouseListener(&observer);
    frame->close();
}
