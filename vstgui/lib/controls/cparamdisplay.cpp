#include "cparamdisplay.h"
#include "../cdrawcontext.h"
#include "../cfont.h"
#include <cstdio>

namespace VSTGUI {

CParamDisplay::CParamDisplay (const CRect& size, CBitmap* background, int32_t s)
: CControl (size, nullptr, -1, background), style (s), fontID (kNormalFont)
{
}

CParamDisplay::CParamDisplay (const CParamDisplay& p)
: CControl (p),
  valueToString (p.valueToString),
  horiTxtAlign (p.horiTxtAlign),
  style (p.style),
  precision (p.precision),
  fontID (p.fontID),
  fontColor (p.fontColor),
  backColor (p.backColor),
  frameColor (p.frameColor),
  shadowColor (p.shadowColor),
  textInset (p.textInset),
  frameWidth (p.frameWidth),
  antialias (p.antialias)
{
}

void CParamDisplay::draw (CDrawContext* context)
{
	char text[256] = {}; // the size ValueToStringFunction is handed
	bool show;
	if (valueToString)
		show = valueToString (value, text, this);
	else
	{
		std::snprintf (text, sizeof (text), "%.*f", static_cast<int> (precision), static_cast<double> (value));
		show = true;
	}
	drawBack (context);
	if (show)
	{
		auto s = IPlatformString::createWithUTF8String (text);
		drawPlatformText (context, s);
	}
	setDirty (false);
}

void CParamDisplay::drawBack (CDrawContext* context, CBitmap* newBack)
{
	CBitmap* picture = newBack ? newBack : getBackground ();
	if (picture)
		picture->draw (context, size);
	else if (!getTransparency () && !(style & kNoDrawStyle))
	{
		context->setFillColor (backColor);
		context->drawRect (size, kDrawFilled);
	}
	if (!(style & (kNoFrame | kNoDrawStyle)) && !getTransparency ())
	{
		context->setLineWidth (frameWidth);
		context->setFrameColor (frameColor);
		context->drawRect (size, kDrawStroked);
	}
}

void CParamDisplay::drawPlatformText (CDrawContext* context, IPlatformString* string)
{
	drawPlatformText (context, string, size);
}

void CParamDisplay::drawPlatformText (CDrawContext* context, IPlatformString* string, const CRect& area)
{
	if (!string || (style & kNoTextStyle))
		return;
	CRect textRect (area);
	textRect.inset (textInset.x, textInset.y);
	context->setFont (fontID);
	if (style & kShadowText)
	{
		CRect shadow (textRect);
		shadow.offset (1, 1);
		context->setFontColor (shadowColor);
		context->drawString (string->getUTF8String (), shadow, horiTxtAlign, antialias);
	}
	context->setFontColor (fontColor);
	context->drawString (string->getUTF8String (), textRect, horiTxtAlign, antialias);
}

void CParamDisplay::setFont (CFontRef font)
{
	if (font)
		fontID = font;
	setDirty (true);
}

void CParamDisplay::setFontColor (CColor color)
{
	fontColor = color;
	setDirty (true);
}

void CParamDisplay::setBackColor (CColor color)
{
	backColor = color;
	setDirty (true);
}

void CParamDisplay::setFrameColor (CColor color)
{
	frameColor = color;
	setDirty (true);
}

void CParamDisplay::setShadowColor (CColor color)
{
	shadowColor = color;
	setDirty (true);
}

void CParamDisplay::setHoriAlign (CHoriTxtAlign hAlign)
{
	horiTxtAlign = hAlign;
	setDirty (true);
}

void CParamDisplay::setStyle (int32_t val)
{
	style = val;
	setDirty (true);
}

} // namespace VSTGUI
