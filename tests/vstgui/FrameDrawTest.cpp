// Frame painting: dirty flags, idle, invalid areas, z-order, references, PNG output.
#include "TestHelpers.h"
#include <cstdio>
#include <cstring>

using namespace VSTGUI;
using namespace QuilmVstguiTest;

namespace {

constexpr CColor kRed (255, 0, 0, 255);
constexpr CColor kBlue (0, 0, 255, 255);
constexpr CColor kBlack (0, 0, 0, 255);

int liveViews = 0;

class CountedView : public RecordingView
{
public:
	CountedView (const CRect& r) : RecordingView (r, nullptr, "") { ++liveViews; }
	~CountedView () noexcept override { --liveViews; }
	int draws {0};
	void draw (CDrawContext* context) override
	{
		++draws;
		RecordingView::draw (context);
	}
};

} // namespace

TEST (VstguiFrameDraw, IdlePaintsBackgroundThenViewsInZOrder)
{
	CFrame* frame = makeHeadlessFrame (40, 30);
	auto* a = new CountedView (CRect (0, 0, 20, 20));
	auto* b = new CountedView (CRect (10, 10, 30, 30));
	b->fill = kBlue;
	frame->addView (a);
	frame->addView (b);
	frame->idle ();
	CBitmap* image = frame->getBackBuffer ();
	ASSERT_NE (image, nullptr);
	EXPECT_EQ (pixelAt (image, 5, 5), kRed);
	EXPECT_EQ (pixelAt (image, 15, 15), kBlue); // b lies above a
	EXPECT_EQ (pixelAt (image, 35, 5), kBlack);
	EXPECT_EQ (a->draws, 1);
	EXPECT_EQ (b->draws, 1);
	// Nothing dirty: the next idle paints nothing.
	frame->idle ();
	EXPECT_EQ (a->draws, 1);
	frame->close ();
}

TEST (VstguiFrameDraw, DirtyThenIdleRepaintsOnlyThatView)
{
	CFrame* frame = makeHeadlessFrame (40, 30);
	auto* a = new CountedView (CRect (0, 0, 10, 10));
	auto* b = new CountedView (CRect (20, 0, 30, 10));
	frame->addView (a);
	frame->addView (b);
	frame->idle ();
	a->fill = kBlue;
	a->setDirty (); // only a flag: nothing is painted yet
	EXPECT_TRUE (a->isDirty ());
	EXPECT_TRUE (frame->getInvalidAreas ().empty ());
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 5), kRed);
	frame->idle ();
	EXPECT_FALSE (a->isDirty ());
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 5), kBlue);
	EXPECT_EQ (a->draws, 2);
	EXPECT_EQ (b->draws, 1);
	frame->close ();
}

TEST (VstguiFrameDraw, InvalidRectRepaintsTheAreaThroughEveryLayer)
{
	CFrame* frame = makeHeadlessFrame (40, 40);
	auto* a = new CountedView (CRect (0, 0, 40, 40));
	auto* b = new CountedView (CRect (30, 30, 40, 40));
	frame->addView (a);
	frame->addView (b);
	frame->idle ();
	frame->invalidRect (CRect (0, 0, 5, 5));
	frame->invalidRect (CRect (3, 3, 8, 8)); // overlaps: merged into one area
	EXPECT_EQ (frame->getInvalidAreas ().size (), 1u);
	frame->idle ();
	EXPECT_EQ (a->draws, 2);
	EXPECT_EQ (b->draws, 1); // outside the area
	frame->close ();
}

TEST (VstguiFrameDraw, ViewsAreClippedToTheirRectangle)
{
	class Spill : public CView
	{
	public:
		using CView::CView;
		void draw (CDrawContext* context) override
		{
			context->setFillColor (kRed);
			context->drawRect (CRect (0, 0, 100, 100), kDrawFilled);
		}
	};
	CFrame* frame = makeHeadlessFrame (30, 30);
	frame->addView (new Spill (CRect (10, 10, 20, 20)));
	frame->idle ();
	EXPECT_EQ (countPixels (frame->getBackBuffer (), CRect (0, 0, 30, 30), kRed), 100);
	frame->close ();
}

TEST (VstguiFrameDraw, FrameBackgroundPictureAndColour)
{
	CFrame* frame = makeHeadlessFrame (10, 10);
	frame->setBackgroundColor (CColor (0, 255, 0, 255));
	auto picture = owned (new CBitmap (CResourceDescription (9002))); // 5 x 4
	frame->setBackground (picture);
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 4, 3), CColor (200, 180, 7, 255));
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 8, 8), CColor (0, 255, 0, 255));
	frame->close ();
}

TEST (VstguiFrameDraw, ReferenceCountsThroughAddAndRemove)
{
	liveViews = 0;
	CFrame* frame = makeHeadlessFrame (20, 20);
	auto* view = new CountedView (CRect (0, 0, 5, 5));
	EXPECT_EQ (view->getNbReference (), 1);
	frame->addView (view); // the frame takes over the caller's reference
	EXPECT_EQ (view->getNbReference (), 1);
	EXPECT_TRUE (view->isAttached ());
	EXPECT_EQ (view->getFrame (), frame);
	EXPECT_EQ (view->getParentView (), frame);
	EXPECT_FALSE (frame->addView (view)); // twice: refused
	EXPECT_TRUE (frame->removeView (view, false));
	EXPECT_FALSE (view->isAttached ());
	EXPECT_EQ (view->getFrame (), nullptr);
	EXPECT_EQ (view->getNbReference (), 1);
	EXPECT_EQ (liveViews, 1);
	frame->addView (view);
	view->remember ();
	EXPECT_TRUE (frame->removeView (view, true));
	EXPECT_EQ (view->getNbReference (), 1);
	EXPECT_FALSE (frame->removeView (view, true)); // not a child any more: untouched
	frame->addView (view);
	frame->addView (new CountedView (CRect (0, 0, 1, 1)));
	EXPECT_EQ (liveViews, 2);
	frame->removeAll (true);
	EXPECT_EQ (liveViews, 0);
	auto* kept = new CountedView (CRect (0, 0, 1, 1));
	frame->addView (kept);
	frame->removeAll (false);
	EXPECT_EQ (liveViews, 1);
	kept->forget ();
	frame->addView (new CountedView (CRect (0, 0, 1, 1)));
	frame->close (); // releases its views and itself
	EXPECT_EQ (liveViews, 0);
}

TEST (VstguiFrameDraw, AddViewBeforeAnother)
{
	CFrame* frame = makeHeadlessFrame (20, 20);
	auto* a = new CountedView (CRect (0, 0, 10, 10));
	auto* b = new CountedView (CRect (0, 0, 10, 10));
	b->fill = kBlue;
	frame->addView (a);
	frame->addView (b, a); // below a
	EXPECT_EQ (frame->getView (0), b);
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 1, 1), kRed);
	frame->close ();
}

TEST (VstguiFrameDraw, SetViewSizeRepaintsOldAndNewPlace)
{
	CFrame* frame = makeHeadlessFrame (30, 10);
	auto* a = new CountedView (CRect (0, 0, 10, 10));
	frame->addView (a);
	frame->idle ();
	a->setViewSize (CRect (20, 0, 30, 10));
	EXPECT_EQ (a->getMouseableArea (), CRect (20, 0, 30, 10));
	frame->idle ();
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 5, 5), kBlack);
	EXPECT_EQ (pixelAt (frame->getBackBuffer (), 25, 5), kRed);
	a->setViewSize (CRect (0, 0, 10, 10), false); // no repaint asked
	EXPECT_TRUE (frame->getInvalidAreas ().empty ());
	frame->close ();
}

TEST (VstguiFrameDraw, SetSizeAsksTheEditorAndResizesThePicture)
{
	struct Editor : VSTGUIEditorInterface
	{
		bool allow {true};
		bool beforeSizeChange (const CRect&, const CRect&) override { return allow; }
	} editor;
	CFrame* frame = makeHeadlessFrame (30, 10, &editor);
	EXPECT_EQ (frame->getEditor (), &editor);
	EXPECT_TRUE (frame->setSize (50, 40));
	EXPECT_EQ (frame->getViewSize (), CRect (0, 0, 50, 40));
	EXPECT_EQ (frame->getBackBuffer ()->getWidth (), 50);
	editor.allow = false;
	EXPECT_FALSE (frame->setSize (60, 60));
	EXPECT_EQ (frame->getViewSize ().getWidth (), 50);
	frame->close ();
}

TEST (VstguiFrameDraw, WrittenPngMatchesWhatWasDrawn)
{
	CFrame* frame = makeHeadlessFrame (32, 24);
	auto* a = new CountedView (CRect (2, 3, 20, 15));
	a->fill = CColor (10, 200, 30, 255);
	frame->addView (a);
	frame->idle ();
	std::string path = ::testing::TempDir () + "vstgui_frame.png";
	ASSERT_TRUE (frame->writeToPNG (path.c_str ()));
	auto decoded = IPlatformBitmap::createFromPath (path.c_str ());
	ASSERT_TRUE (decoded);
	auto image = owned (new CBitmap (decoded));
	auto* x = CBitmapPixelAccess::create (image, true);
	auto* y = CBitmapPixelAccess::create (frame->getBackBuffer (), true);
	ASSERT_TRUE (x && y);
	EXPECT_EQ (0, std::memcmp (x->getAddress (), y->getAddress (), 32 * 24 * 4));
	x->forget ();
	y->forget ();
	EXPECT_EQ (pixelAt (image, 2, 3), CColor (10, 200, 30, 255));
	std::remove (path.c_str ());
	frame->close ();
}

TEST (VstguiFrameDraw, ClosedOrEmptyFrames)
{
	auto* frame = new CFrame (CRect (0, 0, 0, 0), nullptr);
	EXPECT_FALSE (frame->open (nullptr)); // nothing to paint into
	EXPECT_FALSE (frame->writeToPNG ("/nonexistent/x.png"));
	frame->close ();
	auto* other = new CFrame (CRect (0, 0, 10, 10), nullptr);
	EXPECT_TRUE (other->open (nullptr));
	EXPECT_FALSE (other->open (nullptr)); // already open
	EXPECT_TRUE (other->isOpen ());
	other->close ();
}
