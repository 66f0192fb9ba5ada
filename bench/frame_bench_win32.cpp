// Composes frames as the display window does (background centred, stars, the 171
// balls of shape 7 far to near, clear) on a 1920 x 1080 back buffer, without the
// copy to a window, and compares the cost with the memory floor: one memset and
// one memcpy of a buffer of the same size, both really done and from memory,
// not the cache. Prints medians in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <vector>

#include "display/animation.h"
#include "display/drawing_win32.h"
#include "resources/resource_ids.h"
#include "surface/pixel_copy.h"
#include "surface/present_surface_win32.h"
#include "toolkit/program_win32.h"

using namespace dovra;

namespace {

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void Paint(Vormix_C1& s, COLORREF (*colour)(int, int)) {
  uint8_t* bits = s.Bits();
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) {
      const COLORREF c = colour(x, y);
      uint8_t* p = bits + (s.Height() - 1 - y) * DibStride(s.Width()) + x * 3;
      p[0] = GetBValue(c); p[1] = GetGValue(c); p[2] = GetRValue(c);
    }
}

// The scene both measurements draw: the stars, shape 7 (171 balls) seen from
// one place, and the marks of what each frame changes.
struct BenchScene {
  BenchScene(int W, int H) {
    Rnd rnd;
    rnd.Seed(1234);
    StartStars(stars, rnd);
    LoadShape(list, 7);
    marks.Reset(W, H);
  }
  StarField stars{};
  VertexList list;
  View view{30, 20, 2500, kStartDistance};
  BallPainter painter;
  FrameMarks marks;
};

// Frames made as the saver makes them: the background given back where the
// last frame drew, stars, the balls far to near; with present given, what
// changed is also converted into it and shown on screen, as the saver does.
double FrameMedian(Vormix_C1& back, Vormix_C1& picture, Vormix_C1& ball, int frames,
                   const SceneScale& scale = SceneScale(), PresentSurface* present = nullptr, HDC screen = nullptr) {
  const int W = back.Width(), H = back.Height();
  BenchScene scene(W, H);
  auto& [stars, list, view, painter, marks] = scene;
  std::vector<double> times;
  for (int f = 0; f < frames; ++f) {
    AnimateShape(list, 7);
    ProjectVertices(list, W, H, view);
    const double t0 = Now();
    StartFrame(back, picture, marks);
    DrawStars(stars, back, W, H, scale, &marks);
    DrawBalls(list, back.hdc(), ball, painter, scale, W, H, &marks);
    if (present) present->Present(back, marks, screen, 0, 0);
    else marks.Take([](const FrameBox&) {});
    GdiFlush();
    times.push_back(Now() - t0);
  }
  return Median(times);
}

// Where a frame's time goes, stage by stage, as the saver makes it at 96 dpi
// and shows it in a window from the 32-bit surface: medians in milliseconds.
// Also what showing each changed place on its own would cost instead of one
// copy of their bounds.
void Breakdown(Vormix_C1& back, Vormix_C1& picture, Vormix_C1& ball, int frames, HDC window,
               PresentSurface& present) {
  const int W = back.Width(), H = back.Height();
  BenchScene scene(W, H);
  auto& [stars, list, view, painter, marks] = scene;
  const char* const names[] = {"background", "stars", "balls", "conversion", "present"};
  constexpr int kStages = 5;
  std::vector<double> t[kStages], eachPlace;
  std::vector<FrameBox> places;
  const DibView src{back.Bits(), W, H, DibStride(W)};
  for (int f = 0; f < frames; ++f) {
    AnimateShape(list, 7);
    ProjectVertices(list, W, H, view);
    double at[kStages + 1];
    at[0] = Now();
    StartFrame(back, picture, marks);
    at[1] = Now();
    DrawStars(stars, back, W, H, SceneScale(), &marks);
    at[2] = Now();
    DrawBalls(list, back.hdc(), ball, painter, SceneScale(), W, H, &marks);
    GdiFlush();
    at[3] = Now();
    places.clear();
    const FrameBox b = marks.Take([&](const FrameBox& box) {
      places.push_back(box);
      for (int32_t y = box.y; y < box.y + box.h; ++y) Convert24To32(src, present.View(), y, box.x, box.x + box.w);
    });
    at[4] = Now();
    present.ShowPart(window, 0, 0, RECT{b.x, b.y, b.x + b.w, b.y + b.h});
    GdiFlush();
    at[5] = Now();
    for (int i = 0; i < kStages; ++i) t[i].push_back(at[i + 1] - at[i]);
    const double e0 = Now();
    for (const FrameBox& p : places) present.ShowPart(window, 0, 0, RECT{p.x, p.y, p.x + p.w, p.y + p.h});
    GdiFlush();
    eachPlace.push_back(Now() - e0);
  }
  double total = 0;
  std::printf("a frame stage by stage (1920x1080, 96 dpi, 171 balls, 300 stars, shown in a window), medians:\n");
  for (int i = 0; i < kStages; ++i) {
    const double m = Median(t[i]);
    total += m;
    std::printf("  %-12s %.3f ms\n", names[i], m);
  }
  std::printf("  %-12s %.3f ms\n", "sum", total);
  std::printf("  (each changed place shown on its own instead of their bounds: %.3f ms, %zu places)\n",
              Median(eachPlace), places.size());
  // The background made whole each frame instead, as cleared and copied.
  std::vector<double> whole;
  for (int f = 0; f < std::min(frames, 100); ++f) {
    const double w0 = Now();
    back.Cls();
    PaintBackground(picture, back);
    GdiFlush();
    whole.push_back(Now() - w0);
  }
  std::printf("  (the back buffer cleared and the background copied whole instead: %.3f ms)\n", Median(whole));
}

// The same frame on a W x H screen at a scale, from the program's own pictures
// (the ringed planet and the ball) prepared as the saver prepares them.
double ScaledFrameMedian(int W, int H, int dpi, int frames) {
  const SceneScale scale = SceneScale::FromDpi(dpi);
  Vormix_C1 back, picture, ball;
  if (back.Create(W, H)) return -1;
  picture.Clone(LoadScaledPictureResource(IDB_RINGED_PLANET, scale).Handle(), true);
  ball.Clone(LoadScaledPictureResource(IDB_BALL, scale, true).Handle(), true);
  return FrameMedian(back, picture, ball, frames, scale);
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(10, atoi(argv[1])) : 300;
  const int W = 1920, H = 1080;
  Vormix_C1 back, picture, ball;
  if (back.Create(W, H) || picture.Create(640, 480) || ball.Create(22, 23)) return 1;
  Paint(picture, [](int x, int y) { return RGB(x % 256, y % 256, 80); });
  Paint(ball, [](int x, int y) {
    const int dx = x - 11, dy = y - 11;
    return dx * dx + dy * dy > 110 ? RGB(255, 0, 255) : RGB(200 - dy * 6, 200 - dy * 6, 200 - dx * 6);
  });

  const double frame = FrameMedian(back, picture, ball, frames);

  // Called through volatile pointers, the compiler cannot drop the memset that
  // the memcpy overwrites; the buffers rotate through ~100 MB, more than any
  // cache, so each pass reads and writes memory.
  void* (*volatile fill)(void*, int, size_t) = &std::memset;
  void* (*volatile copy)(void*, const void*, size_t) = &std::memcpy;
  const size_t size = static_cast<size_t>(W) * H * 3;
  constexpr int kPairs = 8;
  std::vector<std::vector<uint8_t>> to(kPairs, std::vector<uint8_t>(size, 2)), from(kPairs, std::vector<uint8_t>(size, 1));
  std::vector<double> floor;
  for (int i = 0; i < frames; ++i) {
    std::vector<uint8_t>& a = to[static_cast<size_t>(i % kPairs)];
    const std::vector<uint8_t>& b = from[static_cast<size_t>(i % kPairs)];
    const double t0 = Now();
    fill(a.data(), 0, a.size());
    copy(a.data(), b.data(), a.size());
    floor.push_back(Now() - t0);
    if (a[a.size() / 2] != 1) return 2;
  }
  const double memFloor = Median(floor);

  // The same frames with every ball through TransparentBlt: a clip region on the
  // back buffer turns the direct pixel path off.
  HRGN all = CreateRectRgn(0, 0, W, H);
  SelectClipRgn(back.hdc(), all);
  DeleteObject(all);
  const double viaGdi = FrameMedian(back, picture, ball, std::min(frames, 60));

  // The present: one whole frame to a window, from the 24-bit back buffer and
  // from a 32-bit surface; and the frame with the conversion of what changed
  // into the 32-bit surface (shown to a 32-bit memory DC, not a window).
  HWND win = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"frame bench", WS_POPUP | WS_VISIBLE, 0, 0, W, H, nullptr,
                             nullptr, nullptr, nullptr);
  HDC winDC = GetDC(win);
  PresentSurface present32, target;
  present32.Create(W, H);
  target.Create(W, H);
  auto blitMedian = [&](HDC from) {
    std::vector<double> t;
    for (int i = 0; i < std::min(frames, 120); ++i) {
      const double t0 = Now();
      BitBlt(winDC, 0, 0, W, H, from, 0, 0, SRCCOPY);
      GdiFlush();
      t.push_back(Now() - t0);
    }
    return Median(t);
  };
  const double present24 = blitMedian(back.hdc()), present32ms = blitMedian(present32.hdc());
  SelectClipRgn(back.hdc(), nullptr);  // the direct ball path again
  const double withConversion = FrameMedian(back, picture, ball, frames, SceneScale(), &present32, target.hdc());
  Breakdown(back, picture, ball, frames, winDC, present32);
  ReleaseDC(win, winDC);
  DestroyWindow(win);
  std::printf("present of a whole 1920x1080 frame to a window: %.3f ms from 24-bit, %.3f ms from 32-bit\n", present24,
              present32ms);
  std::printf("frame with the changed parts converted to 32-bit: %.3f ms\n", withConversion);
  std::printf("frame (1920x1080, shape 7, 171 balls, 300 stars): %.3f ms median of %d\n", frame, frames);
  std::printf("memory floor (memset + memcpy of 1920x1080x3, uncached): %.3f ms\n", memFloor);
  std::printf("ratio frame / floor:                              %.2f\n", frame / memFloor);
  std::printf("same frame with TransparentBlt for every ball:    %.3f ms\n", viaGdi);
  // Scaled screens: the same composition at twice the density on four times the pixels.
  for (auto [w, h, dpi] : {std::tuple{1920, 1080, 96}, std::tuple{3840, 2160, 192}}) {
    const double ms = ScaledFrameMedian(w, h, dpi, frames);
    std::printf("composition %dx%d at %d dpi (scale %.2f): %.3f ms, %.0f frames/s\n", w, h, dpi, dpi / 96.0, ms,
                1000.0 / ms);
  }
  return 0;
}
