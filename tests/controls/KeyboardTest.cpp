// On-screen keyboard at "Medium": note mapping, layering by Voice-Mode, one note-off
// per click, releases on removal and cancel, held keys drawn from the octave pictures.
#include <algorithm>
#include <array>
#include <cmath>

#include "ControlTestSupport.h"
#include "controls/CKeyboardCtrl.h"
#include "controls/IKeyboardNoteSink.h"
#include "controls/IKeyboardState.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

// Records the notes as "on <note> <voice>" / "off <note>"; Voice-Mode and voice count as set.
struct RecordingSink : IKeyboardNoteSink
{
    std::vector<std::string> events;
    int32_t voiceMode = 0;
    int32_t voiceCount = 12;
    void queueGuiMidiEvent(uint8_t s, uint8_t n, uint8_t v, uint8_t l) override
    {
        const bool on = s == 0x90;
        EXPECT_EQ(v, on ? 127 : 0);
        events.push_back(std::string(on ? "on " : "off ") + std::to_string(n));
        if (on || l != 0) // a note-off names voice 0, which is left out
            events.back() += ' ' + std::to_string(l);
    }
    int32_t getVoiceMode() const override { return voiceMode; }
    int32_t getVoiceCount() const override { return voiceCount; }
};

const CColor kWhiteHeld = tone(10), kBlackHeld = tone(11);

// The editor's side at "Medium": its octave of 504 x 368 pixels scaled by 1/3 (white keys
// 24 wide), origin (124, 540), octave pictures 168 x 122 in kWhiteHeld and kBlackHeld.
struct MediumKeyboardState : IKeyboardState
{
    MediumKeyboardState()
    {
        const CRect black[5] = {{14, 0, 28, 76}, {44, 0, 57, 76}, {86, 0, 100, 76}, {113, 0, 126, 76}, {140, 0, 153, 76}};
        const CRect white[7][2] = {{{0, 0, 14, 76}, {0, 76, 24, 122}}, {{28, 0, 43, 76}, {24, 76, 48, 122}},
            {{58, 0, 72, 76}, {48, 76, 72, 122}}, {{72, 0, 86, 76}, {72, 76, 96, 122}},
            {{100, 0, 112, 76}, {96, 76, 120, 122}}, {{127, 0, 140, 76}, {120, 76, 144, 122}},
            {{154, 0, 168, 76}, {144, 76, 168, 122}}};
        geometry.originLeft = 124;
        geometry.originTop = 540;
        std::copy(std::begin(black), std::end(black), geometry.black);
        std::copy(&white[0][0], &white[0][0] + 14, &geometry.white[0][0]);
    }
    const KeyboardGeometry& getKeyboardGeometry() const override { return geometry; }
    bool isKeyHeld(int32_t k) const override { return k >= 0 && k < kKeyCount && held[k]; }
    void setKeyHeld(int32_t k, bool h) override { held.at(static_cast<size_t>(k)) = h; }
    CBitmap* getKeysWhiteHeldBitmap() const override { return white; }
    CBitmap* getKeysBlackHeldBitmap() const override { return black; }
    long heldCount() const { return std::count(held.begin(), held.end(), true); }

    KeyboardGeometry geometry;
    std::array<bool, kKeyCount> held {};
    SharedPointer<CBitmap> white = makeStrip(1, 168, 122, false, 10), black = makeStrip(1, 168, 122, false, 11);
};

class KeyboardFixture : public FrameFixture
{
protected:
    ~KeyboardFixture() override
    {
        frame->close(); // while the sink and the state still live
        frame = nullptr;
    }
    // One click at (x, y); the events it queued.
    std::vector<std::string> clickKey(CCoord x, CCoord y, int32_t buttons = kLButton)
    {
        sink.events.clear();
        click(x, y, buttons);
        return sink.events;
    }

    RecordingSink sink;
    MediumKeyboardState state;
    CKeyboardCtrl* keyboard = add(new CKeyboardCtrl(CRect(124, 540, 964, 664), &listener, 85, &sink, &state));
};

using Events = std::vector<std::string>;

} // namespace

// ---- mapping -------------------------------------------------------------------------------

TEST_F(KeyboardFixture, ClickPlaysTheKeyUnderThePointerOnce)
{
    struct Case { int dx, dy, note; }; // from the origin (124, 540)
    const Case cases[] = {{0, 0, 24},  // the lowest key, at the origin
        {13, 10, 24},                  // white C left of the first black key
        {14, 10, 25},                  // the black key's left edge
        {27, 75, 25},                  // its last pixel, its lowest row
        {14, 76, 24},                  // below the black key: the white column
        {28, 10, 26},                  // the black key's right edge: D
        {23, 100, 24}, {24, 100, 26},  // white columns meet at 24
        {85, 10, 29}, {86, 10, 30},    // F, then F sharp
        {167, 100, 35}, {168, 100, 36}, // B, last pixel of the first octave; the second octave's C
        {168 + 14, 10, 37},            // its C sharp
        {4 * 168, 100, 72},            // key index 48
        {4 * 168 + 160, 100, 83}, {839, 123, 83}, // the highest key, its last pixel
        {4 * 168 + 140, 30, 82}};      // the highest black key
    for (const Case& c : cases)
    {
        const std::string note = std::to_string(c.note);
        EXPECT_EQ(clickKey(124 + c.dx, 540 + c.dy), (Events {"on " + note + " 0", "off " + note})) << c.dx;
        EXPECT_EQ(keyboard->getHeldKey(), -1);
        EXPECT_EQ(state.heldCount(), 0);
    }
    EXPECT_EQ(listener.log.size(), std::string("begin end ").size() * std::size(cases) - 1);
}

TEST_F(KeyboardFixture, ClickOutsideTheKeysOrWithoutPicturesQueuesNothing)
{
    keyboard->setViewSize(CRect(100, 540, 1000, 664)); // wider than the five octaves
    for (CCoord x : {100.0, 123.0, 964.0, 999.0})
        EXPECT_TRUE(clickKey(x, 600).empty()) << x;
    EXPECT_EQ(keyboard->playNoteAt(123, 600), -1);
    EXPECT_EQ(keyboard->playNoteAt(964, 600), -1);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(listener.log, "");
    state.white = nullptr;
    EXPECT_TRUE(clickKey(200, 600).empty());
    frame->idle(); // drawing without pictures draws nothing
}

TEST_F(KeyboardFixture, NoteOnsByVoiceModeAndOneNoteOff)
{
    struct Case { int32_t voiceMode, voiceCount; std::vector<int> voices; }; // voices of the note-ons
    const Case cases[] = {{0, 12, {0}}, {1, 12, {0, 1}}, {2, 12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}, {2, 1, {0}},
        {2, 0, {}}, {7, 12, {0}}}; // any other Voice-Mode plays one voice
    for (const Case& c : cases)
    {
        sink.voiceMode = c.voiceMode;
        sink.voiceCount = c.voiceCount;
        Events expected;
        for (int voice : c.voices)
            expected.push_back("on 28 " + std::to_string(voice));
        expected.push_back("off 28");
        EXPECT_EQ(clickKey(124 + 50, 620), expected) << c.voiceMode; // E
    }
}

// ---- buttons, drags, cancels -------------------------------------------------------------------

TEST_F(KeyboardFixture, OnlyTheLeftButtonAlonePlays)
{
    for (int32_t buttons : {int32_t(kRButton), int32_t(kMButton), kLButton | kRButton, int32_t(kButton4)})
    {
        EXPECT_EQ(mouseDown(frame, 200, 600, buttons), kMouseEventHandled);
        mouseUp(frame, 200, 600, buttons);
        EXPECT_TRUE(sink.events.empty()) << buttons;
    }
    EXPECT_EQ(clickKey(200, 600, kLButton | kShift).size(), 2u); // modifier keys do not matter
}

TEST_F(KeyboardFixture, HeldKeyIsReleasedOnceByTheReleaseTheRemovalOrACancel)
{
    mouseDown(frame, 130, 600);
    mouseMoved(frame, 400, 600, kLButton); // dragging keeps the note
    mouseMoved(frame, 700, 560, kLButton);
    mouseUp(frame, 700, 560);
    EXPECT_EQ(sink.events, (Events {"on 24 0", "off 24"}));
    EXPECT_EQ(listener.log, "begin end");

    sink.events.clear();
    mouseDown(frame, 150, 600);
    frame->onMouseCancel();
    mouseUp(frame, 150, 600);
    EXPECT_EQ(sink.events, (Events {"on 25 0", "off 25"}));
    EXPECT_EQ(listener.log, "begin end begin end");

    sink.events.clear();
    keyboard->remember();
    mouseDown(frame, 154, 640); // D, note 26
    EXPECT_TRUE(state.held[2]);
    frame->removeView(keyboard, true);
    mouseUp(frame, 154, 640); // goes nowhere
    EXPECT_EQ(sink.events, (Events {"on 26 0", "off 26"}));
    EXPECT_FALSE(state.held[2]);
    EXPECT_EQ(keyboard->getHeldKey(), -1);
    keyboard->forget();
}

// ---- held keys -----------------------------------------------------------------------------------

TEST_F(KeyboardFixture, HeldKeysAreDrawnFromTheOctavePictures)
{
    state.setKeyHeld(1, true);  // C sharp held by the plug-in
    state.setKeyHeld(16, true); // E of the second octave
    keyboard->setDirty(true);   // what the editor's key display does
    EXPECT_EQ(framePixel(frame, 124 + 20, 560), kBlackHeld);
    EXPECT_EQ(framePixel(frame, 124 + 20, 640), kBlackCColor);         // C's lower part is not held
    EXPECT_EQ(framePixel(frame, 124 + 168 + 60, 550), kWhiteHeld);     // E's upper part
    EXPECT_EQ(framePixel(frame, 124 + 168 + 50, 640), kWhiteHeld);     // E's lower part
    EXPECT_EQ(framePixel(frame, 124 + 168 + 50, 550), kBlackCColor);   // above it: D sharp's column
    EXPECT_EQ(framePixel(frame, 124 + 168 + 80, 640), kBlackCColor);   // F
    mouseDown(frame, 124 + 30, 640); // a click lights its key until the release
    EXPECT_EQ(framePixel(frame, 124 + 30, 640), kWhiteHeld);
    mouseUp(frame, 124 + 30, 640);
    EXPECT_EQ(framePixel(frame, 124 + 30, 640), kBlackCColor);
    state.setKeyHeld(2, true); // the own release also clears a key the plug-in held
    clickKey(124 + 30, 640);
    EXPECT_FALSE(state.held[2]);
    keyboard->setKeyPressed(60, true); // outside 0..59: ignored
    keyboard->setKeyPressed(-1, true);
    EXPECT_EQ(state.heldCount(), 2);
}
