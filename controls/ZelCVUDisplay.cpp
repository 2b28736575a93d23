#include "controls/ZelCVUDisplay.h"

#include <algorithm>
#include <climits>

#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

ZelCVUDisplay::ZelCVUDisplay(const CRect& rect, IControlListener* l, int32_t t, int32_t count, int32_t lvl,
    int32_t maximum)
    : CControl(rect, l, t, nullptr), level(lvl), minLevel(lvl), maxLevel(maximum),
      ledCount(std::clamp(count, 1, kMaxLeds))
{
    segments.resize(static_cast<uint32_t>(ledCount));
    for (int32_t i = 0; i < ledCount; ++i)
    {
        LedSegment& s = segments[static_cast<uint32_t>(i)];
        s.number = i + 1;
        s.repeat = 1;
    }
    ready = true;
}

int32_t ZelCVUDisplay::setLevel(int32_t newLevel)
{
    level = std::clamp(newLevel, minLevel, std::max(minLevel, maxLevel));
    return level;
}

void ZelCVUDisplay::setupLed(int32_t number, int32_t repeat, CBitmap* picture, bool twoStateLitBelow)
{
    if (!picture || number < 1 || number > ledCount || repeat <= 0)
        return;
    LedSegment& s = segments[static_cast<uint32_t>(number - 1)];
    s.number = number;
    s.repeat = repeat;
    s.picture = picture;
    s.twoStateLitBelow = twoStateLitBelow;
    s.width = static_cast<int32_t>(picture->getWidth());
    s.height = static_cast<int32_t>(picture->getHeight());
    s.litOffset = CPoint(0, 0);
    s.unlitOffset = CPoint(0, 0);
    if (twoStateLitBelow)
        s.litOffset = CPoint(0, s.height / 2);
    else
        s.unlitOffset = CPoint(0, s.height / 2);
    // Every set-up adds its LEDs, a second one of the same kind too; held within int32.
    drawCount = static_cast<int32_t>(std::min<int64_t>(int64_t {drawCount} + repeat, INT32_MAX));
    rebuildOrder();
}

void ZelCVUDisplay::rebuildOrder()
{
    order.resize(static_cast<uint32_t>(drawCount)); // from 220000 on: refused, with its message
    if (order.size() == 0)
        return; // appending to an empty table changes nothing and says nothing
    // Each kind in turn, as often as its repeat, whether set up or not; an entry past the
    // end of the table shows "Index out of range" and is dropped.
    uint32_t k = 0;
    for (uint32_t i = 0; i < segments.size(); ++i)
        for (int32_t r = 0; r < segments[i].repeat; ++r)
            order[k++] = i;
}

void ZelCVUDisplay::draw(CDrawContext* context)
{
    if (!segments.isValid() || drawCount <= 0 || ledCount <= 0 || !ready)
    {
        setDirty(false);
        return;
    }
    const int32_t lit = std::clamp(level - minLevel, 0, drawCount);
    const CRect& r = getViewSize();
    double x = r.left;
    for (int32_t i = 0; i < drawCount; ++i)
    {
        const LedSegment s = segments[order[static_cast<uint32_t>(i)]];
        if (!s.picture)
            continue;
        context->drawBitmap(s.picture, CRect(x, r.top, x + s.width, r.bottom), i < lit ? s.litOffset : s.unlitOffset,
            1.0f);
        x += s.width;
    }
    setDirty(false);
}

} // namespace VSTGUI
