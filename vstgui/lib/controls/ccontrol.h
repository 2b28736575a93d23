// CControl: a view with a value in min..max, a tag and a listener.
#pragma once

#include "../cview.h"
#include "icontrollistener.h"

namespace VSTGUI {

class CControl : public CView
{
public:
	/** A control of size telling listener (may be null) of changes, with tag and background. */
	CControl (const CRect& size, IControlListener* listener = nullptr, int32_t tag = 0,
	          CBitmap* pBackground = nullptr);
	CControl (const CControl& c);
	~CControl () noexcept override;

	// Value ---------------------------------------------------------------
	/** Sets the value clamped to min..max (NaN is ignored); tells no listener. UI thread. */
	virtual void setValue (float val);
	/** The value in min..max. UI thread. */
	virtual float getValue () const { return value; }
	/** Sets the value from 0..1 mapped onto min..max. */
	virtual void setValueNormalized (float val);
	/** The value mapped onto 0..1 (0 for an empty range). */
	virtual float getValueNormalized () const;
	/** Range ends; setting them does not clamp the value (bounceValue does). UI thread. */
	virtual void setMin (float val) { vmin = val; }
	virtual float getMin () const { return vmin; }
	virtual void setMax (float val) { vmax = val; }
	virtual float getMax () const { return vmax; }
	float getRange () const { return vmax - vmin; }
	/** The value before the current change, kept for the control's own use. */
	virtual void setOldValue (float val) { oldValue = val; }
	virtual float getOldValue () const { return oldValue; }
	/** Value restored by a Control-click or double click (0.5 unless set). */
	virtual void setDefaultValue (float val) { defaultValue = val; }
	virtual float getDefaultValue () const { return defaultValue; }
	/** Clamps the value into min..max. */
	virtual void bounceValue ();
	/** Left click with Control alone: restores the default value (notifying when it
	    changed) and answers true; else false. */
	virtual bool checkDefaultValue (CButtonState button);
	/** Value step of one wheel notch. */
	virtual void setWheelInc (float val) { wheelInc = val; }
	virtual float getWheelInc () const { return wheelInc; }

	// Tag and listener ------------------------------------------------------
	/** The number that names the control to its listener (the editor uses parameter indexes). UI thread. */
	virtual void setTag (int32_t val);
	virtual int32_t getTag () const { return tag; }
	/** Who hears of value changes and gestures (not owned). UI thread. */
	virtual void setListener (IControlListener* l) { listener = l; }
	IControlListener* getListener () const { return listener; }

	// Gestures ----------------------------------------------------------------
	/** Starts a gesture; nested calls count, the outermost reaches the listener and the
	    editor's hook. UI thread. */
	virtual void beginEdit ();
	/** Ends a gesture; the outermost call reaches the listener and the editor's hook. */
	virtual void endEdit ();
	/** True inside a gesture. */
	bool isEditing () const { return editing > 0; }
	/** Tells the listener that the value changed. UI thread. */
	virtual void valueChanged ();

	/** True when the value differs from the one drawn last, or the view was marked dirty. */
	bool isDirty () const override;
	/** true only sets the flag (any thread); false also notes the value as drawn (UI thread). */
	void setDirty (bool val = true) override;

	static int32_t kZoomModifier;         // kShift: finer mouse moves
	static int32_t kDefaultValueModifier; // kControl: restore the default value

	static IdStringPtr kMessageTagWillChange;
	static IdStringPtr kMessageTagDidChange;
	static IdStringPtr kMessageValueChanged;
	static IdStringPtr kMessageBeginEdit;
	static IdStringPtr kMessageEndEdit;

	CLASS_METHODS (CControl, CView)

protected:
	IControlListener* listener;
	int32_t tag;
	float oldValue {1.f};
	float defaultValue {0.5f};
	float value {0.f};
	float vmin {0.f};
	float vmax {1.f};
	float wheelInc {0.1f};
	int32_t editing {0};
};

} // namespace VSTGUI
