#include <gtest/gtest.h>

#include "settings_dialog/dialog_logic.h"

using namespace dovra;

TEST(DialogLogic, CentredAThirdOfTheFreeHeightFromTheTop) {
  const TwipsPoint p = CentreDialog(1920 * 15, 1080 * 15, 7560, 4050);
  EXPECT_EQ(p.left, (28800 - 7560) / 2);
  EXPECT_EQ(p.top, (16200 - 4050) / 3);
  const TwipsPoint odd = CentreDialog(1001, 1002, 0, 0);
  EXPECT_EQ(odd.left, 500);  // truncated
  EXPECT_EQ(odd.top, 334);
  const TwipsPoint small = CentreDialog(1000, 1000, 7440, 3645);  // larger than the screen
  EXPECT_EQ(small.left, -3220);  // truncation towards zero
  EXPECT_EQ(small.top, -881);
}

TEST(DialogLogic, GradientsOfTheWindowAndThePanel) {
  const auto w = WindowGradient(243);
  ASSERT_EQ(w.size(), 244u);
  EXPECT_EQ(w[0].row, 0);
  EXPECT_EQ((std::array<int, 3>{w[0].r, w[0].g, w[0].b}), (std::array<int, 3>{0, 0, 30}));
  EXPECT_EQ((std::array<int, 3>{w[121].r, w[121].g, w[121].b}), (std::array<int, 3>{220, 220, 250}));
  EXPECT_LE(w[243].r, 1);  // sin(3.142) is slightly negative: the absolute value
  int top = 0;
  for (const auto& l : w) {
    EXPECT_LE(l.b, 250);
    top = std::max<int>(top, l.r);
  }
  EXPECT_EQ(top, 220);
  const auto p = PanelGradient(161);
  ASSERT_EQ(p.size(), 162u);
  EXPECT_EQ((std::array<int, 3>{p[0].r, p[0].g, p[0].b}), (std::array<int, 3>{30, 30, 30}));
  EXPECT_EQ(p[80].r, 250);
  EXPECT_EQ(p[80].g, p[80].b);
  EXPECT_TRUE(WindowGradient(-5).empty());
  EXPECT_TRUE(WindowGradient(40000).empty());
}

TEST(DialogLogic, ChoicesRepeatListAndRepeatText) {
  EXPECT_TRUE(ViewOfKind(1).marked[1]);
  EXPECT_TRUE(ViewOfKind(1).repeatEnabled);
  EXPECT_FALSE(ViewOfKind(1).fileEnabled);
  EXPECT_TRUE(ViewOfKind(2).fileEnabled);
  EXPECT_FALSE(ViewOfKind(2).repeatEnabled);
  EXPECT_FALSE(ViewOfKind(0).repeatEnabled || ViewOfKind(0).fileEnabled);
  const ChoiceView none = ViewOfKind(7);  // no mark for a kind outside 0..2
  EXPECT_FALSE(none.marked[0] || none.marked[1] || none.marked[2]);

  const auto items = TrackItems();
  ASSERT_EQ(items.size(), 31u);
  EXPECT_EQ(items[0], "");
  EXPECT_EQ(items[5], "5");
  EXPECT_EQ(items[30], "30");

  EXPECT_EQ(RepeatFromText("7"), 7);
  EXPECT_EQ(RepeatFromText(" 12 "), 12);
  EXPECT_EQ(RepeatFromText("2.5"), 2);
  EXPECT_EQ(RepeatFromText("3.5"), 4);
  EXPECT_EQ(RepeatFromText("-4"), -4);
  EXPECT_EQ(RepeatFromText("45"), 45);  // stored as typed
  EXPECT_EQ(RepeatFromText(""), 0);
  EXPECT_EQ(RepeatFromText("abc"), 0);
  EXPECT_EQ(RepeatFromText("7x"), 0);
  EXPECT_EQ(RepeatFromText("32767"), 32767);
  EXPECT_EQ(RepeatFromText("32768"), 0);  // outside 16 bits: neither fails nor wraps
  EXPECT_EQ(RepeatFromText("-32769"), 0);
  EXPECT_EQ(RepeatFromText("1e10"), 0);
}

// With High Contrast on, the dialog and its panel take the system's colours:
// window and window text, the hot-light colour for the link, the highlight for
// the chosen mark. Off, the designed gradients and pictures.
TEST(DialogLogic, HighContrastColoursAreTheSystems) {
  const SystemColours s{1, 2, 3, 4, 5, 6, 7, 8};  // window, window text, ..., highlight 5, ..., hot light 8
  const DialogColours c = DialogLookColours(ColourScheme{true, s});
  EXPECT_FALSE(c.designed);
  EXPECT_EQ((std::vector<uint32_t>{c.windowBack, c.panelBack, c.shapeFill, c.windowText, c.panelText, c.notice, c.pathFrame,
                                   c.markFrame, c.shapeFrame, c.link, c.markFill}),
            (std::vector<uint32_t>{1, 1, 1, 2, 2, 2, 2, 2, 2, 8, 5}));
  EXPECT_TRUE(DialogLookColours(ColourScheme{false, s}).designed);
}
