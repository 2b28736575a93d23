#include "platform/WindowSystem.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A parent window 1020 x 702 at (1000, 600) that records the moves asked of it. It fills
// the rectangle even for windows it does not know, which the caller must then clear.
class FakeWindowSystem : public WindowSystem {
 public:
  BOOL getWindowRect(HWND window, RECT* rect) override {
    *rect = RECT{1000, 600, 2020, 1302};
    return window == known;
  }
  BOOL setWindowPos(HWND window, HWND insertAfter, int, int, int width, int height, UINT flags) override {
    moves.push_back(
        {reinterpret_cast<intptr_t>(window), reinterpret_cast<intptr_t>(insertAfter), width, height, flags});
    return window == known;
  }

  std::vector<std::vector<intptr_t>> moves;  // window, insertAfter, width, height, flags
  HWND known = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x2a00007));
};

TEST(WindowSystemTest, CallsReachTheInstalledImplementationOrFailWithAnEmptyRectangle) {
  FakeWindowSystem fake;
  for (bool installed : {false, true}) {
    ASSERT_EQ(installed ? setWindowSystem(&fake) : windowSystem(), nullptr);
    for (HWND window : {static_cast<HWND>(nullptr), reinterpret_cast<HWND>(2), fake.known}) {
      const bool reached = installed && window == fake.known;
      RECT rect = {1, 2, 3, 4};
      EXPECT_EQ(GetWindowRect(window, &rect), reached);
      EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}),
                reached ? std::vector<LONG>({1000, 600, 2020, 1302}) : std::vector<LONG>(4, 0));
      EXPECT_EQ(SetWindowPos(window, nullptr, 0, 0, 1520, 1038, SWP_NOMOVE), reached);
    }
    EXPECT_FALSE(GetWindowRect(fake.known, nullptr));
  }
  // A null window never reaches the window system.
  const intptr_t known = reinterpret_cast<intptr_t>(fake.known);
  EXPECT_EQ(fake.moves,
            (std::vector<std::vector<intptr_t>>{{2, 0, 1520, 1038, SWP_NOMOVE}, {known, 0, 1520, 1038, SWP_NOMOVE}}));
  EXPECT_EQ(setWindowSystem(nullptr), &fake);
}

}  // namespace
