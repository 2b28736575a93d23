// VSTGUIEditorInterface: what the frame and the controls ask of the editor that owns them.
#pragma once

#include "cbuttonstate.h"
#include "cpoint.h"
#include "crect.h"
#include "vstguifwd.h"

namespace VSTGUI {

/** Index type of the begin- and end-edit hooks. It is deliberately not int32_t, so that
    an editor's own beginEdit (VstInt32) / endEdit (VstInt32) stays a separate function
    and does not override the hooks that the controls call. */
using EditHookIndex = long;

class VSTGUIEditorInterface
{
public:
	/** Called while a control runs a long modal action (for example a menu). UI thread. */
	virtual void doIdleStuff () {}
	/** Knob mode (CKnobMode) for the knobs of this editor; -1 when it has none. UI thread. */
	virtual int32_t getKnobMode () const { return -1; }
	/** A control's gesture starts (outermost beginEdit); does nothing here. UI thread. */
	virtual void beginEdit (EditHookIndex index) { (void)index; }
	/** A control's gesture ends (outermost endEdit); does nothing here. UI thread. */
	virtual void endEdit (EditHookIndex index) { (void)index; }
	/** Editor-level mouse-down hook; kMouseEventNotImplemented when unused. UI thread. */
	virtual CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons)
	{
		(void)where, (void)buttons;
		return kMouseEventNotImplemented;
	}
	/** Editor-level mouse-move hook; kMouseEventNotImplemented when unused. UI thread. */
	virtual CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons)
	{
		(void)where, (void)buttons;
		return kMouseEventNotImplemented;
	}
	/** Asked before the frame changes size; false refuses. UI thread. */
	virtual bool beforeSizeChange (const CRect& newSize, const CRect& oldSize)
	{
		(void)newSize, (void)oldSize;
		return true;
	}
	/** The editor's frame, null while closed. */
	virtual CFrame* getFrame () const { return frame; }

	virtual ~VSTGUIEditorInterface () noexcept = default;

protected:
	VSTGUIEditorInterface () = default;

	CFrame* frame {nullptr};
};

} // namespace VSTGUI
