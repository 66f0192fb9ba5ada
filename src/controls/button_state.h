// The Command button's behaviour: its interaction states, the looks it asks its
// host to draw, the Click rule and its properties with their store. The host
// (a child window on the platform) draws, polls and stores.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace dovra {

// The six looks, each drawn from a face picture of the same name.
enum class Look { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

struct FontDesc {
  std::string Name;  // UTF-8
  double Size = 0;   // points
  int16_t Weight = 400;
  bool Italic = false, Underline = false, Strikethrough = false;
  int16_t Charset = 0;
  bool operator==(const FontDesc& o) const {
    return Name == o.Name && Size == o.Size && Weight == o.Weight && Italic == o.Italic &&
           Underline == o.Underline && Strikethrough == o.Strikethrough && Charset == o.Charset;
  }
  bool operator!=(const FontDesc& o) const { return !(*this == o); }
};

// The design font of a new button: "ＭＳ Ｐゴシック" 9.75 pt, regular, Shift-JIS.
FontDesc DesignFont();

// What the state machine asks of its host.
class ButtonHost {
 public:
  virtual ~ButtonHost() = default;
  // Draw a look; hoverGradient: false = light at the top, true = light at the bottom.
  virtual void DrawFace(Look look, bool hoverGradient) = 0;
  virtual void EnableCaption(bool enabled) = 0;
  virtual void SetCaptionColour(uint32_t colour) = 0;
  virtual void RaiseClick() = 0;
  virtual void StartPoll(uint32_t intervalMs) = 0;
  virtual bool CursorOverOwnWindow() = 0;
  // The container learns that a stored property changed.
  virtual void PropertyChanged(const char* name) = 0;
};

// The container's per-instance property store. A value is text, a number, a
// Boolean or a font; an absent entry reads as nothing.
using PropValue = std::variant<bool, int32_t, std::string, FontDesc>;
class PropertyStore {
 public:
  virtual ~PropertyStore() = default;
  virtual std::optional<PropValue> Get(const std::string& key) const = 0;
  virtual void Put(const std::string& key, const PropValue& value) = 0;
  virtual void Remove(const std::string& key) = 0;
};

// The caption entry's one default for reading and writing, so that any caption,
// "Command" included, survives a save and a load.
constexpr const char* kCaptionDefault = "Command1";

class CommandButton {
 public:
  explicit CommandButton(ButtonHost& host) : host_(host) {}

  // Behaviour.
  void Initialize();
  void FocusGained();
  void FocusLost();
  void MouseDown(int16_t button, int16_t shift, float x, float y);
  void MouseMove(int16_t button, int16_t shift, float x, float y);
  void MouseUp(int16_t button, int16_t shift, float x, float y);
  void TimerTick();
  void Resize();
  // The caption label's mouse notifications, passed on unchanged.
  void LblMsg_MouseDown(int16_t b, int16_t s, float x, float y) { MouseDown(b, s, x, y); }
  void LblMsg_MouseMove(int16_t b, int16_t s, float x, float y) { MouseMove(b, s, x, y); }
  void LblMsg_MouseUp(int16_t b, int16_t s, float x, float y) { MouseUp(b, s, x, y); }

  // Properties.
  uint8_t GetVisible();
  void SetVisible(uint8_t v);
  uint32_t GetFontColour();
  void SetFontColour(uint32_t v);
  bool GetEnabled();
  void SetEnabled(bool b);
  const std::string& GetCaption() const { return caption_; }
  void SetCaption(const std::string& s);
  const FontDesc& GetFont() const { return font_; }
  void SetFont(const FontDesc& f);

  // The container loads and saves the stored properties.
  void ReadProperties(const PropertyStore& store, const FontDesc& ambientFont);
  void WriteProperties(PropertyStore& store, const FontDesc& ambientFont);

  // State, readable for the host and for tests.
  uint8_t ButtonState = 0;
  bool MouseDownFlag = false;
  int16_t EnabledFlag = 0;  // 0 or -1
  bool HoverGradient = false;
  uint8_t FirstRun = 0;
  bool Opaque() const { return opaque_; }
  uint32_t CaptionColour() const { return colour_; }
  bool CaptionEnabled() const { return captionEnabled_; }

 private:
  void DrawFace(Look look);
  void EndHover();
  void ApplyEnabled();
  void ResetFace();
  void EnableCaption(bool on);

  ButtonHost& host_;
  std::string caption_ = "Command";
  FontDesc font_ = DesignFont();
  uint32_t colour_ = 0;
  bool opaque_ = true;
  bool captionEnabled_ = true;
};

// A colour value the caption can take: 0x00BBGGRR, or a system-colour reference
// 0x800000nn with a known index.
bool IsValidColour(uint32_t v);

}  // namespace dovra
