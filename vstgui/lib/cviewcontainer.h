// CViewContainer: a view that holds child views in z-order and routes mouse events to them.
#pragma once

#include "ccolor.h"
#include "cview.h"
#include <vector>

namespace VSTGUI {

class CViewContainer : public CView
{
public:
	CViewContainer (const CRect& size);
	CViewContainer (const CViewContainer& container);
	~CViewContainer () noexcept override;

	/** Adds the view on top (or below pBefore), taking over the caller's reference. UI thread. */
	virtual bool addView (CView* pView, CView* pBefore = nullptr);
	/** Adds the view with a mouseable area. */
	virtual bool addView (CView* pView, const CRect& mouseableArea, bool mouseEnabled = true);
	/** Takes the view out; releases it when withForget is set. UI thread. */
	virtual bool removeView (CView* pView, bool withForget = true);
	/** Takes every view out; releases them when withForget is set. UI thread. */
	virtual bool removeAll (bool withForget = true);
	/** True when the view is a direct child. */
	bool isChild (CView* pView) const;
	/** Number of direct children. UI thread. */
	uint32_t getNbViews () const { return static_cast<uint32_t> (children.size ()); }
	/** The child at index (0 is the lowest), or null. */
	CView* getView (uint32_t index) const;
	/** Moves a child to position newIndex in the z-order. */
	bool changeViewZOrder (CView* view, uint32_t newIndex);
	/** The topmost visible child under the point (container coordinates), or null;
	    deep descends into child containers, mouseEnabled skips disabled views. */
	CView* getViewAt (const CPoint& where, bool deep = false, bool mouseEnabled = false) const;

	/** Colour filled behind the children (unless transparent). UI thread. */
	virtual void setBackgroundColor (const CColor& color);
	CColor getBackgroundColor () const { return backgroundColor; }

	void draw (CDrawContext* context) override;
	void drawRect (CDrawContext* context, const CRect& updateRect) override;
	/** Fills the background colour (unless transparent) and draws the background picture. */
	virtual void drawBackgroundRect (CDrawContext* context, const CRect& updateRect);
	void invalidRect (const CRect& rect) override;
	/** Marks the container's whole area (and so every child) for repainting. UI thread. */
	void invalid () override;
	bool isDirty () const override;

	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;

	bool attached (CView* parent) override;
	bool removed (CView* parent) override;
	CPoint& localToFrame (CPoint& point) const override;
	CPoint& frameToLocal (CPoint& point) const override;

	/** The child that holds the mouse (it answered kMouseEventHandled to a mouse-down). */
	CView* getMouseDownView () const { return mouseDownView; }
	/** Hands the mouse to a child (null releases it). UI thread. */
	void setMouseDownView (CView* view) { mouseDownView = view; }

	/** Calls fn for every child from the lowest to the topmost. */
	template <class Fn>
	void forEachChild (Fn fn) const
	{
		auto copy = children;
		for (auto* v : copy)
			fn (v);
	}

	/** Marks every dirty descendant for repainting (the frame's idle). UI thread. */
	void invalidateDirtyViews ();

	CLASS_METHODS (CViewContainer, CView)

protected:
	using MouseHandler = CMouseEventResult (CView::*) (CPoint&, const CButtonState&);
	/** Gives a mouse event to the view holding the mouse (its listeners first, then
	    handler), the point moved into our coordinates; the caller keeps that view alive. UI thread. */
	CMouseEventResult sendToMouseDownView (MouseListenerCall type, MouseHandler handler, const CPoint& where,
	                                       const CButtonState& buttons);
	/** Marks every dirty visible descendant for repainting, this container aside. UI thread. */
	void invalidateDirtyChildren ();
	/** Called when a view leaves this container, so that held pointers to it end. */
	void forgetMouseView (CView* view);

	std::vector<CView*> children;
	CView* mouseDownView {nullptr};
	CColor backgroundColor {kBlackCColor};
};

} // namespace VSTGUI
