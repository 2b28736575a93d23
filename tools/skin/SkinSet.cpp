#include "SkinSet.h"

#include "BackgroundArt.h"
#include "ControlArt.h"
#include "KeyboardArt.h"
#include "ScreenArt.h"
#include "SkinLayout.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace skin {

namespace lay = layout;

namespace {

void drawKnobStrip(SkinCanvas& c) {
    for (int i = 0; i < kKnobFrames; ++i) drawKnobFrame(c, 0, i * lay::kKnobSize, i);
}
void drawWheelStrip(SkinCanvas& c) {
    for (int i = 0; i < kWheelFrames; ++i) drawWheelFrame(c, 0, i * 296, i);
}
void drawButton(SkinCanvas& c) {
    drawOnOffButton(c, 0, 0, false);
    drawOnOffButton(c, 0, 48, true);
}
void drawOptions(SkinCanvas& c) {
    drawOptionsButton(c, 0, 0, false);
    drawOptionsButton(c, 0, 84, true);
}
void drawProgramStep(SkinCanvas& c) {
    for (int s = 0; s < 3; ++s) drawStepButton(c, {0, s * 120.0, 84, s * 120.0 + 120}, s);
}
void drawWaveStep(SkinCanvas& c) {
    for (int s = 0; s < 3; ++s) drawStepButton(c, {0, s * 144.0, 72, s * 144.0 + 144}, s);
}
void drawWaveDisplay(SkinCanvas& c) {
    for (int p = 0; p < kWaveFrames; ++p) drawWaveFrame(c, 0, p * kWaveFrameHeight, p, false);
}
void drawWaveChooser(SkinCanvas& c) {
    for (int p = 0; p < kWaveFrames; ++p) {
        drawWaveFrame(c, 0, p * kWaveFrameHeight, p, false);
        drawWaveFrame(c, kWaveFrameWidth, p * kWaveFrameHeight, p, true);
    }
}
void drawOctaveRest(SkinCanvas& c) { drawOctave(c, 0, 0, false, false); }
void drawOctaveWhiteHeld(SkinCanvas& c) { drawOctave(c, 0, 0, true, false); }
void drawOctaveAllHeld(SkinCanvas& c) { drawOctave(c, 0, 0, true, true); }
void drawOctaveBlackHeld(SkinCanvas& c) { drawOctave(c, 0, 0, false, true); }
void drawRouting(SkinCanvas& c) {
    for (int r = 0; r < 3; ++r) drawRoutingFrame(c, 0, r * 132.0, r);
}
void drawFourWay(SkinCanvas& c) {
    for (int p = 0; p < 4; ++p) drawFourWaySwitch(c, 0, p * 192.0, p);
}
void drawThreeWay(SkinCanvas& c) {
    for (int p = 0; p < 3; ++p) drawThreeWaySwitch(c, 0, p * 144.0, p);
}

constexpr auto kPictures = std::to_array<Picture>({
    {128, "background", 3000, 2016, 1, drawBackground},
    {125, "button", 60, 96, 2, drawButton},
    {123, "options-button", 132, 168, 2, drawOptions},
    {124, "program-step", 84, 360, 3, drawProgramStep},
    {152, "wave-step", 72, 432, 3, drawWaveStep},
    {136, "knob", 156, 9828, 63, drawKnobStrip},
    {126, "wave-display", 204, 3840, 40, drawWaveDisplay},
    {127, "wave-chooser", 408, 3840, 40, drawWaveChooser},
    {119, "keys-octave", 504, 368, 1, drawOctaveRest},
    {120, "keys-white-held", 504, 368, 1, drawOctaveWhiteHeld},
    {121, "keys-octave-held", 504, 368, 1, drawOctaveAllHeld},
    {130, "keys-black-held", 504, 368, 1, drawOctaveBlackHeld},
    {118, "wheel", 48, 26936, 91, drawWheelStrip},
    {155, "routing", 360, 396, 3, drawRouting},
    {156, "switch-4way", 120, 768, 4, drawFourWay},
    {157, "switch-3way", 204, 432, 3, drawThreeWay},
});

const Picture& byId(int id) {
    for (const Picture& p : kPictures)
        if (p.id == id) return p;
    return kPictures[0];
}

// Values of the first factory program for the preview, by tag.
struct PreviewValue {
    int tag;
    float value;
};
constexpr auto kPreviewValues = std::to_array<PreviewValue>({
    {0, 0.515f}, {1, 0.509f}, {2, 0.0f}, {3, 0.0f}, {4, 0.648f}, {5, 0.141f}, {6, 0.359f}, {7, 0.0f},
    {8, 0.0f}, {9, 0.695f}, {10, 0.0f}, {11, 0.794f}, {12, 0.505f}, {13, 0.51f}, {14, 0.0f}, {15, 0.814f},
    {16, 0.672f}, {17, 0.273f}, {18, 0.446f}, {19, 0.0f}, {20, 0.144f}, {21, 0.0f}, {22, 0.0f}, {23, 0.687f},
    {24, 0.872f}, {25, 0.026f}, {26, 0.0f}, {27, 0.0f}, {28, 2.0f}, {29, 0.0f}, {30, 1.0f}, {31, 0.06f},
    {32, 0.0f}, {33, 0.0f}, {34, 0.0f}, {35, 0.0f}, {36, 0.0f}, {37, 0.0f}, {38, 0.352f}, {39, 0.0f},
    {40, 0.563f}, {41, 0.406f}, {42, 0.563f}, {43, 0.275f}, {44, 0.906f}, {45, 0.0f}, {46, 0.617f},
    {47, 1.0f}, {48, 0.813f}, {49, 0.234f}, {50, 0.203f}, {51, 0.154f}, {52, 0.586f}, {53, 0.461f},
    {54, 0.0f}, {55, 0.0f}, {56, 1.0f}, {57, 0.227f}, {58, 0.59f}, {62, 0.0f}, {65, 1.0f}, {66, 0.51f},
    {67, 0.485f}, {68, 0.58f}, {69, 0.125f}, {70, 0.625f}, {71, 0.285f}, {72, 0.0f}, {73, 0.91f},
    {74, 0.0f}, {75, 0.0f}, {76, 0.07f}, {77, 0.0f}, {78, 0.0f}, {79, 0.07f}, {80, 0.0f}, {81, 0.0f},
    {86, 0.5f},
});

// Places one frame of a picture at the control's master position.
void place(SkinCanvas& dst, SkinCanvas& strip, int frameHeight, int frame, const Rect& at) {
    dst.blitPart(strip, {0, double(frame * frameHeight), double(strip.width()), double((frame + 1) * frameHeight)},
                 at.left, at.top);
}

}  // namespace

std::span<const Picture> pictures() { return kPictures; }

std::string fileName(const Picture& p) { return std::to_string(p.id) + "-" + p.name + ".png"; }

std::unique_ptr<SkinCanvas> render(const Picture& p) {
    auto canvas = std::make_unique<SkinCanvas>(p.width, p.height);
    p.draw(*canvas);
    return canvas;
}

bool writeAll(const std::string& folder) {
    bool ok = true;
    for (const Picture& p : kPictures) {
        const std::string path = folder + "/" + fileName(p);
        if (!render(p)->writePng(path)) {
            std::fprintf(stderr, "quilm-skin: cannot write %s\n", path.c_str());
            ok = false;
        }
    }
    return ok;
}

bool writePreview(const std::string& path, double scale) {
    auto bg = render(byId(128));
    auto knob = render(byId(136));
    auto wheel = render(byId(118));
    auto button = render(byId(125));
    auto vswitch4 = render(byId(156));
    auto vswitch3 = render(byId(157));
    auto routing = render(byId(155));
    auto display = render(byId(126));
    auto options = render(byId(123));
    auto whiteHeld = render(byId(120));
    auto blackHeld = render(byId(130));
    for (const PreviewValue& pv : kPreviewValues) {
        const lay::Control& ctl = lay::control(pv.tag);
        const Rect r = lay::controlRect(pv.tag);
        switch (ctl.kind) {
            case lay::kKnob: place(*bg, *knob, 156, int(pv.value * 62 + 0.5f), r); break;
            case lay::kWheel: place(*bg, *wheel, 296, 90 - int(pv.value * 90.0f), r); break;
            case lay::kOnOff: place(*bg, *button, 48, pv.value > 0.5f ? 1 : 0, r); break;
            case lay::kDiagram: place(*bg, *routing, 132, int(pv.value), r); break;
            case lay::kWaveDisplay: place(*bg, *display, 96, std::min(39, int(pv.value * 39.99f)), r); break;
            case lay::kVerticalSwitch:
                if (ctl.variant == 1) place(*bg, *vswitch4, 192, int(pv.value * 3 + 0.5f), r);
                else place(*bg, *vswitch3, 144, int(pv.value * 2 + 0.5f), r);
                break;
            default: break;
        }
    }
    place(*bg, *options, 84, 0, lay::controlRect(82));
    // A chord held on the keyboard: C, E, G and B flat of the third octave.
    const Rect keys = lay::controlRect(85);
    const double ox = keys.left + 2 * lay::kOctaveWidth;
    for (int white : {0, 2, 4}) {
        for (const Rect& part : {lay::whiteKeysUpper()[white], lay::whiteKeysLower()[white]})
            bg->blitPart(*whiteHeld, part, ox + part.left, keys.top + part.top);
    }
    const Rect bflat = lay::blackKeys()[4];
    bg->blitPart(*blackHeld, bflat, ox + bflat.left, keys.top + bflat.top);

    const int w = int(std::floor(bg->width() * scale)), h = int(std::floor(bg->height() * scale));
    SkinCanvas out(w, h);
    cairo_t* cr = out.cr();
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, bg->surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
    cairo_paint(cr);
    return out.writePng(path);
}

}  // namespace skin
