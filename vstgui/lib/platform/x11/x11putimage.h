// Copies part of a cairo image surface into an X drawable.
#pragma once

#include "../../crect.h"
#include <X11/Xlib.h>

typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

/** Copies rect of the image surface (32-bit, B, G, R, A) to the same place of the
    drawable of the given visual and depth. UI thread. */
void x11PutImage (Display* display, Drawable drawable, GC gc, Visual* visual, int depth, cairo_surface_t* surface,
                  const CRect& rect);

} // namespace VSTGUI
