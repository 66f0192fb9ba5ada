#include "settings_dialog/dialog_logic.h"

#include <cmath>

#include "toolkit/numeric.h"
#include "toolkit/value_services.h"
#include "toolkit/portable_only.h"

namespace dovra {

TwipsPoint CentreDialog(double screenW, double screenH, double dialogW, double dialogH) {
  TwipsPoint p;
  // Each difference becomes a 32-bit integer first; the division truncates.
  if (auto dx = ToInt32(screenW - dialogW)) p.left = *dx / 2;
  if (auto dy = ToInt32(screenH - dialogH)) p.top = *dy / 3;
  return p;
}

namespace {

std::vector<GradientLine> Gradient(double innerHeight, int add, bool grey) {
  std::vector<GradientLine> lines;
  const auto h = ToInt16(innerHeight);
  if (!h || *h < 0) return lines;
  const double d = innerHeight / 3.142;
  for (int32_t i = 0; i <= *h; ++i) {
    const int16_t b = ToInt16(std::fabs(220 * std::sin(i / d))).value_or(0);
    const int v = b + add;
    lines.push_back({i, static_cast<uint8_t>(grey ? v : b), static_cast<uint8_t>(grey ? v : b),
                     static_cast<uint8_t>(b + 30)});
  }
  return lines;
}

}  // namespace

std::vector<GradientLine> WindowGradient(double innerHeight) { return Gradient(innerHeight, 0, false); }
std::vector<GradientLine> PanelGradient(double innerHeight) { return Gradient(innerHeight, 30, true); }

DialogColours DialogLookColours(const ColourScheme& scheme) {
  DialogColours c;
  if (!scheme.highContrast) {
    c.windowText = c.link = 0xFFFFFF;
    c.shapeFill = 0xFAEEEC;   // (236, 238, 250)
    c.shapeFrame = 0x8C5046;  // (70, 80, 140)
    c.notice = 0x0000B0;      // (176, 0, 0)
    return c;
  }
  const SystemColours& s = scheme.system;
  c.designed = false;
  c.windowBack = c.panelBack = c.shapeFill = s.window;
  c.windowText = c.panelText = c.shapeFrame = c.pathFrame = c.notice = c.markFrame = s.windowText;
  c.link = s.hotLight;
  c.markFill = s.highlight;
  return c;
}

ChoiceView ViewOfKind(int16_t kind) {
  ChoiceView v;
  if (kind >= 0 && kind <= 2) v.marked[static_cast<size_t>(kind)] = true;
  v.repeatEnabled = kind == 1;
  v.fileEnabled = kind == 2;
  return v;
}

std::vector<std::string> TrackItems() {
  std::vector<std::string> items;
  for (int i = 0; i <= 30; ++i) items.push_back(FormatTrack(i));
  return items;
}

int16_t RepeatFromText(const std::string& text) {
  if (!IsNumeric(text)) return 0;
  return ToInt16(TextToNumber(text)).value_or(0);
}

}  // namespace dovra
