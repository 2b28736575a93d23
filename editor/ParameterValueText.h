#pragma once
// The text that the knob read-out shows for a parameter value: a pitch offset,
// a frequency, a time, "Off" or a percentage, naming what the value plays. Made
// from the value, the live values of the parameters a text depends on (PercEnv,
// the sync switches, Out-High) and the engine's rate, through the conversion's
// own functions, so it is right before the thread that renders has applied them.

#include <cstdint>

class CFixedString;
class Dravenor;

// Replaces text by the read-out text of parameter index at value v; indexes
// without a unit of their own (also any above 81) show "v x 100 %". UI thread.
void formatParameterValue(int32_t index, CFixedString& text, float value, const Dravenor& engine);

// The text of a display time in ms: "%.2f ms" below 1000 ms, else "%.2f s". Any thread.
void formatDisplayTime(CFixedString& text, double milliseconds);
