#pragma once
// CCurveDisplay: a control that draws, over its background picture, a curve
// whose bend follows its value (power, bend or straight). UI thread.

#include <cstdint>

#include "vstgui/lib/controls/ccontrol.h"

class CPixelCanvas;

namespace VSTGUI {

class CCurveDisplay : public CControl
{
public:
    enum CurveType
    {
        kPowerCurve = 1,
        kBendCurve = 2,
        kStraightCurve = 3
    };

    // A curve of colour (red, green, blue) and curveType over background.
    CCurveDisplay(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background, uint8_t red,
        uint8_t green, uint8_t blue, int32_t curveType);
    // A copy makes a canvas of its own.
    CCurveDisplay(const CCurveDisplay& other);
    ~CCurveDisplay() noexcept override;
    CBaseObject* newCopy() const override { return new CCurveDisplay(*this); }

    // The picture; one whose width is a multiple of 4 gets a new canvas of its size.
    void setBackground(CBitmap* background) override;
    // Background, then the curve from the bottom-left to the top-right with shape 1 - value.
    void draw(CDrawContext* context) override;

    // The canvas the curve is drawn into.
    CPixelCanvas* getCanvas() const { return canvas; }

    uint8_t curveColour[3];
    int32_t curveType;

private:
    CPixelCanvas* canvas = nullptr; // owned
    bool backgroundLoaded = false;
};

} // namespace VSTGUI
