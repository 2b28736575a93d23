// CView: base of everything placed in a frame: size, drawing, dirty state, mouse and keys.
#pragma once

#include "cbitmap.h"
#include "cbuttonstate.h"
#include "crect.h"
#include "vstguifwd.h"
#include "vstkeycode.h"
#include <atomic>
#include <vector>

namespace VSTGUI {

/** Sent by a text field to its listener when it loses the focus ("LooseFocus"). */
extern IdStringPtr kMsgLooseFocus;

class CView : public CBaseObject
{
public:
	/** A view occupying size (in its parent's coordinates). */
	CView (const CRect& size);
	CView (const CView& view);
	~CView () noexcept override;

	// Drawing -------------------------------------------------------------
	/** Draws the view (default: its background picture). UI thread. */
	virtual void draw (CDrawContext* context);
	/** Draws the view for an update of updateRect, then marks it clean. UI thread. */
	virtual void drawRect (CDrawContext* context, const CRect& updateRect);
	/** True when the view lies in updateRect and must be drawn. */
	virtual bool checkUpdate (const CRect& updateRect) const { return updateRect.rectOverlap (size); }
	/** True when the view wants to be redrawn at the frame's next idle. Any thread. */
	virtual bool isDirty () const { return dirty.load (std::memory_order_relaxed); }
	/** Only sets or clears the redraw flag; safe from the audio thread. Any thread. */
	virtual void setDirty (bool state = true) { dirty.store (state, std::memory_order_relaxed); }
	/** Asks the frame to repaint rect (in the parent's coordinates). UI thread. */
	virtual void invalidRect (const CRect& rect);
	/** Clears the dirty flag and asks the frame to repaint the whole view. UI thread. */
	virtual void invalid ();

	// Mouse and keys (points in the parent's coordinates, which for a view
	// placed directly in the frame are frame coordinates) --------------------
	/** Button pressed / released / pointer moved over or holding the view; the base answers
	    kMouseEventNotImplemented. UI thread. */
	virtual CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons);
	/** The mouse gesture was taken away (the view loses its capture). */
	virtual CMouseEventResult onMouseCancel ();
	/** The pointer entered / left the view; the base answers kMouseEventNotImplemented. UI thread. */
	virtual CMouseEventResult onMouseEntered (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseExited (CPoint& where, const CButtonState& buttons);
	/** Mouse wheel; true when the view used it. UI thread. */
	virtual bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	                      const CButtonState& buttons);
	/** A key; answers 1 when used, -1 when not. UI thread. */
	virtual int32_t onKeyDown (VstKeyCode& keyCode);
	/** A key released; answers 1 when used, -1 when not. UI thread. */
	virtual int32_t onKeyUp (VstKeyCode& keyCode);

	/** True when the point lies in the mouseable area. */
	virtual bool hitTest (const CPoint& where, const CButtonState& buttons = -1);
	/** Whether the view takes mouse events; a change is told to the view mouse listeners. UI thread. */
	virtual void setMouseEnabled (bool state = true);
	bool getMouseEnabled () const { return hasViewFlag (kMouseEnabled); }
	/** The area (parent coordinates) that hitTest accepts; follows setViewSize. UI thread. */
	virtual void setMouseableArea (const CRect& rect) { mouseableArea = rect; }
	const CRect& getMouseableArea () const { return mouseableArea; }
	CRect& getMouseableArea (CRect& rect) const { return rect = mouseableArea; }

	/** Adds / removes a listener that sees this view's mouse events first (not owned). UI thread. */
	void registerViewMouseListener (IViewMouseListener* listener);
	void unregisterViewMouseListener (IViewMouseListener* listener);

	enum MouseListenerCall
	{
		kMouseDown,
		kMouseUp,
		kMouseMoved,
		kMouseCancel
	};
	/** Offers the event to the view mouse listeners; kMouseEventNotHandled when none took it. */
	CMouseEventResult callMouseListener (MouseListenerCall type, CPoint pos, CButtonState buttons);
	/** Tells the view mouse listeners that the pointer entered (or left) the view. UI thread. */
	void callMouseListenerEnteredExited (bool entered);

	// Focus -----------------------------------------------------------------
	/** The view lost / got the key focus (default: nothing). UI thread. */
	virtual void looseFocus () {}
	virtual void takeFocus () {}
	/** Whether a click on the view gives it the key focus. UI thread. */
	virtual bool wantsFocus () const { return hasViewFlag (kWantsFocus); }
	virtual void setWantsFocus (bool state) { setViewFlag (kWantsFocus, state); }

	// Size ------------------------------------------------------------------
	/** Moves or resizes the view (mouseable area too); repaints old and new place when asked. */
	virtual void setViewSize (const CRect& rect, bool invalid = true);
	/** The view's rectangle in its parent's coordinates, and its width and height. UI thread. */
	const CRect& getViewSize () const { return size; }
	CRect& getViewSize (CRect& rect) const { return rect = size; }
	CCoord getWidth () const { return size.getWidth (); }
	CCoord getHeight () const { return size.getHeight (); }
	/** The part of the view that its parents leave visible, in frame coordinates. */
	virtual CRect getVisibleViewSize () const;
	/** Resizes the view to its content; false when it cannot (the base). UI thread. */
	virtual bool sizeToFit () { return false; }

	// Place in the view tree ------------------------------------------------
	/** Called when added to a parent that is attached to a frame. */
	virtual bool attached (CView* parent);
	/** Called when taken out of an attached parent. */
	virtual bool removed (CView* parent);
	/** Whether the view is in a frame's tree, its parent and frame (null when not). UI thread. */
	bool isAttached () const { return hasViewFlag (kIsAttached); }
	CView* getParentView () const { return parentView; }
	CFrame* getFrame () const { return parentFrame; }
	/** The frame's editor, or null. UI thread. */
	VSTGUIEditorInterface* getEditor () const;
	/** Turns a point of this view's parent into frame coordinates. */
	virtual CPoint& localToFrame (CPoint& point) const;
	/** Turns a frame point into this view's parent's coordinates. */
	virtual CPoint& frameToLocal (CPoint& point) const;

	// Look ------------------------------------------------------------------
	/** Sets the background picture (referenced; null for none). */
	virtual void setBackground (CBitmap* background);
	/** The background picture, or null. UI thread. */
	CBitmap* getBackground () const { return background.get (); }
	/** Transparent: a container fills no background colour of its own, and a click the view
	    does not take goes on to the views below it. UI thread. */
	virtual void setTransparency (bool state) { setViewFlag (kTransparencyEnabled, state); }
	bool getTransparency () const { return hasViewFlag (kTransparencyEnabled); }
	/** Shows or hides the view (a hidden view is neither drawn nor hit). UI thread. */
	virtual void setVisible (bool state);
	bool isVisible () const { return hasViewFlag (kVisible); }
	/** Opacity 0..1, kept for the view's own drawing; marks it dirty. UI thread. */
	virtual void setAlphaValue (float alpha);
	float getAlphaValue () const { return alphaValue; }

	CLASS_METHODS (CView, CBaseObject)

	enum ViewFlags : int32_t
	{
		kMouseEnabled = 1 << 0,
		kTransparencyEnabled = 1 << 1,
		kWantsFocus = 1 << 2,
		kIsAttached = 1 << 3,
		kVisible = 1 << 4,
		kWantsIdle = 1 << 5,
		kLastCViewFlag = 5
	};
	bool hasViewFlag (int32_t flag) const { return (viewFlags & flag) == flag; }
	void setViewFlag (int32_t flag, bool state)
	{
		if (state)
			viewFlags |= flag;
		else
			viewFlags &= ~flag;
	}

protected:
	friend class CViewContainer;
	friend class CFrame;

	void setParentView (CView* parent) { parentView = parent; }
	void setParentFrame (CFrame* frame) { parentFrame = frame; }

	CRect size;
	CRect mouseableArea;
	CFrame* parentFrame {nullptr};
	CView* parentView {nullptr};
	SharedPointer<CBitmap> background;
	int32_t viewFlags {kMouseEnabled | kVisible};
	float alphaValue {1.f};

private:
	std::atomic<bool> dirty {false};
	std::vector<IViewMouseListener*> mouseListeners;
};

} // namespace VSTGUI
