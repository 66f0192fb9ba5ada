#include "controls/button_colours.h"

#include "toolkit/portable_only.h"

namespace dovra {

ButtonColours ButtonLookColours(const ColourScheme& scheme, Look look, bool captionEnabled) {
  ButtonColours c;
  if (!scheme.highContrast) return c;
  const SystemColours& s = scheme.system;
  c.designed = false;
  c.face = s.buttonFace;
  c.frame = s.buttonText;
  c.text = s.buttonText;
  switch (look) {
    case Look::Normal: break;
    case Look::HighLight: c.frameWidth = 2; break;  // hover: a heavier frame
    case Look::Selected:
    case Look::HighLightSelect:  // the focus, hovered or not
      c.frame = s.highlight;
      c.frameWidth = 2;
      c.focusMark = true;
      break;
    case Look::Pressed:  // only ever drawn on a button with the focus
      c.face = s.highlight;
      c.text = s.highlightText;
      c.focusMark = true;
      break;
    case Look::Disable: c.frame = s.grayText; break;
  }
  if (!captionEnabled) c.text = s.grayText;
  return c;
}

}  // namespace dovra
