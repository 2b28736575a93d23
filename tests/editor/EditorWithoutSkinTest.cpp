// The editor in a module without its skin pictures: the placeholder background
// gives it a size at every editor size, the controls are still built (with
// rectangles from pictures that count as 0), and nothing crashes.
#include "EditorTestSupport.h"
#include "editor/SkinBitmapSet.h"

using namespace VSTGUI;

namespace {

class EditorWithoutSkin : public EditorFixture, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(EditorWithoutSkin, OpensWithThePlaceholder) {
    make(GetParam(), false);
    EXPECT_EQ(getSkinSource(kBackgroundBitmap), nullptr);
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 400);
    EXPECT_EQ(rect->bottom, 400);
    ASSERT_TRUE(editor->open(fakeParent()));
    EXPECT_EQ(frame()->getWidth(), 400);
    for (int32_t tag = 0; tag < kNumControls; ++tag)
        EXPECT_EQ(control(tag) != nullptr, paramControlTable[tag].kind != kNoControl) << tag;
    EXPECT_EQ(control(kParamFltCutoff)->getViewSize().getWidth(), 0);
    // Drawing, clicking, feedback and the menus all run without pictures.
    idle(2);
    frame()->invalidRect(CRect(0, 0, 400, 400));
    idle();
    click(CPoint(100, 100));
    editor->setParameter(kParamOsc1Wave, 0.5f);
    synth->selectProgram(7);
    idle(2);
    EXPECT_EQ(editor->getCurrentProgram(), 7);
    editor->close();
}

INSTANTIATE_TEST_SUITE_P(Sizes, EditorWithoutSkin, ::testing::Values(0, 1, 2, 3), SizeCaseName());

TEST_F(EditorFixture, SizeChangeWithoutPicturesKeepsThePlaceholder) {
    FakeWindows windows;
    windows.window = RECT{0, 0, 400, 400};
    make(1);
    editor->setUISize(3);
    idle();
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(frame()->getWidth(), 400);
    ASSERT_EQ(windows.positions.size(), 1u);
    EXPECT_EQ(windows.positions[0][2], 400);
}

}  // namespace
