// A point of the view coordinate system (x grows right, y grows down). Value type: any thread.
#pragma once

#include "vstguibase.h"

namespace VSTGUI {

struct CRect;

struct CPoint
{
	constexpr CPoint () = default;
	constexpr CPoint (CCoord x, CCoord y) : x (x), y (y) {}

	CPoint& offset (CCoord dx, CCoord dy)
	{
		x += dx;
		y += dy;
		return *this;
	}
	CPoint& offset (const CPoint& p) { return offset (p.x, p.y); }
	CPoint& offsetInverse (const CPoint& p) { return offset (-p.x, -p.y); }
	/** True when the point lies in the rectangle (right and bottom outside). */
	bool isInside (const CRect& r) const;
	CPoint& makeIntegral ();

	constexpr bool operator== (const CPoint& o) const { return x == o.x && y == o.y; }
	constexpr bool operator!= (const CPoint& o) const { return !(*this == o); }
	constexpr CPoint operator+ (const CPoint& o) const { return {x + o.x, y + o.y}; }
	constexpr CPoint operator- (const CPoint& o) const { return {x - o.x, y - o.y}; }
	constexpr CPoint operator- () const { return {-x, -y}; }
	CPoint& operator+= (const CPoint& o) { return offset (o); }
	CPoint& operator-= (const CPoint& o) { return offsetInverse (o); }

	CCoord x {0.};
	CCoord y {0.};
};

} // namespace VSTGUI
