// CTextLabel (a text in a CParamDisplay box) and CTextEdit (a label that takes keys).
#pragma once

#include "cparamdisplay.h"
#include <string>

namespace VSTGUI {

class CTextLabel : public CParamDisplay
{
public:
	CTextLabel (const CRect& size, UTF8StringPtr txt = nullptr, CBitmap* background = nullptr,
	            const int32_t style = 0);
	CTextLabel (const CTextLabel& l);

	/** Replaces the text (null empties it). UI thread. */
	virtual void setText (UTF8StringPtr txt);
	UTF8StringPtr getText () const { return text.c_str (); }

	/** Background, frame, then the text. */
	void draw (CDrawContext* context) override;

	CLASS_METHODS (CTextLabel, CParamDisplay)

protected:
	std::string text;
};

//------------------------------------------------------------------------
class CTextEdit : public CTextLabel
{
public:
	CTextEdit (const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt = nullptr,
	           CBitmap* background = nullptr, const int32_t style = 0);
	CTextEdit (const CTextEdit& e);

	/** Typing: printable characters are appended, Backspace removes the last one,
	    Return or Escape ends the editing. */
	int32_t onKeyDown (VstKeyCode& keyCode) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	/** Ends the editing; when the text changed the listener hears of it. */
	void looseFocus () override;
	void takeFocus () override;
	bool isEditingText () const { return editingText; }

	CLASS_METHODS (CTextEdit, CTextLabel)

protected:
	bool editingText {false};
	std::string textBeforeEdit;
};

} // namespace VSTGUI
