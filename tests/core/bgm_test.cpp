#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <map>

#include "display/display_music.h"
#include "music/bgm.h"
#include "toolkit/program_state.h"

using namespace dovra;

namespace {

// Records every command; answers queries from a table of replies and codes.
class FakePort : public MciPort {
 public:
  struct Answer { int32_t code; std::string reply; };
  std::vector<std::pair<std::string, uint32_t>> sent;  // command, capacity
  std::map<std::string, std::deque<Answer>> answers;
  std::vector<std::pair<std::string, uint32_t>> sounds;  // name ("<null>"), flags
  int32_t devices = 1;
  bool errorTextAvailable = true;

  void Answer(const std::string& command, int32_t code, const std::string& reply = "") {
    answers[command].push_back({code, reply});
  }
  int32_t SendString(const std::string& command, char* reply, uint32_t capacity) override {
    sent.push_back({command, capacity});
    auto it = answers.find(command);
    if (it == answers.end() || it->second.empty()) return 0;
    const struct Answer a = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    if (a.code == 0 && reply && capacity) {
      const size_t n = std::min<size_t>(a.reply.size(), capacity - 1);
      std::memcpy(reply, a.reply.data(), n);
      reply[n] = '\0';
    }
    return a.code;
  }
  bool GetErrorString(int32_t code, char* text, uint32_t capacity) override {
    if (!errorTextAvailable) return false;
    std::snprintf(text, capacity, "MCI error %d", code);
    return true;
  }
  int32_t WaveOutDevices() override { return devices; }
  int32_t PlaySoundNamed(const char* name, uint32_t flags) override {
    sounds.push_back({name ? name : "<null>", flags});
    return 77;
  }
  int32_t PlaySoundLongPath(const std::string& path, uint32_t flags) override {
    sounds.push_back({"<long> " + path, flags});
    return 78;
  }
  int32_t StreamWav(const std::string& path) override {
    sounds.push_back({"<stream> " + path, 0});
    return 79;
  }
  std::map<std::string, int64_t> sizes;
  int64_t FileSize(const std::string& path) override { return sizes.count(path) ? sizes[path] : -1; }
  std::vector<std::string> Commands() const {
    std::vector<std::string> v;
    for (auto& s : sent) v.push_back(s.first);
    return v;
  }
};

using Cmds = std::vector<std::string>;

struct Rig {
  FakePort port;
  Settings settings;
  Vormix_BGM bgm{port, settings};
};

}  // namespace

TEST(Bgm, SendMciCommandAndQueryMci) {
  Rig r;
  std::string result = "old";
  EXPECT_EQ(r.bgm.SendMciCommand("", result), -1);
  EXPECT_EQ(result, "コマンド文字列が指定されていません");
  EXPECT_TRUE(r.port.sent.empty());
  EXPECT_EQ(r.bgm.QueryMci(""), "Error:-1");
  EXPECT_EQ(ApiResult, -1);

  r.port.Answer("status cdaudio mode", 0, "playing");
  EXPECT_EQ(r.bgm.QueryMci("status cdaudio mode"), "playing");
  EXPECT_EQ(r.port.sent.back().second, 512u);
  EXPECT_EQ(ApiResult, 0);

  r.port.Answer("bad", 277);
  EXPECT_EQ(r.bgm.QueryMci("bad"), "Error:277");
  EXPECT_EQ(r.bgm.MciResult, "MCI error 277");  // kept, never returned
  EXPECT_EQ(ApiResult, 277);
  r.port.errorTextAvailable = false;
  EXPECT_EQ(r.bgm.SendMciCommand("bad", result), 277);
  EXPECT_EQ(result, "Error (文字列が取れません)");
}

TEST(Bgm, PlayMciForms) {
  Rig r;
  r.bgm.PlayMci("cdaudio", "", "");
  r.bgm.PlayMci("cdaudio", "2:00:00:00", "");
  r.bgm.PlayMci("cdaudio", "", "3");
  r.bgm.PlayMci("cdaudio", "1", "4");
  EXPECT_EQ(r.port.Commands(), (Cmds{"play cdaudio", "play cdaudio from 2:00:00:00",
                                     "play cdaudio to 3", "play cdaudio from 1 to 4"}));
}

TEST(Bgm, CdOpenAndStop) {
  Rig r;
  r.port.Answer("open cdaudio", 266);
  r.bgm.OpenCd();
  r.bgm.StopCd();
  EXPECT_EQ(r.port.Commands(), (Cmds{"open cdaudio", "set cdaudio time format tmsf", "stop cdaudio", "close cdaudio"}));
  for (auto& s : r.port.sent) EXPECT_EQ(s.second, 0u);
}

TEST(Bgm, WatchCdWholeDisc) {
  const Cmds queries{"status cdaudio current track", "status cdaudio number of tracks", "status cdaudio mode"};
  {
    Rig r;
    r.port.Answer("status cdaudio current track", 0, "1");
    r.port.Answer("status cdaudio number of tracks", 0, "12");
    r.port.Answer("status cdaudio mode", 0, "playing");
    r.bgm.WatchCd();
    EXPECT_EQ(r.port.Commands(), queries);
    EXPECT_EQ(r.port.sent[2].second, 255u);
    EXPECT_TRUE(r.bgm.CdWatching);
  }
  {
    Rig r;
    r.port.Answer("status cdaudio current track", 0, "12");
    r.port.Answer("status cdaudio mode", 0, "stopped");
    r.bgm.WatchCd();
    Cmds expected = queries;
    expected.push_back("play cdaudio");
    EXPECT_EQ(r.port.Commands(), expected);
    EXPECT_TRUE(r.bgm.CdWatching);
  }
}

TEST(Bgm, WatchCdRepeatsOneTrack) {
  auto run = [](const std::string& current, const std::string& mode) {
    auto r = std::make_unique<Rig>();
    r->settings.BgmRepeat = 3;
    r->port.Answer("status cdaudio current track", 0, current);
    r->port.Answer("status cdaudio number of tracks", 0, "10");
    r->port.Answer("status cdaudio mode", 0, mode);
    r->port.Answer("status cdaudio position track 3", 0, "03:00:00:00");
    r->bgm.WatchCd();
    return r;
  };
  auto same = run("3", "playing");
  EXPECT_EQ(same->port.sent.size(), 3u);
  EXPECT_TRUE(same->bgm.CdWatching);

  auto other = run("4", "playing");
  ASSERT_EQ(other->port.sent.size(), 5u);
  EXPECT_EQ(other->port.Commands()[3], "status cdaudio position track 3");
  EXPECT_EQ(other->port.Commands()[4], "play cdaudio from 03:00:00:00");

  auto stopped = run("3", "stopped");
  ASSERT_EQ(stopped->port.sent.size(), 5u);
  EXPECT_EQ(stopped->port.Commands()[4], "play cdaudio from 03:00:00:00");

  auto notNumber = run("x", "stopped");
  EXPECT_FALSE(notNumber->bgm.CdWatching);
  EXPECT_EQ(notNumber->port.sent.size(), 3u);
}

TEST(Bgm, WatchCdStopsOnAnyErrInTheTrackReplies) {
  for (const std::string reply : {"Error:266", "err", "TERRIBLE"}) {
    Rig r;
    r.port.Answer("status cdaudio current track", 0, reply);
    r.bgm.WatchCd();
    EXPECT_FALSE(r.bgm.CdWatching) << reply;
    EXPECT_EQ(r.port.sent.size(), 1u);
  }
  Rig failing;  // no drive: the query fails and QueryMci says "Error:..."
  failing.port.Answer("status cdaudio current track", 0, "1");
  failing.port.Answer("status cdaudio number of tracks", 266);
  failing.bgm.WatchCd();
  EXPECT_FALSE(failing.bgm.CdWatching);
  EXPECT_EQ(failing.port.sent.size(), 2u);
}

TEST(Bgm, Mp3PlaysAndIsRestartedWhenItHasEnded) {
  Rig r;
  r.settings.BgmFile = "C:\\My Music\\a song.mp3";
  r.bgm.PlayMp3();
  EXPECT_EQ(r.port.Commands(), (Cmds{"open \"C:\\My Music\\a song.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"}));

  // Only the first seven characters of the 30-character reply count.
  r.port.sent.clear();
  r.port.Answer("status MP3Play mode", 0, "playing and more text here");
  r.bgm.RestartMp3();
  EXPECT_EQ(r.port.Commands(), (Cmds{"status MP3Play mode"}));
  EXPECT_EQ(r.port.sent[0].second, 30u);

  r.port.sent.clear();
  r.port.answers.clear();
  r.port.Answer("status MP3Play mode", 0, "stopped");
  r.bgm.RestartMp3();
  EXPECT_EQ(r.port.Commands(), (Cmds{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));

  r.port.answers.clear();
  r.port.Answer("status MP3Play mode", 0, "play");
  EXPECT_FALSE(r.bgm.IsMp3Playing());

  r.port.sent.clear();
  r.bgm.StopMp3();
  EXPECT_EQ(r.port.Commands(), (Cmds{"stop MP3Play", "close MP3Play"}));
}

TEST(Bgm, FailedOpenSendsNoPlayAndMp3LeavesApiResultAlone) {
  Rig r;
  r.settings.BgmFile = "C:\\x.mp3";
  r.port.Answer("open \"C:\\x.mp3\" type MPEGVideo Alias MP3Play", 275);
  ApiResult = 4242;
  r.bgm.PlayMp3();
  r.bgm.RestartMp3();  // the alias never existed: both commands go out and fail quietly
  r.bgm.StopMp3();
  EXPECT_EQ(r.port.Commands(), (Cmds{"open \"C:\\x.mp3\" type MPEGVideo Alias MP3Play", "status MP3Play mode",
                                     "stop MP3Play", "play MP3Play from 0", "stop MP3Play", "close MP3Play"}));
  EXPECT_EQ(ApiResult, 4242);
}

TEST(Bgm, WavLoopsThroughTheSoundPlayer) {
  Rig r;
  r.settings.BgmFile = "D:\\loop.wav";
  ApiResult = 5;
  r.port.devices = 0;
  r.bgm.PlayWav();
  EXPECT_TRUE(r.port.sounds.empty());
  EXPECT_EQ(ApiResult, 5);
  r.port.devices = 2;
  r.bgm.PlayWav();
  r.bgm.StopWav();
  ASSERT_EQ(r.port.sounds.size(), 2u);
  // Async, looped, and never the system's default sound in place of a missing file.
  EXPECT_EQ(r.port.sounds[0], std::make_pair(std::string("D:\\loop.wav"), 0x000Bu));
  EXPECT_EQ(r.port.sounds[1], std::make_pair(std::string("<null>"), 0u));
  EXPECT_EQ(ApiResult, 77);
  // A name the player could not open (128 bytes or more) goes the long way; a
  // file too large for the player to load whole is streamed, whatever its name.
  const int64_t largest = 16 << 20;
  const struct {
    size_t name;
    int64_t size;
    const char* how;
    int32_t result;
  } routes[] = {{127, largest, "", 77}, {128, largest, "<long> ", 78}, {127, largest + 1, "<stream> ", 79},
                {128, largest + 1, "<stream> ", 79}};
  for (const auto& c : routes) {
    Rig l;
    l.settings.BgmFile = "D:\\" + std::string(c.name - 7, 'x') + ".wav";
    l.port.sizes[l.settings.BgmFile] = c.size;
    l.bgm.PlayWav();
    ASSERT_EQ(l.port.sounds.size(), 1u);
    EXPECT_EQ(l.port.sounds[0].first, c.how + l.settings.BgmFile);
    EXPECT_EQ(l.port.sounds[0].second, c.result == 79 ? 0u : 0x000Bu);
    EXPECT_EQ(ApiResult, c.result);
  }
}

namespace {
struct FakeTimer : TimerSwitch {
  bool on = false;
  void SetEnabled(bool v) override { on = v; }
  bool Enabled() const override { return on; }
};
}  // namespace

// The display window's start, ticks and end, for each kind of music.
TEST(Bgm, TheRunStopsWhatItStarted) {
  struct Case {
    int16_t kind;
    const char* file;
    Cmds started, stopped;
    bool timer1, timer2;
  } cases[] = {
      {0, "C:\\a.mp3", {}, {}, false, false},
      {1, "", {"open cdaudio", "set cdaudio time format tmsf"}, {"stop cdaudio", "close cdaudio"}, false, true},
      {2, "C:\\a.Mp3", {"open \"C:\\a.Mp3\" type MPEGVideo Alias MP3Play", "play MP3Play"},
       {"stop MP3Play", "close MP3Play"}, true, false},
      {2, "C:\\a.ogg", {}, {}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Rig r;
    r.settings.BgmKind = c.kind;
    r.settings.BgmFile = c.file;
    FakeTimer t1, t2;
    DisplayMusic music(r.bgm, r.settings, t1, t2);
    music.Start();
    EXPECT_EQ(r.port.Commands(), c.started);
    EXPECT_EQ(t1.on, c.timer1);
    EXPECT_EQ(t2.on, c.timer2);
    r.port.sent.clear();
    music.Stop();
    EXPECT_EQ(r.port.Commands(), c.stopped);
    EXPECT_FALSE(t1.on || t2.on);
  }
  // A failed check switches the CD watch off for good; the disc is stopped at
  // the end all the same, and only once.
  Rig cd;
  cd.settings.BgmKind = 1;
  FakeTimer t1, t2;
  DisplayMusic music(cd.bgm, cd.settings, t1, t2);
  music.Start();
  cd.port.Answer("status cdaudio current track", 0, "Error:266");
  music.Timer2_Timer();
  EXPECT_FALSE(t2.on);
  cd.port.sent.clear();
  music.Stop();
  music.Stop();
  EXPECT_EQ(cd.port.Commands(), (Cmds{"stop cdaudio", "close cdaudio"}));
  // A drive that never opened is not sent "stop" and "close".
  Rig none;
  none.settings.BgmKind = 1;
  none.port.Answer("open cdaudio", 266);
  DisplayMusic noDrive(none.bgm, none.settings, t1, t2);
  noDrive.Start();
  none.port.sent.clear();
  noDrive.Stop();
  EXPECT_EQ(none.port.Commands(), Cmds{});
}
