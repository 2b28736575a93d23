// CMovieBitmap: shows one picture of a vertical strip, chosen by the value. UI thread.
#pragma once

#include "ccontrol.h"

namespace VSTGUI {

class CMovieBitmap : public CControl
{
public:
	CMovieBitmap (const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
	              CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint (0, 0));
	CMovieBitmap (const CMovieBitmap& m);

	/** Draws picture round(normalised value x (n - 1)) of the strip. */
	void draw (CDrawContext* context) override;

	int32_t getNumSubPixmaps () const { return subPixmaps; }
	CCoord getHeightOfOneImage () const { return heightOfOneImage; }

	CLASS_METHODS (CMovieBitmap, CControl)

protected:
	CPoint offset;
	int32_t subPixmaps;
	CCoord heightOfOneImage;
};

} // namespace VSTGUI
