#pragma once
// The wheel strip (kWheelBitmap, 91 frames stacked) of the editor's current
// size, which the pitch and modulation wheels look up when they draw.

#include "vstgui/lib/vstguifwd.h"

class IWheelPictureSource
{
public:
    virtual ~IWheelPictureSource() = default;

    // The wheel strip of the current size, or null. UI thread.
    virtual VSTGUI::CBitmap* getWheelBitmap() const = 0;
};
