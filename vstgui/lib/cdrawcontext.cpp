#include "cdrawcontext.h"
#include "cairo/cairobitmap.h"
#include "cairo/fontresolver.h"
#include "platform/Utf8Text.h"
#include <atomic>
#include <cairo.h>
#include <cmath>

namespace VSTGUI {

CDrawContext::CDrawContext (cairo_surface_t* s, const CRect& rect, double scale)
: surface (s), surfaceRect (rect), scaleFactor (scale)
{
	cairo_surface_reference (surface);
	cr = cairo_create (surface);
	currentState.clipRect = surfaceRect;
	currentState.font = kSystemFont;
}

namespace {
std::atomic<uint32_t> failedContexts {0};
} // namespace

CDrawContext::~CDrawContext () noexcept
{
	endDraw ();
	// cairo ignores every call on a context in an error state: whatever came after the
	// error was not drawn. Counted so that it never goes unnoticed.
	if (cairo_status (cr) != CAIRO_STATUS_SUCCESS)
		failedContexts.fetch_add (1, std::memory_order_relaxed);
	cairo_destroy (cr);
	cairo_surface_destroy (surface);
}

void CDrawContext::endDraw ()
{
	cairo_surface_flush (surface);
}

bool CDrawContext::hasFailed () const
{
	return cairo_status (cr) != CAIRO_STATUS_SUCCESS;
}

uint32_t CDrawContext::getFailedContextCount ()
{
	return failedContexts.load (std::memory_order_relaxed);
}

//------------------------------------------------------------------------
// Every drawing call starts from a clean cairo state: the clip rectangle (kept in
// surface coordinates) and the offset are applied anew.
void CDrawContext::applyClip ()
{
	cairo_reset_clip (cr);
	const CRect& c = currentState.clipRect;
	cairo_rectangle (cr, c.left, c.top, c.getWidth (), c.getHeight ());
	cairo_clip (cr);
	cairo_translate (cr, currentState.offset.x, currentState.offset.y);
}

void CDrawContext::setSourceColor (const CColor& c)
{
	cairo_set_source_rgba (cr, c.red / 255., c.green / 255., c.blue / 255.,
	                       (c.alpha / 255.) * currentState.globalAlpha);
}

void CDrawContext::applyAntialias ()
{
	cairo_set_antialias (cr, currentState.drawMode == kAntiAliasing ? CAIRO_ANTIALIAS_DEFAULT
	                                                                 : CAIRO_ANTIALIAS_NONE);
}

namespace {

struct CairoSave
{
	explicit CairoSave (cairo_t* c) : cr (c) { cairo_save (cr); }
	~CairoSave () { cairo_restore (cr); }
	cairo_t* cr;
};

/** Half a pixel for odd line widths, so that lines on whole coordinates cover whole pixels. */
double pixelAlign (CCoord lineWidth)
{
	auto w = static_cast<long> (std::lround (lineWidth));
	return (w % 2 == 1 && std::fabs (lineWidth - static_cast<double> (w)) < 1e-9) ? 0.5 : 0.;
}

} // namespace

//------------------------------------------------------------------------
template <class Path>
void CDrawContext::fillAndStroke (CDrawStyle drawStyle, double strokeInset, Path path)
{
	if (drawStyle != kDrawStroked)
	{
		path (0.);
		setSourceColor (currentState.fillColor);
		cairo_fill (cr);
	}
	if (drawStyle != kDrawFilled)
	{
		path (strokeInset);
		setSourceColor (currentState.frameColor);
		cairo_set_line_width (cr, currentState.frameWidth);
		cairo_stroke (cr);
	}
}

void CDrawContext::drawLine (const CPoint& start, const CPoint& end)
{
	CairoSave save (cr);
	applyClip ();
	applyAntialias ();
	setSourceColor (currentState.frameColor);
	cairo_set_line_width (cr, currentState.frameWidth);
	double a = pixelAlign (currentState.frameWidth);
	cairo_move_to (cr, start.x + a, start.y + a);
	cairo_line_to (cr, end.x + a, end.y + a);
	cairo_stroke (cr);
	penPosition = end;
}

void CDrawContext::moveTo (const CPoint& p)
{
	penPosition = p;
}

void CDrawContext::lineTo (const CPoint& p)
{
	drawLine (penPosition, p);
}

void CDrawContext::drawPolygon (const PointList& points, const CDrawStyle drawStyle)
{
	if (points.size () < 2)
		return;
	CairoSave save (cr);
	applyClip ();
	applyAntialias ();
	auto path = [&] (double a) {
		cairo_new_path (cr);
		cairo_move_to (cr, points[0].x + a, points[0].y + a);
		for (size_t i = 1; i < points.size (); ++i)
			cairo_line_to (cr, points[i].x + a, points[i].y + a);
		cairo_close_path (cr);
	};
	fillAndStroke (drawStyle, pixelAlign (currentState.frameWidth), path);
}

void CDrawContext::drawRect (const CRect& rect, const CDrawStyle drawStyle)
{
	CRect r (rect);
	r.normalize ();
	CairoSave save (cr);
	applyClip ();
	applyAntialias ();
	auto path = [&] (double inset) {
		cairo_rectangle (cr, r.left + inset, r.top + inset, r.getWidth () - 2. * inset,
		                 r.getHeight () - 2. * inset);
	};
	// The stroke lies inside the rectangle: a 1-pixel frame covers its outer pixels.
	fillAndStroke (drawStyle, currentState.frameWidth / 2., path);
}

void CDrawContext::drawEllipse (const CRect& rect, const CDrawStyle drawStyle)
{
	CRect r (rect);
	r.normalize ();
	if (r.isEmpty ())
		return;
	CairoSave save (cr);
	applyClip ();
	applyAntialias ();
	auto path = [&] (double inset) {
		cairo_new_path (cr);
		cairo_save (cr);
		CRect e (r);
		e.inset (inset, inset);
		cairo_translate (cr, e.left + e.getWidth () / 2., e.top + e.getHeight () / 2.);
		cairo_scale (cr, std::max (e.getWidth (), 1e-3) / 2., std::max (e.getHeight (), 1e-3) / 2.);
		cairo_arc (cr, 0., 0., 1., 0., 2. * M_PI);
		cairo_restore (cr);
	};
	fillAndStroke (drawStyle, currentState.frameWidth / 2., path);
}

void CDrawContext::drawPoint (const CPoint& point, const CColor& color)
{
	CairoSave save (cr);
	applyClip ();
	cairo_rectangle (cr, std::floor (point.x), std::floor (point.y), 1., 1.);
	setSourceColor (color);
	cairo_fill (cr);
}

void CDrawContext::clearRect (const CRect& rect)
{
	CairoSave save (cr);
	applyClip ();
	cairo_set_operator (cr, CAIRO_OPERATOR_CLEAR);
	cairo_rectangle (cr, rect.left, rect.top, rect.getWidth (), rect.getHeight ());
	cairo_fill (cr);
}

void CDrawContext::drawBitmap (CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
	cairo_surface_t* source = getCairoSurface (bitmap);
	if (!source || dest.isEmpty ())
		return;
	CairoSave save (cr);
	applyClip ();
	cairo_rectangle (cr, dest.left, dest.top, dest.getWidth (), dest.getHeight ());
	cairo_clip (cr);
	// The pattern is made and released here: reading it back with cairo_get_source would
	// hand out a new pattern that nobody frees once the context is in an error state.
	cairo_pattern_t* pattern = cairo_pattern_create_for_surface (source);
	cairo_matrix_t placement;
	cairo_matrix_init_translate (&placement, offset.x - dest.left, offset.y - dest.top);
	cairo_pattern_set_matrix (pattern, &placement);
	// Whole-pixel copies; outside the picture there is nothing (no repeat).
	cairo_pattern_set_filter (pattern, CAIRO_FILTER_NEAREST);
	cairo_pattern_set_extend (pattern, CAIRO_EXTEND_NONE);
	cairo_set_source (cr, pattern);
	cairo_pattern_destroy (pattern);
	cairo_paint_with_alpha (cr, alpha * currentState.globalAlpha);
}

//------------------------------------------------------------------------
bool CDrawContext::selectFont ()
{
	CFontDesc* font = currentState.font.get ();
	if (!font)
		return false;
	CCoord size = currentState.fontSize > 0 ? currentState.fontSize : font->getSize ();
	int32_t style = currentState.fontStyle >= 0 ? currentState.fontStyle : font->getStyle ();
	if (size <= 0)
		return false;
	const std::string& family = resolveFontFamily (font->getName ());
	cairo_select_font_face (cr, family.c_str (),
	                        (style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
	                        (style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_font_size (cr, size);
	return true;
}

CCoord CDrawContext::getStringWidth (UTF8StringPtr string)
{
	if (!string || !*string)
		return 0.;
	CairoSave save (cr);
	if (!selectFont ())
		return 0.;
	const std::string text = displayableUtf8 (string);
	cairo_text_extents_t extents;
	cairo_text_extents (cr, text.c_str (), &extents);
	return extents.x_advance;
}

void CDrawContext::drawString (UTF8StringPtr string, const CRect& rect, const CHoriTxtAlign hAlign,
                               bool antialias)
{
	if (!string || !*string || rect.isEmpty ())
		return;
	CairoSave save (cr);
	applyClip ();
	if (!selectFont ())
		return;
	cairo_rectangle (cr, rect.left, rect.top, rect.getWidth (), rect.getHeight ());
	cairo_clip (cr);
	cairo_font_options_t* options = cairo_font_options_create ();
	cairo_font_options_set_antialias (options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
	cairo_set_font_options (cr, options);
	cairo_font_options_destroy (options);

	const std::string shown = displayableUtf8 (string);
	cairo_text_extents_t text;
	cairo_text_extents (cr, shown.c_str (), &text);
	cairo_font_extents_t font;
	cairo_font_extents (cr, &font);
	double x = rect.left;
	if (hAlign == kCenterText)
		x = rect.left + (rect.getWidth () - text.x_advance) / 2.;
	else if (hAlign == kRightText)
		x = rect.right - text.x_advance;
	// Base line so that ascent and descent sit centred in the rectangle, on a whole pixel.
	double y = std::round (rect.top + (rect.getHeight () + font.ascent - font.descent) / 2.);
	setSourceColor (currentState.fontColor);
	cairo_move_to (cr, std::round (x), y);
	cairo_show_text (cr, shown.c_str ());
}

void CDrawContext::drawString (UTF8StringPtr string, const CPoint& point, bool antialias)
{
	if (!string || !*string)
		return;
	CairoSave save (cr);
	applyClip ();
	if (!selectFont ())
		return;
	cairo_font_options_t* options = cairo_font_options_create ();
	cairo_font_options_set_antialias (options, antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
	cairo_set_font_options (cr, options);
	cairo_font_options_destroy (options);
	setSourceColor (currentState.fontColor);
	cairo_move_to (cr, point.x, point.y);
	cairo_show_text (cr, displayableUtf8 (string).c_str ());
}

//------------------------------------------------------------------------
void CDrawContext::setLineWidth (CCoord width)
{
	currentState.frameWidth = width;
}

void CDrawContext::setDrawMode (CDrawMode mode)
{
	currentState.drawMode = mode;
}

void CDrawContext::setFillColor (const CColor& color)
{
	currentState.fillColor = color;
}

void CDrawContext::setFrameColor (const CColor& color)
{
	currentState.frameColor = color;
}

void CDrawContext::setFontColor (const CColor& color)
{
	currentState.fontColor = color;
}

void CDrawContext::setFont (const CFontRef font, const CCoord& size, const int32_t& style)
{
	if (!font)
		return;
	currentState.font = font;
	currentState.fontSize = size;
	currentState.fontStyle = style;
}

void CDrawContext::setGlobalAlpha (float alpha)
{
	currentState.globalAlpha = alpha;
}

void CDrawContext::setClipRect (const CRect& clip)
{
	CRect c (clip);
	c.offset (currentState.offset);
	c.bound (surfaceRect);
	currentState.clipRect = c;
}

CRect& CDrawContext::getClipRect (CRect& clip) const
{
	clip = currentState.clipRect;
	clip.offsetInverse (currentState.offset);
	return clip;
}

void CDrawContext::resetClipRect ()
{
	currentState.clipRect = surfaceRect;
}

void CDrawContext::setOffset (const CPoint& offset)
{
	currentState.offset = offset;
}

void CDrawContext::saveGlobalState ()
{
	stateStack.push_back (currentState);
}

void CDrawContext::restoreGlobalState ()
{
	if (stateStack.empty ())
		return;
	currentState = stateStack.back ();
	stateStack.pop_back ();
}

} // namespace VSTGUI
