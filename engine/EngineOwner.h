#pragma once
// What the engine needs of the object that owns it (the plug-in), so that the
// engine builds and is tested without any plug-in header.

#include <cstdint>

class EngineOwner {
public:
    // Stores a parameter value, lets the engine convert it and tells an open editor
    // (the owner's own setParameter path). Called by Dravenor::setProgram; audio or UI thread.
    virtual void applyParameter(int32_t index, float value) = 0;
    // True when the host's vendor string is "Image-Line" (keeps chorus lines on program change). Any thread.
    virtual bool isImageLineHost() const = 0;
    // True when the host's vendor string is "Steinberg" (keeps chorus lines on program change). Any thread.
    virtual bool isSteinbergHost() const = 0;

protected:
    ~EngineOwner() = default;
};
