// Drawing surface of the skin generator: an opaque cairo image with the few
// shapes and text helpers that every picture of the skin is made of.
// The skin generator is single-threaded.
#pragma once

#include <cairo.h>

#include <numbers>
#include <string>

namespace skin {

inline constexpr double kPi = std::numbers::pi;

// An opaque colour, 0..255 per channel.
struct Colour {
    int r, g, b;
};

// Linear mix of two colours, t = 0 gives a, t = 1 gives b.
Colour mix(Colour a, Colour b, double t);

// A rectangle by its edges, in canvas pixels.
struct Rect {
    double left, top, right, bottom;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
    double centreX() const { return (left + right) * 0.5; }
    double centreY() const { return (top + bottom) * 0.5; }
    Rect inset(double d) const { return {left + d, top + d, right - d, bottom - d}; }
    Rect moved(double dx, double dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

// Where text sits against its x: starting there, centred on it, or ending there.
enum class Align { Left, Centre, Right };

// The skin's typefaces: control names, section titles, the logo and plain text.
enum class Face { Label, Header, Logo, Plain };

// One picture being drawn. Every pixel starts black and opaque; the surface
// has no alpha channel, so whatever is drawn stays opaque.
class SkinCanvas {
public:
    // A black opaque picture of width x height pixels.
    SkinCanvas(int width, int height);
    ~SkinCanvas();
    SkinCanvas(const SkinCanvas&) = delete;
    SkinCanvas& operator=(const SkinCanvas&) = delete;

    // Size in pixels, and cairo's context and surface for drawing not covered below.
    int width() const { return width_; }
    int height() const { return height_; }
    cairo_t* cr() { return cr_; }
    cairo_surface_t* surface() { return surface_; }

    // Makes c the source of the next cairo drawing.
    void setColour(Colour c);
    // Fills r with c.
    void fillRect(const Rect& r, Colour c);
    // Starts a path around r with corners of radius pixels (nothing drawn yet).
    void roundedPath(const Rect& r, double radius);
    // Fills / strokes (lineWidth pixels) the rounded rectangle in c.
    void fillRounded(const Rect& r, double radius, Colour c);
    void strokeRounded(const Rect& r, double radius, double lineWidth, Colour c);
    // Vertical gradient from top colour to bottom colour inside a rounded rectangle.
    void fillRoundedGradient(const Rect& r, double radius, Colour top, Colour bottom);
    // A filled disc, and a straight line width pixels wide, in c.
    void fillCircle(double cx, double cy, double radius, Colour c);
    void line(double x0, double y0, double x1, double y1, double width, Colour c);

    // Draws text with its baseline at y; shrinks the size until the text fits
    // maxWidth (0 = no limit). Returns the width actually drawn.
    double text(const std::string& s, double x, double baseline, double size, Face face, Align align,
                Colour c, double maxWidth = 0);
    // The width text() would draw at this size, without drawing.
    double textWidth(const std::string& s, double size, Face face);

    // Draws another canvas (or part of it) at (x, y).
    void blit(SkinCanvas& src, double x, double y);
    void blitPart(SkinCanvas& src, const Rect& from, double x, double y);

    // Writes the picture as a PNG file; false when it could not be written.
    bool writePng(const std::string& path);

private:
    void selectFace(Face face, double size);

    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Frees cairo's and fontconfig's process-wide font caches; call once at the
// end, after every canvas is gone (keeps leak checkers quiet).
void releaseSharedCaches();

}  // namespace skin
