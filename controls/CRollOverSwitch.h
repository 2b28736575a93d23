#pragma once
// CRollOverSwitch: the logo link. It draws nothing of its own (the logo belongs
// to the background); a left click opens the maker's web site. UI thread.

#include "graphics/CFixedString.h"
#include "vstgui/lib/controls/ccontrol.h"

namespace VSTGUI {

// Opens a web address given without scheme (the editor's openWebAddress).
using WebAddressOpener = void (*)(const CFixedString& address);

class CRollOverSwitch : public CControl
{
public:
    // A link over size that opens address (host name, no scheme) through opener (may be null).
    CRollOverSwitch(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
        WebAddressOpener opener, const char* address);
    CRollOverSwitch(const CRollOverSwitch& other) = default;
    CBaseObject* newCopy() const override { return new CRollOverSwitch(*this); }

    // Only marks the view clean.
    void draw(CDrawContext* context) override;
    // Left alone opens the address; every click answers 3.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    // The address opened on a click.
    const CFixedString& getAddress() const { return address; }

private:
    WebAddressOpener opener;
    CFixedString address;
};

} // namespace VSTGUI
