// Sleep and the performance counter.
#pragma once

#include "platform/WinTypes.h"

// Pauses the calling thread for `milliseconds` ms (0: gives up the time slice).
// Never on the audio thread.
void Sleep(DWORD milliseconds);

// Counter ticks per second: 1000000 (the counter counts microseconds). Any thread.
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

// The monotonic clock in microseconds since an arbitrary start. Any thread.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
