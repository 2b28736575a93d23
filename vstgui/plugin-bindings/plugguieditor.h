// PluginGUIEditor: the VST 2 editor base on the GUI library: the host's editor calls
// (getRect, open, idle, close ...) on one side, the frame's editor interface on the other.
#pragma once

#include "../lib/cframe.h"
#include "../lib/vstguieditorinterface.h"
#include "plugin/AEffEditor.h"

namespace VSTGUI {

class PluginGUIEditor : public AEffEditor, public VSTGUIEditorInterface
{
public:
	/** An editor for the plug-in object (may be null), kept in the field effect. UI thread. */
	explicit PluginGUIEditor (AudioEffect* pEffect);
	~PluginGUIEditor () noexcept override;

	/** A parameter changed (the editor shows it); nothing here. UI thread. */
	virtual void setParameter (int32_t index, float value)
	{
		(void)index;
		(void)value;
	}
	/** Hands the host the editor rectangle (rect). */
	bool getRect (ERect** ppRect) override;
	/** Stores the host's parent window; true. Derived editors build their frame. */
	bool open (void* ptr) override;
	/** Forgets the parent window. */
	void close () override;
	/** Runs the frame's idle (events, timers, repainting). */
	void idle () override;
	/** Repaints the frame now (the given part, or all of it). */
	virtual void draw (ERect* pRect);
	/** Knob mode of every editor of the process (kLinearMode unless set). */
	bool setKnobMode (int32_t val) override;
	int32_t getKnobMode () const override { return knobMode; }
	/** Keys from the host go to the frame's focus view. */
	bool onKeyDown (VstKeyCode& keyCode) override;
	bool onKeyUp (VstKeyCode& keyCode) override;

	/** Runs idle at most every 15 ms while a control runs a modal action. */
	void doIdleStuff () override;
	/** Milliseconds of a steady clock. */
	static uint32_t getTicks ();

protected:
	ERect rect {0, 0, 0, 0};
	uint32_t lLastTicks {0};

private:
	static int32_t knobMode;
};

} // namespace VSTGUI
