// The settings dialog in this process, with the real windows and controls and
// the profile store, file dialog and shell replaced where a test needs it.
#include <gtest/gtest.h>

#include <oleacc.h>

#include <cmath>
#include <cstdlib>
#include <thread>

#include "controls/button_colours.h"
#include "settings_dialog/dialog_logic.h"
#include "settings_dialog/settings_dialog_win32.h"
#include "startup/settings_win32.h"
#include "support/fake_profile_store.h"
#include "toolkit/contrast_win32.h"
#include "toolkit/program_state.h"
#include "toolkit/text_win32.h"
#include "win32/surface_pixels.h"
#include "win32/win32_test_util.h"

using namespace dovra;
using namespace dovra::test;

namespace {


std::string RepeatText(Vormix_P& d) {
  wchar_t t[64] = {};
  GetWindowTextW(d.RepeatBox(), t, 64);
  return WideToUtf8(t);
}

void Press(Command& c, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
  SendMessageW(c.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  SendMessageW(c.hwnd(), down, down == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(3, 3));
  SendMessageW(c.hwnd(), up, 0, MAKELPARAM(3, 3));
}

// A press on the panel at a position in twips.
void PressPanel(Vormix_P& d, double tx, double ty, UINT msg = WM_LBUTTONDOWN) {
  HWND panel = GetDlgItem(d.hwnd(), Vormix_P::kIdPanel);
  SendMessageW(panel, msg, 0, MAKELPARAM(static_cast<int>(tx / 15), static_cast<int>(ty / 15)));
}

struct Dialog {
  FakeProfileStore store;
  Settings s;
  std::unique_ptr<Vormix_P> d;
  explicit Dialog(int16_t kind, int16_t repeat = 0, const std::string& file = "") {
    s.BgmKind = kind;
    s.BgmRepeat = repeat;
    s.BgmFile = file;
    s.BgmDir = "C:\\Music";
    s.IniPath = "C:\\Savers\\VormixDovra.ini";
    d = std::make_unique<Vormix_P>(s, store);
    EXPECT_TRUE(d->Load());
  }
  std::string Stored(const char* key) {
    return store.values[std::make_tuple(s.IniPath, std::string("Section"), std::string(key))];
  }
};

}  // namespace

TEST(SettingsDialog, LaidOutAsDesignedAndCentred) {
  Dialog t(0);
  HWND h = t.d->hwnd();
  wchar_t caption[64] = {};
  GetWindowTextW(h, caption, 64);
  EXPECT_EQ(WideToUtf8(caption), "Vormix_Dovraの設定");
  RECT c{};
  GetClientRect(h, &c);
  EXPECT_EQ(c.right, 496);  // 7440 x 3645 twips
  EXPECT_EQ(c.bottom, 243);
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & WS_CAPTION);
  EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_THICKFRAME);
  RECT w{};
  GetWindowRect(h, &w);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(w.left, (sw - (w.right - w.left)) / 2, 1);
  EXPECT_NEAR(w.top, (sh - (w.bottom - w.top)) / 3, 1);
  auto at = [&](HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  const RECT panel = at(GetDlgItem(h, Vormix_P::kIdPanel));
  EXPECT_EQ(panel.left, 12);
  EXPECT_EQ(panel.top, 16);
  EXPECT_EQ(panel.right - panel.left, 469);
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(h, Vormix_P::kIdPanel), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  const RECT set = at(t.d->CmdSet().hwnd());
  EXPECT_EQ(set.left, 320);
  EXPECT_EQ(set.top, 196);
  EXPECT_EQ(set.right - set.left, 81);
  EXPECT_EQ(set.bottom - set.top, 29);
  EXPECT_EQ(at(t.d->CmdCan().hwnd()).left, 404);
  const RECT file = at(t.d->CmdFile().hwnd());
  EXPECT_EQ(file.left, 28);
  EXPECT_EQ(file.top, 112);
  EXPECT_EQ(at(t.d->RepeatBox()).left, 112);
  EXPECT_EQ(t.d->CmdSet().Button().GetCaption(), "設定");
  EXPECT_EQ(t.d->CmdCan().Button().GetCaption(), "ｷｬﾝｾﾙ");
  EXPECT_EQ(t.d->CmdFile().Button().GetCaption(), "...");
  EXPECT_EQ(t.d->CmdSet().Button().ButtonState, 1);  // every button was initialised
  EXPECT_EQ(SendMessageW(t.d->RepeatBox(), CB_GETCOUNT, 0, 0), 31);
}

// Moved to a monitor of another scale, the dialog lays itself out again at the
// new density, at the place the system suggests; back at 96 dpi it is as it
// opened.
TEST(SettingsDialog, FollowsTheScaleOfItsMonitor) {
  Dialog t(2);
  HWND h = t.d->hwnd();
  auto at = [&](HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  auto px = [](double twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440)); };
  for (int dpi : {144, 192, 96}) {
    SCOPED_TRACE(dpi);
    // Asked first for the size it will take there, as Windows asks.
    SIZE asked{};
    EXPECT_TRUE(SendMessageW(h, 0x02E4 /* WM_GETDPISCALEDSIZE */, dpi, reinterpret_cast<LPARAM>(&asked)));
    RECT suggested{40, 30, 40 + 700, 30 + 400};
    SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT w{}, c{};
    GetWindowRect(h, &w);
    GetClientRect(h, &c);
    EXPECT_EQ(w.left, 40);
    EXPECT_EQ(w.top, 30);
    // The frame the system gives a client area of 7440 x 3645 twips there.
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    auto adjust = reinterpret_cast<AdjustForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    RECT frame{0, 0, px(7440, dpi), px(3645, dpi)};
    ASSERT_TRUE(adjust && adjust(&frame, GetWindowLongW(h, GWL_STYLE), FALSE, GetWindowLongW(h, GWL_EXSTYLE), dpi));
    EXPECT_EQ(asked.cx, frame.right - frame.left);
    EXPECT_EQ(asked.cy, frame.bottom - frame.top);
    EXPECT_EQ(c.right, px(7440, dpi));
    EXPECT_EQ(c.bottom, px(3645, dpi));
    // Each control's place and size in twips (the list's height follows its font).
    const struct {
      HWND control;
      double l, t, w, h;
    } boxes[] = {{GetDlgItem(h, Vormix_P::kIdPanel), 180, 240, 7035, 2475}, {t.d->CmdSet().hwnd(), 4800, 2940, 1215, 435},
                 {t.d->CmdCan().hwnd(), 6060, 2940, 1215, 435},  {t.d->CmdFile().hwnd(), 420, 1680, 615, 375},
                 {t.d->RepeatBox(), 1680, 780, 615, -1}};
    for (const auto& b : boxes) {
      const RECT r = at(b.control);
      EXPECT_EQ(r.left, px(b.l, dpi));
      EXPECT_EQ(r.top, px(b.t, dpi));
      EXPECT_EQ(r.right - r.left, px(b.w, dpi));
      if (b.h > 0) {
        EXPECT_EQ(r.bottom - r.top, px(b.h, dpi));
      }
    }
    EXPECT_EQ(t.d->CmdSet().Surface().Width(), px(1215, dpi));  // the face at the new size
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(t.d->RepeatBox(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -std::lround(DesignFont().Size * dpi / 72));
  }
}

TEST(SettingsDialog, OpensWithTheStoredChoice) {
  Dialog cd(1, 5);
  EXPECT_EQ(cd.d->MarkedKind(), 1);
  EXPECT_TRUE(IsWindowEnabled(cd.d->RepeatBox()));
  EXPECT_EQ(RepeatText(*cd.d), "5");
  EXPECT_EQ(cd.d->CmdFile().Button().EnabledFlag, 0);

  Dialog file(2, 0, "C:\\Music\\song.mp3");
  EXPECT_EQ(file.d->MarkedKind(), 2);
  EXPECT_FALSE(IsWindowEnabled(file.d->RepeatBox()));
  EXPECT_EQ(RepeatText(*file.d), "");  // 0 shows as an empty text
  EXPECT_NE(file.d->CmdFile().Button().EnabledFlag, 0);
  EXPECT_EQ(file.d->FileCaption(), "C:\\Music\\song.mp3");
  wchar_t first[8] = {L'x'};
  SendMessageW(file.d->RepeatBox(), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(first[0], L'\0');  // the first entry is empty

  Dialog odd(9);
  EXPECT_EQ(odd.d->MarkedKind(), -1);  // a kind outside 0..2 marks nothing
}

TEST(SettingsDialog, MarksAndLabelsChooseWithAnyButton) {
  Dialog t(0);
  PressPanel(*t.d, 420 + 90, 840 + 90, WM_RBUTTONDOWN);  // right button on the CD mark
  EXPECT_EQ(t.s.BgmKind, 1);
  EXPECT_EQ(t.d->MarkedKind(), 1);
  EXPECT_TRUE(IsWindowEnabled(t.d->RepeatBox()));
  PressPanel(*t.d, 660 + 60, 1440 + 90);  // the label "MP3、WAV"
  EXPECT_EQ(t.s.BgmKind, 2);
  EXPECT_FALSE(IsWindowEnabled(t.d->RepeatBox()));
  EXPECT_NE(t.d->CmdFile().Button().EnabledFlag, 0);
  PressPanel(*t.d, 660 + 30, 1140 + 90, WM_MBUTTONDOWN);  // "なし"
  EXPECT_EQ(t.s.BgmKind, 0);
  EXPECT_EQ(t.d->CmdFile().Button().EnabledFlag, 0);
  PressPanel(*t.d, 3000, 1100);  // empty panel: nothing
  EXPECT_EQ(t.s.BgmKind, 0);
}

TEST(SettingsDialog, ConfirmWritesAllThreeKeysInOrder) {
  Dialog t(2, 3, "C:\\Music\\song.mp3");
  PressPanel(*t.d, 420 + 90, 1140 + 90);  // "なし"
  SetWindowTextW(t.d->RepeatBox(), L"7");
  Press(t.d->CmdSet());
  ASSERT_EQ(t.store.writes.size(), 3u);
  EXPECT_EQ(t.store.batches, 1);  // in one step
  EXPECT_EQ(std::get<2>(t.store.writes[0]), ini::kKeyKind);
  EXPECT_EQ(std::get<2>(t.store.writes[1]), ini::kKeyRepeat);
  EXPECT_EQ(std::get<2>(t.store.writes[2]), ini::kKeyFile);
  EXPECT_EQ(t.Stored(ini::kKeyKind), " 0");
  EXPECT_EQ(t.Stored(ini::kKeyRepeat), " 7");  // written whatever the kind
  EXPECT_EQ(t.Stored(ini::kKeyFile), "C:\\Music\\song.mp3");  // the path is kept
  EXPECT_EQ(t.d->hwnd(), nullptr);  // unloaded
}

TEST(SettingsDialog, RepeatTextsThatAreNoTrackWriteZero) {
  for (const wchar_t* text : {L"", L"abc", L"99999", L"-40000", L"5x"}) {
    Dialog t(1, 4);
    SetWindowTextW(t.d->RepeatBox(), text);
    Press(t.d->CmdSet());
    EXPECT_EQ(t.Stored(ini::kKeyRepeat), " 0");
  }
  Dialog neg(1);
  SetWindowTextW(neg.d->RepeatBox(), L"-3");
  Press(neg.d->CmdSet());
  EXPECT_EQ(neg.Stored(ini::kKeyRepeat), "-3");
}

TEST(SettingsDialog, CancelCloseAndACancelledFileDialogWriteNothing) {
  {
    Dialog t(2, 0, "C:\\old.mp3");
    t.d->OpenFileDialog = [](HWND, const std::string& dir, std::wstring& chosen) {
      EXPECT_EQ(dir, "C:\\Music");
      chosen = L"C:\\New Music\\b.wav";
      return true;
    };
    Press(t.d->CmdFile());
    EXPECT_EQ(t.s.BgmFile, "C:\\New Music\\b.wav");
    EXPECT_EQ(t.s.BgmDir, "C:\\New Music");
    EXPECT_EQ(t.d->FileCaption(), "C:\\New Music\\b.wav");
    Press(t.d->CmdCan());
    EXPECT_TRUE(t.store.writes.empty());
    EXPECT_EQ(t.d->hwnd(), nullptr);
  }
  {
    Dialog t(0);
    SendMessageW(t.d->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(50);
    EXPECT_TRUE(t.store.writes.empty());
    EXPECT_EQ(t.d->hwnd(), nullptr);
  }
  {
    Dialog t(2, 0, "C:\\old.mp3");
    t.d->OpenFileDialog = [](HWND, const std::string&, std::wstring&) { return false; };
    Press(t.d->CmdFile());
    EXPECT_EQ(t.s.BgmFile, "C:\\old.mp3");
    EXPECT_EQ(t.s.BgmDir, "C:\\Music");
    EXPECT_EQ(t.d->FileCaption(), "C:\\old.mp3");
  }
  {
    Dialog t(0);  // the file button is disabled for kind 0: no dialog
    bool asked = false;
    t.d->OpenFileDialog = [&](HWND, const std::string&, std::wstring&) { return asked = true; };
    Press(t.d->CmdFile());
    EXPECT_FALSE(asked);
  }
}

// A path with characters the ANSI code page cannot hold: the short name where
// the file has one, else the choice is refused with a word in the dialog and
// the previous file stays. (On the UTF-8 code page the names are kept whole.)
TEST(SettingsDialog, APathTheCodePageCannotHoldIsShortenedOrRefused) {
  TempDir dir;
  const std::wstring folder = AnsiToWide(dir.Path());
  for (const wchar_t* name : {L"\uD55C\uAD6D\uC5B4.mp3", L"caf\u00E9.wav"}) {  // 한국어, café
    const std::wstring wide = folder + L"\\" + name;
    HANDLE f = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    Dialog t(2, 0, "C:\\old.mp3");
    t.d->OpenFileDialog = [&](HWND, const std::string&, std::wstring& chosen) { chosen = wide; return true; };
    Press(t.d->CmdFile());
    EXPECT_NE(t.s.BgmFile, "C:\\old.mp3");
    EXPECT_EQ(t.s.BgmFile.find('?'), std::string::npos) << t.s.BgmFile;
    EXPECT_TRUE(FileExists(t.s.BgmFile, CanOpenForReadingWin32, AnsiLeadBytes())) << t.s.BgmFile;
    const DWORD folderAttributes = GetFileAttributesA(t.s.BgmDir.c_str());
    EXPECT_TRUE(folderAttributes != INVALID_FILE_ATTRIBUTES && (folderAttributes & FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(t.d->Notice(), "");
  }
  Dialog t(2, 0, "C:\\old.mp3");
  t.d->OpenFileDialog = [&](HWND, const std::string&, std::wstring& chosen) {
    // No such file, so no short name either; the broken surrogate pair is
    // more than even the UTF-8 code page can hold.
    chosen = folder + L"\\\uD55C\uAD6D\uC5B4" + std::wstring(1, wchar_t(0xD800)) + L"-none.mp3";
    return true;
  };
  Press(t.d->CmdFile());
  EXPECT_EQ(t.s.BgmFile, "C:\\old.mp3");
  EXPECT_EQ(t.s.BgmDir, "C:\\Music");
  EXPECT_EQ(t.d->FileCaption(), "C:\\old.mp3");
  EXPECT_EQ(t.d->Notice(), Vormix_P::kPathNotStorable);
}

namespace {
bool Within(HWND focus, HWND control) { return focus && (focus == control || IsChild(control, focus)); }
HWND g_expectedFocus = nullptr;
bool g_focusedAtOpen = false;
void CALLBACK NoteFocusAndClose(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  g_focusedAtOpen = Within(GetFocus(), g_expectedFocus);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}
}  // namespace

// The dialog opens on the first control the window system lets take the focus
// (a Command that is not Enabled still takes it; the disabled list does not),
// and the control that had the focus gets it back when the dialog is active
// again, unless it can no longer take it.
TEST(SettingsDialog, FocusOpensOnTheFirstFocusableControlAndComesBack) {
  for (int16_t kind : {0, 1, 2}) {
    Dialog t(kind);
    g_expectedFocus = kind == 1 ? t.d->RepeatBox() : t.d->CmdFile().hwnd();
    g_focusedAtOpen = false;
    SetTimer(t.d->hwnd(), 1, 300, &NoteFocusAndClose);
    t.d->ShowModal();
    EXPECT_TRUE(g_focusedAtOpen) << "kind " << kind;
  }
  Dialog t(1);
  ShowWindow(t.d->hwnd(), SW_SHOW);
  Window other;
  ASSERT_TRUE(other.Create("another program", WS_POPUP | WS_VISIBLE, 0, 0, 0, 50, 50));
  const auto awayAndBack = [&] {
    SetForegroundWindow(other.hwnd());
    Pump(100);
    EXPECT_FALSE(Within(GetFocus(), t.d->hwnd()));
    SetForegroundWindow(t.d->hwnd());
    Pump(100);
    return GetFocus();
  };
  SetForegroundWindow(t.d->hwnd());
  SetFocus(t.d->CmdCan().hwnd());
  Pump(50);
  EXPECT_EQ(awayAndBack(), t.d->CmdCan().hwnd());
  // The list had the focus and was disabled meanwhile (なし chosen).
  SetFocus(t.d->RepeatBox());
  PressPanel(*t.d, 660 + 30, 1140 + 90);
  ASSERT_FALSE(IsWindowEnabled(t.d->RepeatBox()));
  EXPECT_EQ(awayAndBack(), t.d->CmdFile().hwnd());
  // Focus on the dialog itself when it went inactive: nothing is remembered.
  SetFocus(t.d->CmdCan().hwnd());
  SetFocus(t.d->hwnd());
  EXPECT_EQ(awayAndBack(), t.d->CmdFile().hwnd());
}

TEST(SettingsDialog, LinkOpensThePageThroughTheShell) {
  Dialog t(0);
  std::wstring opened;
  t.d->OpenUrl = [&](HWND owner, const std::wstring& url) {
    EXPECT_EQ(owner, t.d->hwnd());
    opened = url;
  };
  t.d->lbl_URL_Click();
  EXPECT_EQ(WideToUtf8(opened), Vormix_P::kUrl);
  EXPECT_EQ(std::string(Vormix_P::kUrl).rfind("https://", 0), 0u);
  // A click on the link itself: press and release on its text.
  opened.clear();
  SendMessageW(t.d->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 215));
  SendMessageW(t.d->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(20, 215));
  EXPECT_FALSE(opened.empty());
}

TEST(SettingsDialog, GradientsBehindTransparentLabels) {
  Dialog t(1, 5);
  ShowWindow(t.d->hwnd(), SW_SHOW);
  UpdateWindow(t.d->hwnd());
  Pump(300);
  HDC dc = GetDC(t.d->hwnd());
  EXPECT_EQ(GetPixel(dc, 5, 0), RGB(0, 0, 30));
  EXPECT_EQ(GetPixel(dc, 5, 121), RGB(220, 220, 250));
  EXPECT_EQ(GetPixel(dc, 490, 121), RGB(220, 220, 250));
  ReleaseDC(t.d->hwnd(), dc);
  HWND panel = GetDlgItem(t.d->hwnd(), Vormix_P::kIdPanel);
  HDC pdc = GetDC(panel);
  EXPECT_EQ(GetPixel(pdc, 300, 0), RGB(30, 30, 30));
  const COLORREF middle = GetPixel(pdc, 440, 80);
  EXPECT_GE(GetRValue(middle), 245);
  ReleaseDC(panel, pdc);
  ShowWindow(t.d->hwnd(), SW_HIDE);
}

// Every look of the three buttons as the dialog shows them at 96 dpi, caption
// included, byte for byte as before scaled screens came in (looks in the order
// Normal, HighLight, HighLightSelect, Selected, Pressed, Disable).
TEST(SettingsDialog, ButtonLooksAtNinetySixDpiAreByteForByte) {
  Dialog t(2);
  ShowWindow(t.d->hwnd(), SW_SHOW);
  UpdateWindow(t.d->hwnd());
  Pump(200);
  const Look looks[6] = {Look::Normal, Look::HighLight, Look::HighLightSelect, Look::Selected, Look::Pressed, Look::Disable};
  const bool hover[6] = {false, true, false, false, true, false};
  struct Row {
    const char* name;
    Command& c;
    uint64_t hash[6];
  } rows[] = {
      {"Cmd_File", t.d->CmdFile(),
       {0x43b22376e1b364efull, 0x866b4a74e9be303aull, 0x8fdf6c085cb84c58ull,
        0xce98babfc8651b51ull, 0xc7d1e7fdcbcae3f7ull, 0x86d5157ab0a465a3ull}},
      {"Cmd_Set", t.d->CmdSet(),
       {0x39d585d33090beadull, 0xa469347c68ae878eull, 0x7d1e0648bf9ca92ull,
        0x7e55a425138632bfull, 0x51cd99e4497625ceull, 0xc4b26b1410edf3e5ull}},
      {"Cmd_Can", t.d->CmdCan(),
       {0x31ab52aaedb6f3b3ull, 0x56a0326fc3405d0cull, 0x38c6f3f73b43b674ull,
        0x642fbc3807d13f7dull, 0xd8abf3bea8c6350ull, 0xd5db0ee00f427600ull}},
  };
  for (Row& r : rows) {
    RECT rc;
    GetClientRect(r.c.hwnd(), &rc);
    for (int i = 0; i < 6; ++i) {
      if (looks[i] == Look::Disable) r.c.Button().SetEnabled(false);
      r.c.DrawFace(looks[i], hover[i]);
      Pump(20);
      HDC dc = GetDC(r.c.hwnd());
      uint64_t hash = 1469598103934665603ull;
      for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) hash = (hash ^ GetPixel(dc, x, y)) * 1099511628211ull;
      ReleaseDC(r.c.hwnd(), dc);
      EXPECT_EQ(hash, r.hash[i]) << r.name << " look " << i << ": 0x" << std::hex << hash;
    }
  }
}

namespace {
VARIANT Id(LONG id) {
  VARIANT v{};
  v.vt = VT_I4, v.lVal = id;
  return v;
}
IAccessible* ObjectOf(HWND w) {
  void* a = nullptr;
  return SUCCEEDED(AccessibleObjectFromWindow(w, OBJID_CLIENT, IID_IAccessible, &a)) ? static_cast<IAccessible*>(a) : nullptr;
}
HWND g_askDuring = nullptr;
IAccessible* g_asked = nullptr;
LRESULT CALLBACK AskWhileDestroyed(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (m->hwnd == g_askDuring && m->message == WM_DESTROY) g_asked = ObjectOf(GetParent(m->hwnd));
  return CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace

// A screen reader's calls in this process: no object on a multithreaded
// apartment; a failed call empties its out-parameters; an action that arrives
// once the dialog is disabled is dropped, and every part is unavailable then.
TEST(SettingsDialog, ScreenReaderCallsActOnlyWhenTheyMay) {
  LRESULT fromMta = 0;
  std::thread([&] {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    fromMta = SendMessageW(Dialog(0).d->hwnd(), WM_GETOBJECT, 0, static_cast<LPARAM>(static_cast<LONG>(OBJID_CLIENT)));
    CoUninitialize();
  }).join();
  EXPECT_EQ(fromMta, 0);

  const AccessibilityApartment apartment;
  Dialog t(1);
  IAccessible* root = ObjectOf(t.d->hwnd());
  IAccessible* list = ObjectOf(t.d->RepeatBox());
  ASSERT_TRUE(root && list);
  BSTR name = reinterpret_cast<BSTR>(&t);
  VARIANT state = Id(7);
  EXPECT_HRESULT_FAILED(root->get_accName(Id(99), &name));
  EXPECT_HRESULT_FAILED(root->get_accState(Id(99), &state));
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&t);
  EXPECT_HRESULT_FAILED(root->GetTypeInfo(0, 0, &info));
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(state.vt, VT_EMPTY);
  EXPECT_EQ(info, nullptr);
  ASSERT_HRESULT_SUCCEEDED(root->accDoDefaultAction(Id(4)));  // 設定, posted
  EnableWindow(t.d->hwnd(), FALSE);
  Pump(100);
  EXPECT_TRUE(t.store.writes.empty());
  ASSERT_HRESULT_SUCCEEDED(list->get_accState(Id(CHILDID_SELF), &state));
  EXPECT_TRUE(state.lVal & STATE_SYSTEM_UNAVAILABLE);
  list->Release();
  root->Release();
}

// A client that asks for the dialog's object while the dialog is torn down
// (its buttons going), by closing or by the dialog object's end: the object it
// gets is cut off with the window and freed when the client lets it go.
TEST(SettingsDialog, AnObjectAskedForDuringTeardownGoesWithTheWindow) {
  const AccessibilityApartment apartment;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &AskWhileDestroyed, nullptr, GetCurrentThreadId());
  for (bool closed : {true, false}) {
    Dialog t(0);
    g_askDuring = t.d->CmdSet().hwnd();
    g_asked = nullptr;
    if (closed) Press(t.d->CmdCan());
    else t.d.reset();
    ASSERT_NE(g_asked, nullptr);
    EXPECT_EQ(g_asked->Release(), 0u) << (closed ? "closed" : "object ended");
  }
  UnhookWindowsHookEx(hook);
}

namespace {
// Windows' High Contrast Black and White: window, window text, button face,
// button text, highlight, highlight text, grey text, hot light.
const int kIds[8] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                     COLOR_GRAYTEXT, COLOR_HOTLIGHT};
const COLORREF kBlack[8] = {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFEB1A, 0x000000, 0x3FF23F, 0x00FFFF};
const COLORREF kWhite[8] = {0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x6E0037, 0xFFFFFF, 0x000060, 0x9F0000};

// What a window shows now, saved as a picture into DOVRA_SHOT_DIR when that
// is set and the picture is named.
Vormix_C1 Grab(HWND w, const char* shot = nullptr) {
  Pump(150);
  RECT r{};
  GetClientRect(w, &r);
  Vormix_C1 s;
  s.Create(r.right, r.bottom);
  HDC dc = GetDC(w);
  s.CloneHDC(dc, SRCCOPY);
  ReleaseDC(w, dc);
  if (const char* dir = std::getenv("DOVRA_SHOT_DIR"); dir && shot)
    SavePictureFile(static_cast<HBITMAP>(GetCurrentObject(s.hdc(), OBJ_BITMAP)), std::string(dir) + "\\" + shot);
  return s;
}

int Count(const Vormix_C1& s, RECT r, COLORREF c) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += At(s, x, y) == c;
  return n;
}
}  // namespace

// With High Contrast on (Wine sets the colours and tells the windows, but
// cannot switch the theme on: the query is answered here), the dialog, the
// panel and each look of a button draw in the system's colours, and follow a
// change at once: the theme switched on and off, other colours meanwhile.
TEST(SettingsDialog, HighContrastDrawsInTheSystemColoursAndFollowsAChange) {
  COLORREF saved[8];
  for (int i = 0; i < 8; ++i) saved[i] = GetSysColor(kIds[i]);
  Dialog t(2, 0, "C:\\Music\\song.mp3");
  HWND h = t.d->hwnd(), panel = GetDlgItem(h, Vormix_P::kIdPanel);
  ShowWindow(h, SW_SHOW);
  Grab(h, "dialog_designed.bmp");
  SetSysColors(8, kIds, kBlack);
  AnswerHighContrastQuery(true);
  SendMessageW(h, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);  // as the system tells top-level windows
  for (const COLORREF* scheme : {kBlack, kWhite}) {
    SCOPED_TRACE(scheme == kBlack ? "black" : "white");
    if (scheme == kWhite) SetSysColors(8, kIds, kWhite);
    const Vormix_C1 d = Grab(h, scheme == kBlack ? "dialog_high_contrast_black.bmp" : "dialog_high_contrast_white.bmp");
    const Vormix_C1 p = Grab(panel);
    const DialogColours c = DialogLookColours(CurrentColourScheme());
    EXPECT_EQ(c.windowBack, scheme[0]);
    EXPECT_EQ(At(d, 5, 121), c.windowBack);                     // where the gradient was brightest
    EXPECT_GT(Count(d, RECT{12, 192, 160, 205}, c.windowText), 20);  // the credit
    EXPECT_GT(Count(d, RECT{12, 208, 200, 221}, c.link), 20);        // the link
    EXPECT_EQ(At(p, 440, 80), c.panelBack);
    EXPECT_GT(Count(p, RECT{44, 56, 90, 70}, c.panelText), 20);      // 音楽CD
    EXPECT_GT(Count(p, RECT{28, 96, 41, 109}, c.markFill), 20);      // the chosen mark, MP3、WAV
    EXPECT_EQ(At(Grab(t.d->CmdCan().hwnd()), 0, 14), scheme[3]);     // redrawn at once: the Normal frame
  }
  // Each look of a button: frame, face, focus mark and caption.
  Command& b = t.d->CmdSet();
  for (Look look : {Look::Normal, Look::HighLight, Look::HighLightSelect, Look::Selected, Look::Pressed, Look::Disable}) {
    b.Button().SetEnabled(look != Look::Disable);
    b.DrawFace(look, false);
    const ButtonColours want = ButtonLookColours(CurrentColourScheme(), look, look != Look::Disable);
    const int mark = want.frameWidth + 2;  // a gap inside the frame
    const Vormix_C1 f = Grab(b.hwnd());
    EXPECT_EQ(At(f, 0, 14), want.frame) << int(look);
    EXPECT_EQ(At(f, 10, 10), want.face) << int(look);
    EXPECT_EQ(At(f, mark, mark), want.focusMark ? want.text : want.face) << int(look);
    EXPECT_GT(Count(f, RECT{20, 6, 61, 23}, want.text), 15) << int(look);
  }
  SetSysColors(8, kIds, saved);
  AnswerHighContrastQuery(false);
  SendMessageW(h, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  AnswerHighContrastQuery(std::nullopt);
  EXPECT_EQ(At(Grab(h), 5, 121), RGB(220, 220, 250));
  EXPECT_EQ(At(Grab(t.d->CmdCan().hwnd()), 40, 1), RGB(0x00, 0x3C, 0x74));  // the Normal face's outline
}
