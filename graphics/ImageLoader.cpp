#include "graphics/ImageLoader.h"

#include "catalogue/FileUtilities.h"
#include "graphics/CPixelCanvas.h"
#include "platform/MessageBox.h"
#include "vstgui/lib/cbitmap.h"

#include <cstdio>

using VSTGUI::CBitmap;

namespace {

constexpr UINT kErrorStyle = MB_ICONSTOP | MB_SYSTEMMODAL; // 0x1010

// Set by the first failed load; later failures stay silent for the life of the process.
uint8_t imageErrorShown = 0;

BitmapCache processCache;

void reportLoadFailure(const ImageSource* source)
{
    if (imageErrorShown)
        return;
    imageErrorShown = 1;
    char text[512];
    int n = 0;
    if (source->isPath)
    {
        CFixedString name;
        getFileName(&name, source->path, true);
        n = std::snprintf(text, sizeof text, "Resource images not found! Please reinstall the plugin (path: %s).",
            name.c_str());
    }
    else
    {
        n = std::snprintf(text, sizeof text, "Resource images not found! Please reinstall the plugin (id: %d).",
            source->resourceId);
    }
    CFixedString message;
    if (n >= 1 && n <= 511)
        message.assign(text);
    showErrorBox(message.c_str());
}

// Every successful load, from the cache or not: bitmap goes into *held and what *held
// had is given back (a cached bitmap, this one included, keeps the cache's reference).
bool takeBitmap(CBitmap** held, CBitmap* bitmap)
{
    CBitmap* previous = *held;
    *held = bitmap;
    releaseBitmap(&previous);
    return true;
}

} // namespace

BitmapCache& bitmapCache()
{
    return processCache;
}

bool loadBitmap(const ImageSource* source, CBitmap** bitmap)
{
    if (source == nullptr || bitmap == nullptr)
        return false;
    BitmapCache& cache = bitmapCache();
    CBitmap* loaded = nullptr;
    if (source->isPath)
    {
        if (cache.enabled)
        {
            if (CBitmap* cached = findCachedBitmap(cache, source->path))
            {
                return takeBitmap(bitmap, cached);
            }
        }
        CFixedString path(source->path);
        auto platformBitmap = VSTGUI::IPlatformBitmap::createFromPath(path.c_str());
        if (platformBitmap)
            loaded = new CBitmap(platformBitmap);
    }
    else if (source->resourceId >= 0)
    {
        loaded = new CBitmap(VSTGUI::CResourceDescription(source->resourceId));
    }
    if (loaded != nullptr && loaded->getPlatformBitmap() == nullptr)
    {
        loaded->forget();
        loaded = nullptr;
    }
    if (loaded == nullptr)
    {
        reportLoadFailure(source);
        return false;
    }
    if (cache.enabled)
        addCachedBitmap(cache, loaded, source->path);
    return takeBitmap(bitmap, loaded);
}

bool createCanvasFromImage(const ImageSource* source, void* /*owner*/, CPixelCanvas** canvas)
{
    CBitmap* bitmap = nullptr;
    if (!loadBitmap(source, &bitmap))
        return false;
    if (canvas != nullptr)
        *canvas = new CPixelCanvas(bitmap, 1, 1);
    releaseBitmap(&bitmap);
    return true;
}

void releaseBitmap(CBitmap** bitmap)
{
    if (bitmap == nullptr || *bitmap == nullptr)
        return;
    // A bitmap of the enabled cache keeps the cache's reference.
    const BitmapCache& cache = bitmapCache();
    if (!(cache.enabled && bitmapCacheContains(cache, *bitmap)))
        (*bitmap)->forget();
    *bitmap = nullptr;
}

CBitmap* findCachedBitmap(BitmapCache& cache, const CFixedString& path)
{
    for (const auto& entry : cache.entries)
        if (entry->path == path)
            return entry->bitmap;
    return nullptr;
}

void addCachedBitmap(BitmapCache& cache, CBitmap* bitmap, const CFixedString& path)
{
    auto entry = std::make_unique<BitmapCacheEntry>();
    entry->path = path;
    entry->bitmap = bitmap;
    cache.entries.push_back(std::move(entry));
}

bool bitmapCacheContains(const BitmapCache& cache, const CBitmap* bitmap)
{
    for (const auto& entry : cache.entries)
        if (entry->bitmap == bitmap)
            return true;
    return false;
}

void clearBitmapCache(BitmapCache& cache)
{
    if (cache.entries.empty())
        return;
    const uint8_t wasEnabled = cache.enabled;
    cache.enabled = 0; // so releaseBitmap really releases
    for (auto& entry : cache.entries)
    {
        releaseBitmap(&entry->bitmap);
        entry->path.clear();
    }
    cache.enabled = wasEnabled;
    cache.entries.clear();
}

void showErrorBox(const char* text)
{
    MessageBoxA(nullptr, text, "Error", kErrorStyle);
}
