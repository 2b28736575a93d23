#include "platform/WindowSystem.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A parent window 1020 x 702 at (1000, 600) that records the moves asked of it.
class FakeWindowSystem : public WindowSystem {
 public:
  struct Move {
    HWND window;
    HWND insertAfter;
    int x, y, width, height;
    UINT flags;
  };

  BOOL getWindowRect(HWND window, RECT* rect) override {
    if (window != known_) return FALSE;
    *rect = RECT{1000, 600, 2020, 1302};
    return TRUE;
  }
  BOOL setWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) override {
    moves.push_back({window, insertAfter, x, y, width, height, flags});
    return window == known_;
  }

  std::vector<Move> moves;
  HWND known_ = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x2a00007));
};

TEST(WindowSystemTest, WithoutImplementationCallsFailWithEmptyRectangle) {
  ASSERT_EQ(windowSystem(), nullptr);
  RECT rect = {1, 2, 3, 4};
  EXPECT_FALSE(GetWindowRect(reinterpret_cast<HWND>(1), &rect));
  EXPECT_EQ(rect.left | rect.top | rect.right | rect.bottom, 0);
  EXPECT_FALSE(SetWindowPos(reinterpret_cast<HWND>(1), nullptr, 0, 0, 10, 10, SWP_NOMOVE));
}

TEST(WindowSystemTest, CallsReachTheInstalledImplementation) {
  FakeWindowSystem fake;
  EXPECT_EQ(setWindowSystem(&fake), nullptr);

  RECT rect = {};
  ASSERT_TRUE(GetWindowRect(fake.known_, &rect));
  EXPECT_EQ(rect.right - rect.left, 1020);
  EXPECT_EQ(rect.bottom - rect.top, 702);
  rect = RECT{5, 5, 5, 5};
  EXPECT_FALSE(GetWindowRect(reinterpret_cast<HWND>(2), &rect));
  EXPECT_EQ(rect.left | rect.top | rect.right | rect.bottom, 0);
  EXPECT_FALSE(GetWindowRect(nullptr, &rect));
  EXPECT_FALSE(GetWindowRect(fake.known_, nullptr));

  EXPECT_TRUE(SetWindowPos(fake.known_, nullptr, 0, 0, 1520, 1038, SWP_NOMOVE));
  EXPECT_FALSE(SetWindowPos(nullptr, nullptr, 0, 0, 1, 1, SWP_NOMOVE));
  ASSERT_EQ(fake.moves.size(), 1u);
  EXPECT_EQ(fake.moves[0].window, fake.known_);
  EXPECT_EQ(fake.moves[0].insertAfter, nullptr);
  EXPECT_EQ(fake.moves[0].width, 1520);
  EXPECT_EQ(fake.moves[0].height, 1038);
  EXPECT_EQ(fake.moves[0].flags, SWP_NOMOVE);

  EXPECT_EQ(setWindowSystem(nullptr), &fake);
}

}  // namespace
