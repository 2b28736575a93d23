#include "coffscreencontext.h"
#include "cairo/cairobitmap.h"
#include <cairo.h>

namespace VSTGUI {

SharedPointer<COffscreenContext> COffscreenContext::create (CFrame* frame, CCoord width, CCoord height,
                                                            double scaleFactor)
{
	(void)frame;
	if (width < 1. || height < 1.)
		return nullptr;
	auto bitmap = owned (new CBitmap (CPoint (width, height), scaleFactor));
	cairo_surface_t* surface = getCairoSurface (bitmap);
	if (!surface)
		return nullptr;
	return owned (new COffscreenContext (bitmap, surface));
}

COffscreenContext::COffscreenContext (CBitmap* bmp, cairo_surface_t* surface)
: CDrawContext (surface,
                CRect (0, 0, cairo_image_surface_get_width (surface), cairo_image_surface_get_height (surface)),
                bmp->getPlatformBitmap ()->getScaleFactor ()),
  bitmap (bmp)
{
}

COffscreenContext::~COffscreenContext () noexcept = default;

void COffscreenContext::copyFrom (CDrawContext* pContext, CRect destRect, CPoint srcOffset)
{
	if (!pContext)
		return;
	endDraw ();
	pContext->drawBitmap (bitmap, destRect, srcOffset, 1.f);
}

} // namespace VSTGUI
