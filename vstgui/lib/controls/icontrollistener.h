// IControlListener: told of a control's value changes and gestures.
#pragma once

#include "../cbuttonstate.h"
#include "../vstguifwd.h"

namespace VSTGUI {

class IControlListener
{
public:
	virtual ~IControlListener () noexcept = default;
	/** The control's value was changed by the user. UI thread. */
	virtual void valueChanged (CControl* pControl) = 0;
	/** A right-button or modified click on the control, asked before the control sees it;
	    non-zero takes the click. UI thread. */
	virtual int32_t controlModifierClicked (CControl* pControl, CButtonState button)
	{
		(void)pControl, (void)button;
		return 0;
	}
	virtual void controlBeginEdit (CControl* pControl) { (void)pControl; }
	virtual void controlEndEdit (CControl* pControl) { (void)pControl; }
	virtual void controlTagWillChange (CControl* pControl) { (void)pControl; }
	virtual void controlTagDidChange (CControl* pControl) { (void)pControl; }
};

} // namespace VSTGUI
