// Test helper: a PNG read with cairo, pixels as 0xRRGGBB with opacity checked.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

struct SkinImage {
    int width = 0;
    int height = 0;
    bool opaque = false;               // every pixel has full alpha
    std::vector<uint32_t> rgb;         // 0xRRGGBB, row by row

    uint32_t at(int x, int y) const { return rgb[size_t(y) * size_t(width) + size_t(x)]; }

    // Reads the surface's pixels; alpha must be 255 everywhere to count as opaque.
    static SkinImage fromSurface(cairo_surface_t* s) {
        SkinImage img;
        if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return img;
        cairo_surface_flush(s);
        img.width = cairo_image_surface_get_width(s);
        img.height = cairo_image_surface_get_height(s);
        const cairo_format_t format = cairo_image_surface_get_format(s);
        const int stride = cairo_image_surface_get_stride(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        img.opaque = format == CAIRO_FORMAT_RGB24 || format == CAIRO_FORMAT_ARGB32;
        img.rgb.resize(size_t(img.width) * size_t(img.height));
        for (int y = 0; y < img.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
            for (int x = 0; x < img.width; ++x) {
                if (format == CAIRO_FORMAT_ARGB32 && (row[x] >> 24) != 0xFF) img.opaque = false;
                img.rgb[size_t(y) * size_t(img.width) + size_t(x)] = row[x] & 0xFFFFFF;
            }
        }
        return img;
    }

    static SkinImage load(const std::string& path) {
        cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
        SkinImage img = fromSurface(s);
        cairo_surface_destroy(s);
        return img;
    }

    // True when the frame's outer ring of the given width has one colour.
    bool ringIsEven(int left, int top, int w, int h, int ring, uint32_t* colour) const {
        const uint32_t c = at(left, top);
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x) {
                const bool inRing = x < left + ring || x >= left + w - ring || y < top + ring || y >= top + h - ring;
                if (inRing && at(x, y) != c) return false;
            }
        if (colour) *colour = c;
        return true;
    }

    bool framesEqual(int frameHeight, int a, int b) const {
        for (int y = 0; y < frameHeight; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, a * frameHeight + y) != at(x, b * frameHeight + y)) return false;
        return true;
    }
};
