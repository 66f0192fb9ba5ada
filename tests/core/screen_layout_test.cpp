#include <gtest/gtest.h>

#include "display/screen_layout.h"

using namespace dovra;

// The window covers every monitor, the scene sits where the primary is, and the
// black parts with the scene tile the window exactly.
TEST(ScreenLayout, WindowSceneAndBlackAreas) {
  struct Case {
    const char* name;
    int32_t vx, vy, vw, vh, pw, ph;
    PixelRect window, scene;
    size_t blackParts;
  } cases[] = {
      {"one monitor", 0, 0, 1920, 1080, 1920, 1080, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, 0},
      {"second right", 0, 0, 2304, 1024, 1280, 1024, {0, 0, 2304, 1024}, {0, 0, 1280, 1024}, 1},
      {"second left", -1024, 0, 2304, 1024, 1280, 1024, {-1024, 0, 1280, 1024}, {1024, 0, 2304, 1024}, 1},
      {"taller second left", -1024, 0, 2304, 1200, 1280, 1024, {-1024, 0, 1280, 1200}, {1024, 0, 2304, 1024}, 2},
      {"second above", 0, -768, 1280, 1792, 1280, 1024, {0, -768, 1280, 1024}, {0, 768, 1280, 1792}, 1},
      {"three around", -800, -600, 2880, 2224, 1280, 1024, {-800, -600, 2080, 1624}, {800, 600, 2080, 1624}, 4},
      {"no virtual screen reported", 0, 0, 0, 0, 800, 600, {0, 0, 800, 600}, {0, 0, 800, 600}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScreenLayout l = LayOutScreen(c.vx, c.vy, c.vw, c.vh, c.pw, c.ph);
    EXPECT_EQ(l.window, c.window);
    EXPECT_EQ(l.scene, c.scene);
    ASSERT_EQ(l.black.size(), c.blackParts);
    int64_t area = int64_t{l.scene.Width()} * l.scene.Height();
    for (const PixelRect& b : l.black) {
      EXPECT_GT(b.Width(), 0);
      EXPECT_GT(b.Height(), 0);
      const bool overlaps = b.left < l.scene.right && l.scene.left < b.right && b.top < l.scene.bottom &&
                            l.scene.top < b.bottom;
      EXPECT_FALSE(overlaps);
      area += int64_t{b.Width()} * b.Height();
    }
    EXPECT_EQ(area, int64_t{l.window.Width()} * l.window.Height());
  }
}
