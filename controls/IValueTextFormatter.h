#pragma once
// Makes the read-out text of a knob: the editor implements it with
// formatParameterValue over the plug-in's engine.

#include <cstdint>

class CFixedString;

class IValueTextFormatter
{
public:
    virtual ~IValueTextFormatter() = default;

    // Replaces text by the read-out text of parameter tag at value. UI thread.
    virtual void formatValue(int32_t tag, float value, CFixedString& text) = 0;
};
