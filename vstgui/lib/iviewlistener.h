// IViewMouseListener: sees a view's mouse events before the view itself.
#pragma once

#include "cbuttonstate.h"
#include "cpoint.h"
#include "vstguifwd.h"

namespace VSTGUI {

/** Registered on a view (CView::registerViewMouseListener); an answer other than
    kMouseEventNotHandled ends the handling and the view does not see the event. UI thread. */
class IViewMouseListener
{
public:
	virtual ~IViewMouseListener () noexcept = default;

	virtual CMouseEventResult viewOnMouseDown (CView* view, CPoint pos, CButtonState buttons)
	{
		(void)view, (void)pos, (void)buttons;
		return kMouseEventNotHandled;
	}
	virtual CMouseEventResult viewOnMouseUp (CView* view, CPoint pos, CButtonState buttons)
	{
		(void)view, (void)pos, (void)buttons;
		return kMouseEventNotHandled;
	}
	virtual CMouseEventResult viewOnMouseMoved (CView* view, CPoint pos, CButtonState buttons)
	{
		(void)view, (void)pos, (void)buttons;
		return kMouseEventNotHandled;
	}
	virtual CMouseEventResult viewOnMouseCancel (CView* view)
	{
		(void)view;
		return kMouseEventNotHandled;
	}
	virtual void viewOnMouseEntered (CView* view) { (void)view; }
	virtual void viewOnMouseExited (CView* view) { (void)view; }
	virtual void viewOnMouseEnabled (CView* view, bool state) { (void)view, (void)state; }
};

using IViewMouseListenerAdapter = IViewMouseListener;

} // namespace VSTGUI
