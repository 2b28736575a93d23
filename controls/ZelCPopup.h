#pragma once
// ZelCPopup: the instrument's drop-down chooser. Clicked, it opens a grid of
// items (texts, pictures, or pictures with text) next to itself in the editor
// frame; pointing at an item and releasing, or clicking it, chooses it. The grid
// is a separate view (ZelCPopupControl) added to the frame while open; the
// frame's ZelCFrameMuseObserver closes open grids when the user clicks
// elsewhere. The value is the chosen item's id. UI thread only.

#include <atomic>
#include <cstdint>
#include <list>

#include "graphics/CFixedString.h"
#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/controls/ccontrol.h"

class CPixelCanvas;

namespace VSTGUI {

class ZelCFrameMuseObserver;
class ZelCPopupControl;

// One entry of the list; the list owns it and its pictures.
struct PopupItem
{
    int32_t id = -1;                         // reported as the value; -1 for separators
    CFixedString name;                       // may be empty
    CPixelCanvas* image = nullptr;           // normal picture, owned, may be null
    CPixelCanvas* highlightImage = nullptr;  // selected or hovered picture, owned, may be null
    uint8_t separator = 0;                   // never hovered, chosen or stepped to
    CRect cell;                              // relative to the grid, then in frame coordinates
};

class ZelCPopup : public CControl
{
public:
    static constexpr int32_t kNone = 888888; // id meaning "no item"
    enum Style
    {
        kTextItems = 1,
        kPictureItems = 2,
        kPictureAndTextItems = 3
    };

    // A closed pop-up of style over rect, whose grid opens in frame; registers with
    // observer (may be null).
    ZelCPopup(int32_t style, const CRect& rect, IControlListener* listener, CFrame* frame,
        ZelCFrameMuseObserver* observer, int32_t tag);
    // Deletes the items, releases the grid and the timer, unregisters.
    ~ZelCPopup() noexcept override;
    // A new empty pop-up with this one's settings, registered with the same observer.
    CBaseObject* newCopy() const override;

    // --- items ---
    // Appends an item owning both pictures (name null = empty); marks the layout pending.
    void addImageItem(const char* name, CPixelCanvas* image, CPixelCanvas* highlightImage, int32_t id);
    // The same without a highlighted picture.
    void addImageItem(const char* name, CPixelCanvas* image, int32_t id);
    // A text item.
    void addItem(const char* name, int32_t id);
    // Pictures from bitmaps (each made a canvas); only while the pop-up has a frame.
    void addBitmapItem(const char* name, CBitmap* bitmap, CBitmap* highlightBitmap, int32_t id);
    // The same without a highlighted picture.
    void addBitmapItem(const char* name, CBitmap* bitmap, int32_t id);
    // An unselectable entry (id -1): a line when unnamed, else a text.
    void addSeparator(const char* name);
    // Cuts count items (ids 0..count-1) from a strip bitmap, one row each; with twoColumns
    // the right half holds the highlighted pictures. Only while the pop-up has a frame.
    void addImageItems(CBitmap* strip, uint32_t count, bool twoColumns);
    // The same from a canvas whose background holds the strip.
    void addItemsFromStrip(CPixelCanvas* strip, uint32_t count, bool twoColumns);
    // Forgets selection, hover, sizes and items; destroying leaves no list at all.
    void clearItems(bool destroying);
    // Renames the first item with the id.
    void setItemName(const char* name, int32_t id);
    // Copies the first matching item's name into out; false when out is null or no item has the id.
    bool getItemName(CFixedString* out, int32_t id);
    // Background behind unhighlighted item pictures, held by a reference of the pop-up's
    // own; its size becomes the cell size. The layout is then pending; an open grid is laid
    // out and placed again.
    void setCellBitmap(CBitmap* bitmap);
    // Measures every item again and lays the grid out again; the place is then pending, an
    // open grid is placed again.
    void remeasureItems();
    // Number of items, separators included.
    uint32_t getItemCount() const { return items ? static_cast<uint32_t>(items->size()) : 0; }
    // The items in order (for tests and drawing); null after destruction.
    const std::list<PopupItem>* getItems() const { return items; }

    // --- selection ---
    // Selects the first item with the id (no listener call); false when none has it.
    bool selectItem(int32_t id);
    // selectItem(floorf(v + 0.1)).
    void setValue(float v) override;
    // The selected id, 0.0 when nothing is selected.
    float getValue() const override;
    // Writes the selected id (kNone when none); true when an item is selected.
    bool getSelected(int32_t& id) const;
    // The selectable item before / after the selected one; false at the ends (no wrap).
    bool selectPrevious();
    bool selectNext();
    // The id of the item under the pointer while the grid is open, else kNone.
    int32_t getHoveredId() const { return hoveredId; }

    // --- mouse, wheel, keys, timer ---
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    // Steps the selection when wheelStepping is set and an item is selected.
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
        const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    void setViewSize(const CRect& rect, bool invalid = true) override;
    // The 250 ms timer: closes the grid when the mouse left the frame, drops the hover
    // when it left the grid.
    CMessageResult notify(CBaseObject* sender, IdStringPtr message) override;
    // The closed control: the selected item's name and/or picture.
    void draw(CDrawContext* context) override;

    // --- used by the grid view and the observer ---
    // Opens the grid (laid out and placed at the first opening after a change).
    void openDropDown(const CPoint& where);
    // Closes the grid.
    void closeDropDown();
    // Chooses the hovered item, tells the listener and closes every grid.
    void chooseHovered();
    // Moves the hover to the item under point (frame coordinates).
    void trackHover(const CPoint& point);
    // Draws the open grid into the grid view's rectangle.
    void drawList(CDrawContext* context);
    // The first selectable item whose cell, grown by spacing, holds point (frame coordinates).
    const PopupItem* itemAt(const CPoint& point);
    // Lays the cells out relative to the grid.
    void layoutItems();
    // Places the grid next to the pop-up, moving the cells to frame coordinates.
    void placeDropDown(const CPoint& where);
    // The grid view while open, else null.
    ZelCPopupControl* getDropDown() const { return dropDown; }
    // The hover / frame-exit timer (runs while the grid is open).
    CVSTGUITimer* getTimer() const { return timer; }
    // True while the grid is shown.
    bool isOpen() const;

    // Grid size in pixels, columns and cell size from the last layout (for tests and drawing).
    uint32_t getListWidth() const { return listWidth; }
    uint32_t getListHeight() const { return listHeight; }
    uint32_t getColumnCount() const { return columnCount; }
    uint32_t getCellWidth() const;
    uint32_t getCellHeight() const;
    // True when items changed since the last layout.
    bool isLayoutPending() const { return layoutPending != 0; }
    // True while an operation holds the busy word (never between operations).
    bool areItemsBusy() const { return itemsBusy.load() != 0; }

    // --- settings the editor sets directly after construction ---
    uint32_t itemsPerColumn = 0;     // cells per column, 0 = one column
    uint8_t drawClosed = 1;          // draw the selected item in the closed control
    uint8_t wheelStepping = 0;       // the mouse wheel steps the selection
    uint32_t spacing = 7;            // pixels between cells and around the grid
    CColor closedTextColor {255, 255, 255, 255};
    CColor listFillColor {255, 255, 255, 255};
    CColor itemTextColor {30, 30, 30, 255};
    CColor listFrameColor {30, 30, 30, 255};
    CColor highlightFillColor {180, 180, 180, 255};
    CColor highlightTextColor {60, 60, 60, 255};

private:
    // The busy word over the item list (one thread; see the .cpp).
    void lockItems();
    void markItemsBusy();
    void unlockItems();
    PopupItem* findItem(int32_t id);
    // Makes id the selection (the value and the dirty flag), without the search.
    void applySelection(int32_t id);
    void measureItem(const PopupItem& item);
    // layoutItems and placeDropDown at where, remembered; the layout is no longer pending.
    void layOutAndPlace(const CPoint& where);
    // The cell geometry changed: lays out at the next opening, or now when the grid is open.
    void cellsChanged();

    std::atomic<uint32_t> itemsBusy {0};
    int32_t style;
    CFrame* frame;                      // not owned
    ZelCFrameMuseObserver* observer;    // not owned
    SharedPointer<CBitmap> cellBitmap;  // a reference held while it is the cell bitmap
    uint32_t cellWidth = 0, cellHeight = 0;
    uint32_t measuredWidth = 0, measuredHeight = 0;
    int32_t selectedId = kNone;
    int32_t hoveredId = kNone;
    uint32_t listWidth = 0, listHeight = 0;
    uint32_t columnCount = 1;
    SharedPointer<CFontDesc> closedFont;
    SharedPointer<CFontDesc> listFont;
    uint8_t layoutPending = 1;
    CVSTGUITimer* timer = nullptr;       // owned
    ZelCPopupControl* dropDown = nullptr; // owned (one reference)
    std::list<PopupItem>* items = nullptr;
    double parentOffsetX = 0, parentOffsetY = 0;
    CPoint placedAt;                     // the click the grid was last placed at
};

} // namespace VSTGUI
