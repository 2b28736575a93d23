// COffscreenContext: a draw context that paints into a new bitmap, without a window.
#pragma once

#include "cdrawcontext.h"

namespace VSTGUI {

class COffscreenContext : public CDrawContext
{
public:
	/** A context over a new transparent bitmap of width x height; null for an empty size.
	    The frame may be null. UI thread. */
	static SharedPointer<COffscreenContext> create (CFrame* frame, CCoord width, CCoord height,
	                                                double scaleFactor = 1.);

	/** The bitmap drawn into. */
	CBitmap* getBitmap () const { return bitmap; }
	/** Copies the part of this bitmap at srcOffset into another context's destRect. */
	void copyFrom (CDrawContext* pContext, CRect destRect, CPoint srcOffset = CPoint (0, 0));

	CCoord getWidth () const { return surfaceRect.getWidth (); }
	CCoord getHeight () const { return surfaceRect.getHeight (); }

	~COffscreenContext () noexcept override;

protected:
	COffscreenContext (CBitmap* bitmap, cairo_surface_t* surface);

	SharedPointer<CBitmap> bitmap;
};

} // namespace VSTGUI
