// Real playback through winmm under Wine. The test command makes the sounds
// (sox, lame) and points ALSA at a capture file, so "sound came out" is a
// count of non-silent bytes written there. Playback into the file runs faster
// than real time, so these tests look at whether sound came out, not how long.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "music/bgm.h"
#include "music/mci_port_win32.h"
#include "startup/settings_win32.h"
#include "toolkit/text_win32.h"
#include "toolkit/handles_win32.h"
#include "toolkit/program_state.h"
#include "win32/win32_test_util.h"

using namespace dovra;
using namespace dovra::test;

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

// Non-zero bytes written to the capture file since it was `from` bytes long;
// also returns its size now. Each time the sound device is opened anew the file
// starts again from empty, so a file shorter than before is counted whole.
size_t SoundSince(size_t from, size_t* size = nullptr) {
  const auto bytes = ReadBytes(Env("DOVRA_TEST_CAPTURE"));
  if (size) *size = bytes.size();
  if (bytes.size() < from) from = 0;
  size_t n = 0;
  for (size_t i = from; i < bytes.size(); ++i) n += bytes[i] != 0;
  return n;
}

class Playback : public ::testing::Test {
 protected:
  void SetUp() override {
    media_ = Env("DOVRA_TEST_MEDIA");
    if (media_.empty() || Env("DOVRA_TEST_CAPTURE").empty())
      GTEST_SKIP() << "needs DOVRA_TEST_MEDIA and DOVRA_TEST_CAPTURE (the test command sets them)";
  }
  std::string media_;
};

}  // namespace

TEST_F(Playback, WavLoopsUntilStopped) {
  Win32MciPort port;
  ASSERT_GT(port.WaveOutDevices(), 0);
  Settings s;
  s.BgmFile = media_ + "\\tone.wav";
  Vormix_BGM bgm(port, s);
  size_t start = 0;
  SoundSince(0, &start);
  bgm.PlayWav();
  EXPECT_NE(ApiResult, 0);
  Pump(2000);
  const size_t wavData = ReadBytes(s.BgmFile).size() - 44;
  const size_t heard = SoundSince(start);
  EXPECT_GT(heard, 2 * wavData) << "the half-second sound should have looped";
  bgm.StopWav();
  Pump(300);
  size_t afterStop = 0;
  SoundSince(0, &afterStop);
  Pump(1000);
  EXPECT_EQ(SoundSince(afterStop), 0u) << "sound after StopWav";
}

TEST_F(Playback, Mp3PlaysStopsAtItsEndAndRestartsFromZero) {
  Win32MciPort port;
  Settings s;
  s.BgmFile = media_ + "\\tone.mp3";
  Vormix_BGM bgm(port, s);
  size_t start = 0;
  SoundSince(0, &start);
  bgm.PlayMp3();
  EXPECT_TRUE(bgm.IsMp3Playing());
  bool ended = false;
  for (int i = 0; i < 100 && !ended; ++i) {
    Pump(100);
    ended = !bgm.IsMp3Playing();
  }
  ASSERT_TRUE(ended) << "the one-second MP3 never reported its end";
  EXPECT_EQ(std::string(bgm.Mp3Mode.data(), 7), "stopped");
  EXPECT_GT(SoundSince(start), 10000u);

  size_t before = 0;
  SoundSince(0, &before);
  bgm.RestartMp3();  // not playing: stop, then play from 0
  Pump(2500);
  EXPECT_GT(SoundSince(before), 10000u) << "no sound after the restart";

  bgm.StopMp3();
  Pump(300);
  size_t afterStop = 0;
  SoundSince(0, &afterStop);
  Pump(1000);
  EXPECT_EQ(SoundSince(afterStop), 0u) << "sound after StopMp3";
  EXPECT_FALSE(bgm.IsMp3Playing());
}

TEST_F(Playback, CdWithoutADriveEndsTheWatch) {
  Win32MciPort port;
  Settings s;
  s.BgmKind = 1;
  Vormix_BGM bgm(port, s);
  bgm.OpenCd();
  EXPECT_NE(ApiResult, 0);
  bgm.WatchCd();
  EXPECT_FALSE(bgm.CdWatching);
  bgm.StopCd();
}

// A Japanese path of over 300 bytes in Shift-JIS, with characters whose second
// byte is that of "\\", stored by the dialog and read back at the next start,
// plays as a WAV (too long for the player's own file opening) and as an MP3.
TEST_F(Playback, LongJapanesePathIsKeptAndPlays) {
  TempDir dir;
  std::string folder = dir.Path();
  while (folder.size() < 300) {
    folder += "\\" + Utf8ToAnsi("ソング表示能力十予構申");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << "no Japanese file names here: is the locale made?";
  }
  Win32ProfileStore store;
  for (const char* ext : {"wav", "mp3"}) {
    SCOPED_TRACE(ext);
    const std::string music = folder + "\\" + Utf8ToAnsi("曲.") + ext;
    ASSERT_TRUE(CopyFileA((media_ + "\\tone." + ext).c_str(), music.c_str(), FALSE));
    WriteIni(store, ini::kSection, ini::kKeyKind, SettingText(2), dir.Path() + ini::kFileName);
    WriteIni(store, ini::kSection, ini::kKeyFile, music, dir.Path() + ini::kFileName);
    Settings s;
    LoadSettings(s, dir.Path(), store, CanOpenForReadingWin32, AnsiLeadBytes());
    ASSERT_EQ(s.BgmFile, music);
    EXPECT_EQ(s.BgmKind, 2);
    EXPECT_EQ(s.BgmDir, folder);
    Win32MciPort port;
    Vormix_BGM bgm(port, s);
    size_t start = 0;
    SoundSince(0, &start);
    if (ext[0] == 'w') bgm.PlayWav();
    else bgm.PlayMp3();
    Pump(1500);
    EXPECT_GT(SoundSince(start), 10000u) << "no sound from " << music.size() << " bytes of path";
    if (ext[0] == 'w') bgm.StopWav();
    else bgm.StopMp3();
    Pump(300);
  }
}

namespace {

// A folder whose path, short form included, is too long for the sound
// player's own file opening: nested names that are already 8.3.
std::string FolderTooLongForThePlayer(const TempDir& dir) {
  std::string folder = dir.Path();
  while (folder.size() < 160) {
    folder += "\\ABCDEFGH";
    if (!CreateDirectoryA(folder.c_str(), nullptr)) return "";
  }
  char shortPath[MAX_PATH];
  const DWORD n = GetShortPathNameA(folder.c_str(), shortPath, MAX_PATH);
  return n >= kSoundNameLimit && n < MAX_PATH ? folder : "";
}

// A WAV's header, its sizes claiming `claimed` bytes in all, and its sound; the
// file then made `size` bytes long (sparse: the rest reads as silence).
bool WriteWav(const std::string& path, const std::vector<unsigned char>& wav, uint64_t claimed, uint64_t size) {
  std::vector<unsigned char> head = wav;
  const auto put32 = [&](size_t at, uint64_t v) {
    for (int i = 0; i < 4; ++i) head[at + i] = static_cast<unsigned char>(std::min<uint64_t>(v, 0xFFFFFFFFu) >> (8 * i));
  };
  put32(4, claimed - 8);    // RIFF size
  put32(40, claimed - 44);  // data size (sox writes a plain 44-byte header)
  UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD wrote = 0;
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  return f.Valid() && WriteFile(f.Get(), head.data(), static_cast<DWORD>(head.size()), &wrote, nullptr) &&
         SetFilePointerEx(f.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(f.Get());
}

}  // namespace

// A recording of any size, or an interrupted copy whose header promises far
// more than the file holds: files too large for the sound player to load
// whole, or on a path it cannot open, go to the stream player, which starts
// at once in bounded memory; smaller files on short paths stay with the sound
// player. PlayWav's result says whether the sound started. A file cut to a
// sliver while it plays ends in silence by itself.
TEST_F(Playback, AWavOfAnySizeOnAnyPathPlaysAtOnceInBoundedMemory) {
  TempDir dir;
  const std::string longFolder = FolderTooLongForThePlayer(dir);
  ASSERT_FALSE(longFolder.empty());
  const std::vector<unsigned char> tone = ReadBytes(media_ + "\\tone.wav");
  ASSERT_GT(tone.size(), 44u);
  const std::vector<unsigned char> noSound(44, 0);
  struct Case {
    const char* what;
    bool longPath;
    const std::vector<unsigned char>& head;
    uint64_t claimed, size;
    bool plays, streamed, cutToASliver;
  };
  const uint64_t MB = 1u << 20;
  const Case cases[] = {
      {"600 MB", true, tone, 600 * MB, 600 * MB, true, true, false},
      {"1.5 GB", true, tone, 1536 * MB, 1536 * MB, true, true, false},
      {"header of 600 MB, 88 KB of file", true, tone, 600 * MB, tone.size(), true, true, false},
      {"16 MB and a byte, short path", false, tone, 16 * MB + 1, 16 * MB + 1, true, true, false},
      {"16 MB, short path: the sound player", false, tone, 16 * MB, 16 * MB, true, false, false},
      {"cut to a sliver while it plays", true, tone, 600 * MB, 600 * MB, true, true, true},
      {"600 MB of no sound", true, noSound, 600 * MB, 600 * MB, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Settings s;
    s.BgmFile = (c.longPath ? longFolder : dir.Path()) + "\\MUSIC.WAV";
    ASSERT_EQ(s.BgmFile.size() >= kSoundNameLimit, c.longPath);
    ASSERT_TRUE(WriteWav(s.BgmFile, c.head, c.claimed, c.size));
    Win32MciPort port;
    Vormix_BGM bgm(port, s);
    const uint64_t before = PrivateBytes();
    // No device is open: the capture starts again from nothing. (One as long
    // as the row before left it would hide the new sound from SoundSince.)
    DeleteFileA(Env("DOVRA_TEST_CAPTURE").c_str());
    const DWORD t0 = GetTickCount();
    bgm.PlayWav();
    const DWORD took = GetTickCount() - t0;
    EXPECT_LT(took, 250u) << "PlayWav waited for the file";
    EXPECT_EQ(ApiResult != 0, c.plays);
    EXPECT_EQ(port.Streaming(), c.streamed);
    Pump(1000);
    EXPECT_EQ(SoundSince(0) > 10000u, c.plays) << "sound within a second";
    const int64_t grown = static_cast<int64_t>(PrivateBytes()) - static_cast<int64_t>(before);
    EXPECT_LT(grown, static_cast<int64_t>(16 * MB)) << "the recording was read into memory";
    std::printf("%s: PlayWav returned %d in %lu ms; private memory +%.1f MB while playing\n", c.what,
                static_cast<int>(ApiResult), static_cast<unsigned long>(took), grown / double(MB));
    if (c.cutToASliver) {
      UniqueFile f(CreateFileA(s.BgmFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
      LARGE_INTEGER sliver{};
      sliver.QuadPart = 44 + 400;  // a hundred samples of the tone, none of them silent but the first
      ASSERT_TRUE(f.Valid() && SetFilePointerEx(f.Get(), sliver, nullptr, FILE_BEGIN) && SetEndOfFile(f.Get()));
      Pump(1500);  // what was queued before the cut plays out
      size_t afterCut = 0;
      SoundSince(0, &afterCut);
      Pump(700);
      EXPECT_EQ(SoundSince(afterCut), 0u) << "the sliver loops";
      EXPECT_FALSE(port.Streaming());
    }
    const DWORD t1 = GetTickCount();
    bgm.StopWav();
    EXPECT_LT(GetTickCount() - t1, 1000u);
    Pump(300);
    size_t afterStop = 0;
    SoundSince(0, &afterStop);
    Pump(700);
    EXPECT_EQ(SoundSince(afterStop), 0u) << "sound after StopWav";
    ASSERT_TRUE(DeleteFileA(s.BgmFile.c_str()));
  }
}
