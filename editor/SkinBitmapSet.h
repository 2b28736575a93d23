#pragma once
// The process-wide skin: the 16 pictures decoded from the module's PNG resources
// and one scaled copy of each per UISize, with the engine's waves drawn into the
// two wave strips. Shared by every editor object through a reference count.
// Everything runs on the UI thread.

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

// Takes one reference on the set; the first loads the 16 sources. UI thread.
void loadSkinBitmaps();
// Drops one reference; the last frees every source and scaled copy. UI thread.
void releaseSkinBitmaps();
// Makes the copies of a size (0..3) that it lacks: the background alone, or every
// picture with the wave previews drawn in. A fully built size is never built again. UI thread.
void buildSkinBitmaps(int32_t size, bool backgroundOnly);
// A new bitmap decoded from the PNG resource id, or null when missing or undecodable. UI thread.
VSTGUI::CBitmap* loadSkinBitmap(int32_t resourceId);
// Draws waves 1..39 into the frames of a wave strip at the size's scale (frame 0 stays
// empty); a chooser strip gets each curve in both halves. UI thread.
void drawWaveformStrip(VSTGUI::CBitmap* strip, int32_t size, bool forChooser);

// The scaled copy of a picture for a size (0..3), or null (not built, missing). UI thread.
VSTGUI::CBitmap* getSkinBitmap(SkinPicture picture, int32_t size);
// The loaded source of a picture, or null. UI thread.
VSTGUI::CBitmap* getSkinSource(SkinPicture picture);
// Puts a bitmap (the set takes one reference) in place of a size's background. UI thread.
void setSkinBackground(int32_t size, VSTGUI::CBitmap* bitmap);
// Width and height of a size's copy of a picture; 0 when there is none. UI thread.
double skinBitmapWidth(SkinPicture picture, int32_t size);
double skinBitmapHeight(SkinPicture picture, int32_t size);

// What the set has done, for tests and diagnostics.
struct SkinBitmapStats {
    int32_t refCount;          // editor objects holding the set
    bool loaded;               // sources loaded
    int32_t loads;             // times the sources were loaded in this process
    int32_t fullBuilds[4];     // times each size was fully built in this process
    bool built[4];             // size fully built now
};
SkinBitmapStats skinBitmapStats();
