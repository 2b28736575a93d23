#include "controls/ZelCParamDisplay.h"

#include <algorithm>
#include <cmath>

#include "graphics/CBitmapFont.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/cvstguitimer.h"

namespace VSTGUI {

uint8_t followButtonMode = 0;

namespace {
constexpr double kGap = 5;          // pixels between the control and the read-out
constexpr double kWiden = 40;       // pixels the view reaches past the control on each side
constexpr int32_t kMinBoxWidth = 8; // pixels
constexpr int32_t kMouseTicks = 2;  // mode 1: ticks kept while the mouse stays on the control
constexpr int32_t kButtonTicks = 4; // mode 2: ticks kept while the left button stays down

int32_t clampTo(int32_t v, int32_t high)
{
    return v < 0 ? 0 : v > high ? high : v;
}
} // namespace

ZelCParamDisplay::ZelCParamDisplay(const CRect& size, CFrame* f, CBitmap* background, int32_t style)
    : CParamDisplay(size, background, style), frame(f)
{
    timer = new CVSTGUITimer(this, kTimerMs, false);
}

ZelCParamDisplay::~ZelCParamDisplay() noexcept
{
    if (timer)
    {
        timer->stop();
        timer->forget();
        timer = nullptr;
    }
}

void ZelCParamDisplay::setMargin(int32_t value)
{
    margin = clampTo(value, 64);
}

void ZelCParamDisplay::setMinRoomBelow(int32_t value)
{
    minRoomBelow = clampTo(value, 256);
}

void ZelCParamDisplay::setSecondRoom(int32_t value)
{
    secondRoom = clampTo(value, 256);
}

void ZelCParamDisplay::show(const CRect& rect, bool forceAbove, bool byMouse)
{
    if (!frame)
        return;
    if (isAttached())
    {
        moveBy(CPoint(0, 0));
        return;
    }
    const double frameBottom = frame->getViewSize().bottom;
    controlRect = rect;

    // Pixels: the font size and 2 of air, 32 without a font; a bitmap font gives its own.
    float baseHeight = getFont() ? static_cast<float>(getFont()->getSize() + 2) : 32.0f;
    if (bitmapFont)
        baseHeight = static_cast<float>(bitmapFont->getTextHeight());
    const double h = std::floor(baseHeight * scale) + margin;

    CRect r;
    if (!forceAbove && minRoomBelow <= frameBottom - (controlRect.bottom + h))
    {
        r.top = controlRect.bottom + kGap;
        r.bottom = r.top + h;
    }
    else
    {
        r.bottom = controlRect.top - kGap;
        r.top = r.bottom - h;
    }
    r.left = controlRect.left - kWiden;
    r.right = controlRect.right + kWiden;
    setViewSize(r, false);

    mode = byMouse ? kHideFollowMouse : followButtonMode ? kHideFollowButton : kHideNever;
    ticks = 0;
    if (mode != kHideNever && timer)
        timer->start();

    // The frame keeps its own reference while the read-out is in it.
    remember();
    if (!frame->addView(this))
        forget();
    moveBy(CPoint(0, 0));
}

void ZelCParamDisplay::moveBy(const CPoint& where)
{
    if (!frame || !isAttached())
        return;
    if (where.x != 0 || where.y != 0)
    {
        const double w = getViewSize().getWidth();
        const double h = getViewSize().getHeight();
        setViewSize(CRect(where.x - kWiden, where.y + kGap, where.x - kWiden + w, where.y + kGap + h), true);
    }
    invalid();
    ticks = 0;
}

void ZelCParamDisplay::hide()
{
    if (timer)
    {
        timer->stop();
        ticks = 0;
    }
    if (frame && isAttached())
    {
        CBaseObjectGuard guard(this);
        frame->removeView(this, true);
    }
}

CMessageResult ZelCParamDisplay::notify(CBaseObject* sender, IdStringPtr message)
{
    if (message != CVSTGUITimer::kMsgTimer)
        return CParamDisplay::notify(sender, message);
    if (!frame || !isAttached())
        return kMessageNotified;
    CBaseObjectGuard guard(this);
    switch (mode)
    {
        case kHideNever:
            ticks += 1;
            break;
        case kHideFollowMouse:
        {
            CPoint where;
            frame->getCurrentMouseLocation(where);
            const bool inside = controlRect.left <= where.x && where.x < controlRect.right
                && controlRect.top <= where.y && where.y < controlRect.bottom;
            if (inside && ticks <= kMouseTicks)
                ticks += 1;
            else
                hide();
            break;
        }
        case kHideFollowButton:
            if ((frame->getCurrentMouseButtons() & kButtonMask) == kLButton && ticks <= kButtonTicks)
                ticks += 1;
            else
                hide();
            break;
        default:
            break;
    }
    return kMessageNotified;
}

void ZelCParamDisplay::draw(CDrawContext* context)
{
    const CRect r = getViewSize();
    const double cx = r.left + (r.right - r.left) * 0.5;

    double textWidth;
    if (bitmapFont)
        textWidth = bitmapFont->getTextWidth(text, context);
    else
        textWidth = context->getStringWidth(text.c_str());

    int32_t W = static_cast<int32_t>(std::floor(static_cast<float>(textWidth) * scale) + 2 * margin);
    W = std::max(W, kMinBoxWidth);
    W = std::min(W, static_cast<int32_t>(r.right - r.left));

    CRect b = r;
    switch (anchor)
    {
        case 0: b.right = r.left + W; break;
        case 1:
            b.left = cx - W / 2;
            b.right = cx + W / 2;
            break;
        case 2: b.left = r.right - W; break;
        default: break;
    }
    lastBox = b;

    context->setFillColor(getBackColor());
    context->drawRect(b, kDrawFilled);
    const CCoord previousWidth = context->getLineWidth();
    context->setLineWidth(1.0);
    context->setFrameColor(getFrameColor());
    context->drawRect(b, kDrawStroked);

    if (bitmapFont)
        bitmapFont->drawText(text, context, b, getFontColor(), 1, scale, false, false);
    else
    {
        auto string = IPlatformString::createWithUTF8String(text.c_str());
        drawPlatformText(context, string);
    }
    context->setLineWidth(previousWidth);
    setDirty(false);
}

} // namespace VSTGUI
