#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/command_button_win32.h"
#include "controls/property_store.h"
#include "resources/resource_ids.h"
#include "surface/pixel_copy.h"
#include "toolkit/window_win32.h"
#include "win32/surface_pixels.h"
#include "win32/win32_test_util.h"

using namespace dovra;
using namespace dovra::test;

namespace {

uint32_t Hex(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// An 81 x 29 button face (1215 x 435 twips, the dialog's Set and Cancel size).
Vormix_C1 Face(int faceId, bool hover, FaceGeometry* geometry = nullptr) {
  Vormix_C1 s;
  s.Create(81, 29);
  Picture face = LoadPictureResource(faceId);
  FaceGeometry g;
  PaintFace(s.hdc(), 1215, 435, 15, face.Handle(), hover, g);
  if (geometry) *geometry = g;
  return s;
}


}  // namespace

TEST(ButtonFace, NormalLookOfAnEightyOneByTwentyNinePixelButton) {
  FaceGeometry g;
  Vormix_C1 s = Face(IDB_FACE_NORMAL, false, &g);
  EXPECT_EQ(g.IW, 1095);  // 73 pixels
  EXPECT_EQ(g.IH, 315);   // 21 pixels
  // Gradient: light at the top, towards C6 C5 D7 at the bottom.
  const COLORREF top = At(s, 40, 4), bottom = At(s, 40, 24);
  EXPECT_GE(GetRValue(top), 240);
  EXPECT_GE(GetBValue(top), 245);
  EXPECT_LE(GetRValue(bottom), 215);
  EXPECT_GE(GetRValue(bottom), 0xC6);
  EXPECT_GT(GetBValue(bottom), GetRValue(bottom));  // the blue of D7
  for (int y = 5; y < 24; ++y) EXPECT_LE(GetRValue(At(s, 40, y)), GetRValue(At(s, 40, y - 1)));
  // The dark-blue outline where the eight pieces put it.
  for (int x : {4, 40, 76}) {
    EXPECT_EQ(Hex(At(s, x, 1)), 0x003C74u) << x;
    EXPECT_EQ(Hex(At(s, x, 27)), 0x003C74u) << x;
  }
  for (int y : {4, 14, 24}) {
    EXPECT_EQ(Hex(At(s, 1, y)), 0x003C74u) << y;
    EXPECT_EQ(Hex(At(s, 79, y)), 0x003C74u) << y;
  }
  EXPECT_EQ(Hex(At(s, 40, 2)), 0xF3F3EEu);  // the ring inside the top outline
  // The top strip was stretched from 56 to 73 pixels, the sides from 17 to 21:
  // the corners sit at the far ends, whole.
  Picture face = LoadPictureResource(IDB_FACE_NORMAL);
  Vormix_C1 pic;
  pic.Clone(face.Handle(), true);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(At(s, 77 + x, y), At(pic, 60 + x, y));
      EXPECT_EQ(At(s, 77 + x, 25 + y), At(pic, 60 + x, 21 + y));
    }
}

TEST(ButtonFace, HoverReversesTheGradientAndDisabledIsGrey) {
  Vormix_C1 hover = Face(IDB_FACE_HIGHLIGHT, true);
  EXPECT_LE(GetRValue(At(hover, 40, 4)), 210);
  EXPECT_GE(GetRValue(At(hover, 40, 24)), 240);
  EXPECT_EQ(Hex(At(hover, 40, 2)), 0xFFF0CFu);
  Vormix_C1 off = Face(IDB_FACE_DISABLE, false);
  EXPECT_EQ(Hex(At(off, 40, 1)), 0xC9C7BAu);
  EXPECT_EQ(Hex(At(off, 1, 14)), 0xC9C7BAu);
  // A width whose inner size does not fit 16 bits leaves the previous one.
  FaceGeometry g;
  g.IW = 77;
  Vormix_C1 s;
  s.Create(10, 10);
  PaintFace(s.hdc(), 70000, 435, 15, nullptr, false, g);
  EXPECT_EQ(g.IW, 77);
  EXPECT_EQ(g.IH, 315);
}

TEST(CommandControl, ClicksHoversAndShowsItsCaptionCentred) {
  Window parent;
  ASSERT_TRUE(parent.Create("button host", WS_POPUP | WS_VISIBLE, 0, 200, 200, 300, 120));
  MemoryPropertyStore store;
  store.entries["Caption"] = std::string("WWWW");
  Command c;
  ASSERT_TRUE(c.Create(parent.hwnd(), 300, 300, 1215, 435, 1, store, FontDesc{"Tahoma", 8.25, 400, false, false, false, 0}));
  int clicks = 0;
  c.Click = [&] { ++clicks; };
  c.Initialize();
  EXPECT_EQ(c.Button().ButtonState, 1);
  EXPECT_EQ(c.LastLook(), Look::Normal);
  SendMessageW(c.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(c.LastLook(), Look::HighLight);
  SendMessageW(c.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(c.LastLook(), Look::Pressed);
  SendMessageW(c.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(c.LastLook(), Look::HighLightSelect);

  // The caption: dark pixels centred across the face.
  InvalidateRect(c.hwnd(), nullptr, FALSE);
  UpdateWindow(c.hwnd());
  Pump(100);
  HDC dc = GetDC(c.hwnd());
  int left = 81, right = -1, topRow = 29, bottomRow = -1;
  for (int y = 5; y < 24; ++y)
    for (int x = 5; x < 76; ++x)
      if (GetRValue(GetPixel(dc, x, y)) < 90) {
        left = std::min(left, x); right = std::max(right, x);
        topRow = std::min(topRow, y); bottomRow = std::max(bottomRow, y);
      }
  ReleaseDC(c.hwnd(), dc);
  ASSERT_GT(right, left);
  EXPECT_LE(std::abs((left + right) - 80), 3) << left << ".." << right;
  EXPECT_LE(std::abs((topRow + bottomRow) - 28), 5) << topRow << ".." << bottomRow;

  // The hover poll: the cursor is not over the button, so the next tick ends it.
  SetCursorPos(5, 5);
  Pump(400);
  EXPECT_EQ(c.Button().ButtonState, 3);
  EXPECT_EQ(c.LastLook(), Look::Selected);
}

// Renders the six looks side by side; with DOVRA_SHOT_DIR set, also saves them
// there as a picture to look at.
TEST(CommandControl, SixLooksSideBySide) {
  Window parent;
  ASSERT_TRUE(parent.Create("looks", WS_POPUP | WS_VISIBLE, 0, 0, 0, 6 * 90 + 10, 50,
                            nullptr, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH))));
  const char* names[6] = {"Normal", "HighLight", "HiLiteSel", "Selected", "Pressed", "Disable"};
  const Look looks[6] = {Look::Normal, Look::HighLight, Look::HighLightSelect, Look::Selected, Look::Pressed, Look::Disable};
  const bool hover[6] = {false, true, false, false, true, false};
  Command buttons[6];
  for (int i = 0; i < 6; ++i) {
    MemoryPropertyStore store;
    store.entries["Caption"] = std::string(names[i]);
    ASSERT_TRUE(buttons[i].Create(parent.hwnd(), (10 + i * 90) * 15.0, 150, 1215, 435, i + 1, store, DesignFont()));
    if (looks[i] == Look::Disable) buttons[i].Button().SetEnabled(false);
    buttons[i].DrawFace(looks[i], hover[i]);
  }
  Pump(200);
  Vormix_C1 shot;
  ASSERT_FALSE(shot.Create(6 * 90 + 10, 50));
  HDC dc = GetDC(parent.hwnd());
  shot.CloneHDC(dc, SRCCOPY);
  ReleaseDC(parent.hwnd(), dc);
  EXPECT_EQ(Hex(At(shot, 10 + 40, 10 + 1)), 0x003C74u);             // Normal's outline
  EXPECT_EQ(Hex(At(shot, 10 + 5 * 90 + 40, 10 + 1)), 0xC9C7BAu);    // Disable's grey outline
  EXPECT_EQ(Hex(At(shot, 10 + 1 * 90 + 40, 10 + 2)), 0xFFF0CFu);    // HighLight's orange ring
  EXPECT_EQ(Hex(At(shot, 10 + 3 * 90 + 40, 10 + 2)), 0xCEE7FFu);    // Selected's blue ring
  if (const char* dir = std::getenv("DOVRA_SHOT_DIR")) {
    HBITMAP bmp = static_cast<HBITMAP>(GetCurrentObject(shot.hdc(), OBJ_BITMAP));
    EXPECT_TRUE(SavePictureFile(bmp, std::string(dir) + "\\button_looks.bmp"));
  }
}

TEST(CommandControl, AThousandLookChangesLeaveNoObjectBehind) {
  Window parent;
  ASSERT_TRUE(parent.Create("soak", WS_POPUP, 0, 0, 0, 200, 100));
  MemoryPropertyStore store;
  Command c;
  ASSERT_TRUE(c.Create(parent.hwnd(), 150, 150, 1215, 435, 1, store, DesignFont()));
  c.Initialize();
  for (int i = 0; i < 10; ++i) c.DrawFace(static_cast<Look>(i % 6), i % 2 == 0);  // settle
  const DWORD gdi = GdiObjects(), user = UserObjects();
  const uint64_t memory = PrivateBytes();
  ASSERT_GT(gdi, 0u);
  for (int i = 0; i < 1000; ++i) {
    c.DrawFace(static_cast<Look>(i % 6), i % 3 == 0);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  EXPECT_LE(GdiObjects(), gdi);
  EXPECT_LE(UserObjects(), user);
  EXPECT_LE(PrivateBytes(), memory + 1024 * 1024);
}

namespace {
// A container that paints itself green, as the dialog paints its gradient.
class GreenHost : public Window {
 protected:
  void Form_Paint(HDC dc) override {
    RECT r;
    GetClientRect(hwnd(), &r);
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    FillRect(dc, &r, green);
    DeleteObject(green);
  }
};

// Dark (caption) pixels inside the face, as drawn on the screen now.
int CaptionPixels(HWND w, int* width = nullptr) {
  Pump(100);
  HDC dc = GetDC(w);
  int n = 0, left = 81, right = -1;
  for (int y = 5; y < 24; ++y)
    for (int x = 5; x < 76; ++x)
      if (GetRValue(GetPixel(dc, x, y)) < 90 && GetGValue(GetPixel(dc, x, y)) < 90) {
        ++n;
        left = std::min(left, x);
        right = std::max(right, x);
      }
  ReleaseDC(w, dc);
  if (width) *width = right - left;
  return n;
}
}  // namespace

// A right or middle press leaves the focus where it was and draws nothing; a
// new caption, font or visibility shows at once, and a button made invisible
// shows its container behind it.
TEST(CommandControl, SecondaryButtonsAndPropertyChangesAsAUserSeesThem) {
  GreenHost parent;
  ASSERT_TRUE(parent.Create("host", WS_POPUP | WS_VISIBLE, 0, 300, 200, 300, 120));
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 150, 10, 100, 20, parent.hwnd(),
                              nullptr, nullptr, nullptr);
  MemoryPropertyStore store;
  store.entries["Caption"] = std::string("WWWW");
  Command c;
  ASSERT_TRUE(c.Create(parent.hwnd(), 0, 0, 1215, 435, 1, store, FontDesc{"Tahoma", 8.25, 400, false, false, false, 0}));
  int clicks = 0;
  c.Click = [&] { ++clicks; };
  c.Initialize();
  SetForegroundWindow(parent.hwnd());
  SetFocus(edit);
  for (UINT down : {WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
    const Look before = c.LastLook();
    SendMessageW(c.hwnd(), down, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(c.LastLook(), before);
    SendMessageW(c.hwnd(), down + 1, 0, MAKELPARAM(10, 10));  // the matching release
  }
  EXPECT_EQ(clicks, 2);

  int narrow = 0, wide = 0;
  ASSERT_GT(CaptionPixels(c.hwnd(), &narrow), 0);
  c.Button().SetCaption("");
  EXPECT_EQ(CaptionPixels(c.hwnd()), 0);
  c.Button().SetCaption("WWWW");
  c.Button().SetFont(FontDesc{"Tahoma", 12, 700, false, false, false, 0});
  EXPECT_GT(CaptionPixels(c.hwnd(), &wide), 0);
  EXPECT_GT(wide, narrow + 5);

  c.Button().SetVisible(0);
  Pump(100);
  HDC dc = GetDC(c.hwnd());
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 200, 0));
  EXPECT_EQ(GetPixel(dc, 78, 26), RGB(0, 200, 0));
  ReleaseDC(c.hwnd(), dc);
  DestroyWindow(edit);
}
