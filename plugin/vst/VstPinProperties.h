#pragma once
// Description of one audio input or output pin (effGetInputProperties /
// effGetOutputProperties).

#include <cstddef>
#include <cstdint>

enum VstPinPropertiesFlags : int32_t {
    kVstPinIsActive = 1,
    kVstPinIsStereo = 1 << 1,
    kVstPinUseSpeaker = 1 << 2,
};

inline constexpr int kVstMaxLabelLen = 64;
inline constexpr int kVstMaxShortLabelLen = 8;

struct VstPinProperties {
    char label[kVstMaxLabelLen];          // NUL-terminated
    int32_t flags;                        // VstPinPropertiesFlags
    int32_t arrangementType;              // speaker arrangement type
    char shortLabel[kVstMaxShortLabelLen];
    char future[48];
};

static_assert(offsetof(VstPinProperties, label) == 0);
static_assert(offsetof(VstPinProperties, flags) == 64);
static_assert(offsetof(VstPinProperties, arrangementType) == 68);
static_assert(offsetof(VstPinProperties, shortLabel) == 72);
static_assert(offsetof(VstPinProperties, future) == 80);
static_assert(sizeof(VstPinProperties) == 128);
