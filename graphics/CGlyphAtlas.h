#pragma once
// CGlyphAtlas: a font picture cut into its 92 glyphs. The picture is the
// canvas's background; the mask keeps one byte per picture pixel (its first,
// blue, byte) for the text renderer. UI thread.

#include "graphics/CPixelCanvas.h"
#include "vstgui/lib/crect.h"

#include <cstdint>
#include <memory>

// Glyph order of every font picture: space, A-Z, a-z, 1-9, 0, then 29 marks.
extern const char fontCharacterSet[93];
constexpr int kFontGlyphCount = 92;

class CGlyphAtlas : public CPixelCanvas
{
public:
    // Canvas of width x height (factor 1, one extra layer), zero rectangles and mask.
    CGlyphAtlas(uint32_t width, uint32_t height);
    ~CGlyphAtlas();

    // Takes the picture as background, fills the mask and cuts the glyphs at the
    // magenta markers of the top row; shows an error box unless there are 92. Without
    // a picture (or one without pixels) the atlas is left empty: no background, no glyphs.
    void scanGlyphs(VSTGUI::CBitmap* picture);

    VSTGUI::CRect glyphRects[kFontGlyphCount] = {};
    uint32_t maskSize = 0; // width x height
    std::unique_ptr<uint8_t[]> mask; // one byte per picture pixel, row by row
    int32_t markerCount = 0; // markers found by the last scan (also past 92)
};
