// The settings dialog's arithmetic and choices, free of any window.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/system_colours.h"

namespace dovra {

// Left and top in twips that centre a dialog horizontally and put it a third of
// the free height from the top.
struct TwipsPoint {
  int32_t left = 0, top = 0;
};
TwipsPoint CentreDialog(double screenW, double screenH, double dialogW, double dialogH);

// One horizontal line per pixel row of a vertical gradient that rises from dark
// at the edges to bright at mid-height: rows 0..h (h + 1 of them), brightness
// |220 sin(i / (h / 3.142))|.
struct GradientLine {
  int32_t row;
  uint8_t r, g, b;
};
// The window's lines: (b, b, b + 30); the panel's: (b + 30, b + 30, b + 30).
std::vector<GradientLine> WindowGradient(double innerHeight);
std::vector<GradientLine> PanelGradient(double innerHeight);

// The colours the dialog and its panel draw with (0x00BBGGRR): as designed
// (the two gradients behind white texts on the window and black ones on the
// panel, the marks' pictures), or, while High Contrast is on, the system's:
// window and window text, the hot-light colour for the link, the highlight
// for the chosen mark.
struct DialogColours {
  bool designed = true;  // gradients and pictures; windowBack, panelBack and the marks' colours apply only when false
  uint32_t windowBack = 0, windowText = 0, link = 0;
  uint32_t panelBack = 0, panelText = 0, shapeFill = 0, shapeFrame = 0, pathFrame = 0, notice = 0;
  uint32_t markFrame = 0, markFill = 0;
};
DialogColours DialogLookColours(const ColourScheme& scheme);

// What the chosen music kind shows: which mark is filled, and which of the
// repeat list and the file button are enabled.
struct ChoiceView {
  std::array<bool, 3> marked{};
  bool repeatEnabled = false;
  bool fileEnabled = false;
};
ChoiceView ViewOfKind(int16_t kind);

// The repeat list: 0 to 30 as track numbers, the first one empty.
std::vector<std::string> TrackItems();

// The repeat number a confirmed text stands for: a numeric text rounded half to
// even; anything else, and a number outside 16 bits, gives 0.
int16_t RepeatFromText(const std::string& text);

}  // namespace dovra
