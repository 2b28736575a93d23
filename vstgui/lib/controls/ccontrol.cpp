#include "ccontrol.h"
#include "../cframe.h"
#include <cmath>

namespace VSTGUI {

int32_t CControl::kZoomModifier = kShift;
int32_t CControl::kDefaultValueModifier = kControl;

IdStringPtr CControl::kMessageTagWillChange = "kMessageTagWillChange";
IdStringPtr CControl::kMessageTagDidChange = "kMessageTagDidChange";
IdStringPtr CControl::kMessageValueChanged = "kMessageValueChanged";
IdStringPtr CControl::kMessageBeginEdit = "kMessageBeginEdit";
IdStringPtr CControl::kMessageEndEdit = "kMessageEndEdit";

CControl::CControl (const CRect& sz, IControlListener* l, int32_t t, CBitmap* pBackground)
: CView (sz), listener (l), tag (t)
{
	setBackground (pBackground);
	setDirty (false);
}

CControl::CControl (const CControl& c)
: CView (c),
  listener (c.listener),
  tag (c.tag),
  oldValue (c.oldValue),
  defaultValue (c.defaultValue),
  value (c.value),
  vmin (c.vmin),
  vmax (c.vmax),
  wheelInc (c.wheelInc)
{
}

CControl::~CControl () noexcept = default;

void CControl::setValue (float val)
{
	if (std::isnan (val))
		return;
	if (val < vmin)
		val = vmin;
	else if (val > vmax)
		val = vmax;
	value = val;
}

void CControl::setValueNormalized (float val)
{
	if (std::isnan (val))
		return;
	val = std::fmin (1.f, std::fmax (0.f, val));
	setValue (vmin + val * getRange ());
}

float CControl::getValueNormalized () const
{
	float range = getRange ();
	return range == 0.f ? 0.f : (getValue () - vmin) / range;
}

void CControl::bounceValue ()
{
	if (value > vmax)
		value = vmax;
	else if (value < vmin)
		value = vmin;
}

bool CControl::checkDefaultValue (CButtonState button)
{
	if (button.isLeftButton () && button.getModifierState () == kDefaultValueModifier)
	{
		float def = getDefaultValue ();
		if (def != getValue ())
		{
			beginEdit ();
			setValue (def);
			valueChanged ();
			endEdit ();
		}
		return true;
	}
	return false;
}

void CControl::setTag (int32_t val)
{
	if (listener)
		listener->controlTagWillChange (this);
	tag = val;
	if (listener)
		listener->controlTagDidChange (this);
}

void CControl::beginEdit ()
{
	if (editing++ == 0)
	{
		if (listener)
			listener->controlBeginEdit (this);
		if (CFrame* frame = getFrame ())
			frame->beginEdit (tag);
	}
}

void CControl::endEdit ()
{
	if (editing == 0)
		return;
	if (--editing == 0)
	{
		if (CFrame* frame = getFrame ())
			frame->endEdit (tag);
		if (listener)
			listener->controlEndEdit (this);
	}
}

void CControl::valueChanged ()
{
	if (listener)
		listener->valueChanged (this);
}

bool CControl::isDirty () const
{
	return oldValue != value || CView::isDirty ();
}

void CControl::setDirty (bool val)
{
	CView::setDirty (val);
	if (!val)
		oldValue = value;
}

} // namespace VSTGUI
