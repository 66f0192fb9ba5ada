#include "controls/button_state.h"

#include "toolkit/portable_only.h"

namespace dovra {

FontDesc DesignFont() {
  FontDesc f;
  f.Name = "ＭＳ Ｐゴシック";
  f.Size = 9.75;
  f.Weight = 400;
  f.Charset = 128;
  return f;
}

bool IsValidColour(uint32_t v) {
  const uint32_t high = v >> 24;
  if (high == 0x00) return true;
  if (high == 0x80) return (v & 0x00FFFF00u) == 0 && (v & 0xFF) <= 30;
  return false;
}

// ---------------------------------------------------------------- behaviour

void CommandButton::DrawFace(Look look) {
  // State 2 always has the reversed gradient; state 4 keeps the previous one.
  if (ButtonState == 1 || ButtonState == 3) HoverGradient = false;
  else if (ButtonState == 2) HoverGradient = true;
  host_.DrawFace(look, HoverGradient);
}

void CommandButton::EnableCaption(bool on) {
  captionEnabled_ = on;
  host_.EnableCaption(on);
}

void CommandButton::Initialize() {
  ButtonState = 1;
  host_.StartPoll(100);
}

void CommandButton::FocusGained() {
  if (!EnabledFlag) return;
  if (ButtonState != 2) {
    ButtonState = 3;
    DrawFace(Look::Selected);
  } else {
    ButtonState = 4;
    DrawFace(Look::Pressed);
  }
}

void CommandButton::FocusLost() {
  if (!EnabledFlag) return;
  if (ButtonState != 1) {
    ButtonState = 1;
    DrawFace(Look::Normal);
  }
}

void CommandButton::MouseDown(int16_t button, int16_t, float, float) {
  if (!EnabledFlag) return;
  if (button == 1) {
    MouseDownFlag = true;
    DrawFace(Look::Pressed);
  }
}

void CommandButton::MouseMove(int16_t, int16_t, float, float) {
  if (!EnabledFlag) return;
  if (ButtonState == 1) {
    ButtonState = 2;
    DrawFace(Look::HighLight);
  } else if (ButtonState == 3 && !MouseDownFlag) {
    ButtonState = 4;
    DrawFace(Look::HighLightSelect);
  }
}

void CommandButton::MouseUp(int16_t button, int16_t, float, float) {
  if (!EnabledFlag) return;
  if (button == 1) {
    MouseDownFlag = false;
    if (ButtonState == 2) DrawFace(Look::Normal);
    else if (ButtonState == 4) DrawFace(Look::HighLightSelect);
  }
  // Any button clicks, unless the press was dragged off (state 3).
  if (EnabledFlag && ButtonState != 3) host_.RaiseClick();
}

void CommandButton::TimerTick() {
  if (!host_.CursorOverOwnWindow()) EndHover();
}

void CommandButton::Resize() { ApplyEnabled(); }

void CommandButton::EndHover() {
  if (!EnabledFlag) return;
  if (ButtonState == 2) {
    ButtonState = 1;
    DrawFace(Look::Normal);
  } else if (ButtonState == 4) {
    ButtonState = 3;
    DrawFace(Look::Selected);
  }
}

void CommandButton::ApplyEnabled() {
  if (EnabledFlag) {
    DrawFace(Look::Normal);
    EnableCaption(true);
  } else {
    DrawFace(Look::Disable);
    EnableCaption(false);
  }
}

// ---------------------------------------------------------------- properties

void CommandButton::ResetFace() {
  if (!EnabledFlag) return;
  EnableCaption(true);
  if (FirstRun == 0) {
    colour_ = 0;
    host_.SetCaptionColour(0);
  }
  DrawFace(Look::Normal);
}

uint8_t CommandButton::GetVisible() {
  if (!opaque_) return 0;
  ResetFace();
  return 255;
}

void CommandButton::SetVisible(uint8_t v) {
  if (v) {
    opaque_ = true;
    ResetFace();
  } else {
    opaque_ = false;
  }
  host_.PropertyChanged("Visible");
}

uint32_t CommandButton::GetFontColour() {
  const uint32_t c = colour_;
  ResetFace();
  return c;
}

void CommandButton::SetFontColour(uint32_t v) {
  if (!IsValidColour(v)) {
    ResetFace();
    return;
  }
  colour_ = v;
  host_.SetCaptionColour(v);
  ResetFace();
  host_.PropertyChanged("FontColour");
}

bool CommandButton::GetEnabled() {
  if (FirstRun == 0) {
    ResetFace();
    FirstRun = 1;
    EnabledFlag = -1;
  }
  const bool result = EnabledFlag != 0;
  ApplyEnabled();
  return result;
}

void CommandButton::SetEnabled(bool b) {
  EnabledFlag = b ? -1 : 0;
  host_.PropertyChanged("Enabled");
  ApplyEnabled();
}

void CommandButton::SetCaption(const std::string& s) {
  caption_ = s;
  host_.PropertyChanged("Caption");
}

void CommandButton::SetFont(const FontDesc& f) {
  font_ = f;
  host_.PropertyChanged("Font");
}

namespace {

// Reads an entry as the type asked for; a value of another type, or one that
// cannot be read as that type, gives nothing and the setting stays as it was.
std::optional<int32_t> AsNumber(const PropValue& v) {
  if (auto* i = std::get_if<int32_t>(&v)) return *i;
  if (auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
  if (auto* s = std::get_if<std::string>(&v)) {
    if (s->empty()) return std::nullopt;
    size_t i = 0;
    const bool neg = (*s)[0] == '-';
    if (neg || (*s)[0] == '+') i = 1;
    if (i >= s->size()) return std::nullopt;
    int64_t n = 0;
    for (; i < s->size(); ++i) {
      if ((*s)[i] < '0' || (*s)[i] > '9') return std::nullopt;
      n = n * 10 + ((*s)[i] - '0');
      if (n > 0xFFFFFFFFll) return std::nullopt;
    }
    return static_cast<int32_t>(neg ? -n : n);
  }
  return std::nullopt;
}

std::optional<bool> AsBool(const PropValue& v) {
  if (auto* b = std::get_if<bool>(&v)) return *b;
  if (auto n = AsNumber(v)) return *n != 0;
  return std::nullopt;
}

PropValue Read(const PropertyStore& store, const char* key, PropValue def) {
  auto v = store.Get(key);
  return v ? *v : def;
}

// Entries equal to their default are left out of the store.
void Write(PropertyStore& store, const char* key, const PropValue& value, const PropValue& def) {
  if (value == def) store.Remove(key);
  else store.Put(key, value);
}

}  // namespace

void CommandButton::ReadProperties(const PropertyStore& store, const FontDesc& ambientFont) {
  if (auto b = AsBool(Read(store, "Enabled", true))) EnabledFlag = *b ? -1 : 0;
  {
    const PropValue c = Read(store, "Caption", std::string(kCaptionDefault));
    if (auto* s = std::get_if<std::string>(&c)) caption_ = *s;
  }
  {
    const PropValue f = Read(store, "Font", ambientFont);
    if (auto* font = std::get_if<FontDesc>(&f)) font_ = *font;
  }
  if (auto n = AsNumber(Read(store, "FirstRun", std::string("1"))); n && *n >= 0 && *n <= 255)
    FirstRun = static_cast<uint8_t>(*n);
  if (auto n = AsNumber(Read(store, "FontColour", std::string("0"))); n && IsValidColour(static_cast<uint32_t>(*n))) {
    colour_ = static_cast<uint32_t>(*n);
    host_.SetCaptionColour(colour_);
  }
  if (auto n = AsNumber(Read(store, "Visible", std::string("1"))); n && *n >= -32768 && *n <= 32767)
    opaque_ = *n != 0;
  ResetFace();
}

void CommandButton::WriteProperties(PropertyStore& store, const FontDesc& ambientFont) {
  Write(store, "Enabled", PropValue(EnabledFlag != 0), PropValue(true));
  Write(store, "Caption", PropValue(caption_), PropValue(std::string(kCaptionDefault)));
  Write(store, "FirstRun", PropValue(static_cast<int32_t>(FirstRun)), PropValue(int32_t{1}));
  Write(store, "Font", PropValue(font_), PropValue(ambientFont));
  Write(store, "FontColour", PropValue(static_cast<int32_t>(colour_)), PropValue(int32_t{0}));
  Write(store, "Visible", PropValue(int32_t{opaque_ ? 1 : 0}), PropValue(int32_t{1}));
  ResetFace();
}

}  // namespace dovra
