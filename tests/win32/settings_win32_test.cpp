#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "startup/settings_win32.h"
#include "toolkit/handles_win32.h"
#include "toolkit/program_state.h"
#include "toolkit/program_win32.h"
#include "toolkit/text_win32.h"
#include "win32/win32_test_util.h"

using namespace dovra;
using namespace dovra::test;

namespace {

std::string Text(const std::vector<unsigned char>& b) { return std::string(b.begin(), b.end()); }

// What the dialog saves (kind, repeat, file) through the profile functions, as
// the earlier program wrote it.
void WriteExampleByProfile(const std::string& ini, int16_t kind, int16_t repeat, const std::string& path) {
  WritePrivateProfileStringA(ini::kSection, ini::kKeyKind, SettingText(kind).c_str(), ini.c_str());
  WritePrivateProfileStringA(ini::kSection, ini::kKeyRepeat, SettingText(repeat).c_str(), ini.c_str());
  WritePrivateProfileStringA(ini::kSection, ini::kKeyFile, path.c_str(), ini.c_str());
}

// Code page 932 keeps the keys' Shift-JIS bytes, every other code page writes
// the keys' UTF-8 text.
std::string Expected(const std::string& path) {
  const bool sjis = GetACP() == 932;
  return "[Section]\r\n" + std::string(sjis ? "BGM\x8B\xE6\x95\xAA" : "BGM\xE5\x8C\xBA\xE5\x88\x86") + "= 2\r\n" +
         (sjis ? "BGM\xD8\xCB\xDF\xB0\xC4" : "BGM\xEF\xBE\x98\xEF\xBE\x8B\xEF\xBE\x9F\xEF\xBD\xB0\xEF\xBE\x84") +
         "= 0\r\n" + (sjis ? "BGM\xCC\xA7\xB2\xD9" : "BGM\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99") + "=" +
         path + "\r\n";
}

std::string Unblank(std::string s) {
  for (size_t at; (at = s.find("= ")) != std::string::npos;) s.erase(at + 1, 1);
  return s;
}

}  // namespace

// A file the profile functions wrote from the keys' Shift-JIS bytes (the
// earlier program on code page 932; an earlier Dovra on any code page, whose
// keys the UTF-8 code page turned into replacement characters) is read, its
// path in this code page's own bytes too, and a save puts each key's line in
// this code page's form in its place. (On 1252 the path's bytes "\xFAs" read
// as a Shift-JIS character as well.)
TEST(IniFile, ProfileWrittenFileIsReadAndSavedInThisCodePagesForm) {
  TempDir dir;
  const std::string music = WideToAnsi(AnsiToWide(dir.Path()) + (GetACP() == 932 ? L"\\\x66F2.mp3" : L"\\M\xFAsica.mp3"));
  WriteBytes(music, "ID3");
  const std::string ini = dir.Path() + ini::kFileName;
  WriteExampleByProfile(ini, 2, 4, music);
  Win32ProfileStore store;
  Settings s;
  LoadSettings(s, dir.Path(), store, CanOpenForReadingWin32, AnsiLeadBytes());
  EXPECT_EQ(s.BgmKind, 2) << "code page " << GetACP();
  EXPECT_EQ(s.BgmRepeat, 4);
  EXPECT_EQ(s.BgmFile, music);

  ApiResult = 0;
  WriteSettings(store, Settings{2, 0, music, "", ini});
  EXPECT_NE(ApiResult, 0);
  EXPECT_EQ(Text(ReadBytes(ini)), Expected(GetACP() == 932 ? music : WideToUtf8(AnsiToWide(music))))
      << "code page " << GetACP();
  Settings t;
  LoadSettings(t, dir.Path(), store, CanOpenForReadingWin32, AnsiLeadBytes());
  EXPECT_EQ(t.BgmKind, 2);
  EXPECT_EQ(t.BgmRepeat, 0);
  EXPECT_EQ(t.BgmFile, music);
  EXPECT_EQ(t.BgmDir, dir.Path());
}

// Settings saved on any of these code pages are read on any other, whatever
// saved before, and the lines Dovra does not own keep their bytes. Each code
// page is a store converting as a process of that code page does. The music is
// ソング\表.mp3 (second bytes 5C in Shift-JIS): 1252 names it only by its short
// name (read, or chosen in the dialog), and its saves must give the others the
// whole name.
TEST(IniFile, EveryCodePageReadsWhatAnyOtherSaved) {
  // The first run passes every ordered pair once.
  const std::vector<std::vector<uint32_t>> runs = {
      {932, 1252, 65001, 932, 65001, 1252, 932}, {932, 65001, 932}, {1252, 932}};
  const std::string foreign = "; \x83\x52\x83\x81\x83\x93\x83\x67\r\n[Other]\r\n\x83\x4C\x81\x5B = \x92\x6C\r\n\r\n";
  const std::string inSection = "x = \xE5\x80\xA4\r\n";
  for (const auto& run : runs) {
    TempDir dir;
    const std::wstring folder = AnsiToWide(dir.Path()) + L"\\\x30BD\x30F3\x30B0", music = folder + L"\\\x8868.mp3";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    { UniqueFile f(CreateFileW(music.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)); }
    const std::string ini = dir.Path() + ini::kFileName;
    WriteBytes(ini, foreign + "[Section]\r\n" + inSection);
    for (size_t i = 0; i < run.size(); ++i) {
      const uint32_t cp = run[i];
      SCOPED_TRACE(testing::Message() << "step " << i << ", code page " << cp);
      Win32IniFiles files;
      Win32CodePages codePages(cp);
      IniFileStore store(files, codePages);
      Settings s;
      LoadSettings(s, dir.Path(), store, [cp](const std::string& p) {
        std::wstring w;
        return CodePageToWide(cp, p, w) && GetFileAttributesW(w.c_str()) != INVALID_FILE_ATTRIBUTES;
      }, LeadBytesOf(cp));
      std::string exact;
      const bool spelt = codePages.FromUtf8(cp, WideToUtf8(music), exact);
      if (i == 0) {
        ASSERT_TRUE(spelt || codePages.ShortPath(WideToUtf8(music), exact));
        s.BgmFile = exact;
      } else {
        EXPECT_EQ(s.BgmKind, i % 2 ? 2 : 1);
        EXPECT_EQ(s.BgmRepeat, static_cast<int16_t>(i + 2));
        std::wstring path;
        CodePageToWide(cp, s.BgmFile, path);
        EXPECT_TRUE(!spelt || path == music);  // the whole name wherever the code page spells it
        wchar_t whole[MAX_PATH] = {};
        GetLongPathNameW(path.c_str(), whole, MAX_PATH);
        EXPECT_TRUE(whole == music) << s.BgmFile;
      }
      if (i + 1 == run.size()) break;
      s.BgmKind = i % 2 ? 1 : 2;
      s.BgmRepeat = static_cast<int16_t>(i + 3);
      ApiResult = 0;
      WriteSettings(store, s);
      EXPECT_NE(ApiResult, 0);
    }
    const std::string after = Text(ReadBytes(ini));
    EXPECT_EQ(after.substr(0, foreign.size()), foreign);
    EXPECT_NE(after.find("[Section]\r\n" + inSection), std::string::npos) << after;
    DeleteFileW(music.c_str());
    RemoveDirectoryW(folder.c_str());
  }
}

// On code page 932 the file is what the profile functions make of the same
// saves, a new file and saves over it, Japanese path and all. One difference
// is Wine's: its profile code drops a value's leading blank ("BGM区分=2"), where
// Windows, the earlier program and Dovra write "BGM区分= 2".
TEST(Cp932Ini, SavesAreByteForByteWhatTheProfileFunctionsWrite) {
  ASSERT_EQ(GetACP(), 932u) << "run on code page 932";
  const std::string path = "C:\\\x83\x5C\x83\x93\x83\x4F\\\x95\x5C.mp3";  // C:\ソング\表.mp3
  TempDir dir;
  const std::string ours = dir.File("ours.ini"), theirs = dir.File("theirs.ini");
  for (const auto& [kind, repeat] : {std::pair<int16_t, int16_t>{2, 0}, {1, 7}, {0, 30}}) {
    Win32ProfileStore store;
    WriteSettings(store, Settings{kind, repeat, path, "", ours});
    WriteExampleByProfile(theirs, kind, repeat, path);
    const std::string mine = Text(ReadBytes(ours)), profile = Text(ReadBytes(theirs));
    EXPECT_TRUE(mine == profile || Unblank(mine) == profile) << mine << "\n" << profile;
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

// A save on a full disk: the INI (4,090 bytes, Dovra's section first and
// another after it) is replaced whole or left exactly as it was, and no new
// file is left beside it. DOVRA_TEST_FULL_DISK names a folder on a small file
// system of its own (scripts/test.sh mounts one), which the test fills.
TEST(FullDisk, ASaveIsWholeOrLeavesTheFileAsItWas) {
  const char* where = std::getenv("DOVRA_TEST_FULL_DISK");
  if (!where) GTEST_SKIP() << "DOVRA_TEST_FULL_DISK names no folder";
  const std::string dir = where, ini = dir + ini::kFileName, fill = dir + "\\fill";
  std::string old = "[Section]\r\n" + std::string(ini::kKeyKind) + "= 2\r\n" + ini::kKeyRepeat + "= 0\r\n" +
                    ini::kKeyFile + "=" + dir + "\\a.mp3\r\n[Other]\r\n";
  while (old.size() < 4000) old += "line" + std::to_string(old.size()) + "=" + std::string(40, 'x') + "\r\n";
  old += "last=" + std::string(4090 - old.size() - 7, 'y') + "\r\n";
  ASSERT_EQ(old.size(), 4090u);
  WriteBytes(ini, old);
  auto names = [&] {
    std::set<std::string> n;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &fd))
      if (fd.cFileName[0] != '.') n.insert(fd.cFileName);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    return n;
  };
  {  // the rest of the disk filled
    UniqueFile f(CreateFileA(fill.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD n = 0;
    for (DWORD size = 65536; size > 0; size /= 2)
      while (WriteFile(f.Get(), std::string(size, 'f').data(), size, &n, nullptr) && n == size) {}
  }
  const Settings s{2, 0, dir + "\\" + std::string(200, 'm') + ".mp3", "", ini};
  Win32ProfileStore store;
  ApiResult = 1;
  WriteSettings(store, s);
  EXPECT_EQ(ApiResult, 0);
  EXPECT_TRUE(Text(ReadBytes(ini)) == old) << ReadBytes(ini).size() << " bytes";
  EXPECT_EQ(names(), (std::set<std::string>{"VormixDovra.ini", "fill"}));

  // With room again, the same save goes through whole.
  DeleteFileA(fill.c_str());
  WriteSettings(store, s);
  EXPECT_NE(ApiResult, 0);
  const std::string now = Text(ReadBytes(ini));
  EXPECT_NE(now.find("=" + s.BgmFile + "\r\n"), std::string::npos);
  EXPECT_TRUE(now.substr(now.find("[Other]")) == old.substr(old.find("[Other]"))) << now.size() << " bytes";
  EXPECT_EQ(names(), std::set<std::string>{"VormixDovra.ini"});
  DeleteFileA(ini.c_str());
}
