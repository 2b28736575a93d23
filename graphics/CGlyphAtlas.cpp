#include "graphics/CGlyphAtlas.h"

#include "graphics/CFixedString.h"
#include "platform/MessageBox.h"
#include "vstgui/lib/cbitmap.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

using VSTGUI::IPlatformBitmapPixelAccess;

const char fontCharacterSet[93] = " ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz1234567890"
                                  "!@#$%^&*()_-=+[]{};:\\|/.,<>'\"";

static_assert(sizeof(fontCharacterSet) == kFontGlyphCount + 1, "92 glyphs and the NUL");

CGlyphAtlas::CGlyphAtlas(uint32_t width, uint32_t height)
: CPixelCanvas(static_cast<int32_t>(width), static_cast<int32_t>(height), 1, 1)
{
    maskSize = width * height;
    mask = std::make_unique<uint8_t[]>(maskSize);
}

CGlyphAtlas::~CGlyphAtlas()
{
    mask.reset();
    release();
}

void CGlyphAtlas::scanGlyphs(VSTGUI::CBitmap* picture)
{
    // Every scan starts without glyphs, so nothing of an earlier picture is taken for this one.
    std::fill(std::begin(glyphRects), std::end(glyphRects), VSTGUI::CRect());
    if (mask)
        std::fill_n(mask.get(), maskSize, uint8_t{0});
    markerCount = 0;
    if (picture == nullptr || picture->getPlatformBitmap() == nullptr)
    {
        release(); // no picture: an empty atlas, without the earlier picture's background
        return;
    }
    setBitmap(picture, 1);
    const CanvasLayer* bg = getBackground();
    const uint32_t w = getWidth(), h = getHeight();
    const uint64_t bytes = 4ull * w * h;
    // The background must hold the whole picture (a width that is not a multiple of 4
    // gives a narrower one), and the mask must be as large as the picture.
    if (bg == nullptr || !bg->bytes || bytes == 0 || bg->count < bytes || maskSize < w * h)
        return;
    const uint8_t* pixels = bg->bytes.get();
    for (uint32_t k = 0; k < w * h; ++k)
        mask[k] = pixels[4 * k];

    VSTGUI::SharedPointer<IPlatformBitmapPixelAccess> access = picture->getPlatformBitmap()->lockPixels(true);
    // Offset of the first colour byte in a pixel; without pixel access or with an unknown
    // format the picture counts as one without markers.
    int first = -1;
    if (access)
    {
        switch (access->getPixelFormat())
        {
        case IPlatformBitmapPixelAccess::kRGBA:
        case IPlatformBitmapPixelAccess::kBGRA:
            first = 0;
            break;
        case IPlatformBitmapPixelAccess::kARGB:
        case IPlatformBitmapPixelAccess::kABGR:
            first = 1;
            break;
        default:
            break;
        }
    }
    for (uint32_t x = 0; first >= 0 && x < w; ++x)
    {
        const uint8_t* p = pixels + 4 * x + first;
        // A marker is magenta-like: both outer colour bytes above 120, green below.
        if (!(p[0] > 120 && p[1] < 120 && p[2] > 120))
            continue;
        if (markerCount < kFontGlyphCount)
        {
            VSTGUI::CRect& r = glyphRects[markerCount];
            r.left = markerCount == 0 ? 0.0 : glyphRects[markerCount - 1].right + 1.0;
            r.top = 0.0;
            r.right = static_cast<double>(x);
            r.bottom = static_cast<double>(h);
        }
        ++markerCount;
    }
    if (markerCount != kFontGlyphCount)
    {
        char text[512];
        int n = std::snprintf(text, sizeof text,
            "The font image must contains %d elements (found %d).\nThe texts may be drawed incorrectly!",
            kFontGlyphCount, markerCount);
        CFixedString message;
        if (n >= 1 && n <= 511)
            message.assign(text);
        MessageBoxA(nullptr, message.c_str(), "The font image error", MB_ICONSTOP | MB_SYSTEMMODAL);
    }
}
