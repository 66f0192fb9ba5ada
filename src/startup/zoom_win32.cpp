#include "startup/zoom_win32.h"

namespace dovra {

ZoomPointT ZoomPoint;

namespace {
RECT PointRect() {
  RECT r;
  r.left = r.right = ZoomPoint.X;  // widened to 32 bits with the sign
  r.top = r.bottom = ZoomPoint.Y;
  return r;
}
}  // namespace

void ZoomOpen(HWND window) {
  RECT from = PointRect(), to{};
  GetWindowRect(window, &to);
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

void ZoomClose(HWND window) {
  RECT from{}, to = PointRect();
  GetWindowRect(window, &from);
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

}  // namespace dovra
