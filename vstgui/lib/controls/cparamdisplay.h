// CParamDisplay: shows a value (or a text) in a box with font, colours and alignment. UI thread.
#pragma once

#include "../ccolor.h"
#include "../cfont.h"
#include "../platform/iplatformstring.h"
#include "ccontrol.h"
#include <functional>

namespace VSTGUI {

class CParamDisplay : public CControl
{
public:
	/** Style bits. */
	enum Style
	{
		k3DIn = 1 << 0,
		k3DOut = 1 << 1,
		kShadowText = 1 << 2,
		kNoTextStyle = 1 << 3,
		kNoDrawStyle = 1 << 4,
		kRoundRectStyle = 1 << 5,
		kNoFrame = 1 << 6
	};
	/** Turns the value into the text shown; false shows nothing. */
	using ValueToStringFunction = std::function<bool (float value, char utf8String[256], CParamDisplay* display)>;

	/** A display over size with a background picture (may be null) and style flags (Style). */
	CParamDisplay (const CRect& size, CBitmap* background = nullptr, int32_t style = 0);
	CParamDisplay (const CParamDisplay& p);

	/** Background, frame, then the value's text (precision decimals unless a function is set). */
	void draw (CDrawContext* context) override;

	/** Font (a null font keeps the current one) and the text, background, frame and
	    shadow colours; each change marks the view dirty. UI thread. */
	virtual void setFont (CFontRef fontID);
	CFontRef getFont () const { return fontID; }
	virtual void setFontColor (CColor color);
	CColor getFontColor () const { return fontColor; }
	virtual void setBackColor (CColor color);
	CColor getBackColor () const { return backColor; }
	virtual void setFrameColor (CColor color);
	CColor getFrameColor () const { return frameColor; }
	virtual void setShadowColor (CColor color);
	CColor getShadowColor () const { return shadowColor; }
	/** Horizontal alignment of the text (centred unless set). */
	virtual void setHoriAlign (CHoriTxtAlign hAlign);
	CHoriTxtAlign getHoriAlign () const { return horiTxtAlign; }
	/** Style flags (Style); marks the view dirty. UI thread. */
	virtual void setStyle (int32_t val);
	int32_t getStyle () const { return style; }
	/** No background fill behind the text (the view's transparency). UI thread. */
	virtual void setTextTransparency (bool val) { setTransparency (val); }
	bool getTextTransparency () const { return getTransparency (); }
	/** Smooth text edges. UI thread. */
	void setAntialias (bool state) { antialias = state; }
	bool getAntialias () const { return antialias; }
	/** Pixels kept free left/right (x) and above/below (y) the text. UI thread. */
	void setTextInset (const CPoint& p) { textInset = p; }
	CPoint getTextInset () const { return textInset; }
	/** Width of the frame line, pixels. UI thread. */
	void setFrameWidth (const CCoord& width) { frameWidth = width; }
	/** Replaces the number formatting (null: back to it). UI thread. */
	void setValueToStringFunction (const ValueToStringFunction& f) { valueToString = f; }
	/** Decimals of the default number text. UI thread. */
	void setPrecision (uint8_t val) { precision = val; }

	CLASS_METHODS (CParamDisplay, CControl)

protected:
	/** Background picture (or colour unless transparent) and frame (unless kNoFrame). */
	virtual void drawBack (CDrawContext* context, CBitmap* newBack = nullptr);
	/** Draws the text in the whole view with font, colour and alignment. */
	virtual void drawPlatformText (CDrawContext* context, IPlatformString* string);
	virtual void drawPlatformText (CDrawContext* context, IPlatformString* string, const CRect& size);

	ValueToStringFunction valueToString;
	CHoriTxtAlign horiTxtAlign {kCenterText};
	int32_t style;
	uint8_t precision {2};
	SharedPointer<CFontDesc> fontID;
	CColor fontColor {kWhiteCColor};
	CColor backColor {kBlackCColor};
	CColor frameColor {kBlackCColor};
	CColor shadowColor {kRedCColor};
	CPoint textInset {0, 0};
	CCoord frameWidth {1.};
	bool antialias {true};
};

} // namespace VSTGUI
