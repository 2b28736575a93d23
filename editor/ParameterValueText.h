#pragma once
// The text that the knob read-out shows for a parameter value: a pitch offset,
// a frequency, a time, "Off" or a percentage. Reads the engine's working values
// and display times, which must already match the value (the knob applies the
// value first). UI thread.

#include <cstdint>

class CFixedString;
class Dravenor;

// Replaces text by the read-out text of parameter index at value v; indexes
// without a unit of their own (also any above 81) show "v x 100 %". UI thread.
void formatParameterValue(int32_t index, CFixedString& text, float value, const Dravenor& engine);

// The text of a display time in ms: "%.2f ms" below 1000 ms, else "%.2f s". Any thread.
void formatDisplayTime(CFixedString& text, double milliseconds);
