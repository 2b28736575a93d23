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
	virtual CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons);
	/** The mouse gesture was taken away (the view loses its capture). */
	virtual CMouseEventResult onMouseCancel ();
	virtual CMouseEventResult onMouseEntered (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseExited (CPoint& where, const CButtonState& buttons);
	/** Mouse wheel; true when the view used it. UI thread. */
	virtual bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	                      const CButtonState& buttons);
	/** A key; answers 1 when used, -1 when not. UI thread. */
	virtual int32_t onKeyDown (VstKeyCode& keyCode);
	virtual int32_t onKeyUp (VstKeyCode& keyCode);

	/** True when the point lies in the mouseable area. */
	virtual bool hitTest (const CPoint& where, const CButtonState& buttons = -1);
	virtual void setMouseEnabled (bool state = true);
	bool getMouseEnabled () const { return hasViewFlag (kMouseEnabled); }
	virtual void setMouseableArea (const CRect& rect) { mouseableArea = rect; }
	const CRect& getMouseableArea () const { return mouseableArea; }
	CRect& getMouseableArea (CRect& rect) const { return rect = mouseableArea; }

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
	void callMouseListenerEnteredExited (bool entered);

	// Focus -----------------------------------------------------------------
	virtual void looseFocus () {}
	virtual void takeFocus () {}
	virtual bool wantsFocus () const { return hasViewFlag (kWantsFocus); }
	virtual void setWantsFocus (bool state) { setViewFlag (kWantsFocus, state); }

	// Size ------------------------------------------------------------------
	/** Moves or resizes the view (mouseable area too); repaints old and new place when asked. */
	virtual void setViewSize (const CRect& rect, bool invalid = true);
	const CRect& getViewSize () const { return size; }
	CRect& getViewSize (CRect& rect) const { return rect = size; }
	CCoord getWidth () const { return size.getWidth (); }
	CCoord getHeight () const { return size.getHeight (); }
	/** The part of the view that its parents leave visible, in frame coordinates. */
	virtual CRect getVisibleViewSize () const;
	virtual bool sizeToFit () { return false; }

	// Place in the view tree ------------------------------------------------
	/** Called when added to a parent that is attached to a frame. */
	virtual bool attached (CView* parent);
	/** Called when taken out of an attached parent. */
	virtual bool removed (CView* parent);
	bool isAttached () const { return hasViewFlag (kIsAttached); }
	CView* getParentView () const { return parentView; }
	CFrame* getFrame () const { return parentFrame; }
	VSTGUIEditorInterface* getEditor () const;
	/** Turns a point of this view's parent into frame coordinates. */
	virtual CPoint& localToFrame (CPoint& point) const;
	/** Turns a frame point into this view's parent's coordinates. */
	virtual CPoint& frameToLocal (CPoint& point) const;

	// Look ------------------------------------------------------------------
	/** Sets the background picture (referenced; null for none). */
	virtual void setBackground (CBitmap* background);
	CBitmap* getBackground () const { return background.get (); }
	virtual void setTransparency (bool state) { setViewFlag (kTransparencyEnabled, state); }
	bool getTransparency () const { return hasViewFlag (kTransparencyEnabled); }
	virtual void setVisible (bool state);
	bool isVisible () const { return hasViewFlag (kVisible); }
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
