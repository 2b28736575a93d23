#pragma once
// CBitmapFont: text measured and drawn from a font picture (92 glyphs side by
// side, each followed by a magenta marker pixel in the top row) instead of a
// platform font; per-pair kerning; italic, bold and an outline when drawing.
// With useImage false it measures and draws with VSTGUI's small normal font.
// UI thread only.

#include "graphics/CFixedString.h"
#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/crect.h"
#include "vstgui/lib/vstguifwd.h"

#include <cstdint>
#include <list>

class CGlyphAtlas;

// One kerning pair: extra pixels between first and second (codes 0..254).
struct KerningRecord
{
    uint8_t first;
    uint8_t second;
    int16_t value;
};
static_assert(sizeof(KerningRecord) == 4, "kerning records are 4 bytes");

// Microseconds spent in CBitmapFont::drawText, accumulated for diagnostics (UI thread).
extern int32_t textDrawMicroseconds;

class CBitmapFont
{
public:
    static constexpr int kCodes = 255; // character codes 0..254 have table entries

    // No picture; the character map built from fontCharacterSet.
    CBitmapFont();
    // Releases the pictures of the list and deletes the atlas (the image is not released).
    ~CBitmapFont();
    CBitmapFont(const CBitmapFont&) = delete;
    CBitmapFont& operator=(const CBitmapFont&) = delete;

    // Takes a font picture (kept alive by the owner) and sets the text height; null
    // drops the picture; a picture out of bounds (width 6..9999 and a multiple of 4,
    // height 6..999) is ignored.
    void setImage(VSTGUI::CBitmap* picture, int32_t textHeight);
    // Sets the text height in picture pixels (5 .. picture height) and the scale and margins.
    void setTextHeight(int32_t textHeight);
    // Width of the text in pixels at the text scale (platform font width + 3 without picture path).
    int32_t getTextWidth(const CFixedString& text, VSTGUI::CDrawContext* context);
    // The same for a C string.
    int32_t getTextWidth(const char* text, VSTGUI::CDrawContext* context);
    // Height of a line in pixels (20 without picture).
    int32_t getTextHeight() const;
    // Writes count records into the kerning table (codes of 255 are skipped) and enables it.
    void setKerning(const KerningRecord* records, int32_t count);
    // Zeroes the kerning table; leaves kerningEnabled as it is.
    void clearKerning();
    // Draws every glyph with a label into an offscreen context of frame, once per font.
    void drawGlyphSheet();

    // Draws the text into rect (alignment 0 left, 2 right, else centred) at scale x the
    // text size; on the picture path rect becomes where the text bitmap was drawn. A rect
    // or scale that is not finite draws nothing.
    void drawText(const CFixedString& text, VSTGUI::CDrawContext* context, VSTGUI::CRect& rect,
        VSTGUI::CColor colour, int32_t alignment, float scale, bool italic, bool bold);
    // The same from a C string, leaving the caller's rectangle unchanged.
    void drawBitmapText(const char* text, VSTGUI::CDrawContext* context, const VSTGUI::CRect& rect,
        const VSTGUI::CColor& colour, int32_t alignment, float scale, bool italic, bool bold);

    // Glyph index of a character as measuring and drawing look it up (-1: no glyph).
    int32_t glyphIndexOf(char c) const;

    bool glyphSheetDone = false;
    std::list<VSTGUI::CBitmap*> pictures; // released when the font is destroyed
    VSTGUI::CRect* glyphRects = nullptr; // the atlas's 92 rectangles
    VSTGUI::CBitmap* image = nullptr; // not owned, no reference taken
    CGlyphAtlas* atlas = nullptr; // owned
    VSTGUI::CFontRef fallbackFont = nullptr;
    uint32_t textHeight = 0;
    uint32_t halfMargin = 0;
    uint32_t margin = 0;
    bool useImage = true;
    bool kerningEnabled = false;
    int32_t letterSpacing = 0;
    int32_t charMap[kCodes];
    int16_t kerningTable[kCodes][kCodes];
    float scale = 1.0f;
    VSTGUI::CFrame* frame = nullptr; // for drawGlyphSheet; set by the owner

private:
    void dropImage();
    // NUL and codes of 128 and above are measured and drawn as an asterisk.
    static char normalised(char c) { return (c == 0 || static_cast<signed char>(c) < 0) ? '*' : c; }
    // Kerning table entry in pixels between two normalised characters.
    int32_t kerningBetween(char c, char next) const
    {
        return kerningTable[static_cast<unsigned char>(c)][static_cast<unsigned char>(next)];
    }
    // Calls step(c, next, glyph) for each of the length characters that has a glyph;
    // c and its follower next (NUL after the last) are normalised.
    template <typename Step>
    void forEachGlyph(const char* text, uint64_t length, Step step) const
    {
        for (uint64_t i = 0; i < length; ++i)
        {
            const char c = normalised(text[i]);
            const char next = normalised(i + 1 < length ? text[i + 1] : 0);
            const int32_t glyph = glyphIndexOf(c);
            if (glyph >= 0)
                step(c, next, glyph);
        }
    }
};
