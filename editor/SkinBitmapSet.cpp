// The skin pictures: sizes from the PNG headers, decoding and scaling on first
// use, and the wave previews.
#include "editor/SkinBitmapSet.h"

#include <algorithm>

#include "editor/EditorLayout.h"
#include "engine/WaveTableBank.h"
#include "graphics/BitmapScaling.h"
#include "graphics/CPixelCanvas.h"
#include "graphics/ImageLoader.h"
#include "vstgui/lib/cbitmap.h"

using VSTGUI::CBitmap;

namespace {

struct PictureInfo {
    int32_t resourceId;
    int32_t verticalFrames;    // frame counts handed to the scaling
    int32_t horizontalFrames;
};

// Order of the set; loaded in this order.
constexpr PictureInfo kPictures[kSkinPictureCount] = {
    {128, 1, 1},   // background 3000 x 2016
    {125, 2, 1},   // on/off button, two states
    {123, 2, 1},   // options menu button
    {124, 3, 1},   // program step buttons
    {152, 3, 1},   // wave step buttons
    {136, 63, 1},  // knob, 63 frames
    {126, 160, 4}, // wave display: 40 frames kept whole pixels high and 4-pixel wide
    {127, 160, 8}, // wave chooser: 40 rows, two halves
    {119, 1, 1},   // keyboard octave
    {120, 1, 1},   // octave, white keys held
    {121, 1, 1},   // keyboard octave
    {130, 1, 1},   // octave, black keys held
    {118, 91, 1},  // wheel, 91 frames
    {155, 3, 1},   // routing diagram
    {156, 4, 1},   // four-position switch
    {157, 3, 1},   // three-position switch
};

constexpr int32_t kWaveFrames = 40;          // frame 0 = oscillator off, 1..39 the waves
constexpr uint8_t kCurveRed = 236, kCurveGreen = 239, kCurveBlue = 242;

struct SkinSet {
    CBitmap* source[kSkinPictureCount]{};
    VSTGUI::CPoint sourceSize[kSkinPictureCount]{};  // from the PNG header; 0 x 0 when missing
    bool decodeTried[kSkinPictureCount]{};           // a failed decode is not tried again
    CBitmap* scaled[kSkinPictureCount][kUISizeCount]{};
    int32_t refCount = 0;
    bool loaded = false;
    bool built[kUISizeCount]{};
    int32_t loads = 0;
    int32_t decodes = 0;
    int32_t fullBuilds[kUISizeCount]{};
};

SkinSet& skin() {
    static SkinSet set;
    return set;
}

bool validPicture(SkinPicture picture) { return picture >= 0 && picture < kSkinPictureCount; }
bool validSize(int32_t size) { return size >= 0 && size < kUISizeCount; }

// The decoded source, decoded on the first call while the set is held.
CBitmap* sourceOf(SkinPicture picture) {
    SkinSet& set = skin();
    if (set.loaded && !set.decodeTried[picture]) {
        set.decodeTried[picture] = true;
        if (set.sourceSize[picture].x > 0) set.source[picture] = loadSkinBitmap(kPictures[picture].resourceId);
        if (set.source[picture] != nullptr) set.decodes += 1;
    }
    return set.source[picture];
}

void makeCopy(SkinPicture picture, int32_t size) {
    SkinSet& set = skin();
    if (set.scaled[picture][size] != nullptr) return;
    CBitmap* source = sourceOf(picture);
    if (source == nullptr) return;
    const PictureInfo& info = kPictures[picture];
    set.scaled[picture][size] =
        scaleBitmapToFrames(source, getUIScale(size), info.verticalFrames, info.horizontalFrames, true);
    if (set.scaled[picture][size] == nullptr) return;
    if (picture == kWaveDisplayBitmap) drawWaveformStrip(set.scaled[picture][size], size, false);
    if (picture == kWaveChooserBitmap) drawWaveformStrip(set.scaled[picture][size], size, true);
}

// Width and height a copy has or will have: the copy's own, else the scaled header size.
VSTGUI::CPoint copySize(SkinPicture picture, int32_t size) {
    if (!validPicture(picture) || !validSize(size)) return {};
    const SkinSet& set = skin();
    if (const CBitmap* copy = set.scaled[picture][size]) return copy->getSize();
    if (!set.loaded || (set.decodeTried[picture] && set.source[picture] == nullptr)) return {};
    const PictureInfo& info = kPictures[picture];
    int32_t width = 0, height = 0;
    computeScaledSize(set.sourceSize[picture].x, set.sourceSize[picture].y, getUIScale(size), info.verticalFrames,
                      info.horizontalFrames, width, height);
    return VSTGUI::CPoint(width, height);
}

}  // namespace

int32_t skinResourceId(SkinPicture picture) { return validPicture(picture) ? kPictures[picture].resourceId : 0; }

CBitmap* loadSkinBitmap(int32_t resourceId) {
    auto* bitmap = new CBitmap(VSTGUI::CResourceDescription(resourceId));
    if (bitmap->getPlatformBitmap() == nullptr) {
        bitmap->forget();
        return nullptr;
    }
    return bitmap;
}

void loadSkinBitmaps() {
    SkinSet& set = skin();
    set.refCount += 1;
    if (set.loaded) return;
    for (int32_t size = 0; size < kUISizeCount; ++size) set.built[size] = false;
    for (int32_t p = 0; p < kSkinPictureCount; ++p) {
        for (int32_t size = 0; size < kUISizeCount; ++size) set.scaled[p][size] = nullptr;
        set.source[p] = nullptr;
        set.decodeTried[p] = false;
        set.sourceSize[p] = {};
        VSTGUI::IPlatformBitmap::readResourceSize(VSTGUI::CResourceDescription(kPictures[p].resourceId),
                                                  set.sourceSize[p]);
    }
    set.loaded = true;
    set.loads += 1;
}

void releaseSkinBitmaps() {
    SkinSet& set = skin();
    set.refCount -= 1;
    if (set.refCount >= 1) return;
    for (int32_t p = 0; p < kSkinPictureCount; ++p) {
        releaseBitmap(&set.source[p]);
        for (int32_t size = 0; size < kUISizeCount; ++size) releaseBitmap(&set.scaled[p][size]);
    }
    for (int32_t size = 0; size < kUISizeCount; ++size) set.built[size] = false;
    set.loaded = false;
    set.refCount = 0;
}

void buildSkinBitmaps(int32_t size, bool backgroundOnly) {
    if (!validSize(size)) return;
    SkinSet& set = skin();
    if (set.built[size]) return;
    if (!backgroundOnly) {
        set.built[size] = true;
        set.fullBuilds[size] += 1;
    }
    const int32_t last = backgroundOnly ? kBackgroundBitmap + 1 : kSkinPictureCount;
    for (int32_t p = kBackgroundBitmap; p < last; ++p) makeCopy(static_cast<SkinPicture>(p), size);
}

void drawWaveformStrip(CBitmap* strip, int32_t size, bool forChooser) {
    if (strip == nullptr || strip->getPlatformBitmap() == nullptr) return;
    const float scale = getUIScale(size);
    const int32_t n = static_cast<int32_t>(120.0f * scale);     // points per curve
    const int32_t x0 = static_cast<int32_t>(22.0f * scale);     // curve start from the frame's left
    const int32_t y0 = static_cast<int32_t>(20.0f * scale);     // curve base above the frame's bottom
    const int32_t amp = static_cast<int32_t>(48.0f * scale);    // curve height for samples -1..1
    const float width = static_cast<float>(strip->getWidth());
    const float height = static_cast<float>(strip->getHeight());
    const int32_t rowStep = static_cast<int32_t>(height / static_cast<float>(kWaveFrames));
    const int32_t shift = forChooser ? static_cast<int32_t>(width * 0.5f) : 0;
    if (n < 2) return;

    CPixelCanvas canvas(strip, 1, 1);
    canvas.lineWeight = size == 0 ? 1 : (size == 3 ? 3 : 2);
    if (canvas.pointBuffer == nullptr || static_cast<int32_t>(canvas.getWidth()) < n) return;
    CanvasPoint* points = canvas.pointBuffer.get();
    // The canvas counts rows from the bottom: the first curve (wave 39) lands in the
    // bottom frame, wave 1 in the second from the top, frame 0 stays empty.
    for (int32_t k = 0; k < WaveTableBank::kWaveCount; ++k) {
        const float* wave = WaveTableBank::wave(WaveTableBank::kWaveCount - k);
        if (wave == nullptr) continue;
        const int32_t base = y0 + k * rowStep;
        for (int32_t i = 0; i < n; ++i) {
            const int32_t sample =
                static_cast<int32_t>(static_cast<float>(i) * 2047.0f / static_cast<float>(n - 1));
            const float level = std::min(1.0f, std::max(0.0f, (wave[sample] + 1.0f) * 0.5f));
            points[i].x = static_cast<float>(x0 + i);
            points[i].y = static_cast<float>(base) + level * static_cast<float>(amp);
        }
        canvas.drawPolyline(points, n, kCurveRed, kCurveGreen, kCurveBlue, 255);
        if (forChooser) {
            for (int32_t i = 0; i < n; ++i) points[i].x += static_cast<float>(shift);
            canvas.drawPolyline(points, n, kCurveRed, kCurveGreen, kCurveBlue, 255);
        }
    }
    canvas.copyToBitmap(strip);
}

CBitmap* getSkinBitmap(SkinPicture picture, int32_t size) {
    if (!validPicture(picture) || !validSize(size)) return nullptr;
    if (skin().loaded) makeCopy(picture, size);
    return skin().scaled[picture][size];
}

CBitmap* getSkinSource(SkinPicture picture) { return validPicture(picture) ? sourceOf(picture) : nullptr; }

void setSkinBackground(int32_t size, CBitmap* bitmap) {
    if (!validSize(size)) return;
    SkinSet& set = skin();
    if (bitmap != nullptr) bitmap->remember();
    releaseBitmap(&set.scaled[kBackgroundBitmap][size]);
    set.scaled[kBackgroundBitmap][size] = bitmap;
}

double skinBitmapWidth(SkinPicture picture, int32_t size) { return copySize(picture, size).x; }

double skinBitmapHeight(SkinPicture picture, int32_t size) { return copySize(picture, size).y; }

SkinBitmapStats skinBitmapStats() {
    const SkinSet& set = skin();
    SkinBitmapStats stats{};
    stats.refCount = set.refCount;
    stats.loaded = set.loaded;
    stats.loads = set.loads;
    stats.decodes = set.decodes;
    for (const CBitmap* source : set.source) stats.decoded += source != nullptr ? 1 : 0;
    for (int32_t size = 0; size < kUISizeCount; ++size) {
        stats.fullBuilds[size] = set.fullBuilds[size];
        stats.built[size] = set.built[size];
    }
    return stats;
}
