// Platform side of a bitmap: the pixel store behind a CBitmap and its pixel access.
#pragma once

#include "../cpoint.h"
#include "../vstguifwd.h"

namespace VSTGUI {

//------------------------------------------------------------------------
/** Direct access to a locked bitmap's pixels; released with forget. UI thread. */
class IPlatformBitmapPixelAccess : public ReferenceCounted
{
public:
	/** Byte order of one 32-bit pixel in memory. */
	enum PixelFormat
	{
		kARGB = 0,
		kRGBA = 1,
		kABGR = 2,
		kBGRA = 3
	};

	/** Address of the top-left pixel. */
	virtual uint8_t* getAddress () const = 0;
	/** Distance between two rows in bytes (4 x width here). */
	virtual uint32_t getBytesPerRow () const = 0;
	virtual PixelFormat getPixelFormat () const = 0;
};

//------------------------------------------------------------------------
/** A picture's pixel store. UI thread. */
class IPlatformBitmap : public ReferenceCounted
{
public:
	/** A new zeroed (transparent) bitmap of the given size; null without a size. */
	static SharedPointer<IPlatformBitmap> create (CPoint* size = nullptr);
	/** Decodes a PNG file; null when it cannot be read or decoded. */
	static SharedPointer<IPlatformBitmap> createFromPath (UTF8StringPtr absolutePath);
	/** Decodes PNG bytes in memory; null when they cannot be decoded. */
	static SharedPointer<IPlatformBitmap> createFromMemory (const void* ptr, uint32_t memSize);
	/** The pixel size that an embedded resource picture gives in its header, read without
	    decoding; false when the resource is missing or its header is no usable PNG header.
	    UI thread. */
	static bool readResourceSize (const CResourceDescription& desc, CPoint& size);

	/** Replaces the pixels by the embedded resource's picture; false when missing. */
	virtual bool load (const CResourceDescription& desc) = 0;
	/** Size in pixels. */
	virtual const CPoint& getSize () const = 0;
	/** Locks the pixels for direct access (B, G, R, A bytes). */
	virtual SharedPointer<IPlatformBitmapPixelAccess> lockPixels (bool alphaPremultiplied) = 0;

	virtual void setScaleFactor (double factor) = 0;
	virtual double getScaleFactor () const = 0;
};

} // namespace VSTGUI
