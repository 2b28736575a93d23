#include "cswitch.h"
#include "../cdrawcontext.h"
#include "../cvstguitimer.h"
#include <cmath>

namespace VSTGUI {

CVerticalSwitch::CVerticalSwitch (const CRect& size, IControlListener* listener, int32_t tag, int32_t n,
                                  CCoord h, int32_t positions, CBitmap* background, const CPoint& off)
: CControl (size, listener, tag, background),
  offset (off),
  subPixmaps (n),
  heightOfOneImage (h),
  maxPositions (positions)
{
}

CVerticalSwitch::CVerticalSwitch (const CVerticalSwitch& s)
: CControl (s),
  offset (s.offset),
  subPixmaps (s.subPixmaps),
  heightOfOneImage (s.heightOfOneImage),
  maxPositions (s.maxPositions)
{
}

int32_t CVerticalSwitch::getPosition () const
{
	if (maxPositions < 2)
		return 0;
	return static_cast<int32_t> (std::lround (getValueNormalized () * static_cast<float> (maxPositions - 1)));
}

void CVerticalSwitch::draw (CDrawContext* context)
{
	if (background)
	{
		bounceValue ();
		int32_t picture = subPixmaps < 2 ? 0
		                                 : static_cast<int32_t> (std::lround (
		                                       getValueNormalized () * static_cast<float> (subPixmaps - 1)));
		background->draw (context, size, CPoint (offset.x, offset.y + heightOfOneImage * picture));
	}
	setDirty (false);
}

CMouseEventResult CVerticalSwitch::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;
	entryValue = value;
	beginEdit ();
	return onMouseMoved (where, buttons);
}

CMouseEventResult CVerticalSwitch::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!isEditing () || !(buttons & kLButton) || maxPositions < 1)
		return kMouseEventHandled;
	double step = size.getHeight () / maxPositions;
	auto position = static_cast<int32_t> ((where.y - size.top) / step);
	position = std::max (0, std::min (position, maxPositions - 1));
	float norm = maxPositions > 1 ? static_cast<float> (position) / static_cast<float> (maxPositions - 1) : 0.f;
	float before = value;
	setValue (vmin + norm * getRange ());
	if (value != before)
	{
		valueChanged ();
		invalid ();
	}
	return kMouseEventHandled;
}

CMouseEventResult CVerticalSwitch::onMouseUp (CPoint&, const CButtonState&)
{
	if (isEditing ())
		endEdit ();
	return kMouseEventHandled;
}

CMouseEventResult CVerticalSwitch::onMouseCancel ()
{
	if (isEditing ())
	{
		value = entryValue;
		invalid ();
		endEdit ();
	}
	return kMouseEventHandled;
}

//------------------------------------------------------------------------
CRockerSwitch::CRockerSwitch (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                              const CPoint& off, const int32_t st)
: CRockerSwitch (size, listener, tag, size.getHeight (), background, off, st)
{
}

CRockerSwitch::CRockerSwitch (const CRect& size, IControlListener* listener, int32_t tag, CCoord h,
                              CBitmap* background, const CPoint& off, const int32_t st)
: CControl (size, listener, tag, background), offset (off), heightOfOneImage (h), style (st)
{
	setMin (-1.f);
	setMax (1.f);
	setValue (0.f);
	setDirty (false);
}

CRockerSwitch::CRockerSwitch (const CRockerSwitch& s)
: CControl (s), offset (s.offset), heightOfOneImage (s.heightOfOneImage), style (s.style)
{
}

CRockerSwitch::~CRockerSwitch () noexcept
{
	if (resetValueTimer)
		resetValueTimer->stop ();
}

void CRockerSwitch::draw (CDrawContext* context)
{
	if (background)
	{
		CCoord off = heightOfOneImage; // at rest
		if (value == getMax ())
			off = 2. * heightOfOneImage;
		else if (value == getMin ())
			off = 0.;
		background->draw (context, size, CPoint (offset.x, offset.y + off));
	}
	setDirty (false);
}

void CRockerSwitch::setAndNotify (float v)
{
	float before = value;
	value = v;
	if (value != before)
	{
		valueChanged ();
		invalid ();
	}
}

CMouseEventResult CRockerSwitch::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;
	entryValue = value;
	beginEdit ();
	return onMouseMoved (where, buttons);
}

CMouseEventResult CRockerSwitch::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!isEditing () || !buttons.getButtonState ())
		return kMouseEventHandled;
	const CRect& r = size;
	bool insideX = where.x >= r.left && where.x <= r.right;
	bool insideY = where.y >= r.top && where.y <= r.bottom;
	float v = entryValue;
	if (style & kHorizontal)
	{
		CCoord half = r.left + r.getWidth () / 2.;
		if (insideY && where.x >= r.left && where.x <= half)
			v = -1.f;
		else if (insideY && where.x >= half && where.x <= r.right)
			v = 1.f;
	}
	else
	{
		CCoord half = r.top + r.getHeight () / 2.;
		if (insideX && where.y >= r.top && where.y <= half)
			v = -1.f;
		else if (insideX && where.y >= half && where.y <= r.bottom)
			v = 1.f;
	}
	setAndNotify (v);
	return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseUp (CPoint&, const CButtonState&)
{
	if (isEditing ())
	{
		setAndNotify (0.f);
		endEdit ();
	}
	return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseCancel ()
{
	CPoint where;
	return onMouseUp (where, CButtonState ());
}

bool CRockerSwitch::onWheel (const CPoint&, const CMouseWheelAxis&, const float& distance, const CButtonState&)
{
	if (!getMouseEnabled ())
		return false;
	bool running = resetValueTimer && resetValueTimer->isRunning ();
	value = distance > 0 ? -1.f : 1.f;
	invalid ();
	if (!resetValueTimer)
		resetValueTimer = owned (new CVSTGUITimer (this, 200)); // ms after the last notch: back to 0
	resetValueTimer->start ();
	if (!running)
		beginEdit ();
	valueChanged ();
	return true;
}

CMessageResult CRockerSwitch::notify (CBaseObject* sender, IdStringPtr message)
{
	if (message == CVSTGUITimer::kMsgTimer && sender == resetValueTimer.get ())
	{
		resetValueTimer->stop ();
		value = 0.f;
		valueChanged ();
		endEdit ();
		invalid ();
		return kMessageNotified;
	}
	return CControl::notify (sender, message);
}

} // namespace VSTGUI
