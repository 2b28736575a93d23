#include "platform/Timing.h"

#include <gtest/gtest.h>

namespace {

TEST(TimingTest, CounterCountsMicrosecondsOfTheMonotonicClock) {
  LARGE_INTEGER frequency = {0};
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 1000000);

  LARGE_INTEGER before = {0};
  LARGE_INTEGER after = {0};
  ASSERT_TRUE(QueryPerformanceCounter(&before));
  Sleep(0);
  Sleep(20);
  ASSERT_TRUE(QueryPerformanceCounter(&after));
  // Sleep never returns early: at least 20 ms of counter ticks have passed.
  EXPECT_GE(after.QuadPart - before.QuadPart, 20000);

  EXPECT_FALSE(QueryPerformanceFrequency(nullptr));
  EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

}  // namespace
