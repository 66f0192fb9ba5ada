// The settings dialog of Dovra.scr /c, driven from outside as a user would:
// clicks on marks and labels, typing into the repeat box, the buttons.
#include <gtest/gtest.h>

#include "e2e/saver_process.h"
#include "win32/win32_test_util.h"

using namespace dovra::e2e;
using dovra::test::Pump;
using dovra::test::ReadBytes;
using dovra::test::TempDir;
using dovra::test::WriteBytes;

namespace {

enum { kPanel = 100, kRepeatBox = 101, kFileButton = 102, kSet = 103, kCancel = 104 };

std::string Ini(const TempDir& dir) {
  const auto b = ReadBytes(dir.File("VormixDovra.ini"));
  return std::string(b.begin(), b.end());
}

// A click as the user makes it: the pointer arrives, then press and release.
void Click(HWND control, UINT down = WM_LBUTTONDOWN, UINT up = WM_LBUTTONUP) {
  PostMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  PostMessageW(control, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(4, 4));
  PostMessageW(control, up, 0, MAKELPARAM(4, 4));
}

// A press on the panel at a place given in twips.
void PressPanel(HWND dialog, int tx, int ty, UINT msg = WM_LBUTTONDOWN) {
  PostMessageW(GetDlgItem(dialog, kPanel), msg, 0, MAKELPARAM(tx / 15, ty / 15));
}

void Type(HWND dialog, const std::wstring& text) {
  HWND combo = GetDlgItem(GetDlgItem(dialog, kPanel), kRepeatBox);
  HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
}

std::wstring RepeatText(HWND dialog) {
  // WM_GETTEXT itself: GetWindowText does not ask a window of another process.
  wchar_t t[32] = {};
  SendMessageW(GetDlgItem(GetDlgItem(dialog, kPanel), kRepeatBox), WM_GETTEXT, 32, reinterpret_cast<LPARAM>(t));
  return t;
}

// Wine writes "key=2" where Windows writes "key= 2"; both read back alike.
bool HasEntry(const std::string& ini, const std::string& key, const std::string& value) {
  return ini.find(key + "= " + value + "\r\n") != std::string::npos ||
         ini.find(key + "=" + value + "\r\n") != std::string::npos;
}

}  // namespace

TEST(DialogRun, StoredCdChoiceShowsAndATypedRepeatIsWritten) {
  TempDir dir;
  const std::string stored = "[Section]\r\n" + kKeyKind + "= 1\r\n" + kKeyRepeat + "= 5\r\n";
  WriteBytes(dir.File("VormixDovra.ini"), stored);
  SaverProcess p(dir.Path(), "/c");
  HWND d = p.WaitWindow(kDialogCaption, 10000);
  ASSERT_NE(d, nullptr);
  HWND combo = GetDlgItem(GetDlgItem(d, kPanel), kRepeatBox);
  EXPECT_TRUE(IsWindowEnabled(combo));
  EXPECT_EQ(RepeatText(d), L"5");
  Type(d, L"7");
  Click(GetDlgItem(d, kSet));
  DWORD code = 0;
  ASSERT_TRUE(p.WaitExit(5000, &code));
  EXPECT_EQ(code, 0u);
  // Byte for byte, with the one difference Wine makes (no blank before a number).
  const std::string ini = Ini(dir);
  auto expected = [&](const std::string& blank) {
    return "[Section]\r\n" + kKeyKind + "=" + blank + "1\r\n" + kKeyRepeat + "=" + blank + "7\r\n" + kKeyFile + "=\r\n";
  };
  EXPECT_TRUE(ini == expected(" ") || ini == expected("")) << ini;
}

TEST(DialogRun, ChoosingNoneWritesZeroAndKeepsThePath) {
  TempDir dir;
  const std::string music = dir.File("a song.mp3");
  WriteBytes(music, "ID3");
  WriteBytes(dir.File("VormixDovra.ini"), "[Section]\r\n" + kKeyKind + "= 2\r\n" + kKeyRepeat + "= 0\r\n" + kKeyFile + "=" + music + "\r\n");
  SaverProcess p(dir.Path(), "/c:1234");
  HWND d = p.WaitWindow(kDialogCaption, 10000);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(RepeatText(d), L"");  // repeat 0 shows an empty text
  PressPanel(d, 700, 1230);       // the label "なし"
  Type(d, L"abc");                // not a number: written as 0
  Click(GetDlgItem(d, kSet));
  ASSERT_TRUE(p.WaitExit(5000));
  const std::string ini = Ini(dir);
  EXPECT_TRUE(HasEntry(ini, kKeyKind, "0")) << ini;
  EXPECT_TRUE(HasEntry(ini, kKeyRepeat, "0")) << ini;
  EXPECT_TRUE(HasEntry(ini, kKeyFile, music)) << ini;
}

TEST(DialogRun, RightButtonOnAMarkChoosesIt) {
  TempDir dir;
  SaverProcess p(dir.Path(), "/c");
  HWND d = p.WaitWindow(kDialogCaption, 10000);
  ASSERT_NE(d, nullptr);
  PressPanel(d, 510, 930, WM_RBUTTONDOWN);  // the CD mark
  Pump(200);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(GetDlgItem(d, kPanel), kRepeatBox)));
  Click(GetDlgItem(d, kSet));
  ASSERT_TRUE(p.WaitExit(5000));
  EXPECT_TRUE(HasEntry(Ini(dir), kKeyKind, "1")) << Ini(dir);
}

TEST(DialogRun, CancelAndTheCloseBoxWriteNothing) {
  for (bool closeBox : {false, true}) {
    TempDir dir;
    const std::string stored = "[Section]\r\n" + kKeyKind + "= 1\r\n" + kKeyRepeat + "= 5\r\n";
    WriteBytes(dir.File("VormixDovra.ini"), stored);
    SaverProcess p(dir.Path(), "/c");
    HWND d = p.WaitWindow(kDialogCaption, 10000);
    ASSERT_NE(d, nullptr);
    PressPanel(d, 500, 1530);  // MP3、WAV
    Type(d, L"9");
    if (closeBox) PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
    else Click(GetDlgItem(d, kCancel));
    DWORD code = 0;
    ASSERT_TRUE(p.WaitExit(5000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Ini(dir), stored);
  }
  TempDir empty;
  SaverProcess p(empty.Path(), "/c");
  HWND d = p.WaitWindow(kDialogCaption, 10000);
  ASSERT_NE(d, nullptr);
  Click(GetDlgItem(d, kCancel));
  ASSERT_TRUE(p.WaitExit(5000));
  EXPECT_TRUE(ReadBytes(empty.File("VormixDovra.ini")).empty());  // no file is created
}

TEST(DialogRun, CancellingTheFileDialogChangesNothing) {
  TempDir dir;
  const std::string music = dir.File("kept.wav");
  WriteBytes(music, "RIFF");
  WriteBytes(dir.File("VormixDovra.ini"), "[Section]\r\n" + kKeyKind + "= 2\r\n" + kKeyFile + "=" + music + "\r\n");
  SaverProcess p(dir.Path(), "/c");
  HWND d = p.WaitWindow(kDialogCaption, 10000);
  ASSERT_NE(d, nullptr);
  Click(GetDlgItem(GetDlgItem(d, kPanel), kFileButton));
  HWND open = p.WaitWindow(L"ﾌｧｲﾙを開く", 10000);
  ASSERT_NE(open, nullptr) << "the file dialog did not open";
  PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
  Pump(500);
  Click(GetDlgItem(d, kSet));
  ASSERT_TRUE(p.WaitExit(5000));
  EXPECT_TRUE(HasEntry(Ini(dir), kKeyFile, music)) << Ini(dir);
  EXPECT_TRUE(HasEntry(Ini(dir), kKeyKind, "2")) << Ini(dir);
}
