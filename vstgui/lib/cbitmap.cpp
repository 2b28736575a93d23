#include "cbitmap.h"
#include "cairo/cairobitmap.h"
#include "cdrawcontext.h"

namespace VSTGUI {

CBitmap::CBitmap () = default;

CBitmap::CBitmap (const CResourceDescription& desc) : resourceDesc (desc)
{
	auto bitmap = owned (new CairoBitmap (CPoint ()));
	if (bitmap->load (desc))
		platformBitmap = bitmap;
}

CBitmap::CBitmap (CCoord width, CCoord height) : CBitmap (CPoint (width, height))
{
}

CBitmap::CBitmap (CPoint size, double scaleFactor)
{
	CPoint pixels (size.x * scaleFactor, size.y * scaleFactor);
	platformBitmap = IPlatformBitmap::create (&pixels);
	if (platformBitmap)
		platformBitmap->setScaleFactor (scaleFactor);
}

CBitmap::CBitmap (const PlatformBitmapPtr& bitmap) : platformBitmap (bitmap)
{
}

CBitmap::~CBitmap () noexcept = default;

CCoord CBitmap::getWidth () const
{
	return platformBitmap ? platformBitmap->getSize ().x / platformBitmap->getScaleFactor () : 0.;
}

CCoord CBitmap::getHeight () const
{
	return platformBitmap ? platformBitmap->getSize ().y / platformBitmap->getScaleFactor () : 0.;
}

void CBitmap::draw (CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
	if (context)
		context->drawBitmap (this, rect, offset, alpha);
}

//------------------------------------------------------------------------
CBitmapPixelAccess* CBitmapPixelAccess::create (CBitmap* bitmap, bool alphaPremultiplied)
{
	if (!bitmap || !bitmap->getPlatformBitmap ())
		return nullptr;
	auto access = bitmap->getPlatformBitmap ()->lockPixels (alphaPremultiplied);
	if (!access || !access->getAddress ())
		return nullptr;
	return new CBitmapPixelAccess (bitmap, access);
}

CBitmapPixelAccess::CBitmapPixelAccess (CBitmap* bmp,
                                        const SharedPointer<IPlatformBitmapPixelAccess>& access)
: bitmap (bmp), pixelAccess (access)
{
	address = access->getAddress ();
	bytesPerRow = access->getBytesPerRow ();
	const CPoint& size = bmp->getPlatformBitmap ()->getSize ();
	maxX = static_cast<uint32_t> (size.x);
	maxY = static_cast<uint32_t> (size.y);
}

CBitmapPixelAccess::~CBitmapPixelAccess () noexcept = default;

IPlatformBitmapPixelAccess::PixelFormat CBitmapPixelAccess::getPixelFormat () const
{
	return pixelAccess->getPixelFormat ();
}

void CBitmapPixelAccess::getColor (CColor& c) const
{
	const uint8_t* p = pixel ();
	c = CColor (p[2], p[1], p[0], p[3]);
}

void CBitmapPixelAccess::setColor (const CColor& c)
{
	uint8_t* p = pixel ();
	p[0] = c.blue;
	p[1] = c.green;
	p[2] = c.red;
	p[3] = c.alpha;
}

void CBitmapPixelAccess::getValue (uint32_t& value) const
{
	const uint8_t* p = pixel ();
	value = static_cast<uint32_t> (p[0]) | (static_cast<uint32_t> (p[1]) << 8) |
	        (static_cast<uint32_t> (p[2]) << 16) | (static_cast<uint32_t> (p[3]) << 24);
}

void CBitmapPixelAccess::setValue (uint32_t value)
{
	uint8_t* p = pixel ();
	p[0] = static_cast<uint8_t> (value);
	p[1] = static_cast<uint8_t> (value >> 8);
	p[2] = static_cast<uint8_t> (value >> 16);
	p[3] = static_cast<uint8_t> (value >> 24);
}

} // namespace VSTGUI
