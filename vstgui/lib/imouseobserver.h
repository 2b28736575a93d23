// IMouseObserver: sees the frame's mouse-downs and moves before any view.
#pragma once

#include "cbuttonstate.h"
#include "cpoint.h"
#include "vstguifwd.h"

namespace VSTGUI {

/** Registered with CFrame::registerMouseObserver. For a mouse-down or move, an answer
    other than kMouseEventNotHandled ends the frame's handling of the event (so
    kMouseMoveEventHandledButDontNeedMoreEvents drops a click). Points in frame
    coordinates. UI thread. */
class IMouseObserver
{
public:
	virtual ~IMouseObserver () noexcept = default;

	/** The pointer entered a view. */
	virtual void onMouseEntered (CView* view, CFrame* frame) { (void)view, (void)frame; }
	/** The pointer left a view. */
	virtual void onMouseExited (CView* view, CFrame* frame) { (void)view, (void)frame; }
	virtual CMouseEventResult onMouseMoved (CFrame* frame, const CPoint& where,
	                                        const CButtonState& buttons)
	{
		(void)frame, (void)where, (void)buttons;
		return kMouseEventNotHandled;
	}
	virtual CMouseEventResult onMouseDown (CFrame* frame, const CPoint& where,
	                                       const CButtonState& buttons)
	{
		(void)frame, (void)where, (void)buttons;
		return kMouseEventNotHandled;
	}
};

} // namespace VSTGUI
