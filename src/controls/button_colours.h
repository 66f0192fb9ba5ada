// How the Command button shows a look: its designed face (a face picture's
// frame over the gradient, the caption in its own colour), or, while High
// Contrast is on, plain system colours in which the focus stays visible.
#pragma once
#include <cstdint>

#include "controls/button_state.h"
#include "toolkit/system_colours.h"

namespace dovra {

struct ButtonColours {
  bool designed = true;  // the rest applies only when this is false
  uint32_t face = 0, frame = 0, text = 0;
  int frameWidth = 1;      // pixels at 96 dpi
  bool focusMark = false;  // a dotted rectangle inside the frame, in the text colour
};

// captionEnabled: the caption's own state (a disabled button's caption is grey).
ButtonColours ButtonLookColours(const ColourScheme& scheme, Look look, bool captionEnabled);

}  // namespace dovra
