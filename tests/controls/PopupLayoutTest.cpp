// Pop-up list: strip cutting, layout, placing, measuring and drawing.
#include "ControlTestSupport.h"
#include "controls/ZelCFrameMuseObserver.h"
#include "controls/ZelCPopup.h"
#include "controls/ZelCPopupControl.h"
#include "graphics/CPixelCanvas.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

// The colour bytes of pixel (x, y) of a canvas's drawing layer.
CColor canvasPixel(const CPixelCanvas* canvas, uint32_t x, uint32_t y)
{
    uint8_t r = 0, g = 0, b = 0;
    canvas->getPixel(x, y, r, g, b);
    return CColor(r, g, b, 255);
}

// A frame with an observer; pop-ups made here are closed and released by TearDown.
class PopupFixture : public ::testing::Test
{
protected:
    void SetUp() override { frame = makeFrame(1000, 672);
        frame->registerMouseObserver(&observer); }
    void TearDown() override
    {
        observer.closeAll();
        frame->close();
    }

    // A picture pop-up over rect, added to the frame, with n items of w x h cut from a strip.
    ZelCPopup* addPicturePopup(const CRect& rect, int n, CCoord w, CCoord h, uint32_t perColumn, uint32_t spacing)
    {
        auto* popup = new ZelCPopup(ZelCPopup::kPictureItems, rect, &listener, frame, &observer, 90);
        popup->itemsPerColumn = perColumn;
        popup->spacing = spacing;
        popup->addImageItems(makeStrip(n, 2 * w, h, true), static_cast<uint32_t>(n), true);
        frame->addView(popup);
        return popup;
    }

    CFrame* frame = nullptr;
    ZelCFrameMuseObserver observer;
    RecordingListener listener;
};

} // namespace

// ---- strip cutting --------------------------------------------------------------

struct StripCase
{
    CCoord width, height; // of the strip
    uint32_t count;
    bool twoColumns;
    uint32_t itemWidth, itemHeight; // 0, 0: nothing is cut
};

class PopupStripCut : public PopupFixture, public ::testing::WithParamInterface<StripCase>
{
};

TEST_P(PopupStripCut, ItemSizesAndIds)
{
    const StripCase& c = GetParam();
    auto* popup = new ZelCPopup(ZelCPopup::kPictureItems, CRect(0, 0, 10, 10), nullptr, frame, &observer, 90);
    auto strip = makeStrip(static_cast<int>(c.count ? c.count : 1), c.width, c.height / (c.count ? c.count : 1),
        c.twoColumns);
    popup->addImageItems(strip, c.count, c.twoColumns);
    if (c.itemWidth == 0)
    {
        EXPECT_EQ(popup->getItemCount(), 0u);
    }
    else
    {
        ASSERT_EQ(popup->getItemCount(), c.count);
        int32_t expectedId = 0;
        for (const PopupItem& item : *popup->getItems())
        {
            EXPECT_EQ(item.id, expectedId++);
            ASSERT_NE(item.image, nullptr);
            EXPECT_EQ(item.image->getWidth(), c.itemWidth);
            EXPECT_EQ(item.image->getHeight(), c.itemHeight);
            EXPECT_EQ(item.highlightImage != nullptr, c.twoColumns);
        }
    }
    popup->forget();
}

INSTANTIATE_TEST_SUITE_P(Strips, PopupStripCut,
    ::testing::Values(StripCase {408, 3840, 40, true, 204, 96}, // the master chooser strip
        StripCase {96, 960, 40, true, 48, 24},                  // "Small"
        StripCase {136, 1280, 40, true, 68, 32},                // "Medium"
        StripCase {200, 1920, 40, true, 100, 48},               // "Large"
        StripCase {304, 2880, 40, true, 152, 72},               // "Huge"
        StripCase {204, 3840, 40, false, 204, 96},              // one column
        StripCase {136, 1280, 0, true, 0, 0},                   // count 0
        StripCase {136, 1240, 40, true, 0, 0}));                // rows of 31 pixels

TEST_F(PopupFixture, StripRowsGiveThePlainAndTheHighlightedPicture)
{
    auto* popup = new ZelCPopup(ZelCPopup::kPictureItems, CRect(0, 0, 10, 10), nullptr, frame, &observer, 90);
    popup->addImageItems(makeStrip(40, 136, 32, true), 40, true);
    ASSERT_EQ(popup->getItemCount(), 40u);
    for (const PopupItem& item : *popup->getItems())
    {
        EXPECT_EQ(canvasPixel(item.image, 10, 10), tone(item.id)) << item.id;
        EXPECT_EQ(canvasPixel(item.highlightImage, 60, 20), tone(item.id, true)) << item.id;
    }
    popup->forget();
}

TEST_F(PopupFixture, StripWhoseItemWidthIsNoMultipleOfFourIsCroppedPerHalf)
{
    // Two halves of 51 pixels: the items are 48 wide, the highlight taken from column 51 on.
    auto* popup = new ZelCPopup(ZelCPopup::kPictureItems, CRect(0, 0, 10, 10), nullptr, frame, &observer, 90);
    popup->addImageItems(makeStrip(4, 102, 20, true), 4, true);
    ASSERT_EQ(popup->getItemCount(), 4u);
    const PopupItem& third = *std::next(popup->getItems()->begin(), 2);
    EXPECT_EQ(third.image->getWidth(), 48u);
    EXPECT_EQ(third.image->getHeight(), 20u);
    EXPECT_EQ(canvasPixel(third.image, 5, 5), tone(2));
    EXPECT_EQ(canvasPixel(third.highlightImage, 5, 5), tone(2, true));
    popup->forget();
}

TEST_F(PopupFixture, BitmapItemsNeedAFrame)
{
    auto picture = makeStrip(1, 16, 8, false);
    auto* withFrame = new ZelCPopup(ZelCPopup::kPictureItems, CRect(0, 0, 10, 10), nullptr, frame, &observer, 1);
    auto* withoutFrame = new ZelCPopup(ZelCPopup::kPictureItems, CRect(0, 0, 10, 10), nullptr, nullptr, nullptr, 1);
    withFrame->addBitmapItem("a", picture, 5);
    withoutFrame->addBitmapItem("a", picture, 5);
    EXPECT_EQ(withFrame->getItemCount(), 1u);
    EXPECT_EQ(withoutFrame->getItemCount(), 0u);
    withFrame->forget();
    withoutFrame->forget();
}

// ---- layout -------------------------------------------------------------------------

TEST_F(PopupFixture, MediumChooserLayoutMatchesTheWorkedExample)
{
    // The editor at its second size: cells 68 x 32, 8 per column, 40 items, spacing 1.
    ZelCPopup* popup = addPicturePopup(CRect(80, 44, 148, 76), 40, 68, 32, 8, 1);
    popup->layoutItems();
    EXPECT_EQ(popup->getColumnCount(), 5u);
    EXPECT_EQ(popup->getListWidth(), 352u);
    EXPECT_EQ(popup->getListHeight(), 263u);
    for (const PopupItem& item : *popup->getItems())
    {
        const int column = item.id / 8, row = item.id % 8;
        EXPECT_EQ(item.cell, CRect(71 * column, 33 * row, 71 * column + 68, 33 * row + 32)) << item.id;
    }
}

TEST_F(PopupFixture, WithoutItemsPerColumnAllItemsStandInOneColumn)
{
    ZelCPopup* popup = addPicturePopup(CRect(80, 44, 148, 76), 40, 68, 32, 0, 1);
    popup->layoutItems();
    EXPECT_EQ(popup->getColumnCount(), 1u);
    EXPECT_EQ(popup->getListWidth(), 68u);
    EXPECT_EQ(popup->getListHeight(), 40u * 33u - 1u);
}

TEST_F(PopupFixture, UnnamedSeparatorIsOnePixelAndMovesTheNextItemSevenDown)
{
    auto* popup = new ZelCPopup(ZelCPopup::kTextItems, CRect(10, 10, 50, 26), nullptr, frame, &observer, 1);
    popup->setCellBitmap(makeFrames(1, 40, 16)); // cells of 40 x 16
    popup->addItem("one", 0);
    popup->addSeparator(nullptr);
    popup->addItem("two", 2);
    popup->addSeparator("title");
    popup->addItem("three", 3);
    popup->layoutItems(); // spacing 7
    std::vector<CRect> cells;
    for (const PopupItem& item : *popup->getItems())
        cells.push_back(item.cell);
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ(cells[0], CRect(0, 0, 40, 16));
    EXPECT_EQ(cells[1], CRect(0, 23, 40, 24));
    EXPECT_EQ(cells[2], CRect(0, 30, 40, 46));
    EXPECT_EQ(cells[3], CRect(0, 53, 40, 69)); // a named separator is as tall as an item
    EXPECT_EQ(cells[4], CRect(0, 76, 40, 92));
    EXPECT_EQ(popup->getListHeight(), 92u);
    popup->forget();
}

TEST_F(PopupFixture, TextItemsAreSixteenPixelsTallAndAsWideAsTheLongestName)
{
    auto* popup = new ZelCPopup(ZelCPopup::kTextItems, CRect(10, 10, 50, 26), nullptr, frame, &observer, 1);
    popup->addItem("a", 0);
    const uint32_t shortWidth = popup->getCellWidth();
    popup->addItem("a much longer name", 1);
    EXPECT_EQ(popup->getCellHeight(), 16u);
    EXPECT_GT(popup->getCellWidth(), shortWidth);
    EXPECT_GT(shortWidth, 3u);
    popup->forget();
}

// ---- placing ---------------------------------------------------------------------------

// Four pictures of 20 x 16 in one column, spacing 2: the grid is 20 x 70 and needs
// 74 pixels of room (listHeight + 2 x spacing).
struct PopupPlaceCase
{
    const char* name;
    CRect popup;
    CPoint click;
    CRect grid; // the drop-down view's rectangle after opening
};

class PopupPlacing : public PopupFixture, public ::testing::WithParamInterface<PopupPlaceCase>
{
};

TEST_P(PopupPlacing, GridRectangle)
{
    const PopupPlaceCase& c = GetParam();
    frame->setSize(300, 200);
    ZelCPopup* popup = addPicturePopup(c.popup, 4, 20, 16, 0, 2);
    mouseDown(frame, c.click.x, c.click.y);
    mouseUp(frame, c.click.x, c.click.y);
    ASSERT_TRUE(popup->isOpen());
    EXPECT_EQ(popup->getListWidth(), 20u);
    EXPECT_EQ(popup->getListHeight(), 70u);
    EXPECT_EQ(popup->getDropDown()->getViewSize(), c.grid);
    // The first cell lies inside the border of spacing + 1 pixels.
    EXPECT_EQ(popup->getItems()->front().cell.getTopLeft(), CPoint(c.grid.left + 3, c.grid.top + 3));
}

INSTANTIATE_TEST_SUITE_P(Rooms, PopupPlacing,
    ::testing::Values(PopupPlaceCase {"below", CRect(10, 10, 34, 22), CPoint(15, 15), CRect(10, 25, 36, 101)},
        PopupPlaceCase {"aboveNearTheBottom", CRect(10, 150, 34, 162), CPoint(15, 155), CRect(10, 73, 36, 149)},
        // Room below exactly the grid plus twice the spacing, more above: above.
        PopupPlaceCase {"exactRoomOpensAbove", CRect(10, 110, 34, 122), CPoint(15, 115), CRect(10, 33, 36, 109)},
        // One pixel more below: below.
        PopupPlaceCase {"onePixelMoreOpensBelow", CRect(10, 109, 34, 121), CPoint(15, 115), CRect(10, 124, 36, 200)},
        PopupPlaceCase {"rightAligned", CRect(276, 10, 296, 22), CPoint(280, 15), CRect(272, 25, 298, 101)},
        // At least one and a half grids wide: the grid starts at the click.
        PopupPlaceCase {"wideOpensAtTheClick", CRect(10, 10, 40, 22), CPoint(25, 15), CRect(25, 25, 51, 101)},
        // Reaching into the frame's 4-pixel margin gives negative rooms, compared signed.
        PopupPlaceCase {"negativeRoomBelow", CRect(10, 190, 34, 199), CPoint(15, 195), CRect(10, 113, 36, 189)},
        PopupPlaceCase {"negativeRoomRight", CRect(276, 10, 299, 22), CPoint(280, 15), CRect(275, 25, 301, 101)}),
    [](const ::testing::TestParamInfo<PopupPlaceCase>& info) { return std::string(info.param.name); });

TEST_F(PopupFixture, MediumChooserOpensBelowWithCellsInFrameCoordinates)
{
    ZelCPopup* popup = addPicturePopup(CRect(80, 44, 148, 76), 40, 68, 32, 8, 1);
    mouseDown(frame, 90, 50);
    mouseUp(frame, 90, 50);
    ASSERT_TRUE(popup->isOpen());
    EXPECT_EQ(popup->getDropDown()->getViewSize(), CRect(80, 79, 436, 346));
    const PopupItem& ninth = *std::next(popup->getItems()->begin(), 9);
    EXPECT_EQ(ninth.cell, CRect(82 + 71, 81 + 33, 82 + 71 + 68, 81 + 33 + 32));
}

TEST_F(PopupFixture, PlaceIsWorkedOutOnceAndKeptUntilTheItemsChange)
{
    ZelCPopup* popup = addPicturePopup(CRect(10, 10, 40, 22), 4, 20, 12, 0, 2);
    mouseDown(frame, 25, 15); // wide: opens at the click
    mouseUp(frame, 25, 15);
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

// ---- drawing ----------------------------------------------------------------------------

TEST_F(PopupFixture, GridShowsPlainItemsTheSelectionHighlightedAndColumnDividers)
{
    ZelCPopup* popup = addPicturePopup(CRect(80, 44, 148, 76), 40, 68, 32, 8, 1);
    popup->listFillColor = popup->highlightFillColor = CColor(70, 90, 110, 255);
    popup->drawClosed = 0;
    popup->setValue(9);
    mouseDown(frame, 90, 50);
    mouseUp(frame, 90, 50);
    // Item 0 at (82, 81), item 9 at (153, 114), item 10 at (153, 147).
    EXPECT_EQ(framePixel(frame, 82 + 30, 81 + 15), tone(0));
    EXPECT_EQ(framePixel(frame, 153 + 30, 114 + 15), tone(9, true));
    EXPECT_EQ(framePixel(frame, 153 + 30, 147 + 15), tone(10));
    // Divider between columns 0 and 1: x = 80 + 1 + 68 + 2 = 151, in listFrameColor.
    EXPECT_EQ(framePixel(frame, 151, 200), popup->listFrameColor);
    EXPECT_EQ(framePixel(frame, 150, 200), popup->listFillColor);
    // Hovering item 10 highlights it as well.
    mouseMoved(frame, 153 + 30, 147 + 15);
    EXPECT_EQ(framePixel(frame, 153 + 30, 147 + 15), tone(10, true));
}

TEST_F(PopupFixture, ClosedControlShowsTheSelectedPictureWhenAskedTo)
{
    ZelCPopup* popup = addPicturePopup(CRect(80, 44, 148, 76), 40, 68, 32, 8, 1);
    popup->setValue(3);
    EXPECT_EQ(framePixel(frame, 100, 60), tone(3));
    popup->drawClosed = 0;
    popup->setValue(4);
    EXPECT_EQ(framePixel(frame, 100, 60), kBlackCColor); // the frame's background
}
