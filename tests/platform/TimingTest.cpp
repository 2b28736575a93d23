#include "platform/Timing.h"

#include <gtest/gtest.h>

namespace {

TEST(TimingTest, CounterCountsMicrosecondsOfTheMonotonicClock) {
  LARGE_INTEGER frequency = {0}, before = {0}, after = {0};
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_EQ(frequency.QuadPart, 1000000);
  ASSERT_TRUE(QueryPerformanceCounter(&before));
  Sleep(0);
  Sleep(20);
  ASSERT_TRUE(QueryPerformanceCounter(&after));
  EXPECT_GE(after.QuadPart - before.QuadPart, 20000) << "Sleep never returns early";
  EXPECT_FALSE(QueryPerformanceFrequency(nullptr));
  EXPECT_FALSE(QueryPerformanceCounter(nullptr));
}

}  // namespace
