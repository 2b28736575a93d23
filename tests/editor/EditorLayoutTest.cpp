// Layout arithmetic: scales, text sizes, the 92 rectangles and the key geometry.
#include <gtest/gtest.h>

#include <cmath>

#include "editor/EditorLayout.h"
#include "engine/ParamControlTable.h"
#include "vstgui/lib/cfont.h"

namespace {

struct SizeCase {
    int32_t size;
    float scale;
    int32_t textSize;
    const char* name;
};

class LayoutSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(LayoutSizes, ScaleTextSizeAndName) {
    const SizeCase& c = GetParam();
    EXPECT_EQ(getUIScale(c.size), c.scale);
    EXPECT_EQ(getUITextSize(c.size), c.textSize);
    EXPECT_STREQ(uiSizeName(c.size), c.name);
}

TEST_P(LayoutSizes, RectanglesAreTheFlooredMasterRectangles) {
    const SizeCase& c = GetParam();
    layoutEditor(c.size);
    for (int32_t tag = 0; tag < kNumControls; ++tag) {
        const MasterRect m = masterControlRect(tag);
        const ParamControlInfo& e = paramControlTable[tag];
        EXPECT_EQ(e.left, static_cast<int32_t>(std::floor(static_cast<float>(m.left) * c.scale))) << tag;
        EXPECT_EQ(e.top, static_cast<int32_t>(std::floor(static_cast<float>(m.top) * c.scale))) << tag;
        EXPECT_EQ(e.right, static_cast<int32_t>(std::floor(static_cast<float>(m.right) * c.scale))) << tag;
        EXPECT_EQ(e.bottom, static_cast<int32_t>(std::floor(static_cast<float>(m.bottom) * c.scale))) << tag;
        if (e.kind == kNoControl) {
            EXPECT_EQ(e.left | e.top | e.right | e.bottom, 0) << "kind-8 entry " << tag << " has a rectangle";
        }
        if (e.kind == kKnobControl || e.kind == kWheelControl) {
            EXPECT_EQ(e.right, 0) << tag;  // the picture gives the size
            EXPECT_EQ(e.bottom, 0) << tag;
        }
    }
    EXPECT_EQ(VSTGUI::kSystemFont->getSize(), c.textSize);
    EXPECT_STREQ(VSTGUI::kSystemFont->getName(), "Verdana");
    const KeyboardGeometry& g = keyboardGeometry();
    EXPECT_EQ(g.originLeft, paramControlTable[kTagKeyboard].left);
    EXPECT_EQ(g.originTop, paramControlTable[kTagKeyboard].top);
    // The lower parts of the white keys tile the octave picture without gaps.
    for (int32_t i = 1; i < 7; ++i) EXPECT_EQ(g.white[i][1].left, g.white[i - 1][1].right) << i;
    EXPECT_EQ(g.white[6][1].right, std::floor(504.0f * c.scale));
}

INSTANTIATE_TEST_SUITE_P(AllSizes, LayoutSizes,
                         ::testing::Values(SizeCase{0, 0.25f, 9, "Small"}, SizeCase{1, 1.0f / 3.0f, 12, "Medium"},
                                           SizeCase{2, 0.5f, 18, "Large"}, SizeCase{3, 0.75f, 27, "Huge"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditorLayout, MediumExamples) {
    layoutEditor(1);
    const ParamControlInfo& knob = paramControlTable[kParamOsc1Coarse];
    EXPECT_EQ(knob.left, 172);
    EXPECT_EQ(knob.top, 36);
    const ParamControlInfo& keys = paramControlTable[kTagKeyboard];
    EXPECT_EQ(keys.left, 124);
    EXPECT_EQ(keys.top, 540);
    EXPECT_EQ(keys.right, 964);
    EXPECT_EQ(keys.bottom, 664);
    const KeyboardGeometry& g = keyboardGeometry();
    EXPECT_EQ(g.black[0].left, 14.0);    // floor(44 / 3)
    EXPECT_EQ(g.black[0].right, 28.0);
    EXPECT_EQ(g.black[4].bottom, 76.0);  // 228 / 3
    EXPECT_EQ(g.white[1][0].left, 28.0); // floor(86 / 3)
    EXPECT_EQ(g.white[1][1].top, 76.0);  // floor(230 / 3)
    EXPECT_EQ(g.white[6][1].bottom, 122.0);
}

TEST(EditorLayout, LastLayoutWinsForTheWholeProcess) {
    layoutEditor(3);
    layoutEditor(0);
    EXPECT_EQ(paramControlTable[kParamOsc1Coarse].left, 129);  // 516 / 4
    EXPECT_EQ(keyboardGeometry().originLeft, 93);
    EXPECT_EQ(VSTGUI::kSystemFont->getSize(), 9);
}

TEST(EditorLayout, OddIndexesAndTagsAreSafe) {
    EXPECT_EQ(getUIScale(7), 1.0f / 3.0f);
    EXPECT_EQ(getUIScale(-1), 1.0f / 3.0f);
    EXPECT_STREQ(uiSizeName(4), "");
    EXPECT_EQ(clampUISize(-3), 0);
    EXPECT_EQ(clampUISize(200), 3);
    const MasterRect none = masterControlRect(92);
    EXPECT_EQ(none.left | none.top | none.right | none.bottom, 0);
    // The wave choosers lie exactly over the wave displays.
    for (int32_t i = 0; i < 2; ++i) {
        const MasterRect d = masterControlRect(kParamOsc1Wave + i), c = masterControlRect(kTagOsc1WaveChooser + i);
        EXPECT_EQ(d.left, c.left);
        EXPECT_EQ(d.top, c.top);
        EXPECT_EQ(d.right, c.right);
        EXPECT_EQ(d.bottom, c.bottom);
    }
}

}  // namespace
