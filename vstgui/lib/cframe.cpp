#include "cframe.h"
#include "cairo/cairobitmap.h"
#include "cdrawcontext.h"
#include "controls/ccontrol.h"
#include "cvstguitimer.h"
#include <algorithm>
#include <cairo.h>

namespace VSTGUI {

CFrame::CFrame (const CRect& sz, VSTGUIEditorInterface* ed) : CViewContainer (sz), editor (ed)
{
	// The frame is the root of its tree: attached to itself from the start.
	setParentFrame (this);
	setViewFlag (kIsAttached, true);
}

CFrame::~CFrame () noexcept
{
	removeAll (true);
	if (platformFrame)
		platformFrame->detach ();
	platformFrame = nullptr;
}

bool CFrame::open (void* parent, PlatformType platformType, IPlatformFrameConfig* config)
{
	if (platformFrame)
		return false;
	makeBackBuffer ();
	if (!backBuffer)
		return false;
	platformFrame = createPlatformFrame (this, size, parent, platformType, config);
	if (!platformFrame)
	{
		backBuffer = nullptr;
		return false;
	}
	invalidRect (CRect (0, 0, size.getWidth (), size.getHeight ()));
	return true;
}

void CFrame::close ()
{
	mouseObservers.clear ();
	mouseView = nullptr;
	focusView = nullptr;
	removeAll (true);
	if (platformFrame)
		platformFrame->detach ();
	platformFrame = nullptr;
	backBuffer = nullptr;
	invalidAreas.clear ();
	forget ();
}

void CFrame::makeBackBuffer ()
{
	CPoint s (size.getWidth (), size.getHeight ());
	if (s.x < 1 || s.y < 1)
	{
		backBuffer = nullptr;
		return;
	}
	backBuffer = owned (new CBitmap (s));
	if (!backBuffer->getPlatformBitmap ())
		backBuffer = nullptr;
}

bool CFrame::setSize (CCoord width, CCoord height)
{
	if (width == size.getWidth () && height == size.getHeight ())
		return false;
	CRect newSize (size.left, size.top, size.left + width, size.top + height);
	if (editor && !editor->beforeSizeChange (newSize, size))
		return false;
	setViewSize (newSize, true);
	return true;
}

void CFrame::setViewSize (const CRect& rect, bool doInvalid)
{
	size = rect;
	mouseableArea = rect;
	if (platformFrame)
	{
		makeBackBuffer ();
		platformFrame->setSize (rect);
	}
	invalidAreas.clear ();
	if (doInvalid || platformFrame)
		invalidRect (CRect (0, 0, rect.getWidth (), rect.getHeight ()));
}

//------------------------------------------------------------------------
void CFrame::invalidRect (const CRect& rect)
{
	CRect r (rect);
	r.bound (CRect (0, 0, size.getWidth (), size.getHeight ()));
	if (r.isEmpty ())
		return;
	r.makeIntegral ();
	// Overlapping areas merge, so that no pixel is painted twice in one update.
	for (size_t i = 0; i < invalidAreas.size ();)
	{
		if (invalidAreas[i].rectOverlap (r))
		{
			r.unite (invalidAreas[i]);
			invalidAreas.erase (invalidAreas.begin () + static_cast<std::ptrdiff_t> (i));
			i = 0;
		}
		else
			++i;
	}
	invalidAreas.push_back (r);
}

void CFrame::platformInvalidRect (const CRect& rect)
{
	invalidRect (rect);
}

void CFrame::idle ()
{
	if (inIdle)
		return;
	inIdle = true;
	CBaseObjectGuard guard (this);
	if (platformFrame)
		platformFrame->pumpEvents ();
	CVSTGUITimer::fireDueTimers ();
	updateInvalidAreas ();
	inIdle = false;
}

void CFrame::updateInvalidAreas ()
{
	if (CView::isDirty ())
	{
		setDirty (false);
		invalidRect (CRect (0, 0, size.getWidth (), size.getHeight ()));
	}
	invalidateDirtyChildren ();
	if (!backBuffer || invalidAreas.empty ())
	{
		invalidAreas.clear ();
		return;
	}
	auto areas = std::move (invalidAreas);
	invalidAreas.clear ();
	cairo_surface_t* surface = getCairoSurface (backBuffer);
	CDrawContext context (surface, CRect (0, 0, size.getWidth (), size.getHeight ()));
	for (const auto& area : areas)
	{
		context.saveGlobalState ();
		context.setClipRect (area);
		// The frame's own background first: cleared, its colour, its picture.
		context.clearRect (area);
		drawBackgroundRect (&context, area);
		for (auto* v : std::vector<CView*> (children))
		{
			if (!v->isVisible () || !v->checkUpdate (area))
				continue;
			CRect viewClip (v->getViewSize ());
			viewClip.bound (area);
			context.saveGlobalState ();
			context.setClipRect (viewClip);
			context.setGlobalAlpha (v->getAlphaValue ());
			v->drawRect (&context, viewClip);
			context.restoreGlobalState ();
		}
		context.restoreGlobalState ();
	}
	context.endDraw ();
	if (platformFrame)
	{
		for (const auto& area : areas)
			platformFrame->present (area);
	}
}

bool CFrame::writeToPNG (UTF8StringPtr path) const
{
	cairo_surface_t* surface = getCairoSurface (backBuffer);
	if (!surface || !path)
		return false;
	cairo_surface_flush (surface);
	return cairo_surface_write_to_png (surface, path) == CAIRO_STATUS_SUCCESS;
}

//------------------------------------------------------------------------
int32_t CFrame::getKnobMode () const
{
	int32_t mode = editor ? editor->getKnobMode () : -1;
	return mode < 0 ? kCircularMode : mode;
}

void CFrame::beginEdit (EditHookIndex index)
{
	if (editor)
		editor->beginEdit (index);
}

void CFrame::endEdit (EditHookIndex index)
{
	if (editor)
		editor->endEdit (index);
}

void CFrame::registerMouseObserver (IMouseObserver* observer)
{
	if (observer && std::find (mouseObservers.begin (), mouseObservers.end (), observer) == mouseObservers.end ())
		mouseObservers.push_back (observer);
}

void CFrame::unregisterMouseObserver (IMouseObserver* observer)
{
	mouseObservers.erase (std::remove (mouseObservers.begin (), mouseObservers.end (), observer),
	                      mouseObservers.end ());
}

bool CFrame::getCurrentMouseLocation (CPoint& where) const
{
	if (platformFrame && platformFrame->getCurrentMousePosition (where))
		return true;
	where = lastMousePosition;
	return true;
}

CButtonState CFrame::getCurrentMouseButtons () const
{
	CButtonState buttons;
	if (platformFrame && platformFrame->getCurrentMouseButtons (buttons))
		return buttons;
	return lastMouseButtons;
}

void CFrame::setFocusView (CView* view)
{
	if (view == focusView)
		return;
	CView* old = focusView;
	focusView = view;
	if (old)
		old->looseFocus ();
	if (focusView)
		focusView->takeFocus ();
}

//------------------------------------------------------------------------
CView* CFrame::findMouseView (const CPoint& where) const
{
	CView* v = getViewAt (where, true, true);
	return v;
}

void CFrame::checkMouseViews (const CPoint& where, const CButtonState& buttons)
{
	CView* now = findMouseView (where);
	if (now == mouseView)
		return;
	CView* old = mouseView;
	mouseView = now;
	if (old)
	{
		CBaseObjectGuard guard (old);
		CPoint p (where);
		old->frameToLocal (p);
		old->callMouseListenerEnteredExited (false);
		old->onMouseExited (p, buttons);
		for (auto* o : std::vector<IMouseObserver*> (mouseObservers))
			o->onMouseExited (old, this);
	}
	if (now && now == mouseView)
	{
		CBaseObjectGuard guard (now);
		CPoint p (where);
		now->frameToLocal (p);
		now->callMouseListenerEnteredExited (true);
		now->onMouseEntered (p, buttons);
		for (auto* o : std::vector<IMouseObserver*> (mouseObservers))
			o->onMouseEntered (now, this);
	}
}

CMouseEventResult CFrame::askMouseObservers (MouseObserverEvent event, const CPoint& where,
                                             const CButtonState& buttons)
{
	for (auto* o : std::vector<IMouseObserver*> (mouseObservers))
	{
		CMouseEventResult r = (o->*event) (this, where, buttons);
		if (r != kMouseEventNotHandled)
			return r;
	}
	return kMouseEventNotHandled;
}

CMouseEventResult CFrame::platformOnMouseDown (CPoint& where, const CButtonState& buttons)
{
	CBaseObjectGuard guard (this);
	lastMousePosition = where;
	lastMouseButtons = buttons;
	if (CMouseEventResult r = askMouseObservers (&IMouseObserver::onMouseDown, where, buttons);
	    r != kMouseEventNotHandled)
		return r;
	checkMouseViews (where, buttons);
	CPoint p (where);
	return CViewContainer::onMouseDown (p, buttons);
}

CMouseEventResult CFrame::platformOnMouseMoved (CPoint& where, const CButtonState& buttons)
{
	CBaseObjectGuard guard (this);
	lastMousePosition = where;
	lastMouseButtons = buttons;
	if (CMouseEventResult r = askMouseObservers (&IMouseObserver::onMouseMoved, where, buttons);
	    r != kMouseEventNotHandled)
		return r;
	CPoint p (where);
	// While a view holds the mouse, the pointer enters and leaves nothing else.
	if (mouseDownView)
		return CViewContainer::onMouseMoved (p, buttons);
	checkMouseViews (where, buttons);
	// Without a capture the view under the pointer hears of the move, buttons reduced
	// to the modifier keys.
	CView* v = findMouseView (where);
	if (!v)
		return kMouseEventNotHandled;
	CBaseObjectGuard viewGuard (v);
	v->frameToLocal (p);
	CButtonState modifiers (buttons.getModifierState ());
	CMouseEventResult r = v->callMouseListener (kMouseMoved, p, modifiers);
	if (r == kMouseEventNotHandled)
		r = v->onMouseMoved (p, modifiers);
	return r;
}

CMouseEventResult CFrame::platformOnMouseUp (CPoint& where, const CButtonState& buttons)
{
	CBaseObjectGuard guard (this);
	lastMousePosition = where;
	lastMouseButtons = buttons;
	CPoint p (where);
	CMouseEventResult r = CViewContainer::onMouseUp (p, buttons);
	// The buttons of a mouse-up are those released; none is held any more.
	lastMouseButtons = CButtonState (buttons.getModifierState ());
	checkMouseViews (where, lastMouseButtons);
	return r;
}

CMouseEventResult CFrame::platformOnMouseExited (CPoint& where, const CButtonState& buttons)
{
	CBaseObjectGuard guard (this);
	lastMousePosition = where;
	if (mouseView)
	{
		CView* old = mouseView;
		mouseView = nullptr;
		CBaseObjectGuard viewGuard (old);
		CPoint p (where);
		old->frameToLocal (p);
		old->callMouseListenerEnteredExited (false);
		old->onMouseExited (p, buttons);
		for (auto* o : std::vector<IMouseObserver*> (mouseObservers))
			o->onMouseExited (old, this);
	}
	return kMouseEventHandled;
}

bool CFrame::platformOnMouseWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                                   const CButtonState& buttons)
{
	CBaseObjectGuard guard (this);
	lastMousePosition = where;
	return CViewContainer::onWheel (where, axis, distance, buttons);
}

bool CFrame::platformOnKeyDown (VstKeyCode& keyCode)
{
	return sendKeyToFocusView (&CView::onKeyDown, keyCode);
}

bool CFrame::platformOnKeyUp (VstKeyCode& keyCode)
{
	return sendKeyToFocusView (&CView::onKeyUp, keyCode);
}

bool CFrame::sendKeyToFocusView (KeyHandler handler, VstKeyCode& keyCode)
{
	CBaseObjectGuard guard (this);
	if (!focusView)
		return false;
	CBaseObjectGuard viewGuard (focusView);
	return (focusView->*handler) (keyCode) == 1;
}

//------------------------------------------------------------------------
void CFrame::onViewRemoved (CView* view)
{
	if (mouseView == view)
		mouseView = nullptr;
	if (focusView == view)
		focusView = nullptr;
	if (mouseDownView == view)
		mouseDownView = nullptr;
}

} // namespace VSTGUI
