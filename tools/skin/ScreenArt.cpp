#include "ScreenArt.h"

#include "ControlArt.h"
#include "SkinLayout.h"
#include "SkinPalette.h"

#include <cmath>
#include <string>

namespace skin {

namespace pal = palette;

namespace {

// The editor draws each curve from 22 px right of the frame's left edge over
// 120 px, between 20 and 68 px above its bottom edge (master pixels).
constexpr double kCurveLeft = 22, kCurveRight = 142;
constexpr double kCurveTop = kWaveFrameHeight - 68, kCurveBottom = kWaveFrameHeight - 20;

void screen(SkinCanvas& c, const Rect& r, Colour face) {
    c.fillRect(r, pal::kBezel);
    c.fillRounded(r.inset(kFrameBorder), 6, face);
}

// An oscillator block of the routing diagram.
void oscBox(SkinCanvas& c, double cx, double cy, const char* name) {
    const Rect r{cx - 26, cy - 20, cx + 26, cy + 20};
    c.fillRounded(r, 7, pal::kLabelDim);
    c.fillRounded(r.inset(3), 5, pal::kScreenHighlight);
    c.text(name, cx, cy + 11, 30, Face::Label, Align::Centre, pal::kLabel);
}

// A connection with an arrow head at its end.
void arrow(SkinCanvas& c, double x0, double y0, double x1, double y1, Colour col) {
    const double dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy);
    const double ux = dx / len, uy = dy / len;
    const double head = 13;
    c.line(x0, y0, x1 - ux * head * 0.8, y1 - uy * head * 0.8, 5, col);
    cairo_t* cr = c.cr();
    c.setColour(col);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x1 - ux * head - uy * head * 0.6, y1 - uy * head + ux * head * 0.6);
    cairo_line_to(cr, x1 - ux * head + uy * head * 0.6, y1 - uy * head - ux * head * 0.6);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void outputMark(SkinCanvas& c, double x, double cy) {
    c.text("OUT", x, cy + 9, 24, Face::Label, Align::Left, pal::kLabelDim);
}

}  // namespace

void drawWaveFrame(SkinCanvas& c, double x, double y, int wave, bool highlighted) {
    const Rect r{x, y, x + kWaveFrameWidth, y + kWaveFrameHeight};
    screen(c, r, highlighted ? pal::kScreenHighlight : pal::kScreen);
    if (highlighted) c.strokeRounded(r.inset(kFrameBorder + 1.5), 5, 3, pal::kHeader);
    const Colour grid = highlighted ? mix(pal::kScreenHighlight, pal::kScreenText, 0.35) : pal::kScreenGrid;
    if (wave == 0) {
        c.text("OFF", x + 100, y + 60, 30, Face::Label, Align::Centre, pal::kScreenText);
        return;
    }
    // Zero line and the curve's end marks.
    const double mid = y + (kCurveTop + kCurveBottom) / 2;
    c.line(x + kCurveLeft, mid, x + kCurveRight, mid, 2, grid);
    for (double gx : {kCurveLeft, kCurveRight})
        c.line(x + gx, y + kCurveTop - 4, x + gx, y + kCurveBottom + 4, 2, grid);
    c.text(std::to_string(wave), x + 188, y + 59, 28, Face::Label, Align::Right,
           highlighted ? pal::kHeader : pal::kScreenText, 40);
}

void drawRoutingFrame(SkinCanvas& c, double x, double y, int routing) {
    const Rect r{x, y, x + 360, y + 132};
    screen(c, r, pal::kScreen);
    const Colour wire = pal::kHeader;
    switch (routing) {
        case 1:   // Osc3 modulates Osc2, which modulates Osc1
            oscBox(c, x + 46, y + 66, "3");
            oscBox(c, x + 136, y + 66, "2");
            oscBox(c, x + 226, y + 66, "1");
            arrow(c, x + 74, y + 66, x + 108, y + 66, wire);
            arrow(c, x + 164, y + 66, x + 198, y + 66, wire);
            arrow(c, x + 254, y + 66, x + 284, y + 66, pal::kLabelDim);
            outputMark(c, x + 290, y + 66);
            break;
        case 2:   // Osc2 and Osc3 both modulate Osc1
            oscBox(c, x + 56, y + 40, "2");
            oscBox(c, x + 56, y + 94, "3");
            oscBox(c, x + 196, y + 66, "1");
            arrow(c, x + 84, y + 44, x + 168, y + 60, wire);
            arrow(c, x + 84, y + 90, x + 168, y + 72, wire);
            arrow(c, x + 224, y + 66, x + 272, y + 66, pal::kLabelDim);
            outputMark(c, x + 280, y + 66);
            break;
        default:  // Osc3 modulates Osc2; Osc1 and Osc2 mixed with ring modulation
            oscBox(c, x + 46, y + 40, "3");
            oscBox(c, x + 136, y + 40, "2");
            oscBox(c, x + 136, y + 94, "1");
            arrow(c, x + 74, y + 40, x + 108, y + 40, wire);
            c.line(x + 164, y + 40, x + 196, y + 40, 5, pal::kLabelDim);
            c.line(x + 196, y + 40, x + 210, y + 56, 5, pal::kLabelDim);
            c.line(x + 164, y + 94, x + 196, y + 94, 5, pal::kLabelDim);
            c.line(x + 196, y + 94, x + 210, y + 78, 5, pal::kLabelDim);
            c.fillCircle(x + 226, y + 67, 21, pal::kLabelDim);
            c.fillCircle(x + 226, y + 67, 18, pal::kScreenHighlight);
            c.text("RM", x + 226, y + 76, 22, Face::Label, Align::Centre, pal::kLabel);
            arrow(c, x + 248, y + 67, x + 284, y + 67, pal::kLabelDim);
            outputMark(c, x + 290, y + 67);
            break;
    }
}

}  // namespace skin
