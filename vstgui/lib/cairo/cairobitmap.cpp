#include "cairobitmap.h"
#include "../cbitmap.h"
#include "../platform/resourcebytes.h"
#include <cairo.h>
#include <algorithm>
#include <cstring>

namespace VSTGUI {

namespace {

//------------------------------------------------------------------------
/** Pixel access straight into the surface's memory; marks the surface changed at the end.
    Without premultiplication the pixels are divided by alpha for the accessor's life. */
class CairoPixelAccess : public IPlatformBitmapPixelAccess
{
public:
	CairoPixelAccess (SharedPointer<CairoBitmap> bitmap, bool premultiplied)
	: bitmap (bitmap), premultiplied (premultiplied)
	{
		cairo_surface_t* s = bitmap->getSurface ();
		cairo_surface_flush (s);
		address = cairo_image_surface_get_data (s);
		bytesPerRow = static_cast<uint32_t> (cairo_image_surface_get_stride (s));
		width = static_cast<uint32_t> (cairo_image_surface_get_width (s));
		height = static_cast<uint32_t> (cairo_image_surface_get_height (s));
		if (!premultiplied)
			convert (false);
	}
	~CairoPixelAccess () noexcept override
	{
		if (!premultiplied)
			convert (true);
		cairo_surface_mark_dirty (bitmap->getSurface ());
	}

	uint8_t* getAddress () const override { return address; }
	uint32_t getBytesPerRow () const override { return bytesPerRow; }
	PixelFormat getPixelFormat () const override { return kBGRA; }

private:
	void convert (bool toPremultiplied)
	{
		for (uint32_t y = 0; y < height; ++y)
		{
			uint8_t* p = address + y * bytesPerRow;
			for (uint32_t x = 0; x < width; ++x, p += 4)
			{
				uint32_t a = p[3];
				if (a == 255)
					continue;
				for (int c = 0; c < 3; ++c)
				{
					if (toPremultiplied)
						p[c] = static_cast<uint8_t> ((p[c] * a + 127) / 255);
					else
						p[c] = a ? static_cast<uint8_t> (std::min<uint32_t> (255, (p[c] * 255 + a / 2) / a))
						         : 0;
				}
			}
		}
	}

	SharedPointer<CairoBitmap> bitmap;
	bool premultiplied;
	uint8_t* address {nullptr};
	uint32_t bytesPerRow {0};
	uint32_t width {0};
	uint32_t height {0};
};

struct PngReader
{
	const uint8_t* data;
	size_t size;
	size_t pos;
};

cairo_status_t readPng (void* closure, unsigned char* out, unsigned int length)
{
	auto* r = static_cast<PngReader*> (closure);
	if (r->size - r->pos < length)
		return CAIRO_STATUS_READ_ERROR;
	std::memcpy (out, r->data + r->pos, length);
	r->pos += length;
	return CAIRO_STATUS_SUCCESS;
}

/** Turns any image surface into one of format ARGB32 (so that pixels are 4 bytes). */
cairo_surface_t* toARGB32 (cairo_surface_t* s)
{
	if (cairo_image_surface_get_format (s) == CAIRO_FORMAT_ARGB32)
		return s;
	int w = cairo_image_surface_get_width (s);
	int h = cairo_image_surface_get_height (s);
	cairo_surface_t* d = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
	cairo_t* cr = cairo_create (d);
	cairo_set_source_surface (cr, s, 0, 0);
	cairo_set_operator (cr, CAIRO_OPERATOR_SOURCE);
	cairo_paint (cr);
	cairo_destroy (cr);
	cairo_surface_destroy (s);
	return d;
}

} // namespace

//------------------------------------------------------------------------
CairoBitmap::CairoBitmap (const CPoint& sz)
{
	int w = static_cast<int> (sz.x);
	int h = static_cast<int> (sz.y);
	if (w > 0 && h > 0)
		adopt (cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h));
}

CairoBitmap::CairoBitmap (cairo_surface_t* s)
{
	adopt (s);
}

CairoBitmap::~CairoBitmap () noexcept
{
	if (surface)
		cairo_surface_destroy (surface);
}

void CairoBitmap::adopt (cairo_surface_t* s)
{
	if (surface)
		cairo_surface_destroy (surface);
	surface = nullptr;
	size = {};
	if (!s)
		return;
	if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (s);
		return;
	}
	surface = s;
	size = CPoint (cairo_image_surface_get_width (s), cairo_image_surface_get_height (s));
}

cairo_surface_t* CairoBitmap::decodePNG (const void* data, size_t dataSize)
{
	if (!data || dataSize < 8)
		return nullptr;
	PngReader reader {static_cast<const uint8_t*> (data), dataSize, 0};
	cairo_surface_t* s = cairo_image_surface_create_from_png_stream (readPng, &reader);
	if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (s);
		return nullptr;
	}
	return toARGB32 (s);
}

bool CairoBitmap::load (const CResourceDescription& desc)
{
	if (desc.type != CResourceDescription::kIntegerType)
		return false;
	auto bytes = Platform::findResourceBytes (desc.u.id);
	cairo_surface_t* s = decodePNG (bytes.data, bytes.size);
	if (!s)
		return false;
	adopt (s);
	return surface != nullptr;
}

SharedPointer<IPlatformBitmapPixelAccess> CairoBitmap::lockPixels (bool alphaPremultiplied)
{
	if (!surface)
		return nullptr;
	return owned<IPlatformBitmapPixelAccess> (
	    new CairoPixelAccess (shared (this), alphaPremultiplied));
}

//------------------------------------------------------------------------
SharedPointer<IPlatformBitmap> IPlatformBitmap::create (CPoint* size)
{
	if (!size || size->x < 1 || size->y < 1)
		return nullptr;
	auto bitmap = owned (new CairoBitmap (*size));
	if (!bitmap->getSurface ())
		return nullptr;
	return bitmap;
}

SharedPointer<IPlatformBitmap> IPlatformBitmap::createFromPath (UTF8StringPtr absolutePath)
{
	if (!absolutePath)
		return nullptr;
	cairo_surface_t* s = cairo_image_surface_create_from_png (absolutePath);
	if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (s);
		return nullptr;
	}
	return owned (new CairoBitmap (toARGB32 (s)));
}

SharedPointer<IPlatformBitmap> IPlatformBitmap::createFromMemory (const void* ptr, uint32_t memSize)
{
	cairo_surface_t* s = CairoBitmap::decodePNG (ptr, memSize);
	if (!s)
		return nullptr;
	return owned (new CairoBitmap (s));
}

cairo_surface_t* getCairoSurface (CBitmap* bitmap)
{
	if (!bitmap)
		return nullptr;
	auto* cb = dynamic_cast<CairoBitmap*> (bitmap->getPlatformBitmap ());
	return cb ? cb->getSurface () : nullptr;
}

} // namespace VSTGUI
