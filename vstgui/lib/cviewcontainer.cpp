#include "cviewcontainer.h"
#include "cdrawcontext.h"
#include "cframe.h"
#include "controls/ccontrol.h"
#include <algorithm>

namespace VSTGUI {

CViewContainer::CViewContainer (const CRect& sz) : CView (sz)
{
}

CViewContainer::CViewContainer (const CViewContainer& c)
: CView (c), backgroundColor (c.backgroundColor)
{
	for (auto* v : c.children)
	{
		if (auto* copy = dynamic_cast<CView*> (v->newCopy ()))
			addView (copy);
	}
}

CViewContainer::~CViewContainer () noexcept
{
	for (auto* v : children)
	{
		v->setParentView (nullptr);
		v->forget ();
	}
	children.clear ();
}

//------------------------------------------------------------------------
bool CViewContainer::addView (CView* pView, CView* pBefore)
{
	if (!pView || isChild (pView) || pView->getParentView ())
		return false;
	auto pos = pBefore ? std::find (children.begin (), children.end (), pBefore) : children.end ();
	children.insert (pos, pView);
	pView->setParentView (this);
	if (isAttached ())
	{
		pView->attached (this);
		pView->invalid ();
	}
	return true;
}

bool CViewContainer::addView (CView* pView, const CRect& area, bool mouseEnabled)
{
	if (!addView (pView))
		return false;
	pView->setMouseEnabled (mouseEnabled);
	pView->setMouseableArea (area);
	return true;
}

bool CViewContainer::removeView (CView* pView, bool withForget)
{
	auto it = std::find (children.begin (), children.end (), pView);
	if (it == children.end ())
		return false;
	if (pView->isAttached ())
		pView->invalid ();
	children.erase (it);
	forgetMouseView (pView);
	if (pView->isAttached ())
		pView->removed (this);
	pView->setParentView (nullptr);
	if (withForget)
		pView->forget ();
	return true;
}

bool CViewContainer::removeAll (bool withForget)
{
	while (!children.empty ())
		removeView (children.back (), withForget);
	return true;
}

bool CViewContainer::isChild (CView* pView) const
{
	return std::find (children.begin (), children.end (), pView) != children.end ();
}

CView* CViewContainer::getView (uint32_t index) const
{
	return index < children.size () ? children[index] : nullptr;
}

bool CViewContainer::changeViewZOrder (CView* view, uint32_t newIndex)
{
	auto it = std::find (children.begin (), children.end (), view);
	if (it == children.end () || newIndex >= children.size ())
		return false;
	children.erase (it);
	children.insert (children.begin () + newIndex, view);
	view->invalid ();
	return true;
}

CView* CViewContainer::getViewAt (const CPoint& where, bool deep, bool mouseEnabled) const
{
	CPoint local (where);
	local.offset (-size.left, -size.top);
	for (auto it = children.rbegin (); it != children.rend (); ++it)
	{
		CView* v = *it;
		if (!v->isVisible () || (mouseEnabled && !v->getMouseEnabled ()))
			continue;
		if (!v->getViewSize ().pointInside (local))
			continue;
		if (deep)
		{
			if (auto* c = dynamic_cast<CViewContainer*> (v))
			{
				if (CView* inner = c->getViewAt (local, true, mouseEnabled))
					return inner;
			}
		}
		return v;
	}
	return nullptr;
}

void CViewContainer::setBackgroundColor (const CColor& color)
{
	backgroundColor = color;
	setDirty (true);
}

//------------------------------------------------------------------------
void CViewContainer::draw (CDrawContext* context)
{
	drawRect (context, size);
}

void CViewContainer::drawBackgroundRect (CDrawContext* context, const CRect& updateRect)
{
	CRect local (size);
	local.originize ();
	if (!getTransparency ())
	{
		context->setFillColor (backgroundColor);
		CRect r (updateRect);
		r.bound (local);
		context->drawRect (r, kDrawFilled);
	}
	if (background)
		background->draw (context, local);
}

void CViewContainer::drawRect (CDrawContext* context, const CRect& updateRect)
{
	// updateRect is in the parent's coordinates; children live in ours.
	CRect clip (updateRect);
	clip.bound (size);
	if (clip.isEmpty ())
		return;
	context->saveGlobalState ();
	CPoint offset (context->getOffset ());
	CRect oldClip;
	context->getClipRect (oldClip);
	clip.bound (oldClip);
	context->setClipRect (clip);
	context->setOffset (CPoint (offset.x + size.left, offset.y + size.top));
	CRect local (clip);
	local.offset (-size.left, -size.top);

	drawBackgroundRect (context, local);
	for (auto* v : std::vector<CView*> (children))
	{
		if (!v->isVisible () || !v->checkUpdate (local))
			continue;
		CRect viewClip (v->getViewSize ());
		viewClip.bound (local);
		if (viewClip.isEmpty ())
			continue;
		context->saveGlobalState ();
		context->setClipRect (viewClip);
		context->setGlobalAlpha (context->getGlobalAlpha () * v->getAlphaValue ());
		v->drawRect (context, viewClip);
		context->restoreGlobalState ();
	}
	context->restoreGlobalState ();
	setDirty (false);
}

void CViewContainer::invalidRect (const CRect& rect)
{
	if (!isAttached () || !parentView)
		return;
	CRect r (rect);
	r.offset (size.left, size.top);
	r.bound (size);
	if (!r.isEmpty ())
		parentView->invalidRect (r);
}

void CViewContainer::invalid ()
{
	// invalidRect takes our own coordinates, while size is in the parent's.
	setDirty (false);
	invalidRect (CRect (0, 0, size.getWidth (), size.getHeight ()));
}

bool CViewContainer::isDirty () const
{
	if (CView::isDirty ())
		return true;
	for (auto* v : children)
		if (v->isDirty ())
			return true;
	return false;
}

void CViewContainer::invalidateDirtyViews ()
{
	if (CView::isDirty ())
	{
		invalid ();
		return;
	}
	invalidateDirtyChildren ();
}

void CViewContainer::invalidateDirtyChildren ()
{
	for (auto* v : std::vector<CView*> (children))
	{
		if (!v->isVisible ())
			continue;
		if (auto* c = dynamic_cast<CViewContainer*> (v))
			c->invalidateDirtyViews ();
		else if (v->isDirty ())
			v->invalid ();
	}
}

//------------------------------------------------------------------------
// Mouse routing. Points arrive in the parent's coordinates and go to the children in ours.
CMouseEventResult CViewContainer::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	CPoint local (where);
	local.offset (-size.left, -size.top);
	// A handler may add or remove views: walk a copy that holds each view, skipping views
	// that left meanwhile.
	const std::vector<SharedPointer<CView>> snapshot (children.begin (), children.end ());
	for (auto it = snapshot.rbegin (); it != snapshot.rend (); ++it)
	{
		CView* v = *it;
		if (!isChild (v) || !v->isVisible () || !v->getMouseEnabled () || !v->hitTest (local, buttons))
			continue;
		CBaseObjectGuard guard (v);
		if (auto* control = dynamic_cast<CControl*> (v))
		{
			// A right-button or modified click goes to the listener first.
			if (control->getListener () && (buttons & (kRButton | kModifierMask)))
			{
				if (control->getListener ()->controlModifierClicked (control, buttons) != 0)
					return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
			}
		}
		if (v->wantsFocus () && parentFrame)
			parentFrame->setFocusView (v);
		CPoint p (local);
		CMouseEventResult result = v->callMouseListener (kMouseDown, p, buttons);
		if (result == kMouseEventNotHandled)
			result = v->onMouseDown (p, buttons);
		if (result != kMouseEventNotHandled && result != kMouseEventNotImplemented)
		{
			// Handled captures the mouse: moves and the mouse-up go to this view.
			if (result == kMouseEventHandled && v->getParentView () == this)
				mouseDownView = v;
			return result;
		}
		if (!v->getTransparency ())
			return result;
	}
	return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::sendToMouseDownView (MouseListenerCall type, MouseHandler handler,
                                                      const CPoint& where, const CButtonState& buttons)
{
	CView* v = mouseDownView;
	CPoint local (where);
	local.offset (-size.left, -size.top);
	CMouseEventResult result = v->callMouseListener (type, local, buttons);
	if (result == kMouseEventNotHandled)
		result = (v->*handler) (local, buttons);
	return result;
}

CMouseEventResult CViewContainer::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	if (!mouseDownView)
		return kMouseEventNotHandled;
	CBaseObjectGuard guard (mouseDownView);
	CMouseEventResult result = sendToMouseDownView (kMouseUp, &CView::onMouseUp, where, buttons);
	mouseDownView = nullptr;
	return result;
}

CMouseEventResult CViewContainer::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!mouseDownView)
		return kMouseEventNotHandled;
	CView* v = mouseDownView;
	CBaseObjectGuard guard (v);
	CMouseEventResult result = sendToMouseDownView (kMouseMoved, &CView::onMouseMoved, where, buttons);
	if (result == kMouseMoveEventHandledButDontNeedMoreEvents && mouseDownView == v)
		mouseDownView = nullptr;
	return result;
}

CMouseEventResult CViewContainer::onMouseCancel ()
{
	if (!mouseDownView)
		return kMouseEventNotHandled;
	CView* v = mouseDownView;
	CBaseObjectGuard guard (v);
	mouseDownView = nullptr;
	CMouseEventResult result = v->callMouseListener (kMouseCancel, CPoint (), CButtonState ());
	if (result == kMouseEventNotHandled)
		result = v->onMouseCancel ();
	return result;
}

bool CViewContainer::onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                              const CButtonState& buttons)
{
	CPoint local (where);
	local.offset (-size.left, -size.top);
	const std::vector<SharedPointer<CView>> snapshot (children.begin (), children.end ());
	for (auto it = snapshot.rbegin (); it != snapshot.rend (); ++it)
	{
		CView* v = *it;
		if (!isChild (v) || !v->isVisible () || !v->getMouseEnabled () || !v->getMouseableArea ().pointInside (local))
			continue;
		CBaseObjectGuard guard (v);
		if (v->onWheel (local, axis, distance, buttons))
			return true;
	}
	return false;
}

//------------------------------------------------------------------------
bool CViewContainer::attached (CView* parent)
{
	if (!CView::attached (parent))
		return false;
	for (auto* v : std::vector<CView*> (children))
		v->attached (this);
	return true;
}

bool CViewContainer::removed (CView* parent)
{
	if (!isAttached ())
		return false;
	mouseDownView = nullptr;
	for (auto* v : std::vector<CView*> (children))
		v->removed (this);
	return CView::removed (parent);
}

CPoint& CViewContainer::localToFrame (CPoint& point) const
{
	point.offset (size.left, size.top);
	return CView::localToFrame (point);
}

CPoint& CViewContainer::frameToLocal (CPoint& point) const
{
	CView::frameToLocal (point);
	return point.offset (-size.left, -size.top);
}

void CViewContainer::forgetMouseView (CView* view)
{
	if (mouseDownView == view)
		mouseDownView = nullptr;
}

} // namespace VSTGUI
