// Small helpers shared by the GUI library tests.
#pragma once

#include "vstgui/vstgui.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace QuilmVstguiTest {

using namespace VSTGUI;

/** Colour of pixel (x, y) of a bitmap, as stored (premultiplied B, G, R, A). */
inline CColor pixelAt (CBitmap* bitmap, uint32_t x, uint32_t y)
{
	CColor c (0, 0, 0, 0);
	if (auto* access = CBitmapPixelAccess::create (bitmap, true))
	{
		if (access->setPosition (x, y))
			access->getColor (c);
		access->forget ();
	}
	return c;
}

/** Number of pixels in rect whose colour equals c. */
inline int countPixels (CBitmap* bitmap, const CRect& rect, const CColor& c)
{
	int n = 0;
	for (auto y = static_cast<uint32_t> (rect.top); y < static_cast<uint32_t> (rect.bottom); ++y)
		for (auto x = static_cast<uint32_t> (rect.left); x < static_cast<uint32_t> (rect.right); ++x)
			if (pixelAt (bitmap, x, y) == c)
				++n;
	return n;
}

/** A view that records what it is told and answers as configured. */
class RecordingView : public CView
{
public:
	RecordingView (const CRect& r, std::vector<std::string>* log, std::string name)
	: CView (r), log (log), name (std::move (name))
	{
	}

	CMouseEventResult downResult {kMouseEventHandled};
	CMouseEventResult moveResult {kMouseEventHandled};
	CMouseEventResult upResult {kMouseEventHandled};
	bool wheelResult {false};
	CColor fill {kRedCColor};
	CPoint lastPoint;
	int32_t lastButtons {0};
	float lastDistance {0.f};

	void draw (CDrawContext* context) override
	{
		context->setFillColor (fill);
		context->drawRect (getViewSize (), kDrawFilled);
		setDirty (false);
	}
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override
	{
		record ("down", where, buttons);
		return downResult;
	}
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override
	{
		record ("moved", where, buttons);
		return moveResult;
	}
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override
	{
		record ("up", where, buttons);
		return upResult;
	}
	CMouseEventResult onMouseEntered (CPoint& where, const CButtonState& buttons) override
	{
		record ("entered", where, buttons);
		return kMouseEventHandled;
	}
	CMouseEventResult onMouseExited (CPoint& where, const CButtonState& buttons) override
	{
		record ("exited", where, buttons);
		return kMouseEventHandled;
	}
	bool onWheel (const CPoint& where, const CMouseWheelAxis&, const float& distance,
	              const CButtonState& buttons) override
	{
		lastDistance = distance;
		record ("wheel", where, buttons);
		return wheelResult;
	}

private:
	void record (const char* what, const CPoint& where, const CButtonState& buttons)
	{
		lastPoint = where;
		lastButtons = buttons ();
		if (log)
			log->push_back (name + ":" + what);
	}

	std::vector<std::string>* log;
	std::string name;
};

/** A headless frame of w x h, opened, with a black background. Release with close (). */
inline CFrame* makeHeadlessFrame (CCoord w, CCoord h, VSTGUIEditorInterface* editor = nullptr)
{
	auto* frame = new CFrame (CRect (0, 0, w, h), editor);
	EXPECT_TRUE (frame->open (nullptr, PlatformType::kHeadless));
	frame->setBackgroundColor (kBlackCColor);
	return frame;
}

} // namespace QuilmVstguiTest

namespace QuilmVstguiTest {

/** Colour of frame k of a test strip. */
inline VSTGUI::CColor stripColor (int k)
{
	return VSTGUI::CColor (static_cast<uint8_t> (10 + 6 * k), static_cast<uint8_t> (200 - 4 * k), 50, 255);
}

/** A strip of n frames of w x h stacked vertically, frame k filled with stripColor (k). */
inline VSTGUI::SharedPointer<VSTGUI::CBitmap> makeStrip (int n, VSTGUI::CCoord w, VSTGUI::CCoord h)
{
	using namespace VSTGUI;
	auto ctx = COffscreenContext::create (nullptr, w, h * n);
	for (int k = 0; k < n; ++k)
	{
		ctx->setFillColor (stripColor (k));
		ctx->drawRect (CRect (0, h * k, w, h * (k + 1)), kDrawFilled);
	}
	ctx->endDraw ();
	return ctx->getBitmap ();
}

/** An editor interface with a knob mode. */
struct KnobModeEditor : VSTGUI::VSTGUIEditorInterface
{
	int32_t mode {VSTGUI::kLinearMode};
	int32_t getKnobMode () const override { return mode; }
};

/** Counts what a control tells its listener. */
struct CountingListener : VSTGUI::IControlListener
{
	int changes {0};
	int begins {0};
	int ends {0};
	std::vector<float> values;
	std::vector<std::string> order;
	void valueChanged (VSTGUI::CControl* c) override
	{
		++changes;
		values.push_back (c->getValue ());
		order.push_back ("changed");
	}
	void controlBeginEdit (VSTGUI::CControl*) override
	{
		++begins;
		order.push_back ("begin");
	}
	void controlEndEdit (VSTGUI::CControl*) override
	{
		++ends;
		order.push_back ("end");
	}
};

/** Sends one mouse event to a frame (frame coordinates). */
inline VSTGUI::CMouseEventResult mouseDown (VSTGUI::CFrame* f, VSTGUI::CCoord x, VSTGUI::CCoord y, int32_t b)
{
	VSTGUI::CPoint p (x, y);
	return f->platformOnMouseDown (p, VSTGUI::CButtonState (b));
}
inline VSTGUI::CMouseEventResult mouseMoved (VSTGUI::CFrame* f, VSTGUI::CCoord x, VSTGUI::CCoord y, int32_t b)
{
	VSTGUI::CPoint p (x, y);
	return f->platformOnMouseMoved (p, VSTGUI::CButtonState (b));
}
inline VSTGUI::CMouseEventResult mouseUp (VSTGUI::CFrame* f, VSTGUI::CCoord x, VSTGUI::CCoord y, int32_t b)
{
	VSTGUI::CPoint p (x, y);
	return f->platformOnMouseUp (p, VSTGUI::CButtonState (b));
}

} // namespace QuilmVstguiTest
