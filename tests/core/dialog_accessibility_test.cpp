#include <gtest/gtest.h>

#include "settings_dialog/dialog_accessibility.h"

using namespace dovra;

// What a screen reader hears of the dialog, from its state: the buttons as
// push buttons (unavailable exactly when not enabled, focusable always), the
// kinds as radio buttons with only the stored kind checked, the parts in
// reading order with the two child windows in their places, and the notice
// only while there is one.
TEST(DialogAccessibility, RolesNamesAndStatesFollowTheDialog) {
  struct ButtonCase { bool enabled, focused; uint32_t state; };
  for (const ButtonCase& c : {ButtonCase{true, false, acc::kStateFocusable},
                              ButtonCase{true, true, acc::kStateFocusable | acc::kStateFocused},
                              ButtonCase{false, true, acc::kStateFocusable | acc::kStateFocused | acc::kStateUnavailable},
                              ButtonCase{false, false, acc::kStateFocusable | acc::kStateUnavailable}}) {
    const acc::Item b = acc::PushButton("設定", c.enabled, c.focused);
    EXPECT_EQ(b.role, acc::kRolePushButton);
    EXPECT_EQ(b.name, "設定");
    EXPECT_EQ(b.state, c.state);
    EXPECT_EQ(b.defaultAction, "押す");
  }
  struct PanelCase { int16_t kind; std::string notice; const char* checked; };
  for (const PanelCase& c : {PanelCase{0, "", "なし"}, PanelCase{1, "", "音楽CD"}, PanelCase{2, "!", "MP3、WAV"},
                             PanelCase{7, "", ""}}) {
    SCOPED_TRACE(c.kind);
    const PanelParts p = PanelChildren(c.kind, "C:\\Music\\a.mp3", c.notice, 101, 102);
    const std::vector<int> order = {PanelParts::kCd,          PanelParts::kNone,       PanelParts::kFile,
                                    PanelParts::kRepeatList,  PanelParts::kRepeatLabel, PanelParts::kFileButton,
                                    PanelParts::kPath};
    std::vector<int> expected = order;
    if (!c.notice.empty()) expected.push_back(PanelParts::kNotice);
    EXPECT_EQ(p.which, expected);
    std::string checked;
    for (size_t i = 0; i < p.items.size(); ++i) {
      const acc::Item& it = p.items[i];
      if (KindOfPart(p.which[i]) >= 0) {
        EXPECT_EQ(it.role, acc::kRoleRadioButton);
        EXPECT_EQ(KindOfPart(p.which[i]) == c.kind, (it.state & acc::kStateChecked) != 0) << it.name;
        if (it.state & acc::kStateChecked) checked += it.name;
      }
    }
    EXPECT_EQ(checked, c.checked);
    EXPECT_EQ(p.items[3], acc::WindowPart(101));
    EXPECT_EQ(p.items[4].name, "曲目をﾘﾋﾟｰﾄ");
    EXPECT_EQ(p.items[5], acc::WindowPart(102));
    EXPECT_EQ(p.items[6].name, "C:\\Music\\a.mp3");
  }
  const DialogParts d = DialogChildren("credit", "https://x/", 100, 103, 104);
  EXPECT_EQ(d.which, (std::vector<int>{DialogParts::kPanel, DialogParts::kCredit, DialogParts::kLink, DialogParts::kSet,
                                       DialogParts::kCancel}));
  EXPECT_EQ(d.items[2].role, acc::kRoleLink);
  EXPECT_EQ(d.items[2].value, "https://x/");
  EXPECT_EQ(d.items[4], acc::WindowPart(104));
}
