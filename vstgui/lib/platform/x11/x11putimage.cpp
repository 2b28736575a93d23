#include "x11putimage.h"
#include "x11pixelpacker.h"
#include <X11/Xutil.h>
#include <cairo.h>
#include <vector>

namespace VSTGUI {

void x11PutImage (Display* display, Drawable drawable, GC gc, Visual* visual, int depth, cairo_surface_t* surface,
                  const CRect& rect)
{
	if (!display || !surface)
		return;
	cairo_surface_flush (surface);
	int w = cairo_image_surface_get_width (surface);
	int h = cairo_image_surface_get_height (surface);
	int stride = cairo_image_surface_get_stride (surface);
	CRect r (rect);
	r.bound (CRect (0, 0, w, h));
	r.makeIntegral ();
	if (r.isEmpty ())
		return;
	auto* data = reinterpret_cast<char*> (cairo_image_surface_get_data (surface));
	XImage* image = XCreateImage (display, visual, static_cast<unsigned> (depth), ZPixmap, 0, nullptr,
	                              static_cast<unsigned> (w), static_cast<unsigned> (h),
	                              32 /* rows padded to 32 bits, as cairo's are */, 0);
	if (!image)
		return;
	// The picture's 32-bit pixels (B, G, R, A in memory) are the server's own format on
	// the usual 24-bit true-colour visuals; other true-colour visuals (16 and 30 bits)
	// get each pixel converted.
	bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst && image->red_mask == 0xff0000 &&
	              image->green_mask == 0xff00 && image->blue_mask == 0xff;
	std::vector<char> converted;
	if (direct)
	{
		image->data = data;
		image->bytes_per_line = stride;
	}
	else
	{
		converted.resize (static_cast<size_t> (image->bytes_per_line) * static_cast<size_t> (h));
		image->data = converted.data ();
		const X11PixelPacker packer (image->red_mask, image->green_mask, image->blue_mask);
		for (auto y = static_cast<int> (r.top); y < static_cast<int> (r.bottom); ++y)
			for (auto x = static_cast<int> (r.left); x < static_cast<int> (r.right); ++x)
			{
				auto* p = reinterpret_cast<unsigned char*> (data + y * stride + x * 4);
				XPutPixel (image, x, y, packer.pixel (p[2], p[1], p[0]));
			}
	}
	auto x = static_cast<int> (r.left), y = static_cast<int> (r.top);
	XPutImage (display, drawable, gc, image, x, y, x, y, static_cast<unsigned> (r.getWidth ()),
	           static_cast<unsigned> (r.getHeight ()));
	image->data = nullptr; // not the image's to free
	XDestroyImage (image);
}

} // namespace VSTGUI
