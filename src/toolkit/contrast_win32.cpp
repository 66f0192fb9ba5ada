#include "toolkit/contrast_win32.h"

#include <windows.h>

namespace dovra {

namespace {
std::optional<bool> g_highContrastAnswer;

bool HighContrastOn() {
  if (g_highContrastAnswer) return *g_highContrastAnswer;
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}
}  // namespace

ColourScheme CurrentColourScheme() {
  ColourScheme c;
  c.highContrast = HighContrastOn();
  if (!c.highContrast) return c;
  SystemColours& s = c.system;
  s.window = GetSysColor(COLOR_WINDOW);
  s.windowText = GetSysColor(COLOR_WINDOWTEXT);
  s.buttonFace = GetSysColor(COLOR_BTNFACE);
  s.buttonText = GetSysColor(COLOR_BTNTEXT);
  s.highlight = GetSysColor(COLOR_HIGHLIGHT);
  s.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
  s.grayText = GetSysColor(COLOR_GRAYTEXT);
  s.hotLight = GetSysColor(COLOR_HOTLIGHT);
  return c;
}

void AnswerHighContrastQuery(std::optional<bool> on) { g_highContrastAnswer = on; }

}  // namespace dovra
