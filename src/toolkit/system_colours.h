// The system's colours as a High Contrast theme sets them, and whether such a
// theme is on: what the dialog and its buttons draw with while it is.
#pragma once
#include <cstdint>

namespace dovra {

// Colours 0x00BBGGRR, named as the system names them.
struct SystemColours {
  uint32_t window = 0, windowText = 0, buttonFace = 0, buttonText = 0;
  uint32_t highlight = 0, highlightText = 0, grayText = 0, hotLight = 0;
};

struct ColourScheme {
  bool highContrast = false;
  SystemColours system;
};

}  // namespace dovra
