#include "cknob.h"
#include "../cdrawcontext.h"
#include "../cframe.h"
#include <cmath>

namespace VSTGUI {

CKnobBase::CKnobBase (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
: CControl (size, listener, tag, background)
{
}

CKnobBase::CKnobBase (const CKnobBase& k)
: CControl (k), zoomFactor (k.zoomFactor), startAngle (k.startAngle), rangeAngle (k.rangeAngle)
{
}

void CKnobBase::applyValue (float v)
{
	float before = value;
	setValue (v);
	if (value != before)
	{
		valueChanged ();
		invalid ();
	}
}

float CKnobBase::valueFromPoint (const CPoint& point) const
{
	CPoint c = size.getCenter ();
	double angle = std::atan2 (-(point.y - c.y), point.x - c.x); // y grows down on screen
	// Distance from the start angle along the direction of the range.
	double along = (angle - startAngle) * (rangeAngle < 0 ? -1. : 1.);
	if (!std::isfinite (along)) // a start angle that is not finite: the value stays
		return value;
	const double twoPi = 2. * 3.14159265358979;
	// Far from the range, fmod brings the angle near it at once; the loops below then turn
	// it at most a few times, as they do alone for every angle of ordinary size.
	if (std::fabs (along) > 64. * twoPi)
		along = std::fmod (along, twoPi);
	while (along < 0)
		along += twoPi;
	while (along >= twoPi)
		along -= twoPi;
	double span = std::fabs (rangeAngle);
	double norm;
	if (along <= span)
		norm = along / span;
	else // in the gap: the nearer end
		norm = (along - span < (twoPi - along)) ? 1. : 0.;
	return static_cast<float> (vmin + norm * (vmax - vmin));
}

void CKnobBase::startDrag (const CPoint& where, const CButtonState& buttons)
{
	mouseState.firstPoint = where;
	mouseState.lastPoint = where;
	mouseState.entryValue = value;
	mouseState.startValue = value;
	mouseState.oldButton = buttons ();
	mouseState.range = zoomFactor;
	mouseState.coef = (vmax - vmin) / mouseState.range;
	// Shift gives ten times finer steps.
	if (buttons & kZoomModifier)
		mouseState.coef /= 10.f;
	// The editor's knob mode; Alt switches between linear and circular.
	int32_t mode = kCircularMode;
	int32_t frameMode = getFrame () ? getFrame ()->getKnobMode () : kCircularMode;
	if (frameMode == kLinearMode)
	{
		if (!(buttons & kAlt))
			mode = kLinearMode;
	}
	else if (buttons & kAlt)
		mode = kLinearMode;
	else
		mode = frameMode;
	mouseState.mode = mode;
	mouseState.active = true;
}

CMouseEventResult CKnobBase::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	if (checkDefaultValue (buttons))
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	if (buttons.isDoubleClick ())
	{
		float def = getDefaultValue ();
		if (def != value)
		{
			beginEdit ();
			setValue (def);
			valueChanged ();
			endEdit ();
			invalid ();
		}
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	}
	beginEdit ();
	startDrag (where, buttons);
	if (mouseState.mode == kCircularMode)
		applyValue (valueFromPoint (where));
	return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseUp (CPoint&, const CButtonState&)
{
	if (mouseState.active)
	{
		mouseState.active = false;
		endEdit ();
	}
	return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseCancel ()
{
	if (mouseState.active)
	{
		mouseState.active = false;
		applyValue (mouseState.entryValue);
		endEdit ();
	}
	return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton) || !mouseState.active || !isEditing ())
		return kMouseEventNotHandled;
	if (mouseState.mode == kLinearMode)
	{
		// Shift pressed or released mid-drag: start again from here at the new speed.
		if ((buttons & kZoomModifier) != (mouseState.oldButton & kZoomModifier))
		{
			mouseState.firstPoint = where;
			mouseState.startValue = value;
			mouseState.oldButton = buttons ();
			mouseState.coef = (vmax - vmin) / mouseState.range;
			if (buttons & kZoomModifier)
				mouseState.coef /= 10.f; // Shift: ten times finer, as at the mouse-down
		}
		float diff = static_cast<float> ((mouseState.firstPoint.y - where.y) + (where.x - mouseState.firstPoint.x));
		applyValue (mouseState.startValue + diff * mouseState.coef);
	}
	else if (mouseState.mode == kRelativCircularMode)
	{
		float now = valueFromPoint (where);
		float before = valueFromPoint (mouseState.lastPoint);
		applyValue (value + (now - before));
	}
	else
		applyValue (valueFromPoint (where));
	mouseState.lastPoint = where;
	return kMouseEventHandled;
}

bool CKnobBase::onWheel (const CPoint&, const CMouseWheelAxis&, const float& distance,
                         const CButtonState& buttons)
{
	if (!getMouseEnabled ())
		return false;
	float step = distance * wheelInc;
	if (buttons & kZoomModifier)
		step *= 0.1f;
	float before = value;
	setValueNormalized (getValueNormalized () + step);
	if (value != before)
	{
		beginEdit ();
		valueChanged ();
		endEdit ();
		invalid ();
	}
	return true;
}

//------------------------------------------------------------------------
CKnob::CKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
              const CPoint& off, int32_t style)
: CKnobBase (size, listener, tag, background), offset (off), handleBitmap (handle), drawStyle (style)
{
}

CKnob::CKnob (const CKnob& k)
: CKnobBase (k), offset (k.offset), handleBitmap (k.handleBitmap), drawStyle (k.drawStyle)
{
}

void CKnob::draw (CDrawContext* context)
{
	if (background)
		background->draw (context, size, offset);
	if (handleBitmap)
	{
		// The handle's centre travels on a circle inside the knob.
		double norm = getValueNormalized ();
		double angle = startAngle + norm * rangeAngle;
		CPoint c = size.getCenter ();
		double radius = std::min (size.getWidth (), size.getHeight ()) / 2. -
		                std::max (handleBitmap->getWidth (), handleBitmap->getHeight ()) / 2.;
		CPoint h (c.x + std::cos (angle) * radius, c.y - std::sin (angle) * radius);
		CRect r (h.x - handleBitmap->getWidth () / 2., h.y - handleBitmap->getHeight () / 2., 0, 0);
		r.setWidth (handleBitmap->getWidth ());
		r.setHeight (handleBitmap->getHeight ());
		r.makeIntegral ();
		handleBitmap->draw (context, r);
	}
	setDirty (false);
}

//------------------------------------------------------------------------
CAnimKnob::CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, int32_t n, CCoord h,
                      CBitmap* background, const CPoint& off)
: CKnobBase (size, listener, tag, background), offset (off), subPixmaps (n), heightOfOneImage (h)
{
}

CAnimKnob::CAnimKnob (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                      const CPoint& off)
: CKnobBase (size, listener, tag, background), offset (off), subPixmaps (0), heightOfOneImage (size.getHeight ())
{
	if (background && heightOfOneImage > 0)
		subPixmaps = static_cast<int32_t> (background->getHeight () / heightOfOneImage);
}

CAnimKnob::CAnimKnob (const CAnimKnob& k)
: CKnobBase (k),
  offset (k.offset),
  subPixmaps (k.subPixmaps),
  heightOfOneImage (k.heightOfOneImage),
  inverseBitmap (k.inverseBitmap)
{
}

void CAnimKnob::draw (CDrawContext* context)
{
	if (background && subPixmaps > 0)
	{
		float norm = getValueNormalized ();
		if (inverseBitmap)
			norm = 1.f - norm;
		auto index = static_cast<int32_t> (std::floor (norm * static_cast<float> (subPixmaps - 1)));
		index = std::max (0, std::min (index, subPixmaps - 1));
		CPoint where (offset.x, offset.y + heightOfOneImage * index);
		background->draw (context, size, where);
	}
	setDirty (false);
}

} // namespace VSTGUI
