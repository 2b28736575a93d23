#include "cairobitmap.h"
#include "../cbitmap.h"
#include "../platform/resourcebytes.h"
#include <cairo.h>
#include <png.h>
#include <algorithm>
#include <cstring>
#include <new>

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

void readPngBytes (png_structp png, png_bytep out, size_t length)
{
	auto* r = static_cast<PngReader*> (png_get_io_ptr (png));
	if (r->size - r->pos < length)
		png_error (png, "truncated");
	std::memcpy (out, r->data + r->pos, length);
	r->pos += length;
}

void pngFailed (png_structp png, png_const_charp)
{
	png_longjmp (png, 1);
}

void pngWarned (png_structp, png_const_charp) {}

/** Reads 8-bit RGB PNG bytes (the kind of every skin picture) straight into an ARGB32
    surface with alpha 255: what cairo's reader and the conversion to ARGB32 make, in one
    pass and one buffer. Other kinds leave handled false and are left to cairo. Trusted
    bytes (compiled into the module) skip the chunk and zlib checksums. */
cairo_surface_t* decodeRgbPNG (const uint8_t* data, size_t size, bool trusted, bool& handled)
{
	handled = false;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
	png_structp png = png_create_read_struct (PNG_LIBPNG_VER_STRING, nullptr, pngFailed, pngWarned);
	png_infop info = png ? png_create_info_struct (png) : nullptr;
	if (!info)
	{
		png_destroy_read_struct (&png, nullptr, nullptr);
		return nullptr;
	}
	PngReader reader {data, size, 0};
	// Written after setjmp and read after a failure's longjmp.
	cairo_surface_t* volatile surface = nullptr;
	png_bytep* volatile rows = nullptr;
	if (setjmp (png_jmpbuf (png)))
	{
		png_destroy_read_struct (&png, &info, nullptr);
		delete[] rows;
		if (surface)
			cairo_surface_destroy (surface);
		return nullptr;
	}
	png_set_read_fn (png, &reader, readPngBytes);
	if (trusted)
	{
		png_set_crc_action (png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
		png_set_option (png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
	}
	png_read_info (png, info);
	png_uint_32 width = 0, height = 0;
	int depth = 0, colorType = 0, interlace = 0;
	png_get_IHDR (png, info, &width, &height, &depth, &colorType, &interlace, nullptr, nullptr);
	if (depth != 8 || colorType != PNG_COLOR_TYPE_RGB || png_get_valid (png, info, PNG_INFO_tRNS))
	{
		png_destroy_read_struct (&png, &info, nullptr);
		return nullptr;
	}
	handled = true;
	if (interlace != PNG_INTERLACE_NONE)
		png_set_interlace_handling (png);
	// B, G, R, 255 in memory: ARGB32 on a little-endian machine.
	png_set_bgr (png);
	png_set_filler (png, 0xff, PNG_FILLER_AFTER);
	png_read_update_info (png, info);
	surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, static_cast<int> (width), static_cast<int> (height));
	rows = new (std::nothrow) png_bytep[height];
	if (cairo_surface_status (surface) != CAIRO_STATUS_SUCCESS || !rows)
		png_error (png, "out of memory");
	uint8_t* pixels = cairo_image_surface_get_data (surface);
	const size_t stride = static_cast<size_t> (cairo_image_surface_get_stride (surface));
	for (png_uint_32 y = 0; y < height; ++y)
		rows[y] = pixels + y * stride;
	png_read_image (png, rows);
	png_read_end (png, nullptr);
	png_destroy_read_struct (&png, &info, nullptr);
	delete[] rows;
	cairo_surface_mark_dirty (surface);
	return surface;
#else
	(void)data;
	(void)size;
	(void)trusted;
	return nullptr;
#endif
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

cairo_surface_t* CairoBitmap::decodePNG (const void* data, size_t dataSize, bool trusted)
{
	if (!data || dataSize < 8)
		return nullptr;
	bool handled = false;
	cairo_surface_t* rgb = decodeRgbPNG (static_cast<const uint8_t*> (data), dataSize, trusted, handled);
	if (handled)
		return rgb;
	PngReader reader {static_cast<const uint8_t*> (data), dataSize, 0};
	cairo_surface_t* s = cairo_image_surface_create_from_png_stream (readPng, &reader);
	if (cairo_surface_status (s) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (s);
		return nullptr;
	}
	return toARGB32 (s);
}

bool CairoBitmap::readPNGSize (const void* data, size_t dataSize, CPoint& pixels)
{
	// Signature (8 bytes), then the IHDR chunk: length 13, type, width and height big-endian.
	static const uint8_t kHeader[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
	constexpr uint32_t kMaxSide = 32767; // the largest side of a cairo image surface
	const auto* bytes = static_cast<const uint8_t*> (data);
	if (!bytes || dataSize < 24 || std::memcmp (bytes, kHeader, sizeof (kHeader)) != 0)
		return false;
	auto bigEndian = [] (const uint8_t* p) {
		return (uint32_t (p[0]) << 24) | (uint32_t (p[1]) << 16) | (uint32_t (p[2]) << 8) | uint32_t (p[3]);
	};
	const uint32_t width = bigEndian (bytes + 16);
	const uint32_t height = bigEndian (bytes + 20);
	if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide)
		return false;
	pixels = CPoint (width, height);
	return true;
}

bool CairoBitmap::load (const CResourceDescription& desc)
{
	if (desc.type != CResourceDescription::kIntegerType)
		return false;
	auto bytes = Platform::findResourceBytes (desc.u.id);
	cairo_surface_t* s = decodePNG (bytes.data, bytes.size, true);
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
	cairo_surface_t* s = CairoBitmap::decodePNG (ptr, memSize, false);
	if (!s)
		return nullptr;
	return owned (new CairoBitmap (s));
}

bool IPlatformBitmap::readResourceSize (const CResourceDescription& desc, CPoint& size)
{
	if (desc.type != CResourceDescription::kIntegerType)
		return false;
	auto bytes = Platform::findResourceBytes (desc.u.id);
	return CairoBitmap::readPNGSize (bytes.data, bytes.size, size);
}

cairo_surface_t* getCairoSurface (CBitmap* bitmap)
{
	if (!bitmap)
		return nullptr;
	auto* cb = dynamic_cast<CairoBitmap*> (bitmap->getPlatformBitmap ());
	return cb ? cb->getSurface () : nullptr;
}

} // namespace VSTGUI
