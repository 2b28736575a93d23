#include "cfont.h"

namespace VSTGUI {

CFontDesc::CFontDesc (UTF8StringPtr n, const CCoord& s, const int32_t st)
: name (n ? n : ""), size (s), style (st)
{
}

CFontDesc::CFontDesc (const CFontDesc& font)
: CBaseObject (font), name (font.name), size (font.size), style (font.style)
{
}

void CFontDesc::setName (UTF8StringPtr newName)
{
	name = newName ? newName : "";
}

void CFontDesc::setSize (CCoord newSize)
{
	size = newSize;
}

void CFontDesc::setStyle (int32_t newStyle)
{
	style = newStyle;
}

CFontDesc& CFontDesc::operator= (const CFontDesc& f)
{
	name = f.name;
	size = f.size;
	style = f.style;
	return *this;
}

bool CFontDesc::operator== (const CFontDesc& f) const
{
	return name == f.name && size == f.size && style == f.style;
}

namespace {

// The shared descriptions live for the whole process: one extra reference keeps them
// alive whatever their users remember and forget.
CFontDesc* makeShared (UTF8StringPtr name, CCoord size)
{
	auto* f = new CFontDesc (name, size, 0);
	f->remember ();
	return f;
}

} // namespace

const CFontRef kSystemFont = makeShared ("Arial", 12);
const CFontRef kNormalFontVeryBig = makeShared ("Arial", 18);
const CFontRef kNormalFontBig = makeShared ("Arial", 14);
const CFontRef kNormalFont = makeShared ("Arial", 12);
const CFontRef kNormalFontSmall = makeShared ("Arial", 11);
const CFontRef kNormalFontSmaller = makeShared ("Arial", 10);
const CFontRef kNormalFontVerySmall = makeShared ("Arial", 9);
const CFontRef kSymbolFont = makeShared ("Symbol", 12);

} // namespace VSTGUI
