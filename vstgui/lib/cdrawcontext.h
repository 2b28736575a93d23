// CDrawContext: draws shapes, pictures and text into a surface (cairo underneath).
// UI thread.
#pragma once

#include "cbitmap.h"
#include "ccolor.h"
#include "cfont.h"
#include "crect.h"
#include "vstguifwd.h"
#include <cstdint>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace VSTGUI {

class CDrawContext : public CBaseObject
{
public:
	using PointList = std::vector<CPoint>;

	/** Draws into a cairo surface of the given size (the surface is referenced). */
	CDrawContext (cairo_surface_t* surface, const CRect& surfaceRect, double scaleFactor = 1.);
	~CDrawContext () noexcept override;

	// Lines and shapes ---------------------------------------------------
	/** Draws a line from start to end in the frame colour. */
	void drawLine (const CPoint& start, const CPoint& end);
	/** Starts a path of lineTo calls at p (older drawing style). */
	void moveTo (const CPoint& p);
	/** Draws a line from the current point to p and moves there. */
	void lineTo (const CPoint& p);
	/** Draws a closed polygon through the points. */
	void drawPolygon (const PointList& points, const CDrawStyle drawStyle = kDrawStroked);
	/** Draws a rectangle: filled exactly, stroked just inside its edges. */
	void drawRect (const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
	/** Draws the ellipse inside rect: filled to its edges, stroked just inside them. */
	void drawEllipse (const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
	/** Sets one pixel to a colour. */
	void drawPoint (const CPoint& point, const CColor& color);
	/** Makes the rectangle transparent. */
	void clearRect (const CRect& rect);

	/** Draws the bitmap from offset on into dest, clipped to dest. */
	void drawBitmap (CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint (0, 0),
	                 float alpha = 1.f);

	// Text ---------------------------------------------------------------
	// Any bytes are drawn: those that do not form UTF-8 show as Latin-1 (displayableUtf8).
	/** Width in pixels of the text in the current font. */
	CCoord getStringWidth (UTF8StringPtr string);
	/** Draws the text vertically centred in rect with the alignment, in the font colour. */
	void drawString (UTF8StringPtr string, const CRect& rect, const CHoriTxtAlign hAlign = kCenterText,
	                 bool antialias = true);
	/** Draws the text with its base line starting at point. */
	void drawString (UTF8StringPtr string, const CPoint& point, bool antialias = true);

	// State --------------------------------------------------------------
	/** Stroke width in pixels, antialiasing mode, and the fill, frame (stroke) and text colours. */
	void setLineWidth (CCoord width);
	CCoord getLineWidth () const { return currentState.frameWidth; }
	void setDrawMode (CDrawMode mode);
	CDrawMode getDrawMode () const { return currentState.drawMode; }
	void setFillColor (const CColor& color);
	CColor getFillColor () const { return currentState.fillColor; }
	void setFrameColor (const CColor& color);
	CColor getFrameColor () const { return currentState.frameColor; }
	void setFontColor (const CColor& color);
	CColor getFontColor () const { return currentState.fontColor; }
	/** Uses the font; a size other than 0 and a style other than -1 override the font's. */
	void setFont (const CFontRef font, const CCoord& size = 0, const int32_t& style = -1);
	/** The font set last. */
	CFontRef getFont () const { return currentState.font; }
	/** Opacity 0..1 applied to every later drawing. */
	void setGlobalAlpha (float alpha);
	float getGlobalAlpha () const { return currentState.globalAlpha; }

	/** Limits drawing to rect (in the context's coordinates, offset applied). */
	void setClipRect (const CRect& clip);
	/** The clip rectangle in the context's coordinates. */
	CRect& getClipRect (CRect& clip) const;
	/** Clips to the whole surface again. */
	void resetClipRect ();

	/** Moves the origin: later drawing at (x, y) lands on (x + offset.x, y + offset.y). */
	void setOffset (const CPoint& offset);
	/** The current origin offset. */
	const CPoint& getOffset () const { return currentState.offset; }

	/** Saves colours, font, line width, clip and offset. */
	void saveGlobalState ();
	/** Restores the state saved last. */
	void restoreGlobalState ();

	/** The surface's rectangle and its scale (device pixels per pixel). */
	const CRect& getSurfaceRect () const { return surfaceRect; }
	double getScaleFactor () const { return scaleFactor; }

	/** Nothing to prepare: cairo draws at once. */
	virtual void beginDraw () {}
	/** Finishes pending drawing (the surface's pixels are then up to date). */
	virtual void endDraw ();

	/** True once cairo refused a call: it then draws nothing more in this context. */
	bool hasFailed () const;
	/** How many contexts of the process ended in that state (counted when destroyed). Any thread. */
	static uint32_t getFailedContextCount ();

	/** The cairo context, for the library's own drawing code. */
	cairo_t* getCairo () const { return cr; }

protected:
	struct State
	{
		SharedPointer<CFontDesc> font;
		CColor frameColor {kBlackCColor};
		CColor fillColor {kWhiteCColor};
		CColor fontColor {kBlackCColor};
		CCoord frameWidth {1.};
		CPoint offset;
		CRect clipRect;
		float globalAlpha {1.f};
		CDrawMode drawMode {kAliasing};
		CCoord fontSize {0.};
		int32_t fontStyle {-1};
	};

	void applyClip ();
	void setSourceColor (const CColor& color);
	void applyAntialias ();
	/** Fills path (0) in the fill colour unless kDrawStroked, then strokes path
	    (strokeInset) in the frame colour and width unless kDrawFilled. UI thread. */
	template <class Path>
	void fillAndStroke (CDrawStyle drawStyle, double strokeInset, Path path);
	bool selectFont ();

	cairo_t* cr {nullptr};
	cairo_surface_t* surface {nullptr};
	CRect surfaceRect;
	double scaleFactor {1.};
	State currentState;
	std::vector<State> stateStack;
	CPoint penPosition;
};

} // namespace VSTGUI
