#include "BackgroundArt.h"

#include "ControlArt.h"
#include "KeyboardArt.h"
#include "ScreenArt.h"
#include "SkinLayout.h"
#include "SkinPalette.h"

#include <array>
#include <cmath>

namespace skin {

namespace pal = palette;
namespace lay = layout;

namespace {

// Engraved lines that separate neighbouring sections inside a panel: x, top, bottom.
struct Divider {
    double x, top, bottom;
};
constexpr std::array<Divider, 3> kDividers{{
    {2346, 40, 1404},   // modulation and effects | amounts and output
    {774, 846, 1370},   // filter | envelopes
    {1222, 584, 840},   // oscillator 3 | glide
}};

// Screw heads in the panel corners (those clear of controls).
constexpr std::array<std::array<double, 2>, 7> kScrews{{
    {124, 48}, {1460, 48}, {124, 1360}, {1460, 1360}, {1620, 48}, {2928, 48}, {1620, 1538},
}};

constexpr Rect kKeyBed{40, 1576, 2960, 2004};

void chassis(SkinCanvas& c) {
    c.fillRect({0, 0, double(lay::kMasterWidth), double(lay::kMasterHeight)}, pal::kChassis);
    c.fillRect({0, 0, double(lay::kMasterWidth), 3}, pal::kChassisLight);
    // End pieces.
    for (double x : {0.0, double(lay::kMasterWidth) - 36}) {
        c.fillRect({x, 0, x + 36, double(lay::kMasterHeight)}, pal::kCheek);
        c.fillRect({x == 0 ? 33.0 : x, 0, x == 0 ? 36.0 : x + 3, double(lay::kMasterHeight)}, pal::kCheekLight);
    }
}

void panel(SkinCanvas& c, const Rect& r) {
    c.fillRounded(r.inset(-4).moved(0, 3), 24, pal::kPanelEdgeDark);
    c.fillRounded(r, 20, pal::kPanelEdgeLight);
    c.fillRounded({r.left + 2, r.top + 3, r.right - 2, r.bottom - 2}, 18, pal::kPanel);
}

void screw(SkinCanvas& c, double x, double y) {
    c.fillCircle(x, y + 1, 10, pal::kPanelEdgeDark);
    c.fillCircle(x, y, 9, pal::kKnobCapTop);
    c.fillCircle(x, y, 7, pal::kKnobBottom);
    c.line(x - 5, y + 4, x + 5, y - 4, 3, pal::kKnobRim);
}

void headers(SkinCanvas& c) {
    for (const lay::Header& h : lay::headers()) {
        const double w = c.text(h.text, h.x, h.baseline, lay::kHeaderSize, Face::Header, Align::Left, pal::kHeader);
        if (h.ruleEnd > h.x + w + 30)
            c.fillRect({h.x + w + 18, h.baseline - 15, h.ruleEnd, h.baseline - 12}, pal::kHeaderRule);
    }
}

void labels(SkinCanvas& c) {
    for (const lay::KnobLabel& l : lay::knobLabels()) {
        const lay::Control& ctl = lay::control(l.tag);
        const Rect r = lay::controlRect(l.tag);
        // Wave displays sit 24 px below the knob row they belong to.
        const double frameBottom = ctl.kind == lay::kWaveDisplay ? r.top - 24 + lay::kKnobSize : r.bottom;
        c.text(l.text, r.centreX(), frameBottom + lay::kLabelGap, lay::kLabelSize, Face::Label, Align::Centre,
               pal::kLabel, 144);
    }
    for (const lay::Caption& cap : lay::captions())
        c.text(cap.text, cap.x, cap.baseline, lay::kLabelSize, Face::Label, cap.align,
               cap.dim ? pal::kLabelDim : pal::kLabel, cap.maxWidth);
}

// Surrounds for the pictures that lie in recesses: wave screens, step buttons,
// routing diagram. The pictures cover these exactly; drawing them here keeps
// the panel right where a picture should be missing.
void recesses(SkinCanvas& c) {
    for (int tag : {24, 25}) {
        const Rect r = lay::controlRect(tag);
        drawWaveFrame(c, r.left, r.top, 0, false);
    }
    const Rect routing = lay::controlRect(28);
    drawRoutingFrame(c, routing.left, routing.top, 0);
    for (int tag : {87, 88, 89}) drawStepButton(c, lay::controlRect(tag), 1);
}

void programField(SkinCanvas& c) {
    // The step buttons touch the field's right edge, so its surround stays
    // out of their rectangle on that side.
    const Rect f = lay::programField();
    c.fillRounded({f.left - 4, f.top - 4, f.right, f.bottom + 4}, 9, pal::kPanelEdgeDark);
    c.fillRounded({f.left - 2, f.top - 2, f.right, f.bottom + 2}, 7, pal::kBezel);
    c.fillRect({f.left, f.top, f.right - 3, f.bottom}, pal::kProgramField);
}

void logo(SkinCanvas& c) {
    const Rect p = lay::logoPlate();
    c.fillRounded(p.inset(-4).moved(0, 3), 20, pal::kPanelEdgeDark);
    c.fillRounded(p, 16, pal::kBezel);
    c.fillRoundedGradient(p.inset(3), 13, mix(pal::kScreen, pal::kPanel, 0.5), pal::kScreen);
    // A small wave mark in front of the name.
    cairo_t* cr = c.cr();
    c.setColour(pal::kHeader);
    cairo_set_line_width(cr, 9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double mx = p.left + 44, my = p.centreY() - 4;
    cairo_move_to(cr, mx, my);
    for (int i = 1; i <= 40; ++i)
        cairo_line_to(cr, mx + i * 1.9, my - 26 * std::sin(i / 40.0 * 2 * kPi) * std::exp(-i / 60.0));
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    c.text("Quilm", p.left + 134, p.top + 110, 88, Face::Logo, Align::Left, pal::kLabel, 300);
    c.text("Corvane Audio", p.right - 32, p.top + 70, 30, Face::Plain, Align::Right, pal::kLabel, 270);
    c.text("POLYPHONIC SYNTHESIZER", p.right - 32, p.top + 108, 21, Face::Label, Align::Right, pal::kLabelDim,
           270);
}

void keyboard(SkinCanvas& c) {
    c.fillRounded(kKeyBed.inset(-3).moved(0, 2), 20, pal::kPanelEdgeDark);
    c.fillRounded(kKeyBed, 18, pal::kKeyBed);
    const Rect keys = lay::controlRect(85);
    c.fillRect({keys.left - 4, keys.top - 14, keys.right + 4, keys.top}, {74, 20, 26});   // felt
    for (int o = 0; o < lay::kOctaves; ++o)
        drawOctave(c, keys.left + o * lay::kOctaveWidth, keys.top, false, false);
    for (int tag : {86, 72}) {
        const Rect well = lay::wheelWell(tag);
        c.fillRounded(well.inset(-3), 14, pal::kPanelEdgeDark);
        c.fillRounded(well, 12, pal::kWell);
        drawWheelFrame(c, lay::controlRect(tag).left, lay::controlRect(tag).top, 45);
    }
}

}  // namespace

void drawBackground(SkinCanvas& c) {
    chassis(c);
    for (const lay::Panel& p : lay::panels()) panel(c, p.area);
    for (const auto& s : kScrews) screw(c, s[0], s[1]);
    for (const Divider& d : kDividers) {
        c.fillRect({d.x - 2, d.top, d.x, d.bottom}, pal::kPanelEdgeDark);
        c.fillRect({d.x, d.top, d.x + 2, d.bottom}, pal::kPanelEdgeLight);
    }
    headers(c);
    recesses(c);
    programField(c);
    logo(c);
    keyboard(c);
    labels(c);
}

}  // namespace skin
