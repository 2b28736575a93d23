// Checks the committed skin pictures: ids, sizes, opacity, frame borders,
// neighbouring frames, and that controls and keys fit the background.
#include "SkinImage.h"
#include "SkinLayout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <ostream>
#include <vector>
#include <string>

namespace {

struct Expected {
    int id;
    int width, height;
    int frames;        // stacked vertically
    int columns;       // side by side (the wave chooser's plain and highlighted halves)
    int border;        // master pixels of one colour at every frame edge (0 = single picture)
};

constexpr Expected kExpected[] = {
    {128, 3000, 2016, 1, 1, 0},   {125, 60, 96, 2, 1, 8},      {123, 132, 168, 2, 1, 8},
    {124, 84, 360, 3, 1, 8},      {152, 72, 432, 3, 1, 8},     {136, 156, 9828, 63, 1, 12},
    {126, 204, 3840, 40, 1, 8},   {127, 408, 3840, 40, 2, 8},  {119, 504, 368, 1, 1, 0},
    {120, 504, 368, 1, 1, 0},     {121, 504, 368, 1, 1, 0},    {130, 504, 368, 1, 1, 0},
    {118, 48, 26936, 91, 1, 8},   {155, 360, 396, 3, 1, 8},    {156, 120, 768, 4, 1, 8},
    {157, 204, 432, 3, 1, 8},
};

// Names the parameter in test names and messages.
std::ostream& operator<<(std::ostream& os, const Expected& e) { return os << "picture " << e.id; }

std::vector<Expected> framed() {
    std::vector<Expected> v;
    for (const Expected& e : kExpected)
        if (e.frames > 1) v.push_back(e);
    return v;
}

std::string idName(const testing::TestParamInfo<Expected>& info) { return std::to_string(info.param.id); }

const std::string kDir = QUILM_RESOURCES_DIR;

// Resource id -> file path, from the leading number of every PNG's name.
std::map<int, std::string> pngFiles(std::vector<std::string>* unnamed = nullptr) {
    std::map<int, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kDir)) {
        if (entry.path().extension() != ".png") continue;
        const std::string name = entry.path().filename().string();
        size_t digits = 0;
        while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
        if (digits == 0 || digits >= name.size() || name[digits] != '-') {
            if (unnamed) unnamed->push_back(name);
            continue;
        }
        files[std::stoi(name.substr(0, digits))] = entry.path().string();
    }
    return files;
}

const SkinImage& picture(int id) {
    static std::map<int, SkinImage> cache;
    auto it = cache.find(id);
    if (it == cache.end()) {
        const auto files = pngFiles();
        auto f = files.find(id);
        it = cache.emplace(id, f == files.end() ? SkinImage{} : SkinImage::load(f->second)).first;
    }
    return it->second;
}

TEST(SkinPictures, FolderHoldsTheSixteenPicturesByIdAndNothingElse) {
    std::vector<std::string> unnamed;
    const auto files = pngFiles(&unnamed);
    EXPECT_TRUE(unnamed.empty()) << "PNG without a leading id: " << (unnamed.empty() ? "" : unnamed[0]);
    EXPECT_EQ(files.size(), std::size(kExpected));
    for (const Expected& e : kExpected) EXPECT_EQ(files.count(e.id), 1u) << "missing picture " << e.id;
}

class EachPicture : public testing::TestWithParam<Expected> {};

TEST_P(EachPicture, HasItsExactSizeAndIsOpaque) {
    const Expected& e = GetParam();
    const SkinImage& img = picture(e.id);
    ASSERT_FALSE(img.rgb.empty()) << "cannot read picture " << e.id;
    EXPECT_EQ(img.width, e.width);
    EXPECT_EQ(img.height, e.height);
    EXPECT_TRUE(img.opaque);
    EXPECT_EQ(e.height % e.frames, 0);
}

INSTANTIATE_TEST_SUITE_P(SkinPictures, EachPicture, testing::ValuesIn(kExpected), idName);

class EachStrip : public testing::TestWithParam<Expected> {};

TEST_P(EachStrip, FramesKeepAnEvenBorder) {
    const Expected& e = GetParam();
    const SkinImage& img = picture(e.id);
    ASSERT_EQ(img.height, e.height);
    const int fw = e.width / e.columns, fh = e.height / e.frames;
    for (int f = 0; f < e.frames; ++f)
        for (int col = 0; col < e.columns; ++col)
            EXPECT_TRUE(img.ringIsEven(col * fw, f * fh, fw, fh, e.border, nullptr))
                << "picture " << e.id << " frame " << f << " column " << col;
}

TEST_P(EachStrip, NeighbouringFramesDiffer) {
    const Expected& e = GetParam();
    const SkinImage& img = picture(e.id);
    ASSERT_EQ(img.height, e.height);
    for (int f = 1; f < e.frames; ++f)
        EXPECT_FALSE(img.framesEqual(e.height / e.frames, f - 1, f)) << "picture " << e.id << " frames " << f - 1
                                                                     << " and " << f;
}

INSTANTIATE_TEST_SUITE_P(SkinPictures, EachStrip, testing::ValuesIn(framed()), idName);

// Where a control's picture (frame 0) lands on the background, the background
// must already show the picture's border colour, so the opaque picture's
// edges do not show (the knobs overlap by 12 px and need 12 px of panel).
TEST(SkinPictures, ControlBordersMatchTheBackgroundBeneath) {
    namespace lay = skin::layout;
    const SkinImage& bg = picture(128);
    ASSERT_EQ(bg.width, 3000);
    const std::map<int, int> pictureOfKind = {
        {lay::kKnob, 136},         {lay::kOnOff, 125},        {lay::kOptionsMenu, 123},
        {lay::kProgramStep, 124},  {lay::kWaveStep, 152},     {lay::kWaveDisplay, 126},
        {lay::kWheel, 118},        {lay::kDiagram, 155},
    };
    int checked = 0;
    for (const lay::Control& c : lay::controls()) {
        int id = 0;
        if (c.kind == lay::kVerticalSwitch) id = c.variant == 1 ? 156 : 157;
        else if (auto it = pictureOfKind.find(c.kind); it != pictureOfKind.end()) id = it->second;
        if (id == 0) continue;
        const Expected* e = nullptr;
        for (const Expected& x : kExpected)
            if (x.id == id) e = &x;
        const SkinImage& pic = picture(id);
        ASSERT_EQ(pic.width, e->width);
        const int fw = e->width / e->columns, fh = e->height / e->frames;
        uint32_t edge = 0;
        ASSERT_TRUE(pic.ringIsEven(0, 0, fw, fh, e->border, &edge));
        uint32_t under = 0;
        EXPECT_TRUE(bg.ringIsEven(c.left, c.top, fw, fh, e->border, &under)) << "tag " << c.tag;
        EXPECT_EQ(under, edge) << "tag " << c.tag;
        ++checked;
    }
    // 66 knobs, 5 buttons, 2 switches, 2 wheels, the routing diagram, 2 wave
    // displays, the options button and 3 step buttons.
    EXPECT_EQ(checked, 82);
}

// The background's keyboard is five resting octaves; the held pictures differ
// from the resting one inside their own keys only, and in every one of them.
TEST(SkinPictures, KeyPicturesFitTheBackgroundKeyboard) {
    namespace lay = skin::layout;
    const SkinImage& bg = picture(128);
    const SkinImage& rest = picture(119);
    ASSERT_EQ(rest.width, 504);
    const skin::Rect keys = lay::controlRect(85);
    for (int o = 0; o < lay::kOctaves; ++o)
        for (int y = 0; y < 368; ++y)
            for (int x = 0; x < 504; ++x)
                ASSERT_EQ(bg.at(int(keys.left) + o * 504 + x, int(keys.top) + y), rest.at(x, y))
                    << "octave " << o << " at " << x << "," << y;
}

bool inside(const skin::Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

struct HeldCase {
    int id;
    bool white;
};
std::ostream& operator<<(std::ostream& os, const HeldCase& h) { return os << "picture " << h.id; }

class HeldKeys : public testing::TestWithParam<HeldCase> {};

TEST_P(HeldKeys, LightTheirOwnKeysOnly) {
    namespace lay = skin::layout;
    const SkinImage& rest = picture(119);
    const SkinImage& held = picture(GetParam().id);
    ASSERT_EQ(held.width, 504);
    std::vector<skin::Rect> lit;
    if (GetParam().white) {
        for (const auto& r : lay::whiteKeysUpper()) lit.push_back(r);
        for (const auto& r : lay::whiteKeysLower()) lit.push_back(r);
    } else {
        for (const auto& r : lay::blackKeys()) lit.push_back(r);
    }
    std::vector<int> changed(lit.size(), 0);
    for (int y = 0; y < 368; ++y)
        for (int x = 0; x < 504; ++x) {
            if (rest.at(x, y) == held.at(x, y)) continue;
            bool found = false;
            for (size_t i = 0; i < lit.size(); ++i)
                if (inside(lit[i], x, y)) ++changed[i], found = true;
            ASSERT_TRUE(found) << "held picture " << GetParam().id << " differs outside its keys at " << x << ","
                               << y;
        }
    for (size_t i = 0; i < lit.size(); ++i)
        EXPECT_GT(changed[i], 100) << "key rectangle " << i << " is not visibly lit";
}

INSTANTIATE_TEST_SUITE_P(SkinPictures, HeldKeys, testing::Values(HeldCase{120, true}, HeldCase{130, false}));

// The row of the wheel's bright marker line in one frame.
int markerRow(const SkinImage& wheel, int frame) {
    for (int y = 0; y < 296; ++y)
        if (wheel.at(24, frame * 296 + y) == 0xF6F6F2) return y;
    return -1;
}

TEST(SkinPictures, WheelMovesFromUpThroughCentreToDown) {
    const SkinImage& wheel = picture(118);
    ASSERT_EQ(wheel.height, 26936);
    int previous = -1;
    for (int f = 0; f < 91; ++f) {
        const int row = markerRow(wheel, f);
        ASSERT_GE(row, 0) << "frame " << f;
        EXPECT_GT(row, previous) << "frame " << f;
        previous = row;
    }
    EXPECT_NEAR(markerRow(wheel, 45) + 4, 148, 2);   // 8 px line centred in 296
    EXPECT_LT(markerRow(wheel, 0), 60);
    EXPECT_GT(markerRow(wheel, 90), 230);
}

// Mean position of the knob pointer's pixels relative to the frame's centre.
void pointerDirection(const SkinImage& knob, int frame, double* dx, double* dy) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int y = 0; y < 156; ++y)
        for (int x = 0; x < 156; ++x)
            if (knob.at(x, frame * 156 + y) == 0xF6F6F2) sx += x - 78, sy += y - 78, ++n;
    *dx = n ? sx / n : 0;
    *dy = n ? sy / n : 0;
}

TEST(SkinPictures, KnobPointsFromSevenToFiveOClock) {
    const SkinImage& knob = picture(136);
    ASSERT_EQ(knob.height, 9828);
    double dx = 0, dy = 0;
    pointerDirection(knob, 0, &dx, &dy);
    EXPECT_LT(dx, -5);
    EXPECT_GT(dy, 5);
    pointerDirection(knob, 31, &dx, &dy);
    EXPECT_NEAR(dx, 0, 2);
    EXPECT_LT(dy, -10);
    pointerDirection(knob, 62, &dx, &dy);
    EXPECT_GT(dx, 5);
    EXPECT_GT(dy, 5);
}

}  // namespace
