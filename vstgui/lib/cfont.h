// CFontDesc: a font by name, size (pixels) and style; the library's shared fonts.
#pragma once

#include "vstguifwd.h"
#include <string>

namespace VSTGUI {

class CFontDesc : public CBaseObject
{
public:
	CFontDesc (UTF8StringPtr name = nullptr, const CCoord& size = 0, const int32_t style = 0);
	CFontDesc (const CFontDesc& font);
	~CFontDesc () noexcept override = default;

	UTF8StringPtr getName () const { return name.c_str (); }
	const CCoord& getSize () const { return size; }
	const int32_t& getStyle () const { return style; }

	/** Renames the font. UI thread. */
	virtual void setName (UTF8StringPtr newName);
	/** Sets the size in pixels. UI thread. */
	virtual void setSize (CCoord newSize);
	/** Sets the style bits (CTxtFace). UI thread. */
	virtual void setStyle (int32_t newStyle);

	CFontDesc& operator= (const CFontDesc&);
	bool operator== (const CFontDesc&) const;
	bool operator!= (const CFontDesc& o) const { return !(*this == o); }

	CLASS_METHODS (CFontDesc, CBaseObject)

protected:
	std::string name;
	CCoord size;
	int32_t style;
};

// Shared font descriptions; they are process-wide and may be changed at run time.
extern const CFontRef kSystemFont;           // "Arial" 12
extern const CFontRef kNormalFontVeryBig;    // "Arial" 18
extern const CFontRef kNormalFontBig;        // "Arial" 14
extern const CFontRef kNormalFont;           // "Arial" 12
extern const CFontRef kNormalFontSmall;      // "Arial" 11
extern const CFontRef kNormalFontSmaller;    // "Arial" 10
extern const CFontRef kNormalFontVerySmall;  // "Arial" 9
extern const CFontRef kSymbolFont;           // "Symbol" 12

} // namespace VSTGUI
