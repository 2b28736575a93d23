#include "KeyboardArt.h"

#include "SkinLayout.h"
#include "SkinPalette.h"

namespace skin {

namespace pal = palette;

namespace {

// A white key is its narrow upper part and its full-width lower part. Each key
// keeps its own 1 px dark seam inside its rectangles, so the two pictures
// (rest and held) agree on every pixel outside the key faces.
void whiteKey(SkinCanvas& c, double x, double y, const Rect& upper, const Rect& lower, bool held) {
    cairo_t* cr = c.cr();
    const Rect u = upper.moved(x, y), l = lower.moved(x, y);
    const double bottom = l.bottom - 3;
    cairo_new_path(cr);
    cairo_move_to(cr, u.left + (u.left == l.left ? 1 : 0), u.top);
    cairo_line_to(cr, u.right - (u.right == l.right ? 1 : 0), u.top);
    cairo_line_to(cr, u.right - (u.right == l.right ? 1 : 0), l.top);
    cairo_line_to(cr, l.right - 1, l.top);
    cairo_line_to(cr, l.right - 1, bottom - 6);
    cairo_arc(cr, l.right - 7, bottom - 6, 6, 0, kPi / 2);
    cairo_arc(cr, l.left + 7, bottom - 6, 6, kPi / 2, kPi);
    cairo_line_to(cr, l.left + 1, l.top);
    cairo_line_to(cr, u.left + (u.left == l.left ? 1 : 0), l.top);
    cairo_close_path(cr);
    const Colour top = held ? pal::kWhiteKeyHeldTop : pal::kWhiteKeyTop;
    const Colour bot = held ? pal::kWhiteKeyHeldBottom : pal::kWhiteKeyBottom;
    cairo_pattern_t* p = cairo_pattern_create_linear(0, u.top, 0, bottom);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, bot.r / 255.0, bot.g / 255.0, bot.b / 255.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Shadow of the key bed at the back and a lip at the front edge.
    c.fillRect({u.left + 1, u.top, u.right - 1, u.top + 10}, mix(top, pal::kKeyGap, 0.35));
    c.fillRect({l.left + 8, bottom - 14, l.right - 8, bottom - 11}, mix(bot, pal::kKeyGap, 0.12));
}

void blackKey(SkinCanvas& c, double x, double y, const Rect& key, bool held) {
    const Rect k = key.moved(x, y);
    const Colour top = held ? pal::kBlackKeyHeldTop : pal::kBlackKeyTop;
    const Colour bot = held ? pal::kBlackKeyHeldBottom : pal::kBlackKeyBottom;
    c.fillRect(k, pal::kKeyGap);
    c.fillRoundedGradient({k.left + 2, k.top - 8, k.right - 2, k.bottom - 3}, 5, top, bot);
    // The key's sloped front, lighter.
    c.fillRoundedGradient({k.left + 5, k.bottom - 30, k.right - 5, k.bottom - 7}, 4, bot,
                          mix(bot, pal::kWhiteKeyTop, held ? 0.3 : 0.18));
}

}  // namespace

void drawOctave(SkinCanvas& c, double x, double y, bool whiteHeld, bool blackHeld) {
    c.fillRect({x, y, x + layout::kOctaveWidth, y + layout::kOctaveHeight}, pal::kKeyGap);
    const auto upper = layout::whiteKeysUpper();
    const auto lower = layout::whiteKeysLower();
    for (size_t i = 0; i < upper.size(); ++i) whiteKey(c, x, y, upper[i], lower[i], whiteHeld);
    cairo_save(c.cr());
    cairo_rectangle(c.cr(), x, y, layout::kOctaveWidth, layout::kOctaveHeight);
    cairo_clip(c.cr());
    for (const Rect& k : layout::blackKeys()) blackKey(c, x, y, k, blackHeld);
    cairo_restore(c.cr());
}

}  // namespace skin
