#include "controls/CCurveDisplay.h"

#include "graphics/CPixelCanvas.h"

namespace VSTGUI {

CCurveDisplay::CCurveDisplay(const CRect& size, IControlListener* l, int32_t t, CBitmap* bg, uint8_t red,
    uint8_t green, uint8_t blue, int32_t type)
    : CControl(size, l, t, nullptr), curveColour{red, green, blue}, curveType(type)
{
    setBackground(bg);
    setDirty(false);
}

CCurveDisplay::CCurveDisplay(const CCurveDisplay& other)
    : CControl(other), curveColour{other.curveColour[0], other.curveColour[1], other.curveColour[2]},
      curveType(other.curveType)
{
    background = nullptr;
    setBackground(other.getBackground());
}

CCurveDisplay::~CCurveDisplay() noexcept
{
    delete canvas;
}

void CCurveDisplay::setBackground(CBitmap* bitmap)
{
    CView::setBackground(bitmap);
    if (bitmap && static_cast<int32_t>(bitmap->getWidth()) % 4 == 0)
    {
        delete canvas;
        canvas = new CPixelCanvas(static_cast<int32_t>(bitmap->getWidth()), static_cast<int32_t>(bitmap->getHeight()),
            1, 1);
        backgroundLoaded = false;
    }
}

void CCurveDisplay::draw(CDrawContext* context)
{
    CBitmap* picture = getBackground();
    if (canvas && picture)
    {
        if (!backgroundLoaded)
        {
            canvas->loadBitmapPixels(picture);
            backgroundLoaded = true;
        }
        canvas->clear(0, 0, 0);
        canvas->setCoverage(0.0f);
        // Segment curve types of the canvas: 1 power, 2 bend, anything else straight.
        const int32_t segmentType = curveType == kPowerCurve ? 1 : curveType == kStraightCurve ? 3 : 2;
        const CRect& r = getViewSize();
        canvas->drawSegmentInt(0, 0, static_cast<int32_t>(r.getWidth()) - 2, static_cast<int32_t>(r.getHeight()) - 2,
            curveColour[0], curveColour[1], curveColour[2], 1.0f - getValueNormalized(), segmentType, 0, 0.2f, 255);
        canvas->compose(context, r);
    }
    setDirty(false);
}

} // namespace VSTGUI
