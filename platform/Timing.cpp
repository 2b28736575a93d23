#include "platform/Timing.h"

#include <sched.h>

#include <cerrno>
#include <ctime>

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  struct timespec remaining;
  remaining.tv_sec = static_cast<time_t>(milliseconds / 1000);
  remaining.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
  // A signal cuts the sleep short; carry on with what is left.
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (frequency == nullptr) return FALSE;
  frequency->QuadPart = 1000000;  // ticks per second: microseconds
  return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (count == nullptr) return FALSE;
  struct timespec now;
  if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return FALSE;
  count->QuadPart = static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
  return TRUE;
}
