// On-screen keyboard: note mapping at "Medium", layering by Voice-Mode, one note-off
// per click, releases on removal and cancel, held keys drawn from the octave pictures.
#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "ControlTestSupport.h"
#include "controls/CKeyboardCtrl.h"
#include "controls/IKeyboardNoteSink.h"
#include "controls/IKeyboardState.h"
#include "plugin/GuiNoteQueue.h"

using namespace VSTGUI;
using namespace ControlTest;

namespace {

struct NoteEvent
{
    uint8_t status, note, velocity, voice;
    bool operator==(const NoteEvent& o) const
    {
        return std::tie(status, note, velocity, voice) == std::tie(o.status, o.note, o.velocity, o.voice);
    }
};

// Records the notes; Voice-Mode and voice count as the test sets them.
struct RecordingSink : IKeyboardNoteSink
{
    std::vector<NoteEvent> events;
    int32_t voiceMode = 0;
    int32_t voiceCount = 12;
    void queueGuiMidiEvent(uint8_t s, uint8_t n, uint8_t v, uint8_t l) override { events.push_back({s, n, v, l}); }
    int32_t getVoiceMode() const override { return voiceMode; }
    int32_t getVoiceCount() const override { return voiceCount; }
};

// The keyboard's master geometry (one octave of 504 x 368 pixels), as the editor lays it out.
constexpr double kMasterBlack[5][4] = {
    {44, 0, 84, 228}, {132, 0, 172, 228}, {260, 0, 300, 228}, {340, 0, 380, 228}, {420, 0, 460, 228}};
constexpr double kMasterWhite[7][2][4] = {{{0, 0, 42, 230}, {0, 230, 72, 368}},
    {{86, 0, 130, 230}, {72, 230, 144, 368}}, {{174, 0, 216, 230}, {144, 230, 216, 368}},
    {{216, 0, 258, 230}, {216, 230, 288, 368}}, {{302, 0, 338, 230}, {288, 230, 360, 368}},
    {{382, 0, 420, 230}, {360, 230, 432, 368}}, {{462, 0, 504, 230}, {432, 230, 504, 368}}};

CRect scaled(const double (&v)[4], float scale)
{
    auto s = [scale](double x) { return static_cast<double>(std::floor(static_cast<float>(x) * scale)); };
    return CRect(s(v[0]), s(v[1]), s(v[2]), s(v[3]));
}

const CColor kWhiteHeld(230, 200, 40, 255);
const CColor kBlackHeld(40, 120, 230, 255);

// The editor's side at "Medium" (scale 1/3): origin (124, 540), octave pictures 168 x 122.
struct MediumKeyboardState : IKeyboardState
{
    MediumKeyboardState()
    {
        const float scale = 1.0f / 3.0f;
        geometry.originLeft = 124;
        geometry.originTop = 540;
        for (int i = 0; i < 5; ++i)
            geometry.black[i] = scaled(kMasterBlack[i], scale);
        for (int i = 0; i < 7; ++i)
            for (int part = 0; part < 2; ++part)
                geometry.white[i][part] = scaled(kMasterWhite[i][part], scale);
        white = solid(kWhiteHeld);
        black = solid(kBlackHeld);
    }
    static SharedPointer<CBitmap> solid(const CColor& c)
    {
        auto context = COffscreenContext::create(nullptr, 168, 122);
        context->setFillColor(c);
        context->drawRect(CRect(0, 0, 168, 122), kDrawFilled);
        context->endDraw();
        return context->getBitmap();
    }
    const KeyboardGeometry& getKeyboardGeometry() const override { return geometry; }
    bool isKeyHeld(int32_t k) const override { return k >= 0 && k < kKeyCount && held[k]; }
    void setKeyHeld(int32_t k, bool h) override
    {
        if (k >= 0 && k < kKeyCount)
            held[k] = h;
    }
    CBitmap* getKeysWhiteHeldBitmap() const override { return white; }
    CBitmap* getKeysBlackHeldBitmap() const override { return black; }

    KeyboardGeometry geometry;
    std::array<bool, kKeyCount> held {};
    SharedPointer<CBitmap> white, black;
};

class KeyboardFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = makeFrame(1000, 672);
        keyboard = new CKeyboardCtrl(CRect(124, 540, 964, 664), &listener, 85, &sink, &state);
        frame->addView(keyboard);
    }
    void TearDown() override { frame->close(); }

    // One left click at (x, y); the events it queued.
    std::vector<NoteEvent> click(CCoord x, CCoord y, int32_t buttons = kLButton)
    {
        sink.events.clear();
        mouseDown(frame, x, y, buttons);
        mouseUp(frame, x, y, buttons);
        return sink.events;
    }

    CFrame* frame = nullptr;
    CKeyboardCtrl* keyboard = nullptr;
    RecordingSink sink;
    MediumKeyboardState state;
    RecordingListener listener;
};

} // namespace

TEST_F(KeyboardFixture, MediumGeometryAsLaidOut)
{
    EXPECT_EQ(keyboard->whiteKeyWidth(), 24);
    EXPECT_EQ(state.geometry.black[0], CRect(14, 0, 28, 76));
    EXPECT_EQ(state.geometry.white[2][0], CRect(58, 0, 72, 76));
    EXPECT_EQ(state.geometry.white[2][1], CRect(48, 76, 72, 122));
}

// ---- mapping -------------------------------------------------------------------------------

struct MapCase
{
    int dx, dy; // from the origin (124, 540)
    int note;
};

class KeyboardMapping : public KeyboardFixture, public ::testing::WithParamInterface<MapCase>
{
};

TEST_P(KeyboardMapping, ClickPlaysTheKeyUnderThePointer)
{
    const MapCase& c = GetParam();
    const auto events = click(124 + c.dx, 540 + c.dy);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (NoteEvent {0x90, static_cast<uint8_t>(c.note), 127, 0}));
    EXPECT_EQ(events[1], (NoteEvent {0x80, static_cast<uint8_t>(c.note), 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Medium, KeyboardMapping,
    ::testing::Values(MapCase {0, 0, 24},  // the lowest key, at the origin
        MapCase {13, 10, 24},              // white C left of the first black key
        MapCase {14, 10, 25},              // the black key's left edge
        MapCase {27, 75, 25},              // its last pixel, its lowest row
        MapCase {14, 76, 24},              // below the black key: the white column
        MapCase {28, 10, 26},              // the black key's right edge: D
        MapCase {23, 100, 24}, MapCase {24, 100, 26}, // white columns meet at 24
        MapCase {85, 10, 29}, MapCase {86, 10, 30},   // F, then F sharp
        MapCase {167, 100, 35},            // B, last pixel of the first octave
        MapCase {168, 100, 36},            // the second octave's C
        MapCase {168 + 14, 10, 37},        // its C sharp
        MapCase {4 * 168, 100, 72},        // key index 48
        MapCase {4 * 168 + 160, 100, 83},  // the highest key
        MapCase {4 * 168 + 140, 30, 82})); // the highest black key

TEST_F(KeyboardFixture, ClickOutsideTheKeysQueuesNothing)
{
    // A view wider than the five octaves, reaching left of the origin.
    keyboard->setViewSize(CRect(100, 540, 1000, 664));
    for (CCoord x : {100.0, 123.0, 964.0, 999.0})
    {
        EXPECT_TRUE(click(x, 600).empty()) << x;
        EXPECT_EQ(keyboard->getHeldKey(), -1);
    }
    EXPECT_EQ(keyboard->playNoteAt(123, 600), -1);
    EXPECT_EQ(keyboard->playNoteAt(964, 600), -1);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(listener.begins, 0);
}

// ---- layering ------------------------------------------------------------------------------

struct LayerCase
{
    int32_t voiceMode, voiceCount;
    std::vector<uint8_t> voices; // voice numbers of the note-ons
};

class KeyboardLayers : public KeyboardFixture, public ::testing::WithParamInterface<LayerCase>
{
};

TEST_P(KeyboardLayers, NoteOnsByVoiceModeAndOneNoteOff)
{
    const LayerCase& c = GetParam();
    sink.voiceMode = c.voiceMode;
    sink.voiceCount = c.voiceCount;
    const auto events = click(124 + 50, 620); // E, note 28
    ASSERT_EQ(events.size(), c.voices.size() + 1);
    for (size_t i = 0; i < c.voices.size(); ++i)
        EXPECT_EQ(events[i], (NoteEvent {0x90, 28, 127, c.voices[i]}));
    EXPECT_EQ(events.back(), (NoteEvent {0x80, 28, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(VoiceModes, KeyboardLayers,
    ::testing::Values(LayerCase {0, 12, {0}}, LayerCase {1, 12, {0, 1}},
        LayerCase {2, 12, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}, LayerCase {2, 1, {0}}, LayerCase {2, 0, {}},
        LayerCase {7, 12, {0}})); // any other Voice-Mode plays one voice

// ---- buttons, drags, cancels -------------------------------------------------------------------

TEST_F(KeyboardFixture, OnlyTheLeftButtonAlonePlays)
{
    for (int32_t buttons : {int32_t(kRButton), int32_t(kMButton), kLButton | kRButton, int32_t(kButton4)})
    {
        EXPECT_EQ(mouseDown(frame, 200, 600, buttons), kMouseEventHandled);
        mouseUp(frame, 200, 600, buttons);
        EXPECT_TRUE(sink.events.empty()) << buttons;
    }
    EXPECT_EQ(click(200, 600, kLButton | kShift).size(), 2u); // modifier keys do not matter
}

TEST_F(KeyboardFixture, DraggingKeepsTheNoteAndReleasesIt)
{
    mouseDown(frame, 130, 600);
    mouseMoved(frame, 400, 600, kLButton);
    mouseMoved(frame, 700, 560, kLButton);
    mouseUp(frame, 700, 560);
    ASSERT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[0].note, 24);
    EXPECT_EQ(sink.events[1], (NoteEvent {0x80, 24, 0, 0}));
    EXPECT_EQ(listener.order, (std::vector<std::string> {"begin", "end"}));
}

TEST_F(KeyboardFixture, EveryClickSendsExactlyOneNoteOffPerNote)
{
    sink.voiceMode = 1;
    const CPoint points[] = {{124, 545}, {140, 560}, {300, 650}, {963, 663}, {500, 541}, {700, 600}};
    for (const CPoint& p : points)
    {
        const auto events = click(p.x, p.y);
        ASSERT_EQ(events.size(), 3u);
        EXPECT_EQ(events[0].note, events[2].note);
        EXPECT_EQ(events[2].status, 0x80);
    }
    EXPECT_EQ(keyboard->getHeldKey(), -1);
    EXPECT_EQ(std::count(state.held.begin(), state.held.end(), true), 0);
}

TEST_F(KeyboardFixture, RemovingTheViewReleasesAHeldKey)
{
    keyboard->remember();
    mouseDown(frame, 154, 640); // D, note 26
    EXPECT_TRUE(state.held[2]);
    frame->removeView(keyboard, true);
    ASSERT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[1], (NoteEvent {0x80, 26, 0, 0}));
    EXPECT_FALSE(state.held[2]);
    EXPECT_EQ(keyboard->getHeldKey(), -1);
    mouseUp(frame, 154, 640); // goes nowhere
    EXPECT_EQ(sink.events.size(), 2u);
    keyboard->forget();
}

TEST_F(KeyboardFixture, CancelledGestureReleasesTheHeldKey)
{
    mouseDown(frame, 150, 600);
    frame->onMouseCancel();
    ASSERT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[1].status, 0x80);
    EXPECT_EQ(listener.ends, 1);
    mouseUp(frame, 150, 600);
    EXPECT_EQ(sink.events.size(), 2u);
}

TEST_F(KeyboardFixture, NotesReachTheGuiNoteQueueInPairs)
{
    // The plug-in's queue as the editor hands it the keyboard's notes.
    struct QueueSink : IKeyboardNoteSink
    {
        GuiNoteQueue queue;
        void queueGuiMidiEvent(uint8_t s, uint8_t n, uint8_t v, uint8_t l) override { queue.push(s, n, v, l); }
        int32_t getVoiceMode() const override { return 2; }
        int32_t getVoiceCount() const override { return 20; }
    } queueSink;
    auto* second = new CKeyboardCtrl(CRect(124, 540, 964, 664), nullptr, 85, &queueSink, &state);
    frame->removeView(keyboard, true);
    frame->addView(second);
    // Each block of the audio thread plays what one click queued.
    for (int i = 0; i < 30; ++i)
    {
        click(130 + 27 * i, 600);
        std::array<int, 128> on {}, off {};
        queueSink.queue.drain([&](const VstMidiEvent& e) {
            const uint8_t status = static_cast<uint8_t>(e.midiData[0]);
            (status == 0x90 ? on : off)[static_cast<uint8_t>(e.midiData[1])]++;
        });
        int notes = 0;
        for (int n = 0; n < 128; ++n)
        {
            if (on[n] == 0 && off[n] == 0)
                continue;
            ++notes;
            EXPECT_EQ(on[n], 20) << n; // one note-on per voice
            EXPECT_EQ(off[n], 1) << n; // and one note-off
        }
        EXPECT_EQ(notes, 1) << i;
    }
}

// ---- held keys -----------------------------------------------------------------------------------

TEST_F(KeyboardFixture, HeldKeysAreDrawnFromTheOctavePictures)
{
    state.setKeyHeld(1, true);  // C sharp held by the plug-in
    state.setKeyHeld(16, true); // E of the second octave
    keyboard->setDirty(true);   // what the editor's key display does
    frame->idle();
    CBitmap* picture = frame->getBackBuffer();
    EXPECT_EQ(pixelAt(picture, 124 + 20, 560), kBlackHeld);
    EXPECT_EQ(pixelAt(picture, 124 + 20, 640), kBlackCColor); // C's lower part is not held
    EXPECT_EQ(pixelAt(picture, 124 + 168 + 60, 550), kWhiteHeld); // E's upper part
    EXPECT_EQ(pixelAt(picture, 124 + 168 + 50, 640), kWhiteHeld); // E's lower part
    EXPECT_EQ(pixelAt(picture, 124 + 168 + 50, 550), kBlackCColor); // above the lower part: D sharp's column
    EXPECT_EQ(pixelAt(picture, 124 + 168 + 80, 640), kBlackCColor); // F
}

TEST_F(KeyboardFixture, ClickLightsItsKeyUntilRelease)
{
    mouseDown(frame, 124 + 30, 640); // D
    EXPECT_EQ(framePixel(frame, 124 + 30, 640), kWhiteHeld);
    mouseUp(frame, 124 + 30, 640);
    EXPECT_EQ(framePixel(frame, 124 + 30, 640), kBlackCColor);
}

TEST_F(KeyboardFixture, OwnReleaseClearsAKeyThePlugInHeld)
{
    state.setKeyHeld(2, true);
    click(124 + 30, 640);
    EXPECT_FALSE(state.held[2]);
    keyboard->setKeyPressed(60, true); // outside 0..59: ignored
    keyboard->setKeyPressed(-1, true);
    EXPECT_EQ(std::count(state.held.begin(), state.held.end(), true), 0);
}

TEST_F(KeyboardFixture, WithoutPicturesNoKeyIsFound)
{
    state.white = nullptr;
    EXPECT_TRUE(click(200, 600).empty());
    frame->idle(); // drawing without pictures draws nothing
}
