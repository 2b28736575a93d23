#include "ControlArt.h"

#include "SkinLayout.h"
#include "SkinPalette.h"

#include <algorithm>
#include <cmath>

namespace skin {

namespace pal = palette;

namespace {

constexpr double kDeg = kPi / 180.0;
// The knob sweeps 300 degrees from about 7 o'clock (120 degrees clockwise
// from 3 o'clock, y pointing down) to about 5 o'clock.
constexpr double kKnobStart = 120.0 * kDeg;
constexpr double kKnobSweep = 300.0 * kDeg;

void gradientCircle(SkinCanvas& c, double cx, double cy, double r, Colour top, Colour bottom) {
    cairo_t* cr = c.cr();
    cairo_pattern_t* p = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_set_source(cr, p);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void arc(SkinCanvas& c, double cx, double cy, double r, double a0, double a1, double width, Colour col) {
    cairo_t* cr = c.cr();
    c.setColour(col);
    cairo_set_line_width(cr, width);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, a0, a1);
    cairo_stroke(cr);
}

void triangle(SkinCanvas& c, double cx, double cy, double half, bool up, Colour col) {
    cairo_t* cr = c.cr();
    c.setColour(col);
    const double h = half * 0.9;
    cairo_move_to(cr, cx - half, up ? cy + h * 0.5 : cy - h * 0.5);
    cairo_line_to(cr, cx + half, up ? cy + h * 0.5 : cy - h * 0.5);
    cairo_line_to(cr, cx, up ? cy - h * 0.5 : cy + h * 0.5);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// A raised button face with a dark rim.
void buttonFace(SkinCanvas& c, const Rect& r, double radius, bool pressed) {
    c.fillRounded(r, radius, pal::kKnobRim);
    const Rect face = r.inset(2);
    if (pressed)
        c.fillRoundedGradient(face, radius - 2, pal::kButtonPressedTop, pal::kButtonPressedBottom);
    else
        c.fillRoundedGradient(face, radius - 2, pal::kButtonTop, pal::kButtonBottom);
}

// The slot and lever shared by both vertical switches; rows of 48 px.
void switchLever(SkinCanvas& c, double slotX, double y, int rows, int position) {
    const double top = y + 14, bottom = y + 48.0 * rows - 14;
    c.fillRounded({slotX - 14, top, slotX + 14, bottom}, 14, pal::kBezel);
    for (int k = 0; k < rows; ++k) {   // notches for the positions
        const double py = y + 24 + 48.0 * k;
        c.line(slotX - 5, py, slotX + 5, py, 3, pal::kEngrave);
    }
    const double py = y + 24 + 48.0 * position;
    // The lever and its shadow stay 10 px clear of the frame's top and bottom.
    const Rect lever{slotX - 22, py - 13, slotX + 22, py + 13};
    c.fillRounded(lever.moved(0, 2), 7, pal::kKnobRim);
    buttonFace(c, lever, 7, false);
    for (int g = -1; g <= 1; ++g)   // grip lines
        c.line(slotX - 12, py + g * 6, slotX + 12, py + g * 6, 2, pal::kKnobBottom);
}

}  // namespace

void drawKnobFrame(SkinCanvas& c, double x, double y, int frame) {
    const double size = layout::kKnobSize;
    c.fillRect({x, y, x + size, y + size}, pal::kPanel);
    const double cx = x + size / 2, cy = y + size / 2;
    const double t = double(frame) / double(kKnobFrames - 1);
    const double angle = kKnobStart + t * kKnobSweep;

    // Value ring: track from 7 to 5 o'clock, lit up to the pointer. Outer edge
    // at radius 64 keeps 14 px of panel colour on every side.
    arc(c, cx, cy, 59, kKnobStart, kKnobStart + kKnobSweep, 10, pal::kKnobTrack);
    if (frame > 0) arc(c, cx, cy, 59, kKnobStart, angle, 10, pal::kKnobArc);
    // End marks of the sweep.
    for (double a : {kKnobStart, kKnobStart + kKnobSweep})
        c.line(cx + 52 * std::cos(a), cy + 52 * std::sin(a), cx + 64 * std::cos(a), cy + 64 * std::sin(a), 3,
               pal::kLabelDim);

    // Body: shadow, skirt, rim and a slightly darker cap.
    c.fillCircle(cx, cy + 3, 49, mix(pal::kPanel, pal::kKnobRim, 0.7));
    c.fillCircle(cx, cy, 48, pal::kKnobRim);
    gradientCircle(c, cx, cy, 46, pal::kKnobTop, pal::kKnobBottom);
    gradientCircle(c, cx, cy, 37, pal::kKnobCapBottom, pal::kKnobCapTop);
    gradientCircle(c, cx, cy, 35, pal::kKnobCapTop, pal::kKnobCapBottom);

    // Pointer from near the centre to the skirt.
    const double ux = std::cos(angle), uy = std::sin(angle);
    c.line(cx + 12 * ux, cy + 12 * uy, cx + 42 * ux, cy + 42 * uy, 8, pal::kPointer);
}

void drawWheelFrame(SkinCanvas& c, double x, double y, int frame) {
    constexpr double w = 48, h = 296, b = kFrameBorder;
    c.fillRect({x, y, x + w, y + h}, pal::kWell);
    const double cy = y + h / 2;
    const double radius = (h - 2 * b) / 2;   // the visible half of the wheel
    // Rotation: +55 degrees at frame 0 (up), 0 at frame 45, -55 at frame 90.
    const double theta = (45.0 - frame) / 45.0 * 55.0 * kDeg;

    // Cylinder shading, one row at a time: dark where the surface turns away
    // at the top and bottom, brightest a little above the middle.
    for (int row = 0; row < int(h - 2 * b); ++row) {
        const double yy = y + b + row + 0.5;
        const double s = std::clamp((cy - yy) / radius, -1.0, 1.0);
        const double facing = std::cos(std::asin(s));
        const double light = std::clamp(std::pow(facing, 1.6) * (0.85 + 0.25 * s), 0.0, 1.0);
        c.fillRect({x + b, y + b + row, x + w - b, y + b + row + 1}, mix(pal::kWheelDark, pal::kWheelLight, light));
    }
    // Grip ridges every 9 degrees of the surface; they move with the rotation
    // and flatten towards the top and bottom.
    for (int k = -24; k <= 24; ++k) {
        const double phi = theta + k * 9.0 * kDeg;
        if (std::fabs(phi) > 80 * kDeg) continue;
        const double yy = cy - radius * std::sin(phi);
        const double facing = std::cos(phi);
        const double thick = 1.0 + 2.0 * facing;
        c.fillRect({x + b + 3, yy - thick / 2, x + w - b - 3, yy + thick / 2},
                   mix(pal::kWheelDark, pal::kKnobRim, 0.5));
        c.fillRect({x + b + 3, yy + thick / 2, x + w - b - 3, yy + thick / 2 + facing},
                   mix(pal::kWheelLight, pal::kPointer, 0.25 * facing));
    }
    // The marker at the wheel's own centre position, with a dark outline.
    const double my = cy - radius * std::sin(theta);
    c.fillRect({x + b, my - 6, x + w - b, my + 6}, pal::kKnobRim);
    c.fillRect({x + b, my - 4, x + w - b, my + 4}, pal::kPointer);
    // Darker sides: the wheel's rim seen in its slot.
    for (int i = 0; i < 5; ++i) {
        const Colour side = mix(pal::kKnobRim, pal::kWheelDark, i / 5.0);
        c.fillRect({x + b + i, y + b, x + b + i + 1, y + h - b}, side);
        c.fillRect({x + w - b - i - 1, y + b, x + w - b - i, y + h - b}, side);
    }
}

void drawOnOffButton(SkinCanvas& c, double x, double y, bool on) {
    c.fillRect({x, y, x + 60, y + 48}, pal::kPanel);
    const Rect body{x + 8, y + 8, x + 52, y + 40};
    buttonFace(c, body, 7, on);
    const Rect led{x + 17, y + 19 + (on ? 1 : 0), x + 43, y + 29 + (on ? 1 : 0)};
    if (on) c.fillRounded(led.inset(-3), 7, mix(pal::kButtonPressedBottom, pal::kLedOn, 0.35));
    c.fillRounded(led, 4, on ? pal::kLedOn : pal::kLedOff);
}

void drawOptionsButton(SkinCanvas& c, double x, double y, bool pressed) {
    c.fillRect({x, y, x + 132, y + 84}, pal::kPanel);
    buttonFace(c, {x + 8, y + 8, x + 124, y + 76}, 10, pressed);
    const double dy = pressed ? 2 : 0;
    c.text("OPTIONS", x + 66, y + 53 + dy, 28, Face::Label, Align::Centre, pressed ? pal::kHeader : pal::kLabel, 100);
}

void drawStepButton(SkinCanvas& c, const Rect& r, int state) {
    c.fillRect(r, pal::kPanel);
    const Rect body = r.inset(kFrameBorder);
    const double mid = body.centreY();
    c.fillRounded(body, 9, pal::kKnobRim);
    const Rect upper{body.left + 2, body.top + 2, body.right - 2, mid - 1};
    const Rect lower{body.left + 2, mid + 1, body.right - 2, body.bottom - 2};
    const bool upPressed = state == 0, downPressed = state == 2;
    c.fillRoundedGradient(upper, 7, upPressed ? pal::kButtonPressedTop : pal::kButtonTop,
                          upPressed ? pal::kButtonPressedBottom : pal::kButtonBottom);
    c.fillRoundedGradient(lower, 7, downPressed ? pal::kButtonPressedTop : pal::kButtonTop,
                          downPressed ? pal::kButtonPressedBottom : pal::kButtonBottom);
    const double half = std::min(body.width() * 0.28, 16.0);
    triangle(c, upper.centreX(), upper.centreY() + (upPressed ? 2 : 0), half, true,
             upPressed ? pal::kHeader : pal::kLabel);
    triangle(c, lower.centreX(), lower.centreY() + (downPressed ? 2 : 0), half, false,
             downPressed ? pal::kHeader : pal::kLabel);
}

void drawFourWaySwitch(SkinCanvas& c, double x, double y, int position) {
    c.fillRect({x, y, x + 120, y + 192}, pal::kPanel);
    // A lamp beside each position, on the side of the position names.
    for (int k = 0; k < 4; ++k)
        c.fillCircle(x + 20, y + 24 + 48.0 * k, 7, k == position ? pal::kLedOn : pal::kLedOff);
    switchLever(c, x + 72, y, 4, position);
}

void drawThreeWaySwitch(SkinCanvas& c, double x, double y, int position) {
    static const char* const kNames[3] = {"POLY", "DUAL", "UNISON"};
    c.fillRect({x, y, x + 204, y + 144}, pal::kPanel);
    switchLever(c, x + 40, y, 3, position);
    for (int k = 0; k < 3; ++k)
        c.text(kNames[k], x + 76, y + 35 + 48.0 * k, layout::kLabelSize, Face::Label, Align::Left,
               k == position ? pal::kHeader : pal::kLabelDim, 118);
}

}  // namespace skin
