#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "controls/button_colours.h"
#include "controls/button_state.h"
#include "controls/property_store.h"

using namespace dovra;

namespace {

class FakeHost : public ButtonHost {
 public:
  std::vector<std::pair<Look, bool>> faces;
  std::vector<std::string> changed;
  int clicks = 0;
  uint32_t pollMs = 0;
  bool overOwn = true;
  bool captionEnabled = true;
  uint32_t captionColour = 0;
  void DrawFace(Look l, bool g) override { faces.push_back({l, g}); }
  void EnableCaption(bool e) override { captionEnabled = e; }
  void SetCaptionColour(uint32_t c) override { captionColour = c; }
  void RaiseClick() override { ++clicks; }
  void StartPoll(uint32_t ms) override { pollMs = ms; }
  bool CursorOverOwnWindow() override { return overOwn; }
  void PropertyChanged(const char* n) override { changed.push_back(n); }
  std::vector<Look> Looks() const {
    std::vector<Look> v;
    for (auto& f : faces) v.push_back(f.first);
    return v;
  }
};

using MapStore = MemoryPropertyStore;

FontDesc Ambient() {
  FontDesc f;
  f.Name = "Tahoma";
  f.Size = 8.25;
  return f;
}

// A button as the dialog has it: loaded from an empty store, then initialised.
struct Rig {
  FakeHost host;
  CommandButton b{host};
  Rig() {
    MapStore empty;
    b.ReadProperties(empty, Ambient());
    b.Resize();
    b.Initialize();
    host.faces.clear();
  }
};

using Looks = std::vector<Look>;
constexpr int16_t L = 1, R = 2, M = 4;

}  // namespace

TEST(Button, PressDragOffReleaseDoesNotClick) {
  Rig r;
  r.b.MouseMove(0, 0, 5, 5);      // hover: state 2
  r.b.FocusGained();              // the press moves the focus here: state 4, Pressed
  r.b.MouseDown(L, 0, 5, 5);
  r.host.overOwn = false;
  r.b.TimerTick();                // dragged off: 4 -> 3
  EXPECT_EQ(r.b.ButtonState, 3);
  r.b.MouseUp(L, 0, -50, 5);
  EXPECT_EQ(r.host.clicks, 0);
  EXPECT_EQ(r.host.Looks(), (Looks{Look::HighLight, Look::Pressed, Look::Pressed, Look::Selected}));
}

TEST(Button, DraggingBackWhileHeldStillDoesNotClick) {
  Rig r;
  r.b.MouseMove(0, 0, 5, 5);
  r.b.FocusGained();
  r.b.MouseDown(L, 0, 5, 5);
  r.host.overOwn = false;
  r.b.TimerTick();
  r.host.overOwn = true;
  r.b.MouseMove(L, 0, 5, 5);  // held: state 3 stays 3
  EXPECT_EQ(r.b.ButtonState, 3);
  r.b.MouseUp(L, 0, 5, 5);
  EXPECT_EQ(r.host.clicks, 0);
  EXPECT_EQ(r.host.faces.back().first, Look::Selected);
  r.b.MouseMove(0, 0, 6, 6);  // the next move re-arms it
  EXPECT_EQ(r.b.ButtonState, 4);
  EXPECT_EQ(r.host.faces.back().first, Look::HighLightSelect);
}

TEST(Button, RightAndMiddleReleasesClickWithoutDrawing) {
  for (int16_t button : {R, M}) {
    Rig r;
    r.b.MouseMove(0, 0, 1, 1);  // state 2
    r.host.faces.clear();
    r.b.MouseDown(button, 0, 1, 1);
    r.b.MouseUp(button, 0, 1, 1);
    EXPECT_TRUE(r.host.faces.empty());
    EXPECT_EQ(r.host.clicks, 1);
    r.b.FocusGained();  // state 4
    r.host.faces.clear();
    r.b.MouseDown(button, 0, 1, 1);
    r.b.MouseUp(button, 0, 1, 1);
    EXPECT_TRUE(r.host.faces.empty());
    EXPECT_EQ(r.host.clicks, 2);
  }
}

TEST(Button, FocusFromTheKeyboardThenPressWithoutMoveDoesNotClick) {
  Rig r;
  r.b.FocusGained();  // state 3, Selected
  r.b.MouseDown(L, 0, 1, 1);
  r.b.MouseUp(L, 0, 1, 1);
  EXPECT_EQ(r.host.Looks(), (Looks{Look::Selected, Look::Pressed}));
  EXPECT_EQ(r.host.clicks, 0);
}

TEST(Button, FocusWhileHoveredShowsPressedUntilLeaveOrRelease) {
  Rig r;
  r.b.MouseMove(0, 0, 1, 1);
  r.b.FocusGained();
  EXPECT_EQ(r.b.ButtonState, 4);
  EXPECT_EQ(r.host.faces.back(), std::make_pair(Look::Pressed, true));  // light at the bottom
  r.host.overOwn = false;
  r.b.TimerTick();
  EXPECT_EQ(r.host.faces.back(), std::make_pair(Look::Selected, false));
  Rig s;
  s.b.MouseMove(0, 0, 1, 1);
  s.b.FocusGained();
  s.b.MouseUp(L, 0, 1, 1);
  EXPECT_EQ(s.host.faces.back(), std::make_pair(Look::HighLightSelect, true));
  EXPECT_EQ(s.host.clicks, 1);
}

TEST(Button, LeftReleaseInHoverDrawsNormalKeepsStateAndClicks) {
  Rig r;
  r.b.MouseMove(0, 0, 1, 1);
  r.b.MouseDown(L, 0, 1, 1);
  r.b.MouseUp(L, 0, 1, 1);
  EXPECT_EQ(r.b.ButtonState, 2);
  EXPECT_EQ(r.host.Looks(), (Looks{Look::HighLight, Look::Pressed, Look::Normal}));
  EXPECT_EQ(r.host.faces.back().second, true);  // state 2: the reversed gradient
  EXPECT_EQ(r.host.clicks, 1);
  // The caption label passes its mouse notifications on unchanged.
  r.b.LblMsg_MouseUp(R, 0, 3, 3);
  EXPECT_EQ(r.host.clicks, 2);
}

TEST(Button, DisabledButtonIgnoresEverything) {
  Rig r;
  r.b.SetEnabled(false);
  EXPECT_EQ(r.host.faces.back().first, Look::Disable);
  EXPECT_FALSE(r.host.captionEnabled);
  r.host.faces.clear();
  r.b.FocusGained();
  r.b.MouseMove(0, 0, 1, 1);
  r.b.MouseDown(L, 0, 1, 1);
  r.b.MouseUp(L, 0, 1, 1);
  r.host.overOwn = false;
  r.b.TimerTick();
  r.b.FocusLost();
  EXPECT_TRUE(r.host.faces.empty());
  EXPECT_EQ(r.host.clicks, 0);
  EXPECT_EQ(r.b.ButtonState, 1);
}

TEST(Button, DisableThenEnableWhileFocused) {
  Rig r;
  r.b.FocusGained();
  r.b.SetEnabled(false);
  r.b.SetEnabled(true);
  EXPECT_EQ(r.host.faces.back(), std::make_pair(Look::Normal, false));
  EXPECT_EQ(r.b.ButtonState, 3);  // enabling never changes the state
  r.b.MouseMove(0, 0, 1, 1);
  EXPECT_EQ(r.b.ButtonState, 4);
  EXPECT_EQ(r.host.faces.back().first, Look::HighLightSelect);
}

TEST(Button, WithoutInitializeThereIsNoHoverAndNoPolling) {
  FakeHost host;
  CommandButton b(host);
  MapStore empty;
  b.ReadProperties(empty, Ambient());
  host.faces.clear();
  b.MouseMove(0, 0, 1, 1);
  EXPECT_TRUE(host.faces.empty());
  EXPECT_EQ(host.pollMs, 0u);
  EXPECT_EQ(b.ButtonState, 0);
  b.MouseUp(L, 0, 1, 1);  // but a release clicks
  EXPECT_EQ(host.clicks, 1);
  b.FocusGained();
  EXPECT_EQ(b.ButtonState, 3);
  b.Initialize();
  EXPECT_EQ(host.pollMs, 100u);
  EXPECT_EQ(b.ButtonState, 1);
}

TEST(ButtonProperties, LoadingFromAnEmptyStore) {
  FakeHost host;
  CommandButton b(host);
  EXPECT_EQ(b.GetCaption(), "Command");
  EXPECT_EQ(b.EnabledFlag, 0);
  MapStore empty;
  b.ReadProperties(empty, Ambient());
  EXPECT_EQ(b.EnabledFlag, -1);
  EXPECT_EQ(b.GetCaption(), "Command1");
  EXPECT_EQ(b.GetFont(), Ambient());
  EXPECT_EQ(b.FirstRun, 1);
  EXPECT_EQ(b.CaptionColour(), 0u);
  EXPECT_TRUE(b.Opaque());
  EXPECT_EQ(host.faces.back().first, Look::Normal);
}

TEST(ButtonProperties, FirstRunZeroForcesABlackCaption) {
  FakeHost host;
  CommandButton b(host);
  MapStore s;
  s.entries["FirstRun"] = int32_t{0};
  s.entries["FontColour"] = int32_t{255};
  b.ReadProperties(s, Ambient());
  EXPECT_EQ(b.CaptionColour(), 0u);
  EXPECT_EQ(host.captionColour, 0u);
  // The first read of Enabled switches the marker.
  EXPECT_TRUE(b.GetEnabled());
  EXPECT_EQ(b.FirstRun, 1);
}

TEST(ButtonProperties, VisibleAndColourReadsAndWrites) {
  Rig r;
  r.b.SetVisible(7);
  EXPECT_EQ(r.b.GetVisible(), 255);
  r.host.faces.clear();
  r.b.SetVisible(0);
  EXPECT_EQ(r.b.GetVisible(), 0);
  EXPECT_TRUE(r.host.faces.empty());  // reading a transparent button draws nothing
  EXPECT_EQ(r.host.changed.back(), "Visible");

  // Reading the colour of a hovered, focused button draws Normal; the state stays.
  r.b.SetVisible(1);
  r.b.FocusGained();
  r.b.MouseMove(0, 0, 1, 1);
  ASSERT_EQ(r.b.ButtonState, 4);
  r.b.SetFontColour(0x0000FF);
  EXPECT_EQ(r.b.GetFontColour(), 0x0000FFu);
  EXPECT_EQ(r.host.faces.back().first, Look::Normal);
  EXPECT_EQ(r.b.ButtonState, 4);
  r.host.changed.clear();
  r.b.SetFontColour(0x7F000000);  // not a colour: kept, redrawn, not notified
  EXPECT_EQ(r.b.CaptionColour(), 0x0000FFu);
  EXPECT_TRUE(r.host.changed.empty());
  r.b.SetFontColour(0x80000012);  // a system colour
  EXPECT_EQ(r.b.CaptionColour(), 0x80000012u);
}

TEST(ButtonProperties, CaptionWriteDoesNotRedraw) {
  Rig r;
  r.b.MouseMove(0, 0, 1, 1);
  r.host.faces.clear();
  r.b.SetCaption("設定");
  EXPECT_TRUE(r.host.faces.empty());
  EXPECT_EQ(r.b.GetCaption(), "設定");
  EXPECT_EQ(r.host.changed, (std::vector<std::string>{"Caption"}));
}

TEST(ButtonProperties, SavingAndLoading) {
  // A default button, with the container's font differing from its design font:
  // only "Caption" and "Font" are written.
  {
    FakeHost host;
    CommandButton b(host);
    b.GetEnabled();  // FirstRun 1, enabled
    MapStore s;
    b.WriteProperties(s, Ambient());
    std::vector<std::string> keys;
    for (auto& e : s.entries) keys.push_back(e.first);
    EXPECT_EQ(keys, (std::vector<std::string>{"Caption", "Font"}));
    // "Command" survives a save and a load.
    FakeHost host2;
    CommandButton c(host2);
    c.ReadProperties(s, Ambient());
    EXPECT_EQ(c.GetCaption(), "Command");
    EXPECT_EQ(c.GetFont(), DesignFont());
  }
  {
    FakeHost host;
    CommandButton b(host);
    MapStore empty;
    b.ReadProperties(empty, Ambient());
    FontDesc f{"Courier New", 12, 700, true, true, true, 0};
    b.SetFont(f);
    b.SetFontColour(0x00FF00);
    b.SetEnabled(false);
    b.SetVisible(0);
    MapStore s;
    b.WriteProperties(s, Ambient());
    FakeHost host2;
    CommandButton c(host2);
    c.ReadProperties(s, Ambient());
    EXPECT_EQ(c.GetFont(), f);
    EXPECT_EQ(c.CaptionColour(), 0x00FF00u);
    EXPECT_EQ(c.EnabledFlag, 0);
    EXPECT_FALSE(c.Opaque());
  }
  {
    // Entries that cannot be read as their type leave the setting as it was.
    FakeHost host;
    CommandButton b(host);
    MapStore s;
    s.entries["Enabled"] = std::string("maybe");
    s.entries["FirstRun"] = std::string("300");
    s.entries["FontColour"] = std::string("red");
    s.entries["Caption"] = int32_t{5};
    s.entries["Font"] = std::string("Arial");
    b.ReadProperties(s, Ambient());
    EXPECT_EQ(b.EnabledFlag, 0);
    EXPECT_EQ(b.FirstRun, 0);
    EXPECT_EQ(b.GetCaption(), "Command");
    EXPECT_EQ(b.GetFont(), DesignFont());
  }
}

// With High Contrast on, every look is drawn in the system's colours, the
// caption readable on its face and each look told apart from the others; the
// focus (pressed too) shows in the highlight colour with a focus mark, a
// disabled button in grey text. Off, the designed faces.
TEST(ButtonColours, HighContrastLooksInTheSystemColours) {
  const SystemColours black{0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFEB1A, 0x000000, 0x3FF23F, 0x00FFFF};
  const SystemColours white{0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x6E0037, 0xFFFFFF, 0x000060, 0x9F0000};
  for (const SystemColours& s : {black, white}) {
    std::vector<std::vector<uint32_t>> seen;
    for (Look look : {Look::Normal, Look::HighLight, Look::Selected, Look::HighLightSelect, Look::Pressed, Look::Disable}) {
      const ButtonColours c = ButtonLookColours(ColourScheme{true, s}, look, look != Look::Disable);
      const bool focus = look == Look::Selected || look == Look::HighLightSelect || look == Look::Pressed;
      EXPECT_FALSE(c.designed);
      EXPECT_NE(c.text, c.face);
      EXPECT_EQ(c.focusMark, focus);
      EXPECT_EQ(c.frame == s.highlight || c.face == s.highlight, focus);
      EXPECT_EQ(c.text, look == Look::Disable ? s.grayText : look == Look::Pressed ? s.highlightText : s.buttonText);
      const std::vector<uint32_t> drawn{c.face, c.frame, c.text, uint32_t(c.frameWidth)};
      EXPECT_TRUE(look == Look::HighLightSelect || std::count(seen.begin(), seen.end(), drawn) == 0) << "two looks alike";
      seen.push_back(drawn);
    }
  }
  EXPECT_TRUE(ButtonLookColours(ColourScheme{false, black}, Look::Pressed, true).designed);
}
