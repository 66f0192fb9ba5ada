#include <gtest/gtest.h>

#include "startup/settings_win32.h"
#include "toolkit/program_state.h"
#include "toolkit/program_win32.h"
#include "toolkit/text_win32.h"
#include "win32/win32_test_util.h"

using namespace dovra;
using namespace dovra::test;

namespace {

std::string Text(const std::vector<unsigned char>& b) { return std::string(b.begin(), b.end()); }

// What the dialog writes when the user chose an MP3: kind, repeat, file, in order.
void WriteExample(const std::string& ini, const std::string& path) {
  Win32ProfileStore store;
  WriteIni(store, ini::kSection, ini::kKeyKind, SettingText(2), ini);
  WriteIni(store, ini::kSection, ini::kKeyRepeat, SettingText(0), ini);
  WriteIni(store, ini::kSection, ini::kKeyFile, path, ini);
}

// Windows writes "BGM区分= 2"; Wine's profile code drops the value's leading
// blank and writes "BGM区分=2". Both read back the same, so either is accepted.
// The keys are their Shift-JIS bytes, on the UTF-8 code page their UTF-8 text.
std::string Expected(bool blank, const std::string& path) {
  const std::string b = blank ? " " : "";
  const bool utf8 = GetACP() == CP_UTF8;
  return "[Section]\r\n" + std::string(utf8 ? "BGM\xE5\x8C\xBA\xE5\x88\x86" : "BGM\x8B\xE6\x95\xAA") + "=" + b +
         "2\r\n" + (utf8 ? "BGM\xEF\xBE\x98\xEF\xBE\x8B\xEF\xBE\x9F\xEF\xBD\xB0\xEF\xBE\x84" : "BGM\xD8\xCB\xDF\xB0\xC4") +
         "=" + b + "0\r\n" + (utf8 ? "BGM\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99" : "BGM\xCC\xA7\xB2\xD9") +
         "=" + path + "\r\n";
}

}  // namespace

TEST(IniFile, ExampleFileIsWrittenByteForByteAndReadsBack) {
  TempDir dir;
  const std::string music = dir.File("my song.mp3");
  WriteBytes(music, "ID3");
  const std::string ini = dir.Path() + ini::kFileName;
  ApiResult = 0;
  WriteExample(ini, music);
  EXPECT_NE(ApiResult, 0);
  const std::string bytes = Text(ReadBytes(ini));
  EXPECT_TRUE(bytes == Expected(true, music) || bytes == Expected(false, music))
      << "code page " << GetACP() << ", file:\n" << bytes;

  Win32ProfileStore store;
  Settings s;
  LoadSettings(s, dir.Path(), store, CanOpenForReadingWin32, AnsiLeadBytes());
  EXPECT_EQ(s.BgmKind, 2);
  EXPECT_EQ(s.BgmRepeat, 0);
  EXPECT_EQ(s.BgmFile, music);
  EXPECT_EQ(s.BgmDir, dir.Path());
}

// A file written on code page 932 (the keys' Shift-JIS bytes), or by an
// earlier Dovra on the UTF-8 code page (which handed the system those bytes),
// keeps its settings on any code page; where a file holds the key in both
// forms, the current form's value wins.
TEST(IniFile, KeysAsOtherCodePagesWroteThemAreRead) {
  const std::string sjisKind = ini::kKeyKind, sjisRepeat = ini::kKeyRepeat;
  struct Case {
    const char* what;
    std::string file;  // written as bytes, or by the earlier build's calls when empty
    int16_t kind, repeat;
  };
  const Case cases[] = {
      {"Shift-JIS bytes", "[Section]\r\n" + sjisKind + "= 1\r\n" + sjisRepeat + "= 3\r\n", 1, 3},
      {"written by the earlier build", "", 1, 4},
      {"both forms", "", 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string ini = dir.Path() + ini::kFileName;
    if (!c.file.empty()) {
      WriteBytes(ini, c.file);
    } else {
      WritePrivateProfileStringA(ini::kSection, ini::kKeyKind, " 1", ini.c_str());
      WritePrivateProfileStringA(ini::kSection, ini::kKeyRepeat, " 4", ini.c_str());
      if (c.repeat == 5) {
        Win32ProfileStore store;
        WriteIni(store, ini::kSection, ini::kKeyRepeat, SettingText(5), ini);
      }
    }
    Win32ProfileStore store;
    Settings s;
    LoadSettings(s, dir.Path(), store, CanOpenForReadingWin32, AnsiLeadBytes());
    EXPECT_EQ(s.BgmKind, c.kind) << "code page " << GetACP();
    EXPECT_EQ(s.BgmRepeat, c.repeat);
  }
}

TEST(IniFile, LoadingNeverCreatesOrChangesTheFile) {
  TempDir dir;
  Win32ProfileStore store;
  Settings s;
  LoadSettings(s, dir.Path(), store, CanOpenForReadingWin32, AnsiLeadBytes());
  EXPECT_FALSE(FileThere(dir.Path() + ini::kFileName));
  EXPECT_EQ(s.BgmKind, 0);
  EXPECT_EQ(s.BgmDir, dir.Path());

  // Random bytes, a 1 MB line, a value of 300 bytes, numbers that do not fit.
  std::string junk = "[Section]\r\n";
  junk += std::string("BGM\xD8\xCB\xDF\xB0\xC4=") + std::string(300, '7') + "\r\n";
  junk += std::string("BGM\x8B\xE6\x95\xAA=1e9\r\n");
  junk += std::string("BGM\xCC\xA7\xB2\xD9=") + dir.Path() + "\r\n";  // a folder
  uint32_t x = 12345;
  for (int i = 0; i < 4096; ++i) { x = x * 1103515245u + 12345u; junk += static_cast<char>(x >> 24); }
  junk += std::string(1 << 20, 'A') + "\r\n[Section]\r\n=\r\n";
  const std::string ini = dir.Path() + ini::kFileName;
  WriteBytes(ini, junk);
  Settings t;
  LoadSettings(t, dir.Path(), store, CanOpenForReadingWin32, AnsiLeadBytes());
  EXPECT_EQ(Text(ReadBytes(ini)), junk);
  EXPECT_EQ(t.BgmKind, 0);     // 1e9 does not fit 16 bits
  EXPECT_EQ(t.BgmRepeat, 0);   // 255 sevens do not fit either
  EXPECT_EQ(t.BgmFile, "");    // a folder is not a readable file
}

TEST(IniFile, LongValuesComeBackWhole) {
  TempDir dir;
  const std::string ini = dir.Path() + ini::kFileName;
  WriteBytes(ini, "[Section]\r\nlong=" + std::string(1000, 'x') + "\r\n");
  Win32ProfileStore store;
  EXPECT_EQ(ReadIni(store, "Section", "long", ini), std::string(1000, 'x'));
  EXPECT_EQ(ReadIni(store, "Section", "missing", ini), "");
  EXPECT_EQ(ReadIni(store, "Other", "long", ini), "");
}

TEST(IniFile, ReadableFilesOnly) {
  TempDir dir;
  const std::string f = dir.File("a.wav");
  WriteBytes(f, "RIFF");
  EXPECT_TRUE(FileExists(f, CanOpenForReadingWin32, AnsiLeadBytes()));
  EXPECT_TRUE(FileExists(f + "\\", CanOpenForReadingWin32, AnsiLeadBytes()));
  EXPECT_FALSE(FileExists(dir.Path(), CanOpenForReadingWin32, AnsiLeadBytes()));
  EXPECT_FALSE(FileExists(dir.File("missing.wav"), CanOpenForReadingWin32, AnsiLeadBytes()));
  EXPECT_FALSE(FileExists("", CanOpenForReadingWin32, AnsiLeadBytes()));
  // Held open by someone who shares nothing.
  HANDLE lock = CreateFileA(f.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FileExists(f, CanOpenForReadingWin32, AnsiLeadBytes()));
  CloseHandle(lock);
  EXPECT_TRUE(FileExists(f, CanOpenForReadingWin32, AnsiLeadBytes()));
}

TEST(ProgramServices, FolderTwipsAndPictureFiles) {
  const std::string dir = ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_TRUE(dir.back() != '\\' || dir.size() == 3) << dir;
  EXPECT_DOUBLE_EQ(TwipsPerPixelX(), 15.0);  // Wine's default 96 dpi
  EXPECT_DOUBLE_EQ(TwipsPerPixelY(), 15.0);
  EXPECT_DOUBLE_EQ(ScreenWidthTwips(), GetSystemMetrics(SM_CXSCREEN) * 15.0);

  // A 5 x 3 picture with distinct pixels goes to a file and comes back the same.
  TempDir tmp;
  BITMAPINFOHEADER h{sizeof h, 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&h), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(b);
  auto* p = static_cast<unsigned char*>(bits);
  for (int i = 0; i < 16 * 3; ++i) p[i] = static_cast<unsigned char>(i * 5 + 1);
  Picture original(b);
  const std::string file = tmp.File("pic.bmp");
  WriteBytes(file, "old contents that must be replaced");
  ASSERT_TRUE(SavePictureFile(original.Handle(), file));
  const auto bytes = ReadBytes(file);
  ASSERT_EQ(bytes.size(), 14u + 40u + 16u * 3u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  Picture loaded = LoadPictureFile(file);
  ASSERT_TRUE(loaded);
  DIBSECTION ds{};
  ASSERT_TRUE(GetObjectA(loaded.Handle(), sizeof ds, &ds));
  EXPECT_EQ(ds.dsBm.bmWidth, 5);
  EXPECT_EQ(ds.dsBm.bmHeight, 3);
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 24);
  const auto* q = static_cast<unsigned char*>(ds.dsBm.bmBits);
  for (int row = 0; row < 3; ++row)
    for (int i = 0; i < 15; ++i) ASSERT_EQ(q[row * 16 + i], p[row * 16 + i]);
  EXPECT_FALSE(LoadPictureFile(tmp.File("none.bmp")));
  EXPECT_FALSE(SavePictureFile(original.Handle(), tmp.File("no\\such\\dir.bmp")));
}
