// ZelCPopup: construction, selection, mouse, wheel and timer.
// The item list is in ZelCPopupItems.cpp; layout, placing, measuring and drawing are
// in ZelCPopupLayout.cpp.
#include "controls/ZelCPopup.h"

#include <cmath>

#include "controls/ZelCFrameMuseObserver.h"
#include "controls/ZelCPopupControl.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"

namespace VSTGUI {

namespace {
constexpr uint32_t kTimerMs = 250; // hover and frame-exit checks while the grid is open
}

ZelCPopup::ZelCPopup(int32_t s, const CRect& rect, IControlListener* l, CFrame* f, ZelCFrameMuseObserver* o,
    int32_t t)
    : CControl(rect, l, t, nullptr), style(s), frame(f), observer(o)
{
    setViewSize(rect, false);
    setMouseableArea(rect);
    closedFont = kNormalFontSmall;
    listFont = kNormalFontSmall;
    items = new std::list<PopupItem>();
    timer = new CVSTGUITimer(this, kTimerMs, false);
    dropDown = new ZelCPopupControl(rect, this);
    layoutPending = 1;
    if (observer)
        observer->addPopup(this);
}

ZelCPopup::~ZelCPopup() noexcept
{
    closeDropDown();
    clearItems(true);
    if (dropDown)
    {
        // A grid still in the frame leaves it now, so that the frame keeps no pointer to it.
        if (CView* parent = dropDown->getParentView())
        {
            if (auto* container = dynamic_cast<CViewContainer*>(parent))
                container->removeView(dropDown, true);
        }
        dropDown->detachOwner();
        dropDown->forget();
        dropDown = nullptr;
    }
    if (timer)
    {
        timer->stop();
        timer->forget();
        timer = nullptr;
    }
    if (observer)
        observer->removePopup(this);
}

CBaseObject* ZelCPopup::newCopy() const
{
    auto* copy = new ZelCPopup(style, getViewSize(), listener, frame, observer, tag);
    copy->closedFont = closedFont;
    copy->listFont = listFont;
    copy->closedTextColor = closedTextColor;
    copy->listFillColor = listFillColor;
    copy->itemTextColor = itemTextColor;
    copy->listFrameColor = listFrameColor;
    copy->highlightFillColor = highlightFillColor;
    copy->highlightTextColor = highlightTextColor;
    copy->itemsPerColumn = itemsPerColumn;
    copy->drawClosed = drawClosed;
    copy->wheelStepping = wheelStepping;
    copy->spacing = spacing > 128 ? 128 : spacing; // pixels; a copy keeps at most 128
    return copy;
}

//------------------------------------------------------------------------
PopupItem* ZelCPopup::findItem(int32_t id)
{
    if (!items)
        return nullptr;
    markItemsBusy();
    PopupItem* found = nullptr;
    for (PopupItem& item : *items)
    {
        if (item.id == id)
        {
            found = &item;
            break;
        }
    }
    unlockItems();
    return found;
}

void ZelCPopup::applySelection(int32_t id)
{
    if (id == selectedId)
        return;
    selectedId = id;
    value = static_cast<float>(id);
    CView::setDirty(true);
}

bool ZelCPopup::selectItem(int32_t id)
{
    if (!findItem(id))
        return false;
    markItemsBusy();
    applySelection(id);
    unlockItems();
    return true;
}

void ZelCPopup::setValue(float v)
{
    selectItem(static_cast<int32_t>(std::floor(v + 0.1f)));
}

float ZelCPopup::getValue() const
{
    return selectedId == kNone ? 0.0f : static_cast<float>(selectedId);
}

bool ZelCPopup::getSelected(int32_t& id) const
{
    id = selectedId;
    return selectedId != kNone;
}

bool ZelCPopup::selectPrevious()
{
    if (!items || selectedId == kNone)
        return false;
    markItemsBusy();
    bool havePrevious = false;
    int32_t previous = 0;
    bool done = false;
    for (const PopupItem& item : *items)
    {
        if (item.separator)
            continue;
        if (item.id == selectedId && havePrevious)
        {
            applySelection(previous);
            done = true;
            break;
        }
        previous = item.id;
        havePrevious = true;
    }
    unlockItems();
    return done;
}

bool ZelCPopup::selectNext()
{
    if (!items || selectedId == kNone)
        return false;
    markItemsBusy();
    bool passed = false;
    bool done = false;
    for (const PopupItem& item : *items)
    {
        if (!passed)
        {
            passed = item.id == selectedId;
            continue;
        }
        if (!item.separator && item.id != selectedId)
        {
            applySelection(item.id);
            done = true;
            break;
        }
    }
    unlockItems();
    return done;
}

//------------------------------------------------------------------------
bool ZelCPopup::isOpen() const
{
    return dropDown && dropDown->isAttached();
}

void ZelCPopup::openDropDown(const CPoint& where)
{
    if (!frame || !observer || !dropDown || dropDown->isAttached())
        return;
    // An empty list has no grid to show.
    if (getItemCount() == 0)
        return;
    if (layoutPending)
        layOutAndPlace(where);
    // A hover left from an earlier opening would choose an item nobody pointed at.
    hoveredId = kNone;
    if (timer)
    {
        timer->start();
        // The frame holds a reference of its own while the grid is in it.
        dropDown->remember();
        frame->addView(dropDown);
    }
    observer->openCount += 1;
}

void ZelCPopup::layOutAndPlace(const CPoint& where)
{
    layoutItems();
    placeDropDown(where);
    placedAt = where;
    layoutPending = 0;
}

void ZelCPopup::cellsChanged()
{
    layoutPending = 1;
    // An open grid is laid out and placed again at once, as its opening would have: its
    // cells must stay in frame coordinates for hovering and drawing.
    if (!isOpen())
        return;
    layOutAndPlace(placedAt);
    dropDown->invalid();
}

void ZelCPopup::closeDropDown()
{
    if (!frame || !observer || !dropDown || !dropDown->isAttached())
        return;
    hoveredId = kNone;
    if (timer)
    {
        timer->stop();
        if (!frame->removeView(dropDown, true))
        {
            // Not a child of the frame after all: take it out of its parent.
            if (auto* container = dynamic_cast<CViewContainer*>(dropDown->getParentView()))
                container->removeView(dropDown, true);
        }
    }
    observer->openCount -= 1;
}

void ZelCPopup::chooseHovered()
{
    if (hoveredId == kNone)
        return;
    PopupItem* item = findItem(hoveredId);
    if (!item || item->separator)
        return;
    CBaseObjectGuard guard(this);
    selectItem(hoveredId);
    beginEdit();
    if (listener)
        listener->valueChanged(this);
    endEdit();
    if (observer)
        observer->closeAll();
    if (frame)
        frame->invalidRect(frame->getViewSize());
}

void ZelCPopup::trackHover(const CPoint& point)
{
    const PopupItem* hit = itemAt(point);
    if (hit && hit->id != hoveredId)
    {
        hoveredId = hit->id;
        if (dropDown)
            dropDown->invalid();
    }
    else if (!hit && hoveredId != kNone)
    {
        hoveredId = kNone;
        if (dropDown)
            dropDown->invalid();
    }
}

//------------------------------------------------------------------------
CMouseEventResult ZelCPopup::onMouseDown(CPoint& where, const CButtonState&)
{
    parentOffsetX = parentOffsetY = 0;
    if (CView* parent = getParentView())
    {
        parentOffsetX = parent->getViewSize().left;
        parentOffsetY = parent->getViewSize().top;
    }
    beginEdit();
    openDropDown(where);
    return kMouseEventHandled;
}

CMouseEventResult ZelCPopup::onMouseUp(CPoint&, const CButtonState&)
{
    endEdit();
    if (hoveredId != selectedId)
        chooseHovered();
    return kMouseEventHandled;
}

CMouseEventResult ZelCPopup::onMouseMoved(CPoint& where, const CButtonState&)
{
    if (isOpen())
        trackHover(CPoint(where.x + parentOffsetX, where.y + parentOffsetY));
    return kMouseEventHandled;
}

bool ZelCPopup::onWheel(const CPoint&, const CMouseWheelAxis&, const float& distance, const CButtonState&)
{
    if (!wheelStepping || selectedId == kNone)
        return true;
    if (distance < 0)
        selectPrevious();
    else if (distance > 0)
        selectNext();
    beginEdit();
    if (listener)
        listener->valueChanged(this);
    endEdit();
    return true;
}

int32_t ZelCPopup::onKeyDown(VstKeyCode&)
{
    return -1;
}

void ZelCPopup::setViewSize(const CRect& rect, bool doInvalid)
{
    layoutPending = 1;
    CControl::setViewSize(rect, doInvalid);
}

CMessageResult ZelCPopup::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message != CVSTGUITimer::kMsgTimer)
        return kMessageUnknown;
    (void)sender;
    if (listener && frame)
    {
        CPoint where;
        frame->getCurrentMouseLocation(where);
        if (!frame->getViewSize().pointInside(where))
            closeDropDown();
        else if (dropDown && !dropDown->getViewSize().pointInside(where))
        {
            hoveredId = kNone;
            dropDown->invalid();
        }
    }
    return kMessageNotified;
}

} // namespace VSTGUI
