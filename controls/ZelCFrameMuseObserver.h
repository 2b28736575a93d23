#pragma once
// ZelCFrameMuseObserver: the editor's frame-wide mouse observer. Its pop-up half
// keeps every ZelCPopup of the editor and the number of open grids, closes the
// grids that a mouse-down elsewhere misses and closes all of them on request;
// its ZelCFrame half carries the block flag. The editor creates one per open,
// registers it with CFrame::registerMouseObserver, hands it to every pop-up and
// deletes it after the pop-ups are gone. UI thread.

#include <cstdint>
#include <list>

#include "controls/ZelCFrame.h"
#include "vstgui/lib/imouseobserver.h"

namespace VSTGUI {

class ZelCPopup;

class ZelCFrameMuseObserver : public ZelCFrame, public IMouseObserver
{
public:
    ZelCFrameMuseObserver() = default;
    // Frees the list of pop-up pointers (not the pop-ups).
    ~ZelCFrameMuseObserver() noexcept override = default;
    ZelCFrameMuseObserver(const ZelCFrameMuseObserver&) = delete;
    ZelCFrameMuseObserver& operator=(const ZelCFrameMuseObserver&) = delete;

    // Lists a pop-up at the front (null ignored, duplicates kept).
    void addPopup(ZelCPopup* popup);
    // Removes every entry of the pop-up (null ignored).
    void removePopup(ZelCPopup* popup);
    // Closes every open grid (nothing when none is open).
    void closeAll();
    // Closes the grids that do not contain where (all of them without useHitTest);
    // nothing when none is open or while blocked.
    void closePopupsOutside(const CPoint& where, bool useHitTest);
    // True at once while blocked; else closes the grids that miss where, then true.
    bool closePopupsAt(const CPoint& where);

    // IMouseObserver: handled while blocked, else not handled.
    CMouseEventResult onMouseMoved(CFrame* frame, const CPoint& where, const CButtonState& buttons) override;
    // Blocked: the click ends here; else closes the grids it misses and lets it go on.
    CMouseEventResult onMouseDown(CFrame* frame, const CPoint& where, const CButtonState& buttons) override;

    // Grids open now; raised and lowered by the pop-ups themselves.
    int32_t openCount = 0;

    // The registered pop-ups, in order of registration.
    const std::list<ZelCPopup*>& getPopups() const { return popups; }

private:
    std::list<ZelCPopup*> popups;
};

} // namespace VSTGUI
