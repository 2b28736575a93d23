#include "SkinCanvas.h"

#include <cmath>
#include <cstdio>

#include <fontconfig/fontconfig.h>
#include <png.h>

namespace skin {

Colour mix(Colour a, Colour b, double t) {
    auto m = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

SkinCanvas::SkinCanvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_)) {
    // Text is drawn unhinted with grey anti-aliasing so that the pictures do
    // not depend on the machine's font configuration beyond the font files.
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, opts);
    cairo_font_options_destroy(opts);
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_paint(cr_);
}

SkinCanvas::~SkinCanvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void SkinCanvas::setColour(Colour c) {
    cairo_set_source_rgb(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

void SkinCanvas::fillRect(const Rect& r, Colour c) {
    setColour(c);
    cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
    cairo_fill(cr_);
}

void SkinCanvas::roundedPath(const Rect& r, double radius) {
    const double rad = std::fmin(radius, std::fmin(r.width(), r.height()) * 0.5);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, r.right - rad, r.top + rad, rad, -kPi / 2, 0);
    cairo_arc(cr_, r.right - rad, r.bottom - rad, rad, 0, kPi / 2);
    cairo_arc(cr_, r.left + rad, r.bottom - rad, rad, kPi / 2, kPi);
    cairo_arc(cr_, r.left + rad, r.top + rad, rad, kPi, 3 * kPi / 2);
    cairo_close_path(cr_);
}

void SkinCanvas::fillRounded(const Rect& r, double radius, Colour c) {
    setColour(c);
    roundedPath(r, radius);
    cairo_fill(cr_);
}

void SkinCanvas::strokeRounded(const Rect& r, double radius, double lineWidth, Colour c) {
    setColour(c);
    roundedPath(r, radius);
    cairo_set_line_width(cr_, lineWidth);
    cairo_stroke(cr_);
}

void SkinCanvas::fillRoundedGradient(const Rect& r, double radius, Colour top, Colour bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, r.top, 0, r.bottom);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r / 255.0, bottom.g / 255.0, bottom.b / 255.0);
    cairo_set_source(cr_, p);
    roundedPath(r, radius);
    cairo_fill(cr_);
    cairo_pattern_destroy(p);
}

void SkinCanvas::fillCircle(double cx, double cy, double radius, Colour c) {
    setColour(c);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, cx, cy, radius, 0, 2 * kPi);
    cairo_fill(cr_);
}

void SkinCanvas::line(double x0, double y0, double x1, double y1, double width, Colour c) {
    setColour(c);
    cairo_set_line_width(cr_, width);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr_, x0, y0);
    cairo_line_to(cr_, x1, y1);
    cairo_stroke(cr_);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

void SkinCanvas::selectFace(Face face, double size) {
    switch (face) {
        case Face::Label:
        case Face::Header:
            cairo_select_font_face(cr_, "DejaVu Sans Condensed", CAIRO_FONT_SLANT_NORMAL,
                                   CAIRO_FONT_WEIGHT_BOLD);
            break;
        case Face::Logo:
            cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
            break;
        case Face::Plain:
            cairo_select_font_face(cr_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
            break;
    }
    cairo_set_font_size(cr_, size);
}

double SkinCanvas::textWidth(const std::string& s, double size, Face face) {
    selectFace(face, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr_, s.c_str(), &ext);
    return ext.x_advance;
}

double SkinCanvas::text(const std::string& s, double x, double baseline, double size, Face face,
                        Align align, Colour c, double maxWidth) {
    double w = textWidth(s, size, face);
    if (maxWidth > 0 && w > maxWidth) {
        size *= maxWidth / w;
        w = textWidth(s, size, face);
    }
    double left = x;
    if (align == Align::Centre) left = x - w * 0.5;
    if (align == Align::Right) left = x - w;
    setColour(c);
    cairo_move_to(cr_, left, baseline);
    cairo_show_text(cr_, s.c_str());
    cairo_new_path(cr_);
    return w;
}

void SkinCanvas::blit(SkinCanvas& src, double x, double y) {
    cairo_set_source_surface(cr_, src.surface(), x, y);
    cairo_paint(cr_);
}

void SkinCanvas::blitPart(SkinCanvas& src, const Rect& from, double x, double y) {
    cairo_save(cr_);
    cairo_rectangle(cr_, x, y, from.width(), from.height());
    cairo_clip(cr_);
    cairo_set_source_surface(cr_, src.surface(), x - from.left, y - from.top);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

void releaseSharedCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

bool SkinCanvas::writePng(const std::string& path) {
    cairo_surface_flush(surface_);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    volatile bool written = false;  // set after setjmp, read after a failure's longjmp
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        // No row filters and the strongest deflate: the pictures are mostly flat areas, so
        // the files come out smaller and the editor decodes them about three times faster.
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
        png_set_compression_level(png, 9);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width_), static_cast<png_uint_32>(height_), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        // The surface holds B, G, R and an unused byte per pixel.
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
        const unsigned char* pixels = cairo_image_surface_get_data(surface_);
        const size_t stride = static_cast<size_t>(cairo_image_surface_get_stride(surface_));
        for (int y = 0; y < height_; ++y) png_write_row(png, pixels + static_cast<size_t>(y) * stride);
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace skin
