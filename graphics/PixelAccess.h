#pragma once
// Scoped access to a VSTGUI bitmap's pixels for the graphics sources: the
// accessor's reference is given back when the holder goes. UI thread.

#include "vstgui/lib/cbitmap.h"

#include <cstdint>
#include <memory>

struct ForgetPixelAccess
{
    void operator()(VSTGUI::CBitmapPixelAccess* access) const { access->forget(); }
};

// One accessor reference, or null when the bitmap has no pixels to reach.
using PixelAccessRef = std::unique_ptr<VSTGUI::CBitmapPixelAccess, ForgetPixelAccess>;

// Locks the bitmap's pixels (alpha premultiplied); null for a null bitmap or one without pixels.
inline PixelAccessRef lockPixels(VSTGUI::CBitmap* bitmap)
{
    return PixelAccessRef(VSTGUI::CBitmapPixelAccess::create(bitmap, true));
}

// Bytes that may be read or written through the accessor: row length times rows.
inline uint64_t pixelRoom(const VSTGUI::CBitmapPixelAccess& access)
{
    return static_cast<uint64_t>(access.getBytesPerRow()) * access.getBitmapHeight();
}
