#include "cview.h"
#include "cdrawcontext.h"
#include "cframe.h"
#include "iviewlistener.h"
#include <algorithm>

namespace VSTGUI {

IdStringPtr kMsgLooseFocus = "LooseFocus";

CView::CView (const CRect& sz) : size (sz), mouseableArea (sz)
{
}

CView::CView (const CView& v)
: CBaseObject (v),
  size (v.size),
  mouseableArea (v.mouseableArea),
  background (v.background),
  viewFlags (v.viewFlags & ~kIsAttached),
  alphaValue (v.alphaValue)
{
}

CView::~CView () noexcept = default;

//------------------------------------------------------------------------
void CView::draw (CDrawContext* context)
{
	if (background)
		background->draw (context, size);
	setDirty (false);
}

void CView::drawRect (CDrawContext* context, const CRect& updateRect)
{
	(void)updateRect;
	draw (context);
	setDirty (false);
}

void CView::invalidRect (const CRect& rect)
{
	if (isAttached () && parentView)
		parentView->invalidRect (rect);
}

void CView::invalid ()
{
	setDirty (false);
	invalidRect (size);
}

//------------------------------------------------------------------------
CMouseEventResult CView::onMouseDown (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseUp (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseMoved (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseCancel ()
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseEntered (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseExited (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

bool CView::onWheel (const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&)
{
	return false;
}

int32_t CView::onKeyDown (VstKeyCode&)
{
	return -1;
}

int32_t CView::onKeyUp (VstKeyCode&)
{
	return -1;
}

bool CView::hitTest (const CPoint& where, const CButtonState&)
{
	return mouseableArea.pointInside (where);
}

void CView::setMouseEnabled (bool state)
{
	if (state == getMouseEnabled ())
		return;
	setViewFlag (kMouseEnabled, state);
	for (auto* l : std::vector<IViewMouseListener*> (mouseListeners))
		l->viewOnMouseEnabled (this, state);
}

void CView::registerViewMouseListener (IViewMouseListener* listener)
{
	if (listener && std::find (mouseListeners.begin (), mouseListeners.end (), listener) == mouseListeners.end ())
		mouseListeners.push_back (listener);
}

void CView::unregisterViewMouseListener (IViewMouseListener* listener)
{
	mouseListeners.erase (std::remove (mouseListeners.begin (), mouseListeners.end (), listener),
	                      mouseListeners.end ());
}

CMouseEventResult CView::callMouseListener (MouseListenerCall type, CPoint pos, CButtonState buttons)
{
	for (auto* l : std::vector<IViewMouseListener*> (mouseListeners))
	{
		CMouseEventResult r = kMouseEventNotHandled;
		switch (type)
		{
			case kMouseDown: r = l->viewOnMouseDown (this, pos, buttons); break;
			case kMouseUp: r = l->viewOnMouseUp (this, pos, buttons); break;
			case kMouseMoved: r = l->viewOnMouseMoved (this, pos, buttons); break;
			case kMouseCancel: r = l->viewOnMouseCancel (this); break;
		}
		if (r != kMouseEventNotHandled && r != kMouseEventNotImplemented)
			return r;
	}
	return kMouseEventNotHandled;
}

void CView::callMouseListenerEnteredExited (bool entered)
{
	for (auto* l : std::vector<IViewMouseListener*> (mouseListeners))
	{
		if (entered)
			l->viewOnMouseEntered (this);
		else
			l->viewOnMouseExited (this);
	}
}

//------------------------------------------------------------------------
void CView::setViewSize (const CRect& rect, bool doInvalid)
{
	if (rect == size)
		return;
	if (doInvalid)
		invalid ();
	size = rect;
	mouseableArea = rect;
	if (doInvalid)
		invalid ();
}

CRect CView::getVisibleViewSize () const
{
	CRect r (size);
	const CView* v = parentView;
	while (v)
	{
		CPoint origin (v->size.left, v->size.top);
		r.offset (origin);
		r.bound (v->size);
		v = v->parentView;
	}
	return r;
}

bool CView::attached (CView* parent)
{
	if (isAttached ())
		return false;
	parentView = parent;
	parentFrame = parent ? parent->getFrame () : nullptr;
	setViewFlag (kIsAttached, true);
	return true;
}

bool CView::removed (CView* parent)
{
	(void)parent;
	if (!isAttached ())
		return false;
	if (parentFrame)
		parentFrame->onViewRemoved (this);
	setViewFlag (kIsAttached, false);
	parentView = nullptr;
	parentFrame = nullptr;
	return true;
}

VSTGUIEditorInterface* CView::getEditor () const
{
	return parentFrame ? parentFrame->getEditor () : nullptr;
}

CPoint& CView::localToFrame (CPoint& point) const
{
	if (parentView)
		return parentView->localToFrame (point);
	return point;
}

CPoint& CView::frameToLocal (CPoint& point) const
{
	if (parentView)
		return parentView->frameToLocal (point);
	return point;
}

void CView::setBackground (CBitmap* bitmap)
{
	background = bitmap;
	setDirty (true);
}

void CView::setVisible (bool state)
{
	if (state == isVisible ())
		return;
	if (!state)
		invalid ();
	setViewFlag (kVisible, state);
	if (state)
		invalid ();
}

void CView::setAlphaValue (float alpha)
{
	alphaValue = alpha;
	setDirty (true);
}

} // namespace VSTGUI
