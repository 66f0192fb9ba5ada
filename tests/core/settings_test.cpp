#include <gtest/gtest.h>

#include <set>

#include "startup/settings.h"
#include "support/fake_profile_store.h"
#include "toolkit/program_state.h"

using namespace dovra;
using dovra::test::FakeProfileStore;

namespace {

const std::string kDir = "C:\\Savers";
const std::string kIni = "C:\\Savers\\VormixDovra.ini";

struct Loaded {
  FakeProfileStore store;
  std::set<std::string> files{"C:\\Music\\song.mp3", "D:\\a b\\x.wav"};
  Settings s;
  std::vector<std::string> opened;
  void Load(const std::string& dir = kDir) {
    LoadSettings(s, dir, store, [this](const std::string& p) {
      opened.push_back(p);
      return files.count(p) > 0;
    }, LeadBytes::ShiftJis());
  }
};

}  // namespace

TEST(Settings, KeysAreTheirShiftJisBytes) {
  EXPECT_EQ(std::string(ini::kKeyKind), std::string("\x42\x47\x4D\x8B\xE6\x95\xAA"));
  EXPECT_EQ(std::string(ini::kKeyRepeat), std::string("\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4"));
  EXPECT_EQ(std::string(ini::kKeyFile), std::string("\x42\x47\x4D\xCC\xA7\xB2\xD9"));
}

TEST(Settings, NoFileGivesDefaultsAndWritesNothing) {
  Loaded l;
  l.Load();
  EXPECT_EQ(l.s.IniPath, kIni);
  EXPECT_EQ(l.s.BgmKind, 0);
  EXPECT_EQ(l.s.BgmRepeat, 0);
  EXPECT_EQ(l.s.BgmFile, "");
  EXPECT_EQ(l.s.BgmDir, kDir);
  EXPECT_TRUE(l.store.writes.empty());
  EXPECT_TRUE(l.opened.empty());
}

TEST(Settings, DriveRootIsJoinedWithoutNormalising) {
  Loaded l;
  l.Load("C:\\");
  EXPECT_EQ(l.s.IniPath, "C:\\\\VormixDovra.ini");
  EXPECT_EQ(l.s.BgmDir, "C:\\");
}

TEST(Settings, StoredMp3IsKeptWhenItCanBeOpened) {
  Loaded l;
  l.store.Set(kIni, ini::kKeyKind, " 2");
  l.store.Set(kIni, ini::kKeyRepeat, " 0");
  l.store.Set(kIni, ini::kKeyFile, "C:\\Music\\song.mp3");
  l.Load();
  EXPECT_EQ(l.s.BgmKind, 2);
  EXPECT_EQ(l.s.BgmFile, "C:\\Music\\song.mp3");
  EXPECT_EQ(l.s.BgmDir, "C:\\Music");
}

TEST(Settings, UnusableMusicFileFallsBackOnlyForTheFileKind) {
  {
    Loaded l;  // kind 2, file gone
    l.store.Set(kIni, ini::kKeyKind, "2");
    l.store.Set(kIni, ini::kKeyFile, "C:\\Music\\gone.mp3");
    l.Load();
    EXPECT_EQ(l.s.BgmKind, 0);
    EXPECT_EQ(l.s.BgmFile, "");
    EXPECT_EQ(l.s.BgmDir, kDir);
    EXPECT_TRUE(l.store.writes.empty());  // the stored path stays until the user confirms
  }
  {
    Loaded l;  // kind 2, empty file
    l.store.Set(kIni, ini::kKeyKind, "2");
    l.Load();
    EXPECT_EQ(l.s.BgmKind, 0);
  }
  {
    Loaded l;  // kind 1 does not need the file
    l.store.Set(kIni, ini::kKeyKind, " 1");
    l.store.Set(kIni, ini::kKeyRepeat, " 5");
    l.store.Set(kIni, ini::kKeyFile, "C:\\Music\\gone.mp3");
    l.Load();
    EXPECT_EQ(l.s.BgmKind, 1);
    EXPECT_EQ(l.s.BgmRepeat, 5);
    EXPECT_EQ(l.s.BgmFile, "");
  }
  {
    Loaded l;  // a trailing backslash is dropped before the test
    l.store.Set(kIni, ini::kKeyKind, "2");
    l.store.Set(kIni, ini::kKeyFile, "D:\\a b\\x.wav\\");
    l.Load();
    ASSERT_EQ(l.opened.size(), 1u);
    EXPECT_EQ(l.opened[0], "D:\\a b\\x.wav");
    EXPECT_EQ(l.s.BgmKind, 2);
    EXPECT_EQ(l.s.BgmFile, "D:\\a b\\x.wav\\");
  }
}

TEST(Settings, NumbersAreFlooredAndMustFitSixteenBits) {
  // Read through the repeat key: a kind of 2 would fall back for lack of a file.
  struct Case { const char* text; int16_t value; } cases[] = {
      {"2.7", 2}, {"-1.5", -2}, {"abc", 0}, {"1e9", 0}, {"32767", 32767}, {"32768", 0},
      {"-32768.5", 0}, {"-32768", -32768}, {"  \t7xyz", 7}, {"", 0},
  };
  for (const Case& c : cases) {
    Loaded l;
    l.store.Set(kIni, ini::kKeyRepeat, c.text);
    l.Load();
    EXPECT_EQ(l.s.BgmRepeat, c.value) << c.text;
  }
}

TEST(Settings, ValuesComeBackWholeHoweverLong) {
  FakeProfileStore store;
  for (size_t n : {254u, 255u, 256u, 520u, 5000u}) {
    store.Set("f", "k", std::string(n, 'x'));
    EXPECT_EQ(ReadIni(store, ini::kSection, "k", "f"), std::string(n, 'x'));
  }
  // Double-byte text whose cut would split a character comes back one byte short.
  store.shiftJis = true;
  std::string table;
  for (int i = 0; i < 200; ++i) table += "\x95\x5C";  // 表
  store.Set("f", "k", table);
  EXPECT_EQ(ReadIni(store, ini::kSection, "k", "f"), table);
  store.Set("f", "k", std::string("ab\0cd", 5));
  EXPECT_EQ(ReadIni(store, ini::kSection, "k", "f"), "ab");
  EXPECT_EQ(ReadIni(store, ini::kSection, "missing", "f"), "");
}

TEST(Settings, WriteIniPassesValuesUnchangedAndKeepsTheResult) {
  FakeProfileStore store;
  store.writeResult = 1234;
  ApiResult = 0;
  EXPECT_EQ(WriteIni(store, ini::kSection, ini::kKeyKind, SettingText(2), kIni), "");
  EXPECT_EQ(ApiResult, 1234);
  EXPECT_EQ(store.values[std::make_tuple(kIni, std::string("Section"), std::string(ini::kKeyKind))], " 2");
  EXPECT_EQ(SettingText(-1), "-1");
  EXPECT_EQ(SettingText(0), " 0");
}

TEST(Settings, GetFolderExamples) {
  const LeadBytes sjis = LeadBytes::ShiftJis(), single;
  EXPECT_EQ(GetFolder("C:\\Music\\a.mp3", sjis), "C:\\Music");
  EXPECT_EQ(GetFolder("C:\\a.mp3", sjis), "C:");
  EXPECT_EQ(GetFolder("C:a.mp3", sjis), "C:");
  EXPECT_EQ(GetFolder("a.mp3", sjis), "");
  EXPECT_EQ(GetFolder("\\\\server\\share\\x.wav", sjis), "\\\\server\\share");
  EXPECT_EQ(GetFolder("", sjis), "");
  // Shift-JIS characters whose second byte is the byte of "\": ソ 83 5C, 表 95 5C,
  // 能 94 5C, 十 8F 5C. They are never taken for a separator.
  const std::string so = "\x83\x5C", hyo = "\x95\x5C", nou = "\x94\x5C", ju = "\x8F\x5C";
  EXPECT_EQ(GetFolder("C:\\Music\\" + so + "ng.mp3", sjis), "C:\\Music");
  EXPECT_EQ(GetFolder("C:\\" + hyo + "\\" + nou + ju + ".wav", sjis), "C:\\" + hyo);
  EXPECT_EQ(GetFolder("C:\\Music\\" + so, sjis), "C:\\Music");
  EXPECT_EQ(GetFolder(so + "x.mp3", sjis), "");
  // In a single-byte code page the same bytes are two characters.
  EXPECT_EQ(GetFolder("C:\\Music\\" + so + "ng.mp3", single), "C:\\Music\\\x83");
}

TEST(Settings, OnlyATrailingSeparatorCharacterIsDropped) {
  const LeadBytes sjis = LeadBytes::ShiftJis();
  std::vector<std::string> opened;
  auto open = [&](const std::string& p) { opened.push_back(p); return true; };
  const std::string so = "\x83\x5C";
  FileExists("C:\\Music\\" + so, open, sjis);
  FileExists("C:\\Music\\" + so + "\\", open, sjis);
  FileExists("C:\\a.wav\\", open, LeadBytes());
  EXPECT_EQ(opened, (std::vector<std::string>{"C:\\Music\\" + so, "C:\\Music\\" + so, "C:\\a.wav"}));
}
