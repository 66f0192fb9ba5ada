// The settings dialog's zoom effects: out of the mouse position when it opens
// and back into the same point when it closes.
#pragma once
#include <windows.h>

#include <cstdint>

namespace dovra {

struct ZoomPointT {
  int16_t X = 0, Y = 0;
};
// Where the mouse was when the dialog opened, or (0, 0).
extern ZoomPointT ZoomPoint;

void ZoomOpen(HWND window);
void ZoomClose(HWND window);

}  // namespace dovra
