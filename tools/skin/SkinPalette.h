// The skin's colours. Controls are drawn on the exact panel colour, so that
// their opaque pictures sit seamlessly on the background. Constant data: any thread.
#pragma once

#include "SkinCanvas.h"

namespace skin::palette {

inline constexpr Colour kChassis{22, 25, 29};        // body between the panels
inline constexpr Colour kChassisLight{34, 38, 43};   // top edge of the body
inline constexpr Colour kCheek{12, 14, 16};          // end pieces left and right
inline constexpr Colour kCheekLight{44, 48, 54};
inline constexpr Colour kPanel{50, 60, 70};          // flat face under every control
inline constexpr Colour kPanelEdgeLight{78, 91, 104};
inline constexpr Colour kPanelEdgeDark{14, 17, 20};
inline constexpr Colour kHeader{244, 170, 66};       // section titles and lit marks
inline constexpr Colour kHeaderRule{122, 98, 66};
inline constexpr Colour kLabel{220, 227, 233};       // control names
inline constexpr Colour kLabelDim{146, 160, 172};
inline constexpr Colour kEngrave{36, 43, 50};        // engraved lines and slots

inline constexpr Colour kScreen{13, 21, 28};         // wave screens, routing, program field
inline constexpr Colour kScreenGrid{29, 45, 57};
inline constexpr Colour kScreenHighlight{40, 62, 80};
inline constexpr Colour kScreenText{120, 150, 172};
inline constexpr Colour kBezel{9, 11, 13};
inline constexpr Colour kProgramField{6, 8, 10};

inline constexpr Colour kKnobTrack{30, 36, 42};
inline constexpr Colour kKnobArc{247, 168, 60};
inline constexpr Colour kKnobRim{18, 21, 24};
inline constexpr Colour kKnobTop{96, 105, 114};
inline constexpr Colour kKnobBottom{40, 45, 51};
inline constexpr Colour kKnobCapTop{74, 82, 90};
inline constexpr Colour kKnobCapBottom{50, 56, 63};
inline constexpr Colour kPointer{246, 246, 242};

inline constexpr Colour kLedOff{64, 44, 34};
inline constexpr Colour kLedOn{255, 184, 72};
inline constexpr Colour kButtonTop{88, 98, 108};
inline constexpr Colour kButtonBottom{50, 57, 64};
inline constexpr Colour kButtonPressedTop{44, 50, 57};
inline constexpr Colour kButtonPressedBottom{64, 72, 80};

inline constexpr Colour kWell{10, 12, 14};           // wheel slots
inline constexpr Colour kWheelDark{26, 29, 33};
inline constexpr Colour kWheelLight{92, 100, 108};

inline constexpr Colour kKeyGap{8, 9, 10};
inline constexpr Colour kWhiteKeyTop{236, 232, 222};
inline constexpr Colour kWhiteKeyBottom{250, 248, 242};
inline constexpr Colour kWhiteKeyHeldTop{246, 196, 120};
inline constexpr Colour kWhiteKeyHeldBottom{255, 220, 160};
inline constexpr Colour kBlackKeyTop{24, 25, 28};
inline constexpr Colour kBlackKeyBottom{46, 48, 52};
inline constexpr Colour kBlackKeyHeldTop{150, 90, 20};
inline constexpr Colour kBlackKeyHeldBottom{226, 150, 50};
inline constexpr Colour kKeyBed{18, 14, 12};

}  // namespace skin::palette
