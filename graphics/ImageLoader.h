#pragma once
// Image loading for the GUI code: a VSTGUI bitmap from a module resource id or
// a file path, optionally made into a CPixelCanvas; giving bitmaps back; the
// process-wide bitmap cache (off unless switched on); the error message box.
// UI thread only: the cache and the once-per-process error flag are unguarded.

#include "graphics/CFixedString.h"
#include "vstgui/lib/vstguifwd.h"

#include <cstdint>
#include <list>
#include <memory>

class CPixelCanvas;

// An image request.
struct ImageSource
{
    int32_t resourceId = -1; // PNG resource id, used when isPath is 0; negative: no image
    int32_t isPath = 0; // non-zero: load from path
    CFixedString path; // file path
};

// One cached bitmap; the entry holds no reference of its own.
struct BitmapCacheEntry
{
    CFixedString path;
    VSTGUI::CBitmap* bitmap = nullptr;
};

// The process-wide cache: consulted only while enabled (nothing switches it on).
struct BitmapCache
{
    std::list<std::unique_ptr<BitmapCacheEntry>> entries;
    uint8_t enabled = 0;
};

// The one cache of the process. UI thread.
BitmapCache& bitmapCache();

// Loads the source into *bitmap, releasing what it held before; false leaves *bitmap
// as it was and shows the error box at the first failure of the process. UI thread.
bool loadBitmap(const ImageSource* source, VSTGUI::CBitmap** bitmap);

// Loads the source and makes a new canvas from it (supersampling 1, one extra layer)
// into *canvas; the owner value is accepted for callers that pass one and not used. UI thread.
bool createCanvasFromImage(const ImageSource* source, void* owner, CPixelCanvas** canvas);

// Gives a bitmap back: only nulls the pointer when the enabled cache holds it, else
// forgets the reference and nulls the pointer. UI thread.
void releaseBitmap(VSTGUI::CBitmap** bitmap);

// The bitmap of the first entry with that path, or null (an empty path never matches). UI thread.
VSTGUI::CBitmap* findCachedBitmap(BitmapCache& cache, const CFixedString& path);
// Appends an entry {path, bitmap}. UI thread.
void addCachedBitmap(BitmapCache& cache, VSTGUI::CBitmap* bitmap, const CFixedString& path);
// True when some entry holds that bitmap. UI thread.
bool bitmapCacheContains(const BitmapCache& cache, const VSTGUI::CBitmap* bitmap);
// Releases every cached bitmap once and empties the cache. UI thread.
void clearBitmapCache(BitmapCache& cache);

// MessageBoxA with no owner, caption "Error", stop icon and system modal (0x1010). Any thread.
void showErrorBox(const char* text);
