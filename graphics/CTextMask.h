#pragma once
// CTextMask: the one-byte coverage mask of one line of bitmap text, composed at
// the font picture's resolution, then slanted, thickened, reduced, sharpened,
// coloured and outlined into a premultiplied B, G, R, A bitmap. Owned by one
// drawText call; UI thread.

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cpoint.h"
#include "vstgui/lib/crect.h"
#include "vstgui/lib/vstguifwd.h"

#include <cstdint>
#include <memory>

class CGlyphAtlas;

class CTextMask
{
public:
    // Buffers only when both sides lie in 1..9999; otherwise an empty mask that does nothing.
    CTextMask(int32_t width, int32_t height, bool italic, bool bold);

    // Copies the glyph's mask rows at source into the mask at target (bytes, later glyphs win).
    void blitGlyph(const CGlyphAtlas& atlas, const VSTGUI::CRect& source, const VSTGUI::CPoint& target);
    // New bitmap of outputWidth x outputHeight (one reference, owned by the caller) or null.
    VSTGUI::CBitmap* render(const VSTGUI::CColor& colour, uint32_t outputWidth, uint32_t outputHeight);

    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t size = 0;
    std::unique_ptr<uint8_t[]> coverage;
    std::unique_ptr<uint32_t[]> rowOffsets;
    bool italic = false;
    bool italicApplied = false;
    bool bold = false;
    bool boldApplied = false;

private:
    void applyItalic();
    void applyBold();
    void reduceInto(uint8_t* out, uint32_t outW, uint32_t outH);
};
