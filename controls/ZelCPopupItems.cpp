// ZelCPopup: the item list (adding, naming, clearing and measuring items) and the busy
// word that guards it.
#include "controls/ZelCPopup.h"

#include "controls/ZelCPopupControl.h"
#include "graphics/CPixelCanvas.h"
#include "platform/Timing.h"
#include "vstgui/lib/coffscreencontext.h"

namespace VSTGUI {

//------------------------------------------------------------------------
// The busy word. Everything runs on the UI thread, so it never blocks: structural
// changes wait for it (Sleep 1 ms) and then set it; walks set it without waiting.
void ZelCPopup::lockItems()
{
    uint32_t expected = 0;
    while (!itemsBusy.compare_exchange_strong(expected, 1))
    {
        expected = 0;
        Sleep(1);
    }
}

void ZelCPopup::markItemsBusy()
{
    itemsBusy.exchange(1);
}

void ZelCPopup::unlockItems()
{
    itemsBusy.exchange(0);
}

//------------------------------------------------------------------------
void ZelCPopup::addImageItem(const char* name, CPixelCanvas* image, CPixelCanvas* highlightImage, int32_t id)
{
    if (!items)
        items = new std::list<PopupItem>();
    lockItems();
    items->emplace_back();
    PopupItem& item = items->back();
    item.id = id;
    item.name.assign(name);
    item.image = image;
    item.highlightImage = highlightImage;
    unlockItems();
    layoutPending = 1;
    measureItem(item);
}

void ZelCPopup::addImageItem(const char* name, CPixelCanvas* image, int32_t id)
{
    addImageItem(name, image, nullptr, id);
}

void ZelCPopup::addItem(const char* name, int32_t id)
{
    addImageItem(name, nullptr, nullptr, id);
}

void ZelCPopup::addBitmapItem(const char* name, CBitmap* bitmap, CBitmap* highlightBitmap, int32_t id)
{
    if (!frame)
        return;
    CPixelCanvas* image = nullptr;
    CPixelCanvas* highlight = nullptr;
    if (bitmap && bitmap->getPlatformBitmap())
        image = new CPixelCanvas(bitmap, 1, 1);
    if (highlightBitmap && highlightBitmap->getPlatformBitmap())
        highlight = new CPixelCanvas(highlightBitmap, 1, 1);
    addImageItem(name, image, highlight, id);
}

void ZelCPopup::addBitmapItem(const char* name, CBitmap* bitmap, int32_t id)
{
    addBitmapItem(name, bitmap, nullptr, id);
}

void ZelCPopup::addSeparator(const char* name)
{
    PopupItem item;
    item.id = -1;
    item.name.assign(name);
    item.separator = 1;
    measureItem(item);
    if (!items)
        items = new std::list<PopupItem>();
    lockItems();
    items->push_back(item);
    unlockItems();
}

void ZelCPopup::addItemsFromStrip(CPixelCanvas* strip, uint32_t count, bool twoColumns)
{
    if (!strip || count == 0)
        return;
    uint32_t h = strip->getHeight() / count;
    uint32_t w = twoColumns ? strip->getWidth() / 2 : strip->getWidth();
    // The canvases need whole groups of 4 pixels in both directions.
    if (w == 0 || h == 0 || w % 4 != 0 || h % 4 != 0)
        return;
    for (uint32_t i = 0; i < count; ++i)
    {
        auto* image = new CPixelCanvas(static_cast<int32_t>(w), static_cast<int32_t>(h), 1, 1);
        image->copyRegion(strip, 0, i * h, 0, 0, true, false);
        CPixelCanvas* highlight = nullptr;
        if (twoColumns)
        {
            highlight = new CPixelCanvas(static_cast<int32_t>(w), static_cast<int32_t>(h), 1, 1);
            highlight->copyRegion(strip, w, i * h, 0, 0, true, false);
        }
        addImageItem("", image, highlight, static_cast<int32_t>(i));
    }
}

void ZelCPopup::addImageItems(CBitmap* strip, uint32_t count, bool twoColumns)
{
    if (!frame || !strip || !strip->getPlatformBitmap())
        return;
    uint32_t w = static_cast<uint32_t>(strip->getWidth());
    if (twoColumns)
        w /= 2;
    if (w % 4 == 0)
    {
        CPixelCanvas canvas(strip, 1, 1);
        addItemsFromStrip(&canvas, count, twoColumns);
        return;
    }
    // An item width that is no multiple of 4: the items are cut from a copy of the strip
    // whose halves are cropped to a multiple of 4 columns and whose height is rounded
    // down to a multiple of 4 rows.
    uint32_t w4 = w & ~3u;
    uint32_t h4 = static_cast<uint32_t>(strip->getHeight()) & ~3u;
    if (w4 == 0 || h4 == 0)
        return;
    uint32_t columns = twoColumns ? 2 : 1;
    auto context = COffscreenContext::create(frame, w4 * columns, h4);
    if (!context)
        return;
    for (uint32_t c = 0; c < columns; ++c)
        context->drawBitmap(strip, CRect(c * w4, 0, (c + 1) * w4, h4), CPoint(c * w, 0));
    context->endDraw();
    CPixelCanvas canvas(context->getBitmap(), 1, 1);
    addItemsFromStrip(&canvas, count, twoColumns);
}

void ZelCPopup::clearItems(bool destroying)
{
    selectedId = hoveredId = kNone;
    layoutPending = 0;
    cellWidth = cellHeight = measuredWidth = measuredHeight = 0;
    listWidth = listHeight = 0;
    columnCount = 1;
    if (!items)
        return;
    lockItems();
    for (PopupItem& item : *items)
    {
        delete item.image;
        delete item.highlightImage;
    }
    delete items;
    items = destroying ? nullptr : new std::list<PopupItem>();
    unlockItems();
}

void ZelCPopup::setItemName(const char* name, int32_t id)
{
    PopupItem* item = findItem(id);
    if (!item)
        return;
    markItemsBusy();
    item->name.assign(name);
    unlockItems();
}

bool ZelCPopup::getItemName(CFixedString* out, int32_t id)
{
    if (!out)
        return false;
    PopupItem* item = findItem(id);
    if (!item)
        return false;
    markItemsBusy();
    *out = item->name;
    unlockItems();
    return true;
}

void ZelCPopup::setCellBitmap(CBitmap* bitmap)
{
    if (bitmap)
    {
        cellBitmap = bitmap; // remembered for as long as it is drawn; the previous one is forgotten
        cellWidth = static_cast<uint32_t>(bitmap->getWidth());
        cellHeight = static_cast<uint32_t>(bitmap->getHeight());
        cellsChanged();
    }
    CView::setDirty(true);
}

void ZelCPopup::remeasureItems()
{
    markItemsBusy();
    measuredWidth = measuredHeight = 0;
    if (items)
        for (const PopupItem& item : *items)
            measureItem(item);
    unlockItems();
    layoutItems();
    cellsChanged();
}

} // namespace VSTGUI
