// CFrame: the top view of an editor; owns its views, dispatches events, repaints at idle.
#pragma once

#include "cviewcontainer.h"
#include "imouseobserver.h"
#include "platform/iplatformframe.h"
#include "vstguieditorinterface.h"
#include <vector>

namespace VSTGUI {

class CFrame : public CViewContainer, public IPlatformFrameCallback
{
public:
	/** A frame of size for the editor (may be null). UI thread. */
	CFrame (const CRect& size, VSTGUIEditorInterface* editor);

	/** Opens the frame in parent (an X11 window id), or headless (painting into an image
	    only) for a null parent or PlatformType::kHeadless; false when it cannot open. */
	bool open (void* parent, PlatformType platformType = PlatformType::kDefaultNative,
	           IPlatformFrameConfig* config = nullptr);
	/** Releases every view and the window, then gives up the frame's own reference. */
	void close ();
	/** True between a successful open and close. UI thread. */
	bool isOpen () const { return platformFrame != nullptr; }

	/** Resizes the frame and its window; asks the editor first (beforeSizeChange). */
	bool setSize (CCoord width, CCoord height);
	void setViewSize (const CRect& rect, bool invalid = true) override;

	/** Collects rect (frame coordinates) for repainting at the next idle. UI thread. */
	void invalidRect (const CRect& rect) override;
	/** The frame's idle step: handles pending window events, fires due timers, turns dirty
	    views into invalid areas and repaints each area from the frame's background up
	    through every view in z-order. UI thread. */
	void idle ();
	/** Repaints the invalid areas now (the painting part of idle). */
	void updateInvalidAreas ();

	/** The editor the frame was made for (may be null). UI thread. */
	VSTGUIEditorInterface* getEditor () const { return editor; }
	/** The editor's knob mode (kCircularMode when it gives none). */
	int32_t getKnobMode () const;
	/** Hands a control's gesture start to the editor's hook. */
	void beginEdit (EditHookIndex index);
	/** Hands a control's gesture end to the editor's hook. */
	void endEdit (EditHookIndex index);

	/** Adds / removes an observer that sees mouse events before any view (not owned). UI thread. */
	void registerMouseObserver (IMouseObserver* observer);
	void unregisterMouseObserver (IMouseObserver* observer);
	/** Pointer position in frame coordinates (the last event's when the window cannot tell). */
	bool getCurrentMouseLocation (CPoint& where) const;
	/** Buttons and modifiers held now (the last event's when the window cannot tell). */
	CButtonState getCurrentMouseButtons () const;

	/** The view that receives key events (null for none). UI thread. */
	void setFocusView (CView* view);
	CView* getFocusView () const { return focusView; }

	// Entry points of the window back ends (and of tests); frame coordinates ----------
	CMouseEventResult platformOnMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult platformOnMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult platformOnMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult platformOnMouseExited (CPoint& where, const CButtonState& buttons) override;
	bool platformOnMouseWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	                           const CButtonState& buttons) override;
	bool platformOnKeyDown (VstKeyCode& keyCode) override;
	bool platformOnKeyUp (VstKeyCode& keyCode) override;
	void platformInvalidRect (const CRect& rect) override;
	CBitmap* platformGetBackBuffer () const override { return backBuffer.get (); }

	/** The picture the frame paints into (frame size, B, G, R, A); null while closed. */
	CBitmap* getBackBuffer () const { return backBuffer.get (); }
	/** Writes the frame's current picture to a PNG file; false on failure. */
	bool writeToPNG (UTF8StringPtr path) const;
	/** The window back end while open, else null. UI thread. */
	IPlatformFrame* getPlatformFrame () const { return platformFrame.get (); }
	/** Invalid areas waiting for the next repaint (frame coordinates). */
	const std::vector<CRect>& getInvalidAreas () const { return invalidAreas; }

	/** Called by a view leaving the tree: drops every pointer the frame keeps to it. */
	void onViewRemoved (CView* view);

	CLASS_METHODS_NOCOPY (CFrame, CViewContainer)

protected:
	~CFrame () noexcept override;

	using MouseObserverEvent = CMouseEventResult (IMouseObserver::*) (CFrame*, const CPoint&,
	                                                                  const CButtonState&);
	/** Offers a mouse-down or move to the observers in turn; the first answer other than
	    kMouseEventNotHandled ends the event there. UI thread. */
	CMouseEventResult askMouseObservers (MouseObserverEvent event, const CPoint& where,
	                                     const CButtonState& buttons);
	using KeyHandler = int32_t (CView::*) (VstKeyCode&);
	/** Gives a key event to the focus view; true when it answered 1 (handled). UI thread. */
	bool sendKeyToFocusView (KeyHandler handler, VstKeyCode& keyCode);
	void checkMouseViews (const CPoint& where, const CButtonState& buttons);
	CView* findMouseView (const CPoint& where) const;
	void makeBackBuffer ();

	VSTGUIEditorInterface* editor;
	SharedPointer<IPlatformFrame> platformFrame;
	SharedPointer<CBitmap> backBuffer;
	std::vector<IMouseObserver*> mouseObservers;
	std::vector<CRect> invalidAreas;
	CView* mouseView {nullptr};
	CView* focusView {nullptr};
	CPoint lastMousePosition;
	CButtonState lastMouseButtons;
	bool inIdle {false};
};

} // namespace VSTGUI
