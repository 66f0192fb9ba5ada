// dovra_probe: the full-screen saver exactly as Dovra.scr runs it, with a
// measuring hook for soak tests and figures. Environment:
//   DOVRA_PROBE_UNPACED=1   draw frames as fast as possible (no 60 Hz pacing)
//   DOVRA_PROBE_FRAMES=N    end after N frames
//   DOVRA_PROBE_SECONDS=S   end after S seconds
//   DOVRA_PROBE_STATS=FILE  write the figures there when it ends
//   DOVRA_PROBE_SLOW_START_MS=N  a start N ms slower between the window's
//                           showing and the first frame; the stats file then
//                           holds the figures of every frame as it is drawn
//   DOVRA_PROBE_DPI_FILE=FILE  the primary monitor's density, read from there
//                           whenever the saver asks (a test changes it as
//                           Windows' settings would while the saver runs)
//   DOVRA_PROBE_NEWS="MS WHAT VALUE;..."  from the first frame on, waits MS
//                           and sends the window what Windows sends it: WHAT
//                           is display (the session's display: 0 off, 1 on,
//                           2 dimmed), monitor (the primary monitor's power),
//                           battery or energy (the savers), each with its
//                           value as the power setting's payload, or session
//                           (WM_WTSSESSION_CHANGE with that event)
//   DOVRA_PROBE_LOG=FILE    a line for each frame ("frame whole|part N" with
//                           the figure's time and azimuth after it), each piece
//                           of news ("send|sent WHAT VALUE 0 0") and the run's
//                           end ("unload - 0 0 0"), each with the time (ms of
//                           the performance counter, which every process
//                           shares) and the CPU the process has used (ms)
//   DOVRA_PROBE_SOUND=FILE  the log's lines also give this file's size (where
//                           the sound goes, without a sound card)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/display_window_win32.h"
#include "e2e/saver_process.h"
#include "startup/settings_win32.h"
#include "toolkit/program_win32.h"
#include "win32/resource_counts.h"

using namespace dovra;

namespace {

struct Sample {
  DWORD gdi, user;
  SIZE_T privateBytes;
};

Sample Take() { return {test::GdiObjects(), test::UserObjects(), static_cast<SIZE_T>(test::PrivateBytes())}; }

double SecondsSinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimeAsFileTime(&now);
  auto v = [](FILETIME f) { return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return (v(now) - v(created)) / 1e7;
}

uint64_t EnvNumber(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::strtoull(v, nullptr, 10) : 0;
}

double CpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto v = [](FILETIME f) { return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return static_cast<double>(v(kernel) + v(user)) / 1e4;
}

// Written out here rather than taken from the saver's sources.
const GUID kSessionDisplay = {0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
const GUID kMonitorPower = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
const GUID kBatterySaver = {0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};
const GUID kEnergySaver = {0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};

// Each line in one call: the stream's own lock keeps the two threads' lines whole.
struct Log {
  FILE* file = nullptr;
  const char* sound = std::getenv("DOVRA_PROBE_SOUND");
  void Line(const std::string& text) {
    if (!file) return;
    WIN32_FILE_ATTRIBUTE_DATA a{};
    const bool sized = sound && GetFileAttributesExA(sound, GetFileExInfoStandard, &a);
    std::fprintf(file, "%s ms %.3f cpu %.1f sound %lu\n", text.c_str(), e2e::NowMs(), CpuMs(), sized ? a.nFileSizeLow : 0ul);
    std::fflush(file);
  }
};

struct NewsRun {
  const char* news = std::getenv("DOVRA_PROBE_NEWS");
  HANDLE firstFrame = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND window = nullptr;
  Log* log = nullptr;
};

// Sent from a thread of the saver's own process, as the system's are delivered:
// the payload is in this process's memory, where the window reads it.
DWORD WINAPI SendNews(void* param) {
  auto* run = static_cast<NewsRun*>(param);
  WaitForSingleObject(run->firstFrame, INFINITE);
  DWORD session = 0, waitMs = 0, value = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &session);
  char what[16];
  for (int n = 0; std::sscanf(run->news, " %lu %15[a-z] %lu%n", &waitMs, what, &value, &n) == 3;) {
    run->news += n + (run->news[n] == ';');
    Sleep(waitMs);
    const std::string w = what, news = w + " " + std::to_string(value) + " 0 0";
    const GUID* guid = w == "display" ? &kSessionDisplay : w == "monitor" ? &kMonitorPower
                       : w == "battery" ? &kBatterySaver : w == "energy" ? &kEnergySaver : nullptr;
    run->log->Line("send " + news);
    if (guid) {
      alignas(POWERBROADCAST_SETTING) unsigned char payload[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)] = {};
      auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(payload);
      setting->PowerSetting = *guid;
      setting->DataLength = sizeof(DWORD);
      std::memcpy(setting->Data, &value, sizeof(DWORD));
      SendMessageW(run->window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
    } else if (w == "session") {
      SendMessageW(run->window, WM_WTSSESSION_CHANGE, value, static_cast<LPARAM>(session));
    }
    run->log->Line("sent " + news);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LoadDllsFromSystemFolderOnly();
  Settings settings;
  LoadSettingsWin32(settings);
  Vormix_S display(settings, 'S');
  const uint64_t maxFrames = EnvNumber("DOVRA_PROBE_FRAMES");
  const double maxSeconds = static_cast<double>(EnvNumber("DOVRA_PROBE_SECONDS"));
  const char* statsFile = std::getenv("DOVRA_PROBE_STATS");
  FrameHooks hooks;
  hooks.unpaced = EnvNumber("DOVRA_PROBE_UNPACED") != 0;
  if (const char* dpiFile = std::getenv("DOVRA_PROBE_DPI_FILE")) {
    hooks.primaryDpi = [file = std::string(dpiFile)] {
      int dpi = 0;
      if (FILE* f = std::fopen(file.c_str(), "r")) {
        if (std::fscanf(f, "%d", &dpi) != 1) dpi = 0;
        std::fclose(f);
      }
      return dpi > 0 ? dpi : PrimaryMonitorDpi();
    };
  }
  Sample start{};
  double firstFrame = 0, startAt = 0;
  const DWORD slowStart = static_cast<DWORD>(EnvNumber("DOVRA_PROBE_SLOW_START_MS"));
  Log log;
  if (const char* logFile = std::getenv("DOVRA_PROBE_LOG")) log.file = std::fopen(logFile, "w");
  NewsRun news;
  news.log = &log;
  hooks.afterSetUp = [&] {
    news.window = display.hwnd();
    if (news.news) CloseHandle(CreateThread(nullptr, 0, SendNews, &news, 0, nullptr));
    if (slowStart) Sleep(slowStart);
  };
  hooks.atUnload = [&] { log.Line("unload - 0 0 0"); };
  hooks.afterFrame = [&](const FrameReport& r) {
    const uint64_t frame = r.frame;
    char line[160];
    std::snprintf(line, sizeof line, "frame %s %llu %ld %.3f", r.whole ? "whole" : "part",
                  static_cast<unsigned long long>(frame), static_cast<long>(r.figureMs), static_cast<double>(r.azimuth));
    log.Line(line);
    if (frame == 1) {
      firstFrame = SecondsSinceProcessStart();
      SetEvent(news.firstFrame);
    }
    if (frame == 60) { start = Take(); startAt = SecondsSinceProcessStart(); }
    const double now = SecondsSinceProcessStart();
    const bool done = (maxFrames && frame >= maxFrames) || (maxSeconds > 0 && now - firstFrame >= maxSeconds);
    if (!done && !slowStart) return;
    const Sample end = Take();
    if (statsFile) {
      if (FILE* f = std::fopen(statsFile, "w")) {
        std::fprintf(f, "frames=%llu\nseconds=%.3f\nfirst_frame_s=%.3f\nfps=%.2f\n", static_cast<unsigned long long>(frame),
                     now - firstFrame, firstFrame, (frame - 1) / (now - firstFrame));
        std::fprintf(f, "gdi_start=%lu\ngdi_end=%lu\nuser_start=%lu\nuser_end=%lu\n", start.gdi, end.gdi, start.user, end.user);
        std::fprintf(f, "private_start=%lu\nprivate_end=%lu\nsampled_from_s=%.3f\n", static_cast<unsigned long>(start.privateBytes),
                     static_cast<unsigned long>(end.privateBytes), startAt);
        std::fclose(f);
      }
    }
    if (done) ExitProcess(0);
  };
  display.SetHooks(hooks);
  display.Form_Load();
}
