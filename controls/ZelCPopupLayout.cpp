// ZelCPopup: measuring, layout, placing and drawing of the closed control and the grid.
#include <algorithm>
#include <cmath>

#include "controls/ZelCFrameMuseObserver.h"
#include "controls/ZelCPopup.h"
#include "controls/ZelCPopupControl.h"
#include "graphics/CPixelCanvas.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/coffscreencontext.h"

namespace VSTGUI {

namespace {
constexpr uint32_t kDefaultCell = 120;   // pixels, when nothing was measured
constexpr uint32_t kMinItemHeight = 16;  // pixels of a text item
constexpr uint32_t kSeparatorAdvance = 7; // pixels an unnamed separator takes
constexpr double kFrameMargin = 4;        // pixels kept free at the frame's edges
constexpr double kGap = 3;                // pixels between the pop-up and its grid
} // namespace

uint32_t ZelCPopup::getCellWidth() const
{
    return cellWidth ? cellWidth : measuredWidth ? measuredWidth : kDefaultCell;
}

uint32_t ZelCPopup::getCellHeight() const
{
    return cellHeight ? cellHeight : measuredHeight ? measuredHeight : kDefaultCell;
}

void ZelCPopup::measureItem(const PopupItem& item)
{
    uint32_t textWidth = 0;
    if (frame && (style == kTextItems || style == kPictureAndTextItems))
    {
        CCoord fontHeight = listFont ? listFont->getSize() : 0;
        // Only measures text: 200 pixels wide is enough room for the context to exist.
        if (auto context = COffscreenContext::create(frame, 200, fontHeight))
        {
            context->setFont(listFont);
            CFixedString name(item.name);
            textWidth = static_cast<uint32_t>(context->getStringWidth(name.c_str())) + 3;
        }
    }
    uint32_t imageWidth = 0, imageHeight = 0;
    if ((style == kPictureItems || style == kPictureAndTextItems) && item.image)
    {
        imageWidth = item.image->getWidth();
        imageHeight = item.image->getHeight();
    }
    measuredWidth = std::max({measuredWidth, textWidth, imageWidth});
    measuredHeight = std::max({measuredHeight, imageHeight, kMinItemHeight});
}

void ZelCPopup::layoutItems()
{
    if (!frame || !observer)
        return;
    const uint32_t W = getCellWidth();
    const uint32_t H = getCellHeight();
    const uint32_t p = spacing;
    uint32_t tallest = 0;
    if (items)
    {
        markItemsBusy();
        uint32_t c = 0, r = 0, y = 0;
        for (PopupItem& item : *items)
        {
            uint32_t left = c * W + c + 2 * c * p;
            uint32_t top = y;
            uint32_t bottom;
            if (item.separator && item.name.length == 0)
            {
                bottom = top + 1;
                y += kSeparatorAdvance;
            }
            else
            {
                bottom = top + H;
                y += H + p;
            }
            tallest = std::max(tallest, y);
            columnCount = std::max(columnCount, c + 1);
            item.cell = CRect(left, top, left + W, bottom);
            if (++r == itemsPerColumn && itemsPerColumn != 0)
            {
                ++c;
                r = 0;
                y = 0;
            }
        }
        unlockItems();
    }
    listWidth = columnCount * (W + 1) + (2 * columnCount - 2) * p - 1;
    // An empty grid is 0 high rather than minus the spacing.
    listHeight = tallest > p ? tallest - p : 0;
}

void ZelCPopup::placeDropDown(const CPoint& where)
{
    if (!frame)
        return;
    markItemsBusy();
    const CRect F = frame->getViewSize();
    CRect P = getViewSize();
    P.offset(parentOffsetX, parentOffsetY);
    const int64_t p = spacing;
    // The rooms are signed: a pop-up reaching into the frame's margin has negative room.
    const int64_t roomBelow = static_cast<int64_t>((F.bottom - kFrameMargin) - P.bottom);
    const int64_t roomAbove = static_cast<int64_t>(P.top - (F.top + kFrameMargin));
    const int64_t roomRight = static_cast<int64_t>((F.right - kFrameMargin) - P.right);
    const int64_t roomLeft = static_cast<int64_t>(P.left - (F.left + kFrameMargin));
    const int64_t lw = listWidth, lh = listHeight;

    double y;
    if (roomBelow <= roomAbove && roomBelow <= lh + 2 * p)
        y = P.top - lh - 2 * p - kGap;
    else
        y = P.bottom + kGap;
    double x = P.left;
    if (roomRight <= roomLeft && roomRight <= lw + 2 * p)
        x = P.right - lw - 2 * p;
    // A pop-up at least one and a half grids wide opens its grid at the click.
    if (lw + lw / 2 <= static_cast<int64_t>(P.right - P.left))
        x = where.x;

    const double X = std::trunc(x) + p + 1;
    const double Y = std::trunc(y) + p + 1;
    if (items)
        for (PopupItem& item : *items)
            item.cell.offset(X, Y);
    unlockItems();
    if (dropDown)
    {
        CRect r(X - p - 1, Y - p - 1, X + lw + p + 1, Y + lh + p + 1);
        dropDown->setViewSize(r, true);
        dropDown->setMouseableArea(r);
    }
}

const PopupItem* ZelCPopup::itemAt(const CPoint& point)
{
    if (!items)
        return nullptr;
    markItemsBusy();
    const PopupItem* hit = nullptr;
    const double p = spacing;
    for (const PopupItem& item : *items)
    {
        if (item.separator)
            continue;
        CRect r(item.cell);
        r.left -= p;
        r.top -= p;
        r.right += p;
        r.bottom += p;
        if (r.pointInside(point))
        {
            hit = &item;
            break;
        }
    }
    unlockItems();
    return hit;
}

//------------------------------------------------------------------------
void ZelCPopup::draw(CDrawContext* context)
{
    const PopupItem* selected = selectedId == kNone ? nullptr : findItem(selectedId);
    if (drawClosed && selected)
    {
        const CRect R = getViewSize();
        context->setFont(closedFont);
        context->setFontColor(closedTextColor);
        CFixedString name(selected->name);
        if (style == kTextItems)
            context->drawString(name.c_str(), R, kRightText, true);
        else if (selected->image)
        {
            CPixelCanvas* image = selected->image;
            image->loadBitmapPixels(getBackground());
            image->compose(context, CRect(R.left, R.top, R.left + image->getWidth(), R.top + image->getHeight()));
        }
        if (style == kPictureAndTextItems)
            context->drawString(name.c_str(), R, kCenterText, true);
    }
    setDirty(false);
}

void ZelCPopup::drawList(CDrawContext* context)
{
    if (!dropDown)
        return;
    const CRect D = dropDown->getViewSize();
    const CCoord previousWidth = context->getLineWidth();
    context->setFillColor(listFillColor);
    context->drawRect(D, kDrawFilled);
    context->setFrameColor(listFrameColor);
    context->setLineWidth(1);
    context->drawRect(D, kDrawStroked);
    context->setFont(listFont);
    context->setLineWidth(previousWidth);

    const uint32_t W = getCellWidth();
    const uint32_t p = spacing;
    // How far the highlight grows past the cell, by spacing: left/right, top/bottom.
    const double growX = p == 0 ? 0 : p == 1 ? 1 : p == 2 ? 2 : 5;
    const double growY = p <= 1 ? 0 : p == 2 ? 1 : 3;

    if (items)
    {
        markItemsBusy();
        for (const PopupItem& item : *items)
        {
            const CRect& cell = item.cell;
            if (item.separator && item.name.length == 0)
            {
                context->setFillColor(listFrameColor);
                context->setFrameColor(listFrameColor);
                context->drawRect(CRect(cell.left, cell.top + 4, cell.right, cell.top + 5), kDrawFilledAndStroked);
                continue;
            }
            const bool highlighted = item.id == selectedId || item.id == hoveredId;
            if (highlighted)
            {
                context->setFillColor(highlightFillColor);
                context->drawRect(CRect(cell.left - growX, cell.top - growY, cell.right + growX, cell.bottom + growY),
                    kDrawFilled);
            }
            const CColor textColor = highlighted ? highlightTextColor : itemTextColor;
            CFixedString name(item.name);
            if (style == kTextItems)
            {
                context->setFontColor(textColor);
                context->drawString(name.c_str(), cell, kLeftText, true);
                continue;
            }
            if (item.image)
            {
                CPixelCanvas* picture = item.image;
                if (highlighted)
                {
                    if (item.highlightImage)
                        picture = item.highlightImage;
                    picture->loadBitmapPixels(nullptr);
                }
                else if (cellBitmap)
                    picture->loadBitmapPixels(cellBitmap);
                else
                    picture->setBackgroundColor(listFillColor.red, listFillColor.green, listFillColor.blue);
                CRect dest(cell);
                if (style == kPictureAndTextItems)
                    dest = CRect(cell.left, cell.top, cell.left + picture->getWidth(), cell.top + picture->getHeight());
                picture->compose(context, dest);
            }
            if (style == kPictureAndTextItems)
            {
                context->setFontColor(textColor);
                context->drawString(name.c_str(), cell, kCenterText, true);
            }
        }
        unlockItems();
    }

    // Column dividers in the middle of the gaps between columns.
    const double m = std::max<double>(static_cast<double>(p) - 3, 2);
    context->setFillColor(listFrameColor);
    context->setFrameColor(listFrameColor);
    for (uint32_t k = 1; k < columnCount; ++k)
    {
        const double x = D.left + 1 + k * W + 2.0 * k * p + (k - 1);
        context->drawRect(CRect(x, D.top + m, x + 1, D.bottom - m), kDrawFilledAndStroked);
    }
    setDirty(false);
}

} // namespace VSTGUI
