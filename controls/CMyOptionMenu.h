#pragma once
// CMyOptionMenu: the options button; its picture's upper half shows it at rest,
// the lower half while its menu is up. A left or right click alone opens the
// menu. UI thread.

#include "vstgui/lib/controls/coptionmenu.h"

namespace VSTGUI {

class CMyOptionMenu : public COptionMenu
{
public:
    using COptionMenu::COptionMenu;
    CBaseObject* newCopy() const override { return new CMyOptionMenu(*this); }

    // The upper half of the picture, or the lower half while popped up.
    void draw(CDrawContext* context) override;
    // Left or right alone pops the menu up; every click answers 3.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
};

} // namespace VSTGUI
