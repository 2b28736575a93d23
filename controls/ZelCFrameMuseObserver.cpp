#include "controls/ZelCFrameMuseObserver.h"

#include <vector>

#include "controls/ZelCPopup.h"
#include "controls/ZelCPopupControl.h"

namespace VSTGUI {

void ZelCFrameMuseObserver::addPopup(ZelCPopup* popup)
{
    if (popup)
        popups.push_front(popup);
}

void ZelCFrameMuseObserver::removePopup(ZelCPopup* popup)
{
    if (popup)
        popups.remove(popup);
}

void ZelCFrameMuseObserver::closeAll()
{
    if (openCount == 0)
        return;
    // A copy: closing may lead a pop-up to unregister.
    for (ZelCPopup* popup : std::vector<ZelCPopup*>(popups.begin(), popups.end()))
        if (popup)
            popup->closeDropDown();
}

void ZelCFrameMuseObserver::closePopupsOutside(const CPoint& where, bool useHitTest)
{
    if (openCount == 0 || blockFlag)
        return;
    for (ZelCPopup* popup : std::vector<ZelCPopup*>(popups.begin(), popups.end()))
    {
        if (!popup)
            continue;
        ZelCPopupControl* grid = popup->getDropDown();
        if (useHitTest && grid && grid->hitTest(where, CButtonState(-1)))
            continue;
        popup->closeDropDown();
    }
}

bool ZelCFrameMuseObserver::closePopupsAt(const CPoint& where)
{
    if (blockFlag)
        return true;
    closePopupsOutside(where, true);
    return true;
}

CMouseEventResult ZelCFrameMuseObserver::onMouseMoved(CFrame*, const CPoint&, const CButtonState&)
{
    return blockFlag ? kMouseEventHandled : kMouseEventNotHandled;
}

CMouseEventResult ZelCFrameMuseObserver::onMouseDown(CFrame*, const CPoint& where, const CButtonState&)
{
    if (blockFlag)
        return kMouseMoveEventHandledButDontNeedMoreEvents;
    closePopupsOutside(where, true);
    return kMouseEventNotHandled;
}

} // namespace VSTGUI
