// What the open editor shows at each size, read back from its frame: every kind of
// control shows the frame of its skin strip that its value stands for and nothing of
// the next one, keys that the plug-in plays light up and go out, the value read-out
// has the skin's colours and leaves no trace, and the wave chooser opens a grid of
// 5 columns of 8 waves.
#include <algorithm>
#include <sstream>

#include "EditorTestSupport.h"
#include "controls/ZelCParamDisplay.h"
#include "controls/ZelCPopup.h"
#include "editor/SkinBitmapSet.h"
#include "tests/common/BitmapPixels.h"

using namespace VSTGUI;

namespace {

// A control, the value it is given, its strip and how many frames the strip stacks,
// and the frame the user must see.
struct Shown {
    int32_t tag;
    float value;
    SkinPicture strip;
    int32_t frames;
    int32_t frame;
};
const Shown kShown[] = {
    {kParamFltCutoff, 0.0f, kKnobBitmap, 63, 0},
    {kParamOsc1Coarse, 1.0f, kKnobBitmap, 63, 62},
    {kParamFltReso, 0.5f, kKnobBitmap, 63, 31},
    {kParamLfoSync, 1.0f, kButtonBitmap, 2, 1},
    {kParamPercEnv, 0.0f, kButtonBitmap, 2, 0},
    {kParamVoiceMode, 0.5f, kThreeWaySwitchBitmap, 3, 1},
    {kParamFltType, 2.0f / 3.0f, kFourWaySwitchBitmap, 4, 2},
    {kParamOsc1Wave, 13.0f / 39.0f, kWaveDisplayBitmap, 40, 13},
    {kParamOscRouting, 2.0f, kRoutingDiagramBitmap, 3, 2},
    {kParamModWheel, 0.25f, kWheelBitmap, 91, 68},
    {kTagPitchWheel, -1.0f, kWheelBitmap, 91, 45},       // -1: left at rest
    {kTagOsc1WaveStep, -1.0f, kWaveStepBitmap, 3, 1},
    {kTagProgramStep, -1.0f, kProgramStepBitmap, 3, 1},
    {kTagOptionsMenu, -1.0f, kOptionsButtonBitmap, 2, 0},
};

// Within 16 of the colour in each channel.
bool near(uint32_t v, const CColor& c) {
    auto close = [](uint32_t a, uint8_t b) { return a + 16 >= b && a <= b + 16u; };
    return close((v >> 16) & 255, c.red) && close((v >> 8) & 255, c.green) && close(v & 255, c.blue);
}

VstMidiEvent note(uint8_t status, uint8_t key) {
    VstMidiEvent e{};
    e.type = kVstMidiType;
    e.byteSize = sizeof(VstMidiEvent);
    e.midiData[0] = static_cast<char>(status);
    e.midiData[1] = static_cast<char>(key);
    e.midiData[2] = static_cast<char>(status == 0x90 ? 100 : 0);
    return e;
}

class EditorPixels : public EditorFixture, public ::testing::WithParamInterface<uint8_t> {
protected:
    BitmapPixels screen() const { return BitmapPixels(frame()->getBackBuffer()); }
    BitmapPixels picture(SkinPicture p) const { return BitmapPixels(getSkinBitmap(p, editor->getSizeIndex())); }

    // Pixels of the w x h area at (x, y) of the screen that differ from the opaque pixels of
    // the picture's area at (px, py).
    static int32_t mismatches(const BitmapPixels& shown, int32_t x, int32_t y, int32_t w, int32_t h,
                              const BitmapPixels& pic, int32_t px, int32_t py) {
        int32_t n = 0;
        for (int32_t j = 0; j < h; ++j)
            for (int32_t i = 0; i < w; ++i)
                if (pic.opaque(px + i, py + j) && shown.at(x + i, y + j) != pic.at(px + i, py + j)) ++n;
        return n;
    }
    // Frames of the strip that the w x h area at (x, y) shows, as a list for messages.
    static std::string framesShown(const BitmapPixels& shown, int32_t x, int32_t y, int32_t w, int32_t h,
                                   const BitmapPixels& strip, int32_t frames) {
        std::ostringstream list;
        for (int32_t k = 0; k < frames; ++k)
            if (mismatches(shown, x, y, w, h, strip, 0, k * (strip.height / frames)) == 0) list << k << " ";
        return list.str();
    }
    // True when no control but the one with the tag covers the point.
    bool bare(int32_t x, int32_t y, int32_t except) const {
        for (int32_t t = 0; t < kNumControls; ++t)
            if (t != except && control(t) != nullptr && control(t)->getViewSize().pointInside(CPoint(x, y)))
                return false;
        return true;
    }
    // Plays (0x90) or releases (0x80) notes 48 and 61 through the host's calls, then idles.
    void play(uint8_t status) {
        VstMidiEvent notes[2] = {note(status, 48), note(status, 61)};
        VstEvents list{};
        list.numEvents = 2;
        for (int32_t i = 0; i < 2; ++i) list.events[i] = reinterpret_cast<VstEvent*>(&notes[i]);
        synth->processEvents(&list);
        float left[64], right[64];
        float* outs[2] = {left, right};
        synth->processReplacing(nullptr, outs, 64);
        idle();
    }
};

TEST_P(EditorPixels, EveryControlShowsTheFrameOfItsValueAndNoMore) {
    make(GetParam());
    for (const Shown& s : kShown)
        if (s.value >= 0.0f) synth->setParameter(s.tag, s.value);
    idle();
    const BitmapPixels shown = screen();
    const BitmapPixels background = picture(kBackgroundBitmap);
    for (const Shown& s : kShown) {
        SCOPED_TRACE(testing::Message() << "control " << s.tag);
        const BitmapPixels strip = picture(s.strip);
        ASSERT_GT(strip.height, 0);
        const CRect r = control(s.tag)->getViewSize();
        const auto x = static_cast<int32_t>(r.left), y = static_cast<int32_t>(r.top);
        const int32_t w = strip.width, h = strip.height / s.frames;
        EXPECT_EQ(mismatches(shown, x, y, w, h, strip, 0, s.frame * h), 0)
            << "frames shown: " << framesShown(shown, x, y, w, h, strip, s.frames);
        // Below the frame the background shows, not the next frame ...
        for (int32_t i = 0; i < w; ++i) {
            if (bare(x + i, y + h, s.tag) && background.opaque(x + i, y + h)) {
                ASSERT_EQ(shown.at(x + i, y + h), background.at(x + i, y + h)) << "column " << i;
            }
        }
        // ... and a drag that starts there moves nothing.
        if (!bare(x + w / 2, y + h, s.tag)) continue;
        const std::vector<float> before(synth->getEngine().values, synth->getEngine().values + kNumParams);
        CPoint from(x + w / 2, y + h), to(x + w / 2 + 10, y + h - 25);
        frame()->platformOnMouseDown(from, CButtonState(kLButton));
        frame()->platformOnMouseMoved(to, CButtonState(kLButton));
        frame()->platformOnMouseUp(to, CButtonState(kLButton));
        EXPECT_EQ(std::vector<float>(synth->getEngine().values, synth->getEngine().values + kNumParams), before);
    }
}

TEST_P(EditorPixels, KeysThePluginPlaysLightUpAndGoOut) {
    make(GetParam());
    idle();
    const KeyboardGeometry& g = editor->getKeyboardGeometry();
    const BitmapPixels white = picture(kKeysWhiteHeldBitmap), black = picture(kKeysBlackHeldBitmap);
    const BitmapPixels background = picture(kBackgroundBitmap);
    const int32_t octave = 7 * (white.width / 7);
    // Note 48 is the C of the third octave (white part 0), note 61 the C# of the fourth (black 0).
    struct Part { CRect source; int32_t octave; const BitmapPixels* held; };
    const Part parts[] = {{g.white[0][0], 2, &white}, {g.white[0][1], 2, &white}, {g.black[0], 3, &black}};
    for (bool on : {true, false}) {
        play(on ? 0x90 : 0x80);
        const BitmapPixels shown = screen();
        for (const Part& p : parts) {
            const auto x = static_cast<int32_t>(g.originLeft + p.octave * octave + p.source.left);
            const auto y = static_cast<int32_t>(g.originTop + p.source.top);
            const auto w = static_cast<int32_t>(p.source.getWidth()), h = static_cast<int32_t>(p.source.getHeight());
            const int32_t lit = mismatches(shown, x, y, w, h, *p.held, static_cast<int32_t>(p.source.left),
                                           static_cast<int32_t>(p.source.top));
            const int32_t unlit = mismatches(shown, x, y, w, h, background, x, y);
            EXPECT_EQ(on ? lit : unlit, 0) << (on ? "lit " : "unlit ") << x << ", " << y;
            EXPECT_GT(on ? unlit : lit, 0) << "held and unheld keys look alike at " << x << ", " << y;
        }
    }
}

TEST_P(EditorPixels, ReadOutShowsTheSkinColoursAndLeavesNoTrace) {
    make(GetParam());
    idle();
    const BitmapPixels before = screen();
    CPoint at = centreOf(kParamFltCutoff);
    frame()->platformOnMouseDown(at, CButtonState(kLButton));
    idle();
    const CRect r = editor->getReadout()->getViewSize();
    ASSERT_TRUE(editor->getReadout()->isAttached());
    const BitmapPixels shown = screen();
    int32_t fill = 0, outline = 0, text = 0, other = 0;
    for (auto y = static_cast<int32_t>(r.top); y < static_cast<int32_t>(r.bottom); ++y)
        for (auto x = static_cast<int32_t>(r.left); x < static_cast<int32_t>(r.right); ++x) {
            const uint32_t v = shown.at(x, y);
            fill += v == BitmapPixels::of(CColor(68, 89, 107, 255));
            outline += v == BitmapPixels::of(CColor(54, 54, 54, 255));
            other += v != before.at(x, y);
            text += v != before.at(x, y) && near(v, CColor(219, 221, 223, 255));
        }
    // The box: mostly its fill, a one-pixel outline around it, the value in the text colour
    // (the smallest text covers no pixel wholly).
    EXPECT_GT(fill, other / 2);
    EXPECT_GT(outline, 2 * static_cast<int32_t>(r.getHeight()) - 4);
    EXPECT_GT(text, 0);
    frame()->platformOnMouseUp(at, CButtonState(kLButton));
    idle();
    EXPECT_FALSE(editor->getReadout()->isAttached());
    EXPECT_EQ(screen().values, before.values);
}

TEST_P(EditorPixels, WaveChooserOpensFiveColumnsOfEightWaves) {
    make(GetParam());
    idle();
    const BitmapPixels before = screen();
    const BitmapPixels strip = picture(kWaveChooserBitmap);
    const int32_t cellW = strip.width / 2, cellH = strip.height / 40;
    click(centreOf(kTagOsc1WaveChooser));
    idle();
    const BitmapPixels open = screen();
    int32_t left = open.width, top = open.height, right = 0, bottom = 0;
    for (int32_t y = 0; y < open.height; ++y)
        for (int32_t x = 0; x < open.width; ++x)
            if (open.at(x, y) != before.at(x, y)) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
    ASSERT_LT(left, right) << "no grid";
    EXPECT_EQ((right - left) / cellW, 5) << right - left << " pixels wide, cells " << cellW;
    EXPECT_EQ((bottom - top) / cellH, 8) << bottom - top << " pixels tall, cells " << cellH;
    // A click beside the grid closes it, and its place shows the editor again.
    click(CPoint(5, 5));
    idle();
    EXPECT_FALSE(dynamic_cast<ZelCPopup*>(control(kTagOsc1WaveChooser))->isOpen());
    EXPECT_EQ(screen().values, before.values);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, EditorPixels, ::testing::Values(0, 1, 2, 3), SizeCaseName());

}  // namespace
