#include "ctextlabel.h"
#include "../cframe.h"

namespace VSTGUI {

CTextLabel::CTextLabel (const CRect& size, UTF8StringPtr txt, CBitmap* background, const int32_t style)
: CParamDisplay (size, background, style), text (txt ? txt : "")
{
}

CTextLabel::CTextLabel (const CTextLabel& l) : CParamDisplay (l), text (l.text)
{
}

void CTextLabel::setText (UTF8StringPtr txt)
{
	std::string t = txt ? txt : "";
	if (t == text)
		return;
	text = t;
	setDirty (true);
}

void CTextLabel::draw (CDrawContext* context)
{
	drawBack (context);
	auto s = IPlatformString::createWithUTF8String (text.c_str ());
	drawPlatformText (context, s);
	setDirty (false);
}

//------------------------------------------------------------------------
CTextEdit::CTextEdit (const CRect& size, IControlListener* listener, int32_t tag, UTF8StringPtr txt,
                      CBitmap* background, const int32_t style)
: CTextLabel (size, txt, background, style)
{
	setListener (listener);
	setTag (tag);
	setWantsFocus (true);
}

CTextEdit::CTextEdit (const CTextEdit& e) : CTextLabel (e)
{
}

CMouseEventResult CTextEdit::onMouseDown (CPoint&, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;
	if (CFrame* frame = getFrame ())
		frame->setFocusView (this);
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::takeFocus ()
{
	if (editingText)
		return;
	editingText = true;
	textBeforeEdit = text;
	beginEdit ();
}

void CTextEdit::looseFocus ()
{
	if (!editingText)
		return;
	editingText = false;
	if (text != textBeforeEdit)
		valueChanged ();
	endEdit ();
	invalid ();
}

int32_t CTextEdit::onKeyDown (VstKeyCode& keyCode)
{
	if (!editingText)
		return -1;
	if (keyCode.virt == VKEY_RETURN || keyCode.virt == VKEY_ENTER || keyCode.virt == VKEY_ESCAPE)
	{
		if (keyCode.virt == VKEY_ESCAPE)
			text = textBeforeEdit;
		if (CFrame* frame = getFrame (); frame && frame->getFocusView () == this)
			frame->setFocusView (nullptr);
		else
			looseFocus ();
		return 1;
	}
	if (keyCode.virt == VKEY_BACK)
	{
		if (!text.empty ())
			text.pop_back ();
		invalid ();
		return 1;
	}
	if (keyCode.character >= 32 && keyCode.character < 127)
	{
		text.push_back (static_cast<char> (keyCode.character));
		invalid ();
		return 1;
	}
	return -1;
}

} // namespace VSTGUI
