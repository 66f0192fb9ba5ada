// Where the full-screen window and its scene go on a desktop of one or more
// monitors: the window covers the whole virtual screen, the scene is drawn on
// the primary monitor, and every other part of the window stays black.
#pragma once
#include <cstdint>
#include <vector>

namespace dovra {

struct PixelRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const PixelRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct ScreenLayout {
  PixelRect window;   // in screen coordinates: the virtual screen
  PixelRect scene;    // in the window's own coordinates: where the primary monitor is
  // The window's parts outside the scene, in the window's coordinates: at most
  // a band above and below it and a piece left and right of it.
  std::vector<PixelRect> black;
};

// From the virtual screen (its origin and size) and the primary monitor's size;
// the primary monitor's top-left corner is (0, 0) of the screen coordinates.
// A virtual screen that does not hold the primary (which the system never
// reports) is widened until it does.
ScreenLayout LayOutScreen(int32_t virtualX, int32_t virtualY, int32_t virtualW, int32_t virtualH,
                          int32_t primaryW, int32_t primaryH);

}  // namespace dovra
