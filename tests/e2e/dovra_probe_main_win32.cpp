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
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "display/display_window_win32.h"
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
  if (slowStart) hooks.afterSetUp = [slowStart] { Sleep(slowStart); };
  hooks.afterFrame = [&](uint64_t frame) {
    if (frame == 1) firstFrame = SecondsSinceProcessStart();
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
