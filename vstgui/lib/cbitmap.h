// CBitmap, a reference-counted picture, and CBitmapPixelAccess, direct access to its pixels.
#pragma once

#include "ccolor.h"
#include "cpoint.h"
#include "crect.h"
#include "cresourcedescription.h"
#include "platform/iplatformbitmap.h"
#include "vstguifwd.h"

namespace VSTGUI {

//------------------------------------------------------------------------
/** A picture. UI thread. */
class CBitmap : public CBaseObject
{
public:
	/** The embedded picture with that id; without one the bitmap has no platform bitmap. */
	CBitmap (const CResourceDescription& desc);
	/** A transparent (zeroed) picture of the given size. */
	CBitmap (CCoord width, CCoord height);
	CBitmap (CPoint size, double scaleFactor = 1.);
	/** Wraps an existing platform bitmap (for example one decoded from a path). */
	CBitmap (const PlatformBitmapPtr& platformBitmap);
	~CBitmap () noexcept override;

	/** Draws the picture from offset on into rect, clipped to rect. UI thread. */
	virtual void draw (CDrawContext* context, const CRect& rect,
	                   const CPoint& offset = CPoint (0, 0), float alpha = 1.f);

	/** Width in pixels (0 without a platform bitmap). */
	virtual CCoord getWidth () const;
	/** Height in pixels (0 without a platform bitmap). */
	virtual CCoord getHeight () const;
	CPoint getSize () const { return {getWidth (), getHeight ()}; }

	/** The pixel store, or null when the picture is missing. */
	IPlatformBitmap* getPlatformBitmap () const { return platformBitmap.get (); }
	void setPlatformBitmap (const PlatformBitmapPtr& bitmap) { platformBitmap = bitmap; }
	const CResourceDescription& getResourceDescription () const { return resourceDesc; }

	/** True while the bitmap has a platform bitmap. */
	bool isLoaded () const { return platformBitmap != nullptr; }

protected:
	CBitmap ();

	CResourceDescription resourceDesc;
	PlatformBitmapPtr platformBitmap;
};

//------------------------------------------------------------------------
/** Direct access to a bitmap's pixels, 4 bytes a pixel in the order B, G, R, A,
    rows packed 4 x width bytes apart; writes reach the bitmap by forget. UI thread. */
class CBitmapPixelAccess : public ReferenceCounted
{
public:
	/** An accessor (one reference, give it back with forget), or null without pixels. */
	static CBitmapPixelAccess* create (CBitmap* bitmap, bool alphaPremultiplied = true);

	/** Advances to the next pixel; false past the last one. */
	bool operator++ ()
	{
		if (x < maxX - 1)
		{
			++x;
			return true;
		}
		if (y < maxY - 1)
		{
			++y;
			x = 0;
			return true;
		}
		return false;
	}
	/** Moves to pixel (x, y); false outside the bitmap. */
	bool setPosition (uint32_t px, uint32_t py)
	{
		if (px >= maxX || py >= maxY)
			return false;
		x = px;
		y = py;
		return true;
	}
	uint32_t getX () const { return x; }
	uint32_t getY () const { return y; }

	/** Colour of the current pixel (as stored: premultiplied when locked so). */
	void getColor (CColor& c) const;
	/** Sets the current pixel. */
	void setColor (const CColor& c);
	/** The current pixel's 32-bit value in memory order. */
	void getValue (uint32_t& value) const;
	void setValue (uint32_t value);

	uint32_t getBitmapWidth () const { return maxX; }
	uint32_t getBitmapHeight () const { return maxY; }
	/** Address of the top-left pixel. */
	uint8_t* getAddress () const { return address; }
	uint32_t getBytesPerRow () const { return bytesPerRow; }
	IPlatformBitmapPixelAccess::PixelFormat getPixelFormat () const;
	IPlatformBitmapPixelAccess* getPlatformBitmapPixelAccess () const { return pixelAccess.get (); }

protected:
	CBitmapPixelAccess (CBitmap* bitmap, const SharedPointer<IPlatformBitmapPixelAccess>& access);
	~CBitmapPixelAccess () noexcept override;

	uint8_t* pixel () const { return address + y * bytesPerRow + x * 4; }

	SharedPointer<CBitmap> bitmap;
	SharedPointer<IPlatformBitmapPixelAccess> pixelAccess;
	uint8_t* address {nullptr};
	uint32_t bytesPerRow {0};
	uint32_t x {0};
	uint32_t y {0};
	uint32_t maxX {0};
	uint32_t maxY {0};
};

} // namespace VSTGUI
