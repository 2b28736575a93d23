// Where things sit on the 3000 x 2016 master background: the editor's control
// rectangles, the panels, section titles and every label. Only data here; the
// art files read it. Constant data: any thread.
#pragma once

#include "SkinCanvas.h"

#include <span>

namespace skin::layout {

// The master background's size in pixels; every smaller editor size is scaled from it.
inline constexpr int kMasterWidth = 3000;
inline constexpr int kMasterHeight = 2016;
inline constexpr int kKnobSize = 156;          // one knob frame, square
inline constexpr double kLabelSize = 30;       // control names (cap height about 22 px)
inline constexpr double kHeaderSize = 38;      // section titles
inline constexpr int kLabelGap = 23;           // baseline of a knob's name below its frame

// Control kinds as the editor's control table numbers them.
enum Kind : int {
    kKnob = 0, kOnOff = 1, kVerticalSwitch = 3, kProgramMenu = 6, kLogoLink = 7, kNone = 8,
    kOptionsMenu = 9, kKeyboard = 10, kWheel = 11, kProgramStep = 12, kWaveStep = 13,
    kWaveDisplay = 14, kWaveChooser = 16, kDiagram = 17
};

// One control: tag, kind, variant and master rectangle. Knobs and wheels give
// only left and top; their pictures give the size.
struct Control {
    int tag;
    int kind;
    int variant;
    int left, top, right, bottom;
};
// Every control in tag order, and the one with this tag.
std::span<const Control> controls();
const Control& control(int tag);
// The control's full rectangle, with knob and wheel sizes filled in.
Rect controlRect(int tag);

// A panel of the instrument's face.
struct Panel {
    Rect area;
};
// Every panel, drawn in this order.
std::span<const Panel> panels();

// A section title with a rule running from its end to ruleEnd (0 = no rule).
struct Header {
    const char* text;
    double x, baseline, ruleEnd;
};
// Every section title.
std::span<const Header> headers();

// The name under a knob (or a wave display), centred on its control.
struct KnobLabel {
    int tag;
    const char* text;
};
// Every name under a control.
std::span<const KnobLabel> knobLabels();

// Free-standing texts: button names, switch positions, program and wheels.
struct Caption {
    const char* text;
    double x, baseline;
    Align align;
    bool dim;
    double maxWidth;
};
// Every free-standing text.
std::span<const Caption> captions();

// The keyboard: five octaves of 504 x 368 pictures from the keyboard's corner.
inline constexpr int kOctaveWidth = 504;
inline constexpr int kOctaveHeight = 368;
inline constexpr int kOctaves = 5;

// Key rectangles inside one octave picture (left, top, right, bottom).
std::span<const Rect> blackKeys();          // semitones 1, 3, 6, 8, 10
std::span<const Rect> whiteKeysUpper();     // semitones 0, 2, 4, 5, 7, 9, 11
std::span<const Rect> whiteKeysLower();     // the full-width lower part of the same keys

// The slots in which the two wheels turn, a little larger than the wheels.
Rect wheelWell(int tag);

// The logo's plate and the dark field behind the program menu.
Rect logoPlate();
Rect programField();

}  // namespace skin::layout
