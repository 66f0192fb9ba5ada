// What real installations do to a saver: pictures that cannot be written, bad
// settings files, hosts that kill the pane or press Escape at any moment.
// DOVRA_STRESS_CYCLES sets the number of start-and-stop cycles (default 5).
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "e2e/saver_process.h"
#include "win32/win32_test_util.h"

using namespace dovra::e2e;
using dovra::test::Pump;
using dovra::test::FileThere;
using dovra::test::ReadBytes;
using dovra::test::TempDir;
using dovra::test::WriteBytes;

namespace {

const wchar_t* const kMain = L"Vormix_Main";

bool IsCrash(DWORD code) { return (code & 0xC0000000u) == 0xC0000000u; }
bool CursorShowing() {
  CURSORINFO ci{};
  ci.cbSize = sizeof ci;
  return GetCursorInfo(&ci) && (ci.flags & CURSOR_SHOWING);
}
int Cycles() {
  const char* v = std::getenv("DOVRA_STRESS_CYCLES");
  return v ? std::max(1, atoi(v)) : 5;
}

std::string Bytes(const std::vector<unsigned char>& v) { return std::string(v.begin(), v.end()); }

// A click on the dialog's ｷｬﾝｾﾙ button.
void ClickCancel(HWND dialog) {
  HWND cancel = GetDlgItem(dialog, 104);
  PostMessageW(cancel, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  PostMessageW(cancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(cancel, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

}  // namespace

// Where the pictures cannot be written or read back (here: folders stand where
// the two files would go), the saver still shows the ball and a planet, taken
// from inside the program.
TEST(Reliability, PicturesThatCannotBeWrittenStillShow) {
  TempDir dir;
  CreateDirectoryA(dir.File("Vormix1.bmp").c_str(), nullptr);
  CreateDirectoryA(dir.File("Vormix2.bmp").c_str(), nullptr);
  SaverProcess p(dir.Path(), "/s");
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  Pump(2500);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  int coloured = 0, lightGrey = 0;
  for (int y = sh / 2 - 200; y < sh / 2 + 200; y += 2)
    for (int x = sw / 2 - 250; x < sw / 2 + 250; x += 2) {
      const COLORREF c = GetPixel(screen, x, y);
      const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
      if (r != g || g != b) ++coloured;
      else if (r > 120) ++lightGrey;
    }
  ReleaseDC(nullptr, screen);
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  DWORD code = 0;
  ASSERT_TRUE(p.WaitExit(3000, &code));
  EXPECT_FALSE(IsCrash(code));
  EXPECT_GT(coloured, 3000) << "no planet";
  EXPECT_GT(lightGrey, 100) << "no balls";
  EXPECT_FALSE(FileThere(dir.File("VormixDovra.ini")));
}

TEST(Reliability, BadSettingsFilesNeitherCrashNorChange) {
  std::mt19937 rng(2026);
  std::string random(4096, '\0');
  for (char& c : random) c = static_cast<char>(rng());
  const std::string &kind = kKeyKind, &rep = kKeyRepeat, &file = kKeyFile;
  TempDir shared;
  const std::string locked = shared.File("locked.mp3");
  WriteBytes(locked, "ID3");
  HANDLE lock = CreateFileA(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  const std::vector<std::string> inis = {
      random,
      "[Section]\r\n" + kind + "=" + std::string(1 << 20, '9') + "\r\n",
      "[Section]\r\n" + kind + "=99999999999\r\n" + rep + "=-99999999999\r\n",
      "[Section]\r\n" + kind + "=-7\r\n" + rep + "=-32768\r\n",
      "[Section]\r\n" + kind + "= 2\r\n" + file + "=" + shared.Path() + "\r\n",
      "[Section]\r\n" + kind + "= 2\r\n" + file + "=" + locked + "\r\n",
      "[Section]\r\n" + kind + "= 1\r\n" + rep + "= 3\r\n",  // a CD without a drive
  };
  for (size_t i = 0; i < inis.size(); ++i) {
    for (const char* args : {"/s", "/c"}) {
      SCOPED_TRACE(std::string(args) + " with INI " + std::to_string(i));
      TempDir dir;
      WriteBytes(dir.File("VormixDovra.ini"), inis[i]);
      SaverProcess p(dir.Path(), args);
      const bool full = args[1] == 's';
      HWND w = p.WaitWindow(full ? kMain : kDialogCaption, 10000);
      ASSERT_NE(w, nullptr);
      Pump(300);
      if (full) PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
      else ClickCancel(w);
      DWORD code = 0;
      ASSERT_TRUE(p.WaitExit(5000, &code));
      EXPECT_FALSE(IsCrash(code));
      EXPECT_EQ(Bytes(ReadBytes(dir.File("VormixDovra.ini"))), inis[i]);
    }
  }
  CloseHandle(lock);
}

TEST(Reliability, HostsThatDestroyThePaneLeaveNoProcess) {
  std::mt19937 rng(7);
  for (int i = 0; i < Cycles(); ++i) {
    HWND pane = CreateWindowExW(0, L"STATIC", L"pane", WS_POPUP | WS_VISIBLE, 10, 10, 152, 112, nullptr, nullptr,
                                nullptr, nullptr);
    TempDir dir;
    SaverProcess p(dir.Path(), "/p " + std::to_string(reinterpret_cast<uintptr_t>(pane)));
    ASSERT_TRUE(p.Started());
    Pump(200 + rng() % 1800);
    DestroyWindow(pane);
    DWORD code = 0;
    ASSERT_TRUE(p.WaitExit(2000, &code)) << "cycle " << i << ": the preview outlived its pane";
    EXPECT_FALSE(IsCrash(code)) << std::hex << code;
  }
}

// Escape at any moment from 0 to 3 s after the start, set-up included: the
// window exists (hidden) from the first step of the set-up, and a key posted
// then is handled by the first frame.
TEST(Reliability, EscapeAtAnyMomentEndsEveryRunAndShowsTheCursor) {
  std::mt19937 rng(11);
  for (int i = 0; i < Cycles(); ++i) {
    TempDir dir;
    SaverProcess p(dir.Path(), "/s");
    ASSERT_TRUE(p.Started());
    Pump(rng() % 3000);
    HWND w = nullptr;
    for (int k = 0; k < 500 && !w && p.Running(); ++k) {
      w = FindWindowW(nullptr, kMain);
      if (!w) Pump(10);
    }
    ASSERT_NE(w, nullptr) << "cycle " << i;
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    DWORD code = 0;
    ASSERT_TRUE(p.WaitExit(5000, &code)) << "cycle " << i;
    EXPECT_FALSE(IsCrash(code)) << std::hex << code;
    bool shown = false;
    for (int k = 0; k < 50 && !shown; ++k) {
      shown = CursorShowing();
      if (!shown) Pump(20);
    }
    EXPECT_TRUE(shown) << "cycle " << i;
  }
}

// Music files as real machines have them, on a path too long for the system
// sound player (so Dovra streams them itself): huge ones, an interrupted copy
// whose header promises 600 MB, and one cut while it plays. The window comes
// at once, and Escape ends every run with exit code 0.
TEST(Reliability, HugeBrokenAndVanishingWavFilesNeverHoldTheSaver) {
  ASSERT_GT(waveOutGetNumDevs(), 0u) << "no wave device: the test command points ALSA at a capture file";
  const std::string &kind = kKeyKind, &file = kKeyFile;
  struct Case {
    const char* what;
    uint32_t claimed;
    uint64_t size;
    bool cut;
  };
  const Case cases[] = {
      {"1.5 GB", 0x60000000u, 0x60000000u, false},
      {"600 MB header, 44 KB file", 600u << 20, 0, false},
      {"cut while it plays", 600u << 20, 600u << 20, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    std::string folder = dir.Path();
    while (folder.size() < 160) {
      folder += "\\ABCDEFGH";
      ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    }
    const std::string music = folder + "\\MUSIC.WAV";
    ASSERT_TRUE(WriteToneWav(music, c.claimed, c.size));
    WriteBytes(dir.File("VormixDovra.ini"), "[Section]\r\n" + kind + "= 2\r\n" + file + "=" + music + "\r\n");
    SaverProcess p(dir.Path(), "/s");
    HWND w = p.WaitWindow(kMain, 5000);
    ASSERT_NE(w, nullptr);
    Pump(1000);
    if (c.cut) {
      HANDLE f = CreateFileA(music.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(f, INVALID_HANDLE_VALUE);
      EXPECT_TRUE(SetEndOfFile(f));
      CloseHandle(f);
    }
    Pump(1500);
    ASSERT_TRUE(p.Running());
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    DWORD code = 99;
    ASSERT_TRUE(p.WaitExit(5000, &code)) << "Escape was not answered";
    EXPECT_EQ(code, 0u);
  }
}

// DLLs planted beside a downloaded Dovra.scr under the names of system DLLs it
// uses, which Windows looks for in a program's own folder first, are never
// loaded, whatever the host asks for. (The test command tells Wine to prefer
// such DLLs to its own, as Windows would.) A load asked for by the system's own
// DLLs, not by Dovra, is not Dovra's doing and is only reported.
TEST(Reliability, DllsPlantedBesideTheSaverAreNeverLoaded) {
  const char* const planted[] = {"winmm.dll", "msimg32.dll", "oleacc.dll", "wtsapi32.dll"};
  char overrides[256] = {};
  GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
  ASSERT_NE(std::string(overrides).find("winmm,msimg32,oleacc,wtsapi32=n,b"), std::string::npos)
      << "Wine would never load the planted DLLs: the test command sets WINEDLLOVERRIDES";
  HWND pane = CreateWindowExW(0, L"STATIC", L"pane", WS_POPUP | WS_VISIBLE, 10, 10, 152, 112, nullptr, nullptr,
                              nullptr, nullptr);
  for (const std::string& args : {std::string("/s"), std::string("/c"),
                                  "/p " + std::to_string(reinterpret_cast<uintptr_t>(pane))}) {
    SCOPED_TRACE(args);
    TempDir dir;
    for (const char* name : planted) ASSERT_TRUE(CopyFileA(BuiltSaver("planted.dll").c_str(), dir.File(name).c_str(), FALSE));
    // Music, so that the full-screen run uses the sound player.
    ASSERT_TRUE(WriteToneWav(dir.File("tone.wav"), 44100 + 44, 0));
    WriteBytes(dir.File("VormixDovra.ini"), "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xCC\xA7\xB2\xD9=" + dir.File("tone.wav") + "\r\n");
    SaverProcess p(dir.Path(), args);
    ASSERT_TRUE(p.Started());
    if (args[1] == 'p') {
      Pump(1500);
      ASSERT_TRUE(p.Running()) << "the preview did not start";
      ASSERT_NE(GetWindow(pane, GW_CHILD), nullptr);
      PostMessageW(GetWindow(pane, GW_CHILD), WM_CLOSE, 0, 0);
    } else {
      HWND w = p.WaitWindow(args[1] == 's' ? kMain : kDialogCaption, 10000);
      ASSERT_NE(w, nullptr);
      Pump(1500);
      if (args[1] == 's') {
        PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
      } else {
        // A screen reader asks the dialog: it speaks through oleacc.
        CoInitialize(nullptr);
        IAccessible* a = nullptr;
        EXPECT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(w, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&a)));
        if (a) a->Release();
        CoUninitialize();
        ClickCancel(w);
      }
    }
    DWORD code = 99;
    ASSERT_TRUE(p.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u);
    for (const char* name : planted) {
      const auto marker = ReadBytes(dir.File(std::string(name) + ".loaded"));
      const std::wstring loaders(reinterpret_cast<const wchar_t*>(marker.data()), marker.size() / 2);
      if (marker.empty()) continue;
      // Loaded with the program (an import) or with Dovra on the stack: Dovra's.
      bool systems = false;
      size_t start = 0;
      for (size_t end; (end = loaders.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        const std::wstring m = loaders.substr(start, end - start);
        if (_wcsicmp(m.c_str(), L"Dovra.scr") == 0) { systems = false; break; }
        if (_wcsicmp(m.c_str(), L"ntdll.dll") && _wcsicmp(m.c_str(), L"kernel32.dll") && _wcsicmp(m.c_str(), L"kernelbase.dll"))
          systems = true;
      }
      EXPECT_TRUE(systems) << name << " was loaded by Dovra (stack: " << std::string(loaders.begin(), loaders.end()) << ")";
      if (systems) std::printf("note: %s loaded by the system's own DLLs\n", name);
    }
  }
  DestroyWindow(pane);
}
