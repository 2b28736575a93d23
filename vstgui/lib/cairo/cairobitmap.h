// IPlatformBitmap over a cairo image surface (32-bit premultiplied, B, G, R, A in memory).
// UI thread.
#pragma once

#include "../platform/iplatformbitmap.h"
#include <cstddef>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CairoBitmap : public IPlatformBitmap
{
public:
	/** A transparent bitmap of the size (0 x 0 gives no surface). */
	explicit CairoBitmap (const CPoint& size);
	/** Adopts the surface (one reference). */
	explicit CairoBitmap (cairo_surface_t* surface);
	~CairoBitmap () noexcept override;

	bool load (const CResourceDescription& desc) override;
	const CPoint& getSize () const override { return size; }
	SharedPointer<IPlatformBitmapPixelAccess> lockPixels (bool alphaPremultiplied) override;
	void setScaleFactor (double factor) override { scaleFactor = factor; }
	double getScaleFactor () const override { return scaleFactor; }

	/** The image surface (null when empty). */
	cairo_surface_t* getSurface () const { return surface; }
	/** Decodes PNG bytes into a new ARGB32 image surface; null when they are no PNG.
	    Trusted bytes (the module's own resources) skip the checksums. */
	static cairo_surface_t* decodePNG (const void* data, size_t size, bool trusted);
	/** Width and height from the header of PNG bytes, without decoding; false when the
	    bytes do not start with a PNG header of a size an image surface can hold. */
	static bool readPNGSize (const void* data, size_t size, CPoint& pixels);

private:
	void adopt (cairo_surface_t* s);

	cairo_surface_t* surface {nullptr};
	CPoint size;
	double scaleFactor {1.};
};

/** The cairo surface behind a bitmap, or null. */
cairo_surface_t* getCairoSurface (CBitmap* bitmap);

} // namespace VSTGUI
