// Pictures for a scaled screen. Run under the usual 96 dpi and again by the
// test command in prefixes at 144 and 192 dpi, each checking the density the
// system reports.
#include <gtest/gtest.h>

#include <cmath>

#include "resources/resource_ids.h"
#include "settings_dialog/settings_dialog_win32.h"
#include "support/fake_profile_store.h"
#include "toolkit/program_win32.h"
#include "win32/win32_test_util.h"

using namespace dovra;
using namespace dovra::test;

namespace {
uint32_t Rgb(const uint8_t* p) { return (p[2] << 16) | (p[1] << 8) | p[0]; }  // from blue, green, red
}  // namespace

// The ball at the size for each density, from the picture made at twice the
// size: every pixel is either exactly magenta or a grey of the ball, never a
// blend of the two, and the corners are magenta.
TEST(ScaledScreen, BallSpriteAtEachDensityKeepsItsMagentaRule) {
  for (int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    const SceneScale scale = SceneScale::FromDpi(dpi);
    Picture ball = LoadScaledPictureResource(IDB_BALL, scale, true);
    ASSERT_TRUE(ball);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(ball.Handle(), sizeof ds, &ds), static_cast<int>(sizeof ds));
    const int w = ds.dsBm.bmWidth, h = ds.dsBm.bmHeight;
    EXPECT_EQ(w, scale.Size(22));
    EXPECT_EQ(h, scale.Size(23));
    const auto* bits = static_cast<const uint8_t*>(ds.dsBm.bmBits);
    auto at = [&](int x, int y) { return Rgb(bits + (h - 1 - y) * ds.dsBm.bmWidthBytes + x * 3); };
    int magenta = 0, grey = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t c = at(x, y);
        if (c == 0xFF00FF) { ++magenta; continue; }
        ASSERT_TRUE((c >> 16) == ((c >> 8) & 255) && (c & 255) == ((c >> 8) & 255)) << std::hex << c << " at " << x << "," << y;
        ++grey;
      }
    for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) EXPECT_EQ(at(x, y), 0xFF00FFu);
    EXPECT_EQ(at(w / 2, h / 2) == 0xFF00FFu, false);
    EXPECT_NEAR(grey / double(w * h), 0.70, 0.08);  // a disc in its square box, as at 96 dpi
    EXPECT_GT(magenta, 0);
  }
}

// The dialog's choice marks are twelve pixels at 96 dpi and twelve 96ths of an
// inch at any density, sharp: at 192 dpi each of their lines is two pixels.
TEST(ScaledScreen, DialogMarksFollowTheDensity) {
  const int dpi = static_cast<int>(std::lround(1440 / TwipsPerPixelX()));
  const SceneScale scale = SceneScale::FromDpi(dpi);
  FakeProfileStore store;
  Settings s;
  s.BgmKind = 1;
  Vormix_P d(s, store);
  ASSERT_TRUE(d.Load());
  ShowWindow(d.hwnd(), SW_SHOW);
  UpdateWindow(d.hwnd());
  Pump(300);
  HWND panel = GetDlgItem(d.hwnd(), Vormix_P::kIdPanel);
  HDC dc = GetDC(panel);
  // The row through the middle of the CD mark (420, 840 twips in the panel).
  const int left = static_cast<int>(std::lround(420 / TwipsPerPixelX()));
  const int top = static_cast<int>(std::lround(840 / TwipsPerPixelY()));
  const int mid = top + scale.Size(12) / 2;
  auto blue = [&](int x, int y) {
    const COLORREF c = GetPixel(dc, x, y);
    return std::abs(GetRValue(c) - 28) < 24 && std::abs(GetGValue(c) - 81) < 24 && std::abs(GetBValue(c) - 128) < 24;
  };
  int first = -1, last = -1, line = 0;
  for (int x = left - 3; x < left + scale.Size(12) + 4; ++x)
    if (blue(x, mid)) {
      if (first < 0) first = x;
      last = x;
    }
  for (int x = first; x >= 0 && blue(x, mid); ++x) ++line;
  ReleaseDC(panel, dc);
  EXPECT_EQ(first, left);
  EXPECT_EQ(last - first + 1, scale.Size(12)) << "dpi " << dpi;
  // Sharp lines are whole pixels: as many as fit (one at 150 %, not a blur of 1.5).
  EXPECT_EQ(line, dpi / 96) << "dpi " << dpi;
}
