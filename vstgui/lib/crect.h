// A rectangle: left and top inside, right and bottom outside. Value type: any thread.
#pragma once

#include "cpoint.h"
#include <algorithm>
#include <cmath>

namespace VSTGUI {

struct CRect
{
	constexpr CRect () = default;
	constexpr CRect (CCoord left, CCoord top, CCoord right, CCoord bottom)
	: left (left), top (top), right (right), bottom (bottom)
	{
	}
	/** A rectangle from its top-left corner and its size. */
	constexpr CRect (const CPoint& origin, const CPoint& size)
	: left (origin.x), top (origin.y), right (origin.x + size.x), bottom (origin.y + size.y)
	{
	}

	CCoord getWidth () const { return right - left; }
	CCoord getHeight () const { return bottom - top; }
	CRect& setWidth (CCoord w)
	{
		right = left + w;
		return *this;
	}
	CRect& setHeight (CCoord h)
	{
		bottom = top + h;
		return *this;
	}
	CPoint getTopLeft () const { return {left, top}; }
	CPoint getTopRight () const { return {right, top}; }
	CPoint getBottomLeft () const { return {left, bottom}; }
	CPoint getBottomRight () const { return {right, bottom}; }
	CPoint getCenter () const { return {left + getWidth () / 2., top + getHeight () / 2.}; }
	CPoint getSize () const { return {getWidth (), getHeight ()}; }
	CRect& setTopLeft (const CPoint& p)
	{
		left = p.x;
		top = p.y;
		return *this;
	}
	CRect& setBottomRight (const CPoint& p)
	{
		right = p.x;
		bottom = p.y;
		return *this;
	}
	CRect& setSize (const CPoint& s)
	{
		right = left + s.x;
		bottom = top + s.y;
		return *this;
	}

	/** Moves the rectangle by (dx, dy). */
	CRect& offset (CCoord dx, CCoord dy)
	{
		left += dx;
		right += dx;
		top += dy;
		bottom += dy;
		return *this;
	}
	CRect& offset (const CPoint& p) { return offset (p.x, p.y); }
	CRect& offsetInverse (const CPoint& p) { return offset (-p.x, -p.y); }
	/** Moves the top-left corner to p, keeping the size. */
	CRect& moveTo (CCoord x, CCoord y) { return offset (x - left, y - top); }
	CRect& moveTo (const CPoint& p) { return moveTo (p.x, p.y); }
	/** Shrinks by dx on the left and right and dy on the top and bottom. */
	CRect& inset (CCoord dx, CCoord dy)
	{
		left += dx;
		right -= dx;
		top += dy;
		bottom -= dy;
		return *this;
	}
	CRect& inset (const CPoint& p) { return inset (p.x, p.y); }
	CRect& extend (CCoord dx, CCoord dy) { return inset (-dx, -dy); }
	/** Moves the rectangle so that its top-left corner is (0, 0). */
	CRect& originize () { return offset (-left, -top); }
	/** Swaps the edges so that left <= right and top <= bottom. */
	CRect& normalize ()
	{
		if (left > right)
			std::swap (left, right);
		if (top > bottom)
			std::swap (top, bottom);
		return *this;
	}
	/** Rounds the edges to whole pixels. */
	CRect& makeIntegral ()
	{
		left = std::floor (left + 0.5);
		top = std::floor (top + 0.5);
		right = std::floor (right + 0.5);
		bottom = std::floor (bottom + 0.5);
		return *this;
	}

	/** Left and top inclusive, right and bottom exclusive. */
	bool pointInside (const CPoint& p) const
	{
		return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
	}
	bool isEmpty () const { return right <= left || bottom <= top; }
	/** True when the two rectangles share an area. */
	bool rectOverlap (const CRect& o) const
	{
		return right > o.left && left < o.right && bottom > o.top && top < o.bottom;
	}
	/** Cuts this rectangle down to its intersection with o (empty when none). */
	CRect& bound (const CRect& o)
	{
		left = std::max (left, o.left);
		top = std::max (top, o.top);
		right = std::min (right, o.right);
		bottom = std::min (bottom, o.bottom);
		if (right < left)
			right = left;
		if (bottom < top)
			bottom = top;
		return *this;
	}
	/** Grows this rectangle to hold o as well; an empty side is ignored. */
	CRect& unite (const CRect& o)
	{
		if (o.isEmpty ())
			return *this;
		if (isEmpty ())
			return *this = o;
		left = std::min (left, o.left);
		top = std::min (top, o.top);
		right = std::max (right, o.right);
		bottom = std::max (bottom, o.bottom);
		return *this;
	}

	bool operator== (const CRect& o) const
	{
		return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
	}
	bool operator!= (const CRect& o) const { return !(*this == o); }

	CCoord left {0.};
	CCoord top {0.};
	CCoord right {0.};
	CCoord bottom {0.};
};

inline bool CPoint::isInside (const CRect& r) const { return r.pointInside (*this); }
inline CPoint& CPoint::makeIntegral ()
{
	x = std::floor (x + 0.5);
	y = std::floor (y + 0.5);
	return *this;
}

} // namespace VSTGUI
