// The view tree as the user meets it: which view answers the pointer among overlapping
// and nested views, where nested containers draw their views, and what an area shows
// after a view there is hidden, shown, moved, lowered or removed.
#include "TestHelpers.h"
#include <functional>
#include <map>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

constexpr CColor kBlack (0, 0, 0, 255);
constexpr CColor kRed (255, 0, 0, 255);
constexpr CColor kBlue (0, 0, 255, 255);
constexpr CColor kGreen (0, 255, 0, 255);

RecordingView* leaf (CViewContainer* parent, const CRect& r, const CColor& fill, std::vector<std::string>* log,
                     const char* name)
{
	auto* v = new RecordingView (r, log, name);
	v->fill = fill;
	parent->addView (v);
	return v;
}

CViewContainer* box (CViewContainer* parent, const CRect& r)
{
	auto* c = new CViewContainer (r);
	c->setTransparency (true);
	parent->addView (c);
	return c;
}

/** Pixels of colour c in the frame and how many of them lie inside r. */
std::pair<int, int> pixelsOf (CFrame* frame, const CColor& c, const CRect& r)
{
	const CRect all (0, 0, frame->getWidth (), frame->getHeight ());
	return {countPixels (frame->getBackBuffer (), all, c), countPixels (frame->getBackBuffer (), r, c)};
}

} // namespace

TEST (VstguiViewTree, TopmostVisibleViewAnswersThePointer)
{
	// A lies under B; container C (left 50, top 5) over both holds D and container E
	// (left 20, top 3), which holds F; H is on top of everything but hidden.
	std::vector<std::string> log;
	CFrame* frame = makeHeadlessFrame (120, 100);
	std::map<const CView*, std::string> names {{nullptr, "none"}};
	auto named = [&] (CView* v, const char* name) { names[v] = name; };
	named (leaf (frame, CRect (10, 10, 60, 60), kRed, &log, "A"), "A");
	named (leaf (frame, CRect (40, 40, 90, 90), kBlue, &log, "B"), "B");
	CViewContainer* c = box (frame, CRect (50, 5, 110, 45));
	named (c, "C");
	named (leaf (c, CRect (5, 10, 30, 30), kGreen, &log, "D"), "D");
	CViewContainer* e = box (c, CRect (20, 3, 55, 38));
	named (e, "E");
	named (leaf (e, CRect (10, 20, 30, 30), kGreen, &log, "F"), "F");
	leaf (frame, CRect (0, 0, 30, 30), kBlue, &log, "H")->setVisible (false);

	struct Case { CCoord x, y; const char* view; };
	const Case cases[] = {{20, 20, "A"}, {5, 5, "none"}, {50, 50, "B"}, {45, 45, "B"}, {57, 20, "D"},
	                      {85, 32, "F"},  {100, 20, "E"}, {95, 80, "none"}, {75, 85, "B"}, {15, 55, "A"}};
	for (const Case& k : cases)
	{
		SCOPED_TRACE (testing::Message () << "at " << k.x << ", " << k.y);
		EXPECT_EQ (names[frame->getViewAt (CPoint (k.x, k.y), true, true)], k.view);
		if (std::string (k.view).size () != 1 || *k.view == 'C' || *k.view == 'E')
			continue;
		// The same view hears the pointer pass over it and the click.
		log.clear ();
		mouseMoved (frame, k.x, k.y, 0);
		mouseDown (frame, k.x, k.y, kLButton);
		mouseUp (frame, k.x, k.y, kLButton);
		const std::string v (k.view);
		EXPECT_EQ (log, (std::vector<std::string> {v + ":entered", v + ":moved", v + ":down", v + ":up"}));
		mouseMoved (frame, 119, 99, 0);
	}
	frame->close ();
}

TEST (VstguiViewTree, NestedContainersDrawAndRepaintWhereTheyStand)
{
	// Containers whose top differs from their left, one inside the other; the view in
	// the innermost lies at (3, 5, 13, 11) there.
	const std::vector<CRect> levels = {CRect (20, 7, 90, 70), CRect (4, 11, 60, 50), CRect (9, 2, 40, 30)};
	for (size_t depth = 1; depth <= levels.size (); ++depth)
	{
		SCOPED_TRACE (testing::Message () << "depth " << depth);
		CFrame* frame = makeHeadlessFrame (100, 80);
		CViewContainer* parent = frame;
		CPoint origin (0, 0);
		for (size_t i = 0; i < depth; ++i)
		{
			parent = box (parent, levels[i]);
			origin.offset (levels[i].left, levels[i].top);
		}
		RecordingView* view = leaf (parent, CRect (3, 5, 13, 11), kRed, nullptr, "view");
		const CRect where = CRect (3, 5, 13, 11).offset (origin.x, origin.y);
		frame->idle ();
		EXPECT_EQ (pixelsOf (frame, kRed, where), std::make_pair (60, 60));

		// Repainting the view alone paints it again in the same place.
		view->fill = kBlue;
		view->setDirty (true);
		frame->idle ();
		EXPECT_EQ (pixelsOf (frame, kBlue, where), std::make_pair (60, 60));
		EXPECT_EQ (pixelsOf (frame, kRed, where).first, 0);

		CPoint corner (3, 5);
		EXPECT_EQ (view->localToFrame (corner), CPoint (where.left, where.top));
		EXPECT_EQ (frame->getViewAt (CPoint (where.right - 1, where.bottom - 1), true), view);
		frame->close ();
	}
}

TEST (VstguiViewTree, AreaShowsWhatLiesBelowAfterAViewLeavesIt)
{
	// L (red) under U (blue); container N (left 42, top 4) holds V (green), which lies over U.
	struct Tree { CFrame* frame; RecordingView *l, *u, *v; CViewContainer* n; };
	auto build = [] {
		Tree t {makeHeadlessFrame (60, 40), nullptr, nullptr, nullptr, nullptr};
		t.l = leaf (t.frame, CRect (0, 0, 40, 40), kRed, nullptr, "L");
		t.u = leaf (t.frame, CRect (20, 10, 50, 30), kBlue, nullptr, "U");
		t.n = box (t.frame, CRect (42, 4, 58, 36));
		t.v = leaf (t.n, CRect (2, 3, 12, 20), kGreen, nullptr, "V");
		return t;
	};
	struct Case { const char* name; std::function<void (Tree&)> change; CColor atU, atV, atCorner; };
	const Case cases[] = {
	    {"nothing", [] (Tree&) {}, kBlue, kGreen, kRed},
	    {"U hidden", [] (Tree& t) { t.u->setVisible (false); }, kRed, kGreen, kRed},
	    {"U hidden and shown", [] (Tree& t) {
		     t.u->setVisible (false);
		     t.frame->idle ();
		     t.u->setVisible (true);
	     }, kBlue, kGreen, kRed},
	    {"nested V hidden", [] (Tree& t) { t.v->setVisible (false); }, kBlue, kBlue, kRed},
	    {"U removed", [] (Tree& t) { t.frame->removeView (t.u); }, kRed, kGreen, kRed},
	    {"nested V removed", [] (Tree& t) { t.n->removeView (t.v); }, kBlue, kBlue, kRed},
	    {"container N hidden", [] (Tree& t) { t.n->setVisible (false); }, kBlue, kBlue, kRed},
	    {"container N removed", [] (Tree& t) { t.frame->removeView (t.n); }, kBlue, kBlue, kRed},
	    {"container N moved", [] (Tree& t) { t.n->setViewSize (CRect (0, 0, 16, 32)); }, kBlue, kBlue, kGreen},
	    {"U moved", [] (Tree& t) { t.u->setViewSize (CRect (0, 0, 10, 10)); }, kRed, kGreen, kBlue},
	    {"U lowered", [] (Tree& t) { t.frame->changeViewZOrder (t.u, 0); }, kRed, kGreen, kRed},
	    {"V added anew", [] (Tree& t) {
		     t.n->removeView (t.v, false);
		     t.frame->idle ();
		     t.n->addView (t.v);
	     }, kBlue, kGreen, kRed},
	};
	for (const Case& c : cases)
	{
		SCOPED_TRACE (c.name);
		Tree t = build ();
		t.frame->idle ();
		c.change (t);
		t.frame->idle (); // repaints only what the change marked
		CBitmap* shown = t.frame->getBackBuffer ();
		EXPECT_EQ (pixelAt (shown, 30, 20), c.atU);
		EXPECT_EQ (pixelAt (shown, 46, 15), c.atV);
		EXPECT_EQ (pixelAt (shown, 5, 5), c.atCorner);
		EXPECT_EQ (pixelAt (shown, 55, 38), kBlack);
		t.frame->close ();
	}
}
