// Dovra.scr driven from outside, as the screen-saver host and a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
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

void EndsCleanly(SaverProcess& p, DWORD ms = 3000) {
  DWORD code = 0;
  ASSERT_TRUE(p.WaitExit(ms, &code)) << "still running";
  EXPECT_FALSE(IsCrash(code)) << std::hex << code;
}

// The screen as the user sees it, top row first, 0x00RRGGBB.
std::vector<uint32_t> Screen(int& w, int& h) {
  w = GetSystemMetrics(SM_CXSCREEN);
  h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<uint32_t> px(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + w * h);
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  for (uint32_t& p : px) p &= 0xFFFFFF;
  return px;
}

// Whether the cursor's shown state reaches `showing` within a second.
bool CursorBecomes(bool showing) {
  for (int i = 0; i < 50; ++i) {
    CURSORINFO ci{};
    ci.cbSize = sizeof ci;
    if (GetCursorInfo(&ci) && ((ci.flags & CURSOR_SHOWING) != 0) == showing) return true;
    Pump(20);
  }
  return false;
}

bool Grey(uint32_t c) { return ((c >> 16) & 255) == ((c >> 8) & 255) && ((c >> 8) & 255) == (c & 255); }

// Whether the background of this run, as written beside the program, is centred
// on a primary monitor of pw x ph: most of its pixels are there unchanged
// (stars and balls cover a few). at(x, y) reads the screen.
template <typename At>
::testing::AssertionResult BackgroundCentred(const std::string& dir, int pw, int ph, At at) {
  const auto bmp = ReadBytes(dir + "\\Vormix2.bmp");
  if (bmp.size() < 54u) return ::testing::AssertionFailure() << "no background written";
  const int bw = bmp[18] | (bmp[19] << 8), bh = bmp[22] | (bmp[23] << 8), stride = (bw * 3 + 3) & ~3;
  int same = 0, compared = 0;
  for (int y = 0; y < bh; y += 7)
    for (int x = 0; x < bw; x += 7) {
      const unsigned char* px = &bmp[54 + static_cast<size_t>(bh - 1 - y) * stride + x * 3];
      const uint32_t want = (px[2] << 16) | (px[1] << 8) | px[0];
      ++compared;
      same += at(pw / 2 - bw / 2 + x, ph / 2 - bh / 2 + y) == want;
    }
  if (same > compared * 8 / 10) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << same << " of " << compared << " background pixels in place";
}

}  // namespace

TEST(FullScreen, EachFullScreenRequestCoversTheScreenOnTopAndEndsOnEscape) {
  for (const char* args : {"/s", "/S", "-s", ""}) {
    SCOPED_TRACE(std::string("args '") + args + "'");
    TempDir dir;
    SaverProcess p(dir.Path(), args);
    ASSERT_TRUE(p.Started());
    HWND w = p.WaitWindow(kMain, 10000);
    ASSERT_NE(w, nullptr);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    // The cursor is hidden for "S" only, and shown again when the run ends
    // (Wine reports the state of the active window's thread: give it a moment).
    const bool hide = args[0] != '\0';
    EXPECT_TRUE(CursorBecomes(!hide));
    PostMessageW(w, WM_KEYDOWN, 'A', 0);
    PostMessageW(w, WM_KEYDOWN, VK_SPACE, 0);
    Pump(400);
    EXPECT_TRUE(p.Running()) << "a key other than Escape ended the saver";
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    EndsCleanly(p);
    EXPECT_TRUE(CursorBecomes(true));
    // Both pictures were written beside the program.
    const auto ball = ReadBytes(dir.File("Vormix1.bmp"));
    ASSERT_GE(ball.size(), 54u);
    EXPECT_EQ(ball[18], 22);
    EXPECT_EQ(ball[22], 23);
    const auto back = ReadBytes(dir.File("Vormix2.bmp"));
    ASSERT_GE(back.size(), 54u);
    const int bw = back[18] | (back[19] << 8);
    EXPECT_TRUE(bw == 500 || bw == 640) << bw;
    EXPECT_FALSE(FileThere(dir.File("VormixDovra.ini")));  // loading never writes
  }
}

TEST(FullScreen, AnyMouseButtonEndsIt) {
  for (UINT msg : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
    TempDir dir;
    SaverProcess p(dir.Path(), "/s");
    HWND w = p.WaitWindow(kMain, 10000);
    ASSERT_NE(w, nullptr);
    Pump(300);
    PostMessageW(w, msg, 0, MAKELPARAM(100, 100));
    EndsCleanly(p);
  }
}

// Wine sends one move of its own when the window appears under the pointer, and
// it counts like any other: 29 posted moves leave the saver running, the 31st
// event (the 30th or 31st posted) ends it.
TEST(FullScreen, ThirtyMouseMovesAreToleratedTheThirtyFirstEndsIt) {
  TempDir dir;
  SaverProcess p(dir.Path(), "/s");
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  Pump(500);
  for (int i = 1; i <= 29; ++i) PostMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(i, i));
  Pump(500);
  ASSERT_TRUE(p.Running()) << "ended before the 31st move";
  int posted = 29;
  while (p.Running() && posted < 31) {
    PostMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(posted, posted));
    ++posted;
    Pump(400);
  }
  EndsCleanly(p);
  EXPECT_GE(posted, 30);
}

TEST(FullScreen, TheScreenShowsPlanetStarsAndBalls) {
  TempDir dir;
  SaverProcess p(dir.Path(), "/s");
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  Pump(3000);
  int sw = 0, sh = 0;
  const std::vector<uint32_t> px = Screen(sw, sh);
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EndsCleanly(p);
  // The background is at most 640 x 480, centred; outside it only grey stars
  // (and balls) are drawn on black.
  int colouredOutside = 0, starsOutside = 0, colouredInside = 0, lightGrey = 0;
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < sw; ++x) {
      const uint32_t c = px[y * sw + x];
      const bool inside = x >= sw / 2 - 320 && x < sw / 2 + 320 && y >= sh / 2 - 240 && y < sh / 2 + 240;
      if (!inside) {
        if (!Grey(c)) ++colouredOutside;
        else if (c != 0) ++starsOutside;
      } else if (!Grey(c)) {
        ++colouredInside;
      }
      if (Grey(c) && (c & 255) > 120) ++lightGrey;
    }
  EXPECT_EQ(colouredOutside, 0);
  EXPECT_GT(starsOutside, 20);       // grey stars on black
  EXPECT_GT(colouredInside, 20000);  // a planet in the middle
  EXPECT_GT(lightGrey, 500);         // lit balls
}

TEST(Requests, UnknownRequestsEndWithoutAWindow) {
  for (const char* args : {"/a 1234", "s", "/x"}) {
    TempDir dir;
    SaverProcess p(dir.Path(), args);
    ASSERT_TRUE(p.Started());
    EndsCleanly(p, 5000);
    EXPECT_EQ(p.WaitWindow(kMain, 0), nullptr);
  }
}

TEST(Requests, AnOpenSaverOrDialogStopsEveryStart) {
  for (const wchar_t* caption : {L"Vormix_Main", kDialogCaption}) {
    HWND other = CreateWindowExW(0, L"STATIC", caption, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    HWND pane = CreateWindowExW(0, L"STATIC", L"pane", WS_POPUP | WS_VISIBLE, 0, 0, 152, 112, nullptr, nullptr, nullptr, nullptr);
    const std::vector<std::string> requests{"/s", "", "/p " + std::to_string(reinterpret_cast<uintptr_t>(pane))};
    for (const std::string& args : requests) {
      TempDir dir;
      SaverProcess p(dir.Path(), args);
      EndsCleanly(p, 5000);
      EXPECT_FALSE(FileThere(dir.File("Vormix1.bmp"))) << args;
    }
    DestroyWindow(pane);
    DestroyWindow(other);
  }
}

TEST(Preview, EmbedsInThePaneAndEndsWithIt) {
  HWND pane = CreateWindowExW(0, L"STATIC", L"host pane", WS_POPUP | WS_VISIBLE, 50, 60, 152, 112,
                              nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(pane, nullptr);
  TempDir dir;
  SaverProcess p(dir.Path(), "/p " + std::to_string(reinterpret_cast<uintptr_t>(pane)));
  HWND child = nullptr;
  for (int i = 0; i < 200 && !child; ++i) {
    Pump(25);
    child = FindWindowExW(pane, nullptr, nullptr, L"Preview Window");
  }
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
  RECT r{};
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 60);
  EXPECT_EQ(r.right - r.left, 152);
  EXPECT_EQ(r.bottom - r.top, 112);
  EXPECT_FALSE(FileThere(dir.File("Vormix1.bmp")));

  // While only a preview runs, a full-screen start is not stopped.
  {
    TempDir other;
    SaverProcess full(other.Path(), "/s");
    HWND w = full.WaitWindow(kMain, 10000);
    ASSERT_NE(w, nullptr);
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    EndsCleanly(full);
  }
  EXPECT_TRUE(p.Running());
  DestroyWindow(pane);
  DWORD code = 0;
  EXPECT_TRUE(p.WaitExit(1000, &code)) << "the preview outlived its pane";
  EXPECT_FALSE(IsCrash(code));
}

TEST(Preview, NoPaneNoWindow) {
  for (const char* args : {"/p", "/p 0", "/p abc", "/p 12345678"}) {
    TempDir dir;
    SaverProcess p(dir.Path(), args);
    EndsCleanly(p, 5000);
    EXPECT_EQ(p.WaitWindow(L"Preview Window", 0), nullptr) << args;
  }
}

namespace {
// A plain window of this test program, brought to the front: another program
// taking the foreground.
struct OtherProgram {
  HWND w;
  explicit OtherProgram(RECT r = RECT{100, 100, 400, 300}, bool front = true) {
    w = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    if (front) SetForegroundWindow(w);
    Pump(100);
  }
  ~OtherProgram() { DestroyWindow(w); }
};
}  // namespace

// Activation is shuffled while the saver appears; it must never end by itself,
// whether or not another window held the foreground before it started.
TEST(StepsAside, RunsUndisturbedForTenSeconds) {
  for (bool otherFirst : {true, false}) {
    SCOPED_TRACE(otherFirst ? "another window in front before" : "no window in front before");
    std::unique_ptr<OtherProgram> other;
    if (otherFirst) other = std::make_unique<OtherProgram>();
    TempDir dir;
    SaverProcess p(dir.Path(), "/s");
    HWND w = p.WaitWindow(kMain, 10000);
    ASSERT_NE(w, nullptr);
    Pump(10000);
    EXPECT_TRUE(p.Running());
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
    EndsCleanly(p);
  }
}

// However long the start takes, the second of grace before the saver steps
// aside for another program counts from its first frame. (The probe is the
// saver with a start 3 s slower after its window shows; it writes the figures
// of each frame as it draws it.)
TEST(StepsAside, TheSecondOfGraceCountsFromTheFirstFrame) {
  TempDir dir;
  const std::string stats = dir.File("stats.txt");
  SetEnvironmentVariableA("DOVRA_PROBE_SLOW_START_MS", "3000");
  SetEnvironmentVariableA("DOVRA_PROBE_STATS", stats.c_str());
  SaverProcess p(dir.Path(), "", "dovra_probe.exe");
  SetEnvironmentVariableA("DOVRA_PROBE_SLOW_START_MS", nullptr);
  SetEnvironmentVariableA("DOVRA_PROBE_STATS", nullptr);
  ASSERT_NE(p.WaitWindow(kMain, 10000), nullptr);
  Pump(500);  // past the saver's own bringing itself to the front, well within its slow start
  OtherProgram other;  // in front while the saver is still preparing
  ASSERT_TRUE(p.WaitExit(15000)) << "it never stepped aside";
  const auto bytes = ReadBytes(stats);
  const std::string text(bytes.begin(), bytes.end());
  unsigned long long frames = 0;
  double seconds = 0;
  ASSERT_EQ(std::sscanf(text.c_str(), "frames=%llu seconds=%lf", &frames, &seconds), 2) << "it drew no frame";
  EXPECT_GE(seconds, 0.9) << "it stepped aside " << seconds << " s after its first frame";
  std::printf("stepped aside %.2f s after the first frame (%llu frames)\n", seconds, frames);
}

// Another program in front, or the machine going to sleep, ends the run as
// Escape does (cursor shown again); the system asking for the saver does not.
TEST(StepsAside, ForAnotherProgramAndForSleepButNotForAnotherSaverRequest) {
  {
    TempDir dir;
    SaverProcess p(dir.Path(), "/s");
    HWND w = p.WaitWindow(kMain, 10000);
    ASSERT_NE(w, nullptr);
    Pump(1500);
    // The request comes with the low four bits used by the system, as it may.
    // Left to the default handling, Wine answers SC_SCREENSAVE + 1 with its
    // About box: so a request that is not swallowed shows here as a window.
    for (WPARAM request : {WPARAM{SC_SCREENSAVE}, WPARAM{SC_SCREENSAVE + 1}}) {
      DWORD_PTR result = 1;
      EXPECT_TRUE(SendMessageTimeoutW(w, WM_SYSCOMMAND, request, 0, SMTO_ABORTIFHUNG, 2000, &result));
    }
    Pump(700);
    EXPECT_TRUE(p.Running()) << "SC_SCREENSAVE ended the saver";
    EXPECT_EQ(p.OtherWindows(kMain), 0) << "SC_SCREENSAVE went to the default handling";
    EXPECT_TRUE(CursorBecomes(false));
    PostMessageW(w, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EndsCleanly(p, 5000);
    EXPECT_TRUE(CursorBecomes(true));
  }
  TempDir dir;
  SaverProcess p(dir.Path(), "/s");
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  Pump(1500);
  ASSERT_TRUE(p.Running());
  OtherProgram other;
  EndsCleanly(p, 5000);
  EXPECT_TRUE(CursorBecomes(true));
}

namespace {
// A line of the probe's log: a frame, a piece of news or the run's end.
struct LogLine {
  std::string kind, what;
  unsigned long value = 0, sound = 0;
  long figure = 0;
  double azimuth = 0, ms = 0, cpu = 0;
};

std::vector<LogLine> ReadLog(const std::string& file) {
  const auto bytes = ReadBytes(file);
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::vector<LogLine> lines;
  LogLine l;
  char kind[16], what[16];
  for (std::string text; std::getline(in, text);)
    if (std::sscanf(text.c_str(), "%15s %15s %lu %ld %lf ms %lf cpu %lf sound %lu", kind, what, &l.value, &l.figure,
                    &l.azimuth, &l.ms, &l.cpu, &l.sound) == 8)
      l.kind = kind, l.what = what, lines.push_back(l);
  return lines;
}
}  // namespace

// The saver sleeps while nobody can see it. The probe's own thread sends the
// window what Windows sends it, with the real payloads: the display dimmed,
// off and on, the session locked and unlocked, the battery saver on and off,
// then the display off once more, when Escape comes. While dark no frame is
// made, the process sleeps and the music plays on; the first frame after is
// made whole and the figure carries on from where it was at the usual rate;
// with the battery saver on, 30 frames a second, each two of the figure's
// steps; Escape ends the run at once even in the dark.
TEST(Sleep, NoFrameWhileNobodySeesOneAndTheFigureCarriesOnAfter) {
  char capture[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("DOVRA_TEST_CAPTURE", capture, MAX_PATH), 0u)
      << "no capture file: the test command points ALSA at one and names it in DOVRA_TEST_CAPTURE";
  TempDir dir;
  ASSERT_TRUE(WriteToneWav(dir.File("tone.wav"), 44100 + 44, 0));
  WriteBytes(dir.File("VormixDovra.ini"), "[Section]\r\n" + kKeyKind + "= 2\r\n" + kKeyFile + "=" + dir.File("tone.wav") + "\r\n");
  const std::string log = dir.File("log.txt");
  SetEnvironmentVariableA("DOVRA_PROBE_LOG", log.c_str());
  SetEnvironmentVariableA("DOVRA_PROBE_SOUND", capture);
  SetEnvironmentVariableA("DOVRA_PROBE_NEWS", "800 display 2;600 display 0;1500 display 1;800 session 7;1200 session 8;"
                                              "800 battery 1;1500 battery 0;800 display 0");
  SaverProcess p(dir.Path(), "", "dovra_probe.exe");
  for (const char* name : {"DOVRA_PROBE_LOG", "DOVRA_PROBE_SOUND", "DOVRA_PROBE_NEWS"}) SetEnvironmentVariableA(name, nullptr);
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  const auto sent = [&](const std::vector<LogLine>& lines, const char* kind, const char* what, unsigned long value, int nth = 1) {
    for (const LogLine& l : lines)
      if (l.kind == kind && l.what == what && l.value == value && --nth == 0) return l;
    return LogLine{};
  };
  std::vector<LogLine> lines;
  for (int i = 0; i < 300 && sent(lines, "sent", "display", 0, 2).kind.empty(); ++i) {
    Pump(50);
    lines = ReadLog(log);
  }
  ASSERT_FALSE(sent(lines, "sent", "display", 0, 2).kind.empty()) << "the news was never all sent";
  Pump(500);
  const double escape = NowMs();
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EndsCleanly(p, 5000);
  lines = ReadLog(log);

  const auto framesIn = [&](double from, double to) {
    std::vector<LogLine> f;
    for (const LogLine& l : lines)
      if (l.kind == "frame" && l.ms > from && l.ms < to) f.push_back(l);
    return f;
  };
  const auto steps = [](const LogLine& a, const LogLine& b) { return std::fmod(b.azimuth - a.azimuth + 720, 360) / 1.25; };

  const LogLine dimmed = sent(lines, "sent", "display", 2), off = sent(lines, "sent", "display", 0);
  EXPECT_GE(framesIn(dimmed.ms, off.ms).size(), 15u) << "a dimmed display is still seen";
  struct Spell { const char* what; LogLine dark, wake; } spells[] = {
      {"display off", off, sent(lines, "send", "display", 1)},
      {"session locked", sent(lines, "sent", "session", 7), sent(lines, "send", "session", 8)},
  };
  for (const Spell& s : spells) {
    SCOPED_TRACE(s.what);
    ASSERT_FALSE(s.dark.kind.empty() || s.wake.kind.empty());
    const double dark = s.wake.ms - s.dark.ms;
    EXPECT_TRUE(framesIn(s.dark.ms, s.wake.ms).empty()) << "a frame while dark";
    EXPECT_LT(s.wake.cpu - s.dark.cpu, 0.15 * dark) << "CPU ms used in " << dark << " ms dark";
    EXPECT_GT(s.wake.sound, s.dark.sound) << "the music stopped";
    const std::vector<LogLine> earlier = framesIn(0, s.dark.ms);
    ASSERT_FALSE(earlier.empty());
    const LogLine& before = earlier.back();
    const std::vector<LogLine> after = framesIn(s.wake.ms, s.wake.ms + 500);
    ASSERT_FALSE(after.empty()) << "no frame after";
    EXPECT_EQ(after[0].what, "whole") << "the first frame after is not whole";
    EXPECT_EQ(steps(before, after[0]), 1) << "the figure jumped";
    EXPECT_LT(after[0].figure - before.figure, 150) << "the figure's time ran on in the dark";
    EXPECT_LE(after.size(), 33u) << "catching up after the dark";
  }
  // The battery saver: from the frame after its news to the frame before the next.
  const std::vector<LogLine> saving = framesIn(sent(lines, "sent", "battery", 1).ms + 40, sent(lines, "send", "battery", 0).ms);
  const std::vector<LogLine> normal = framesIn(sent(lines, "sent", "battery", 0).ms + 40, sent(lines, "send", "display", 0, 2).ms);
  ASSERT_GE(saving.size(), 10u);
  ASSERT_GE(normal.size(), 10u);
  // Each frame's steps of the figure, and the median time between frames.
  const auto pace = [&](const std::vector<LogLine>& f, double n) {
    int wrong = 0;
    std::vector<double> gaps;
    for (size_t i = 1; i < f.size(); ++i) wrong += steps(f[i - 1], f[i]) != n, gaps.push_back(f[i].ms - f[i - 1].ms);
    std::sort(gaps.begin(), gaps.end());
    EXPECT_EQ(wrong, 0) << "frames not " << n << " steps of the figure";
    return gaps[gaps.size() / 2];
  };
  EXPECT_GE(pace(saving, 2), 30) << "faster than 30 frames a second with the battery saver on";
  EXPECT_LT(pace(normal, 1), 25) << "not back at 60 frames a second";
  // Escape in the dark.
  const LogLine unload = sent(lines, "unload", "-", 0);
  ASSERT_FALSE(unload.kind.empty()) << "the run never ended by Escape";
  EXPECT_LT(unload.ms - escape, 300) << "Escape answered late in the dark";
  EXPECT_TRUE(framesIn(sent(lines, "sent", "display", 0, 2).ms, unload.ms).empty());
}

// What the screen shows is never stale: black from the moment the window shows
// (here while the saver is still preparing its pictures, 3 s long), and the
// scene again within a few frames where another window covered it and went
// away without ever being activated. The other windows are magenta, a colour
// no frame holds.
TEST(Exposure, BlackFromTheShowAndTheSceneAgainWhereACoverWent) {
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  const auto magentaIn = [&](RECT r) {
    int w = 0, h = 0, n = 0;
    const std::vector<uint32_t> px = Screen(w, h);
    for (int y = std::max(0L, r.top); y < std::min<LONG>(h, r.bottom); ++y)
      for (int x = std::max(0L, r.left); x < std::min<LONG>(w, r.right); ++x) n += px[y * w + x] == 0xFF00FF;
    return n;
  };
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
  wc.lpszClassName = L"DovraTestCover";
  RegisterClassW(&wc);
  const auto magentaWindow = [](RECT r, DWORD exStyle) {
    HWND c = CreateWindowExW(exStyle, L"DovraTestCover", L"cover", WS_POPUP, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(c, SW_SHOWNOACTIVATE);
    UpdateWindow(c);
    return c;
  };
  const RECT whole{0, 0, sw, sh}, part{sw / 2 - 200, sh / 2 - 150, sw / 2 + 200, sh / 2 + 150};
  HWND before = magentaWindow(whole, 0);
  Pump(300);
  ASSERT_GT(magentaIn(whole), sw * sh / 2);
  TempDir dir;
  SetEnvironmentVariableA("DOVRA_PROBE_SLOW_START_MS", "3000");
  SaverProcess p(dir.Path(), "", "dovra_probe.exe");
  SetEnvironmentVariableA("DOVRA_PROBE_SLOW_START_MS", nullptr);
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  Pump(1000);
  EXPECT_EQ(magentaIn(whole), 0) << "not black while the saver prepares";
  DestroyWindow(before);
  Pump(3000);
  HWND cover = magentaWindow(part, WS_EX_TOPMOST | WS_EX_NOACTIVATE);
  Pump(300);
  ASSERT_GT(magentaIn(part), 0) << "the cover never showed";
  DestroyWindow(cover);
  Pump(100);
  EXPECT_EQ(magentaIn(part), 0) << "the covered part stayed stale";
  EXPECT_TRUE(p.Running());
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EndsCleanly(p);
}

// Run by the test command on a monitor whose size can change (DOVRA_MONITORS=one):
// at each real change of the screen's size the window covers the new screen
// and the scene is centred on it again.
TEST(DisplayChange, TheSaverFollowsEachNewScreenSize) {
  const int w0 = GetSystemMetrics(SM_CXSCREEN), h0 = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_NE(w0, 1024) << "needs a screen that starts at another size than 1024 x 768";
  TempDir dir;
  SaverProcess p(dir.Path(), "/s");
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  Pump(1500);
  for (auto [cx, cy] : {std::pair{1024, 768}, {w0, h0}, {1024, 768}, {w0, h0}}) {
    SCOPED_TRACE(std::to_string(cx) + " x " + std::to_string(cy));
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = cx;
    mode.dmPelsHeight = cy;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ASSERT_EQ(ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr), DISP_CHANGE_SUCCESSFUL);
    Pump(1500);
    ASSERT_TRUE(p.Running());
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, cx);
    EXPECT_EQ(r.bottom, cy);
    int sw = 0, sh = 0;
    const std::vector<uint32_t> px = Screen(sw, sh);
    ASSERT_EQ(sw, cx);
    EXPECT_TRUE(BackgroundCentred(dir.Path(), cx, cy, [&](int x, int y) { return px[y * sw + x]; }));
  }
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EndsCleanly(p);
}

// Run by the test command on a desktop of two monitors (DOVRA_MONITORS=right or
// left: where the second one stands), never on the one-monitor screen.
TEST(TwoMonitors, EveryMonitorCoveredSceneOnThePrimaryAClickAnywhereEnds) {
  ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
  const int vx = GetSystemMetrics(SM_XVIRTUALSCREEN), vy = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int vw = GetSystemMetrics(SM_CXVIRTUALSCREEN), vh = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const int pw = GetSystemMetrics(SM_CXSCREEN), ph = GetSystemMetrics(SM_CYSCREEN);
  const bool left = vx < 0;
  // The second monitor's middle, and a bright window there before the saver starts.
  const int sx = left ? vx / 2 : pw + (vw - pw) / 2, sy = 300;
  OtherProgram bright(RECT{sx - 150, sy - 100, sx + 150, sy + 100}, false);
  SetClassLongPtrW(bright.w, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetStockObject(WHITE_BRUSH)));
  InvalidateRect(bright.w, nullptr, TRUE);
  Pump(200);

  TempDir dir;
  SaverProcess p(dir.Path(), "/s");
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, vx);
  EXPECT_EQ(r.top, vy);
  EXPECT_EQ(r.right, vx + vw);
  EXPECT_EQ(r.bottom, vy + vh);
  Pump(2500);

  // The whole desktop as the user sees it.
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), vw, -vh, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, vw, vh, screen, vx, vy, SRCCOPY);
  GdiFlush();
  auto at = [&](int x, int y) { return static_cast<uint32_t*>(bits)[(y - vy) * vw + (x - vx)] & 0xFFFFFF; };
  int brightLeft = 0;
  for (int y = vy; y < vy + vh; ++y)
    for (int x = vx; x < vx + vw; ++x) {
      const bool onPrimary = x >= 0 && x < pw && y >= 0 && y < ph;
      if (!onPrimary && at(x, y) != 0) ++brightLeft;
    }
  EXPECT_TRUE(BackgroundCentred(dir.Path(), pw, ph, at));
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(brightLeft, 0) << "something shows on the second monitor";

  // A click on the second monitor ends the run.
  SetCursorPos(sx, sy);
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof(INPUT));
  EndsCleanly(p, 5000);
}

// On a scaled screen (the test command runs this at 144 and 192 dpi) the scene
// is the same composition as at 96 dpi: the background s times its size and
// centred. Seen from here: the screen's middle, brought back to the picture's
// size, is the picture the saver wrote beside itself.
TEST(ScaledScreen, TheBackgroundIsScaledAndCentred) {
  SetProcessDPIAware();  // see the screen's real pixels
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  TempDir dir;
  // The saver as Dovra.scr runs it, told the primary monitor's density by a
  // file: Wine keeps one density for a session, Windows changes it live.
  const std::string dpiFile = dir.File("dpi.txt");
  WriteBytes(dpiFile, std::to_string(dpi));
  SetEnvironmentVariableA("DOVRA_PROBE_DPI_FILE", dpiFile.c_str());
  SaverProcess p(dir.Path(), "", "dovra_probe.exe");
  SetEnvironmentVariableA("DOVRA_PROBE_DPI_FILE", nullptr);
  HWND w = p.WaitWindow(kMain, 10000);
  ASSERT_NE(w, nullptr);
  Pump(2500);
  const auto bmp = ReadBytes(dir.File("Vormix2.bmp"));
  ASSERT_GE(bmp.size(), 54u);
  const int bw = bmp[18] | (bmp[19] << 8), bh = bmp[22] | (bmp[23] << 8), stride = (bw * 3 + 3) & ~3;
  // The screen's scale, then others taken while the saver runs, each told as
  // Windows may tell it: for the window's own monitor (WM_DPICHANGED), or only
  // as a change of the displays or of the settings, as when the primary is not
  // the monitor that holds most of the window.
  const int other = dpi == 96 ? 192 : 96;
  const struct { UINT msg; int now; } steps[] = {
      {0, dpi}, {WM_DPICHANGED, other}, {WM_DISPLAYCHANGE, dpi}, {WM_SETTINGCHANGE, other}};
  // How many of the planet's pixels are on the screen as drawn at scale s
  // (close, not equal: drawn anew at that size, not enlarged), of how many.
  const auto planetAt = [&](double s, int& compared) {
    int sw = 0, sh = 0;
    const std::vector<uint32_t> px = Screen(sw, sh);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, sw) << "the window stays over the whole screen";
    const double left = sw / 2.0 - bw * s / 2, top = sh / 2.0 - bh * s / 2;
    int close = 0;
    compared = 0;
    for (int y = 2; y < bh - 2; y += 5)
      for (int x = 2; x < bw - 2; x += 5) {
        // The screen's pixels over this picture pixel, averaged.
        const int x0 = static_cast<int>(left + x * s), x1 = static_cast<int>(left + (x + 1) * s);
        const int y0 = static_cast<int>(top + y * s), y1 = static_cast<int>(top + (y + 1) * s);
        if (x0 < 0 || y0 < 0 || x1 > sw || y1 > sh) continue;
        double acc[3] = {};
        int n = 0;
        bool ball = false;  // the figure's grey balls cover part of the planet
        for (int yy = y0; yy < std::max(y1, y0 + 1); ++yy)
          for (int xx = x0; xx < std::max(x1, x0 + 1); ++xx, ++n) {
            const uint32_t c = px[yy * sw + xx];
            ball = ball || (Grey(c) && (c & 255) > 40);
            for (int k = 0; k < 3; ++k) acc[k] += (c >> (16 - 8 * k)) & 255;
          }
        if (ball) continue;
        const unsigned char* b = &bmp[54 + static_cast<size_t>(bh - 1 - y) * stride + x * 3];
        const int want[3] = {b[2], b[1], b[0]};
        if (std::max({want[0], want[1], want[2]}) < 60) continue;  // the planet, not the dark sky
        int worst = 0;
        for (int c = 0; c < 3; ++c) worst = std::max(worst, static_cast<int>(std::fabs(acc[c] / n - want[c])));
        ++compared;
        close += worst <= 24;
      }
    return close;
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.msg);
    if (step.msg) {
      WriteBytes(dpiFile, std::to_string(step.now));
      RECT suggested{0, 0, 100, 100};
      DWORD_PTR result = 0;
      const WPARAM wp = step.msg == WM_DPICHANGED ? MAKEWPARAM(step.now, step.now) : 0;
      const LPARAM lp = step.msg == WM_DPICHANGED ? reinterpret_cast<LPARAM>(&suggested) : 0;
      EXPECT_TRUE(SendMessageTimeoutW(w, step.msg, wp, lp, SMTO_ABORTIFHUNG, 10000, &result));
    }
    // A few frames, more on a slow machine: pictures are made anew at the scale.
    const double s = step.now / 96.0;
    int close = 0, compared = 0;
    for (int tries = 0; tries < 5 && close <= compared * 85 / 100; ++tries) {
      Pump(1000);
      close = planetAt(s, compared);
    }
    ASSERT_GT(compared, 500) << "at scale " << s;
    EXPECT_GT(close, compared * 85 / 100) << close << " of " << compared << " at scale " << s;
    std::printf("%d of %d planet pixels close at scale %.2f\n", close, compared, s);
  }
  PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  EndsCleanly(p);
}
