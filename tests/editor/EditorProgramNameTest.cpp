// A program renamed by the host with any bytes: the editor shows the name in its program
// box (bytes that are not UTF-8 as Latin-1) and draws everything else exactly as with a
// plain name. An invalid text used to stop all drawing after the program box, and each
// picture drawn after it leaked a pattern (the ASan build's leak check sees that).
#include <string>

#include "EditorTestSupport.h"
#include "tests/common/BitmapPixels.h"
#include "vstgui/lib/cdrawcontext.h"

using namespace VSTGUI;

namespace {

struct NameCase {
    const char* name;
    const char* hostBytes;  // what the host sends with effSetProgramName
    const char* shownAs;    // a valid UTF-8 name that must look exactly the same
};

const NameCase kNames[] = {
    {"Latin1", "Caf\xe9 Bass", "Caf\xc3\xa9 Bass"},
    {"StrayBytes", "\xff\xfeLead \x80\xc0\xaf Pad", "\xc3\xbf\xc3\xbeLead \xc2\x80\xc3\x80\xc2\xaf Pad"},
    {"CutInsideACharacter", "Warm Strings for the Long Nigh\xc3\xa9 End", "Warm Strings for the Long Nigh"},
    {"FourByteCharacter", "Keys \xf0\x9f\x8e\xb9", "Keys \xf0\x9f\x8e\xb9"},
    {"CutFourByteCharacter", "Bell \xf0\x9f\x8e", "Bell \xc3\xb0\xc2\x9f\xc2\x8e"},
    {"Noncharacter", "Pad \xef\xbf\xbe", "Pad \xc3\xaf\xc2\xbf\xc2\xbe"},
};

class EditorProgramName : public EditorFixture, public ::testing::WithParamInterface<uint8_t> {
protected:
    // The editor opened anew after the host named the current program.
    BitmapPixels openedWithName(const char* name) {
        dispatch(effSetProgramName, 0, 0, const_cast<char*>(name));
        editor->close();
        EXPECT_TRUE(editor->open(fakeParent()));
        idle();
        return BitmapPixels(frame()->getBackBuffer());
    }
    // Pixels that differ between a and b, inside or outside the rectangle.
    static int32_t differences(const BitmapPixels& a, const BitmapPixels& b, const CRect& box, bool inside) {
        int32_t n = 0;
        for (int32_t y = 0; y < a.height; ++y)
            for (int32_t x = 0; x < a.width; ++x)
                if (box.pointInside(CPoint(x, y)) == inside && a.at(x, y) != b.at(x, y)) ++n;
        return n;
    }
};

TEST_P(EditorProgramName, ShowsAnyBytesAndDrawsEverythingElse) {
    make(GetParam());
    const uint32_t failedBefore = CDrawContext::getFailedContextCount();
    const BitmapPixels plain = openedWithName("Init");
    const CRect box = control(kTagProgramMenu)->getViewSize();
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.name);
        const BitmapPixels reference = openedWithName(c.shownAs);
        const BitmapPixels shown = openedWithName(c.hostBytes);
        ASSERT_EQ(shown.values.size(), plain.values.size());
        EXPECT_EQ(differences(shown, plain, box, false), 0) << "outside the program box";
        EXPECT_EQ(differences(shown, reference, box, true), 0) << "the box shows the name as " << c.shownAs;
        EXPECT_GT(differences(shown, plain, box, true), 0) << "the box shows a name";
    }
    EXPECT_EQ(CDrawContext::getFailedContextCount(), failedBefore) << "a drawing pass stopped on an error";
}

INSTANTIATE_TEST_SUITE_P(Sizes, EditorProgramName, ::testing::Values(0, 1, 2, 3), SizeCaseName());

}  // namespace
