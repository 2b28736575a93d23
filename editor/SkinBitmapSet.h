#pragma once
// The process-wide skin: the 16 pictures decoded from the module's PNG resources
// and one scaled copy of each per UISize, with the engine's waves drawn into the
// two wave strips. Shared by every editor object through a reference count.
// Taking the first reference reads only the pictures' sizes from their PNG headers,
// so that an editor knows its size at once; a picture is decoded (once while the set
// is held) and a copy scaled the first time anything asks for its pixels.
// Everything is called on the UI thread and runs on it.

#include <cstdint>

#include "vstgui/lib/vstguifwd.h"

// The skin pictures, in the order of the set.
enum SkinPicture : int32_t {
    kBackgroundBitmap = 0,
    kButtonBitmap,
    kOptionsButtonBitmap,
    kProgramStepBitmap,
    kWaveStepBitmap,
    kKnobBitmap,
    kWaveDisplayBitmap,
    kWaveChooserBitmap,
    kKeysOctaveBitmapA,
    kKeysWhiteHeldBitmap,
    kKeysOctaveBitmapB,
    kKeysBlackHeldBitmap,
    kWheelBitmap,
    kRoutingDiagramBitmap,
    kFourWaySwitchBitmap,
    kThreeWaySwitchBitmap,
    kSkinPictureCount
};

// Resource id of a picture (128 for the background ...); 0 outside the set. Any thread.
int32_t skinResourceId(SkinPicture picture);

// Takes one reference on the set; the first reads the 16 pictures' sizes (no decoding). UI thread.
void loadSkinBitmaps();
// Drops one reference; the last frees every decoded source and scaled copy. UI thread.
void releaseSkinBitmaps();
// Makes the copies of a size (0..3) that it lacks: the background alone, or every
// picture with the wave previews drawn in. A fully built size is never built again. UI thread.
void buildSkinBitmaps(int32_t size, bool backgroundOnly);
// A new bitmap decoded from the PNG resource id, or null when missing or undecodable. UI thread.
VSTGUI::CBitmap* loadSkinBitmap(int32_t resourceId);
// Draws waves 1..39 into the frames of a wave strip at the size's scale (frame 0 stays
// empty); a chooser strip gets each curve in both halves. UI thread.
void drawWaveformStrip(VSTGUI::CBitmap* strip, int32_t size, bool forChooser);

// The scaled copy of a picture for a size (0..3), made (and its source decoded) on the
// first request while the set is held; null when the picture is missing or the set is
// not held. UI thread.
VSTGUI::CBitmap* getSkinBitmap(SkinPicture picture, int32_t size);
// The decoded source of a picture, decoded on the first request while the set is held;
// null when missing or not held. UI thread.
VSTGUI::CBitmap* getSkinSource(SkinPicture picture);
// Puts a bitmap (the set takes one reference) in place of a size's background. UI thread.
void setSkinBackground(int32_t size, VSTGUI::CBitmap* bitmap);
// Width and height of a size's copy of a picture, known from the picture's header
// before the copy is made (nothing is decoded); 0 when there is none. UI thread.
double skinBitmapWidth(SkinPicture picture, int32_t size);
double skinBitmapHeight(SkinPicture picture, int32_t size);

// What the set has done, for tests and diagnostics.
struct SkinBitmapStats {
    int32_t refCount;          // editor objects holding the set
    bool loaded;               // the set is held: the pictures' sizes are known
    int32_t loads;             // times the set was taken up from nothing in this process
    int32_t decodes;           // pictures decoded in this process
    int32_t decoded;           // pictures decoded and held now
    int32_t fullBuilds[4];     // times each size was fully built in this process
    bool built[4];             // size fully built now
};
SkinBitmapStats skinBitmapStats();
