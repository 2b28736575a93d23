#include "cmoviebitmap.h"
#include "../cdrawcontext.h"
#include <cmath>

namespace VSTGUI {

CMovieBitmap::CMovieBitmap (const CRect& size, IControlListener* listener, int32_t tag, int32_t n, CCoord h,
                            CBitmap* background, const CPoint& off)
: CControl (size, listener, tag, background), offset (off), subPixmaps (n), heightOfOneImage (h)
{
}

CMovieBitmap::CMovieBitmap (const CMovieBitmap& m)
: CControl (m), offset (m.offset), subPixmaps (m.subPixmaps), heightOfOneImage (m.heightOfOneImage)
{
}

void CMovieBitmap::draw (CDrawContext* context)
{
	if (background && subPixmaps > 0)
	{
		// Rounded, so that value k / (n - 1) shows picture k exactly.
		auto index = static_cast<int32_t> (std::lround (getValueNormalized () * static_cast<float> (subPixmaps - 1)));
		index = std::max (0, std::min (index, subPixmaps - 1));
		background->draw (context, size, CPoint (offset.x, offset.y + heightOfOneImage * index));
	}
	setDirty (false);
}

} // namespace VSTGUI
