#pragma once
// ZelCVUDisplay: a segment meter that lights the first LEDs of a row of LED
// pictures according to an integer level. Each of up to 16 LED kinds has a
// picture (unlit and lit states stacked) and a repeat count. UI thread.

#include <cstdint>

#include "controls/CCheckedArray.h"
#include "vstgui/lib/controls/ccontrol.h"

namespace VSTGUI {

// One LED kind of the meter.
struct LedSegment
{
    int32_t number = 0;            // 1-based
    int32_t repeat = 0;            // LEDs of this kind drawn in a row
    CBitmap* picture = nullptr;    // not owned
    bool twoStateLitBelow = false; // the lit state is the picture's lower half
    int32_t width = 0;
    int32_t height = 0;
    CPoint litOffset;
    CPoint unlitOffset;
};

class ZelCVUDisplay : public CControl
{
public:
    static constexpr int32_t kMaxLeds = 16;
    static constexpr uint8_t kSegmentCode = 3; // message code of the segment table
    static constexpr uint8_t kOrderCode = 4;   // message code of the order table

    // A meter of ledCount kinds (clamped to 1..16); level and minimum from level, maximum maxLevel.
    ZelCVUDisplay(const CRect& rect, IControlListener* listener, int32_t tag, int32_t ledCount, int32_t level,
        int32_t maxLevel);
    ZelCVUDisplay(const ZelCVUDisplay& other) = default;
    CBaseObject* newCopy() const override { return new ZelCVUDisplay(*this); }

    // The level shown now.
    int32_t getLevel() const { return level; }
    // Stores the level clamped to minimum..maximum and answers it.
    int32_t setLevel(int32_t newLevel);
    // Sets up LED kind number (1..ledCount) with its picture and repeat count, adds the
    // repeat to the LEDs drawn (a second set-up of a kind adds again) and builds the order again.
    void setupLed(int32_t number, int32_t repeat, CBitmap* picture, bool twoStateLitBelow);
    // Sizes the drawing order to the LEDs drawn and fills it with each kind's index, kind by
    // kind, repeat times; entries beyond the table are refused with "Index out of range" (code 4).
    void rebuildOrder();
    // The LEDs left to right, the first level - minimum of them lit.
    void draw(CDrawContext* context) override;

    // How many LEDs are drawn and how many kinds the meter has (for tests).
    int32_t getDrawCount() const { return drawCount; }
    int32_t getLedCount() const { return ledCount; }
    // Read access for tests: segment i, order entry i (range-checked).
    LedSegment segmentAt(uint32_t i) { return segments[i]; }
    uint32_t orderAt(uint32_t i) { return order[i]; }

private:
    CCheckedArray<LedSegment> segments {kSegmentCode};
    int32_t level;
    int32_t minLevel;
    int32_t maxLevel;
    CCheckedArray<uint32_t> order {kOrderCode};
    int32_t ledCount;
    int32_t drawCount = 0;
    bool ready = false;
};

} // namespace VSTGUI
