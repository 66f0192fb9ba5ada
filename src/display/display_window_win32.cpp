#include "display/display_window_win32.h"

#include <mmsystem.h>

#include <cmath>
#include <string>

#include "display/drawing_win32.h"
#include "resources/resource_ids.h"
#include "toolkit/numeric.h"
#include "toolkit/program_state.h"
#include "toolkit/program_win32.h"

namespace dovra {

namespace {

int64_t NowUs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<int64_t>(static_cast<double>(c.QuadPart) * 1e6 / static_cast<double>(f.QuadPart));
}

// Clones a surface from the picture file; where the file could not be written or
// read back (a read-only program folder), from the same picture inside the
// program, so the saver never shows an empty surface.
void CloneFromFileOr(Vormix_C1& surface, const std::string& file, int resourceId) {
  Picture pic = LoadPictureFile(file);
  if (pic && !surface.Clone(pic.Handle(), true)) return;
  Picture embedded = LoadPictureResource(resourceId);
  if (embedded) surface.Clone(embedded.Handle(), true);
}

}  // namespace

Vormix_S::Vormix_S(const Settings& settings, char requestLetter)
    : settings_(settings),
      requestLetter_(requestLetter),
      Watch([] { return static_cast<uint32_t>(timeGetTime()); }),
      bgm_(mciPort_, settings),
      Timer1(1000, [this] { music_.Timer1_Timer(); }),
      Timer2(200, [this] { music_.Timer2_Timer(); }),
      music_(bgm_, settings, Timer1, Timer2) {}

Vormix_S::~Vormix_S() {
  if (frameTimer_) CloseHandle(frameTimer_);
  if (raisedTimerResolution_) timeEndPeriod(1);
}

void Vormix_S::SetUp() {
  // 1. A borderless window as large as the screen at its top-left corner.
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  Create(kCaption, WS_POPUP, 0, 0, 0, sw, sh, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
         nullptr, CS_OWNDC);
  Timer1.Attach(hwnd());
  Timer2.Attach(hwnd());
  const std::string dir = ProgramDirectory();
  const std::string ballFile = dir + "\\Vormix1.bmp";
  const std::string backFile = dir + "\\Vormix2.bmp";

  // 2. The ball picture beside the program.
  {
    Picture ball = LoadPictureResource(IDB_BALL);
    SavePictureFile(ball.Handle(), ballFile);
  }
  // 3, 4. A background chosen at random for this run.
  rnd_.Seed(SecondsSinceMidnight());
  const int k = static_cast<int>(std::floor(rnd_.Next() * 3));
  static constexpr int kBackgrounds[] = {IDB_EARTH, IDB_GAS_GIANT, IDB_RINGED_PLANET};
  const int backgroundId = kBackgrounds[k < 0 || k > 2 ? 0 : k];
  {
    Picture back = LoadPictureResource(backgroundId);
    SavePictureFile(back.Handle(), backFile);
  }
  // 5. The music starts before the window is shown.
  music_.Start();
  // 6-8. Normal state, topmost without moving, sizing or activating, then shown.
  ApiResult = SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  Show(SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
  SetFocus(hwnd());
  windowDC_ = GetDC(hwnd());  // the class has its own DC: kept for the run
  // 9.
  MouseMoveCount = 0;
  // 10. The back buffer at the inner size; white on red text, which nothing uses.
  BackBuffer.Create(InnerWidth(), InnerHeight());
  BackBuffer.ChangeColors(0xFFFFFF, 0x0000FF, false);
  // 11, 12. The two pictures read back from their files.
  CloneFromFileOr(BallSprite, ballFile, IDB_BALL);
  CloneFromFileOr(BackPicture, backFile, backgroundId);
  // 13. The star field.
  Vertices.Clear();
  StartStars(Stars, rnd_);
  // 14. The first figure.
  ShapeNo = 0;
  view_.Distance = kStartDistance;
  LoadShape(Vertices, ShapeNo);
  Watch.StartWatch();

  // The frame clock: a high-resolution waitable timer where the system has one.
  frameTimer_ = CreateWaitableTimerExW(nullptr, nullptr, 0x00000002 /* HIGH_RESOLUTION */, TIMER_ALL_ACCESS);
  if (!frameTimer_) {
    frameTimer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);
    raisedTimerResolution_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  }
}

void Vormix_S::Form_Load() {
  SetUp();
  for (;;) {
    DoEvents();
    Frame();
    if (hooks_.afterFrame) hooks_.afterFrame(++frames_);
    if (!hooks_.unpaced) WaitForNextFrame();
  }
}

void Vormix_S::Frame() {
  const int W = InnerWidth(), H = InnerHeight();
  PaintBackground(BackPicture, BackBuffer);
  DrawStars(Stars, BackBuffer.hdc(), W, H);
  AnimateShape(Vertices, ShapeNo);
  ProjectVertices(Vertices, W, H, view_);
  DrawBalls(Vertices, BackBuffer.hdc(), BallSprite, painter_);
  BackBuffer.PaintTo(windowDC_, 0, 0, SRCCOPY);
  BackBuffer.Cls();
  ShapeLifeStep(view_, ShapeNo, Vertices, Watch);
}

// Waits for the next frame time while handling every message as it arrives, so
// a key or a click is answered at once and no core spins.
void Vormix_S::WaitForNextFrame() {
  const int64_t wait = pacer_.WaitAfterFrame(NowUs());
  if (wait <= 0 || !frameTimer_) return;
  LARGE_INTEGER due;
  due.QuadPart = -wait * 10;  // relative, in 100 ns
  if (!SetWaitableTimer(frameTimer_, &due, 0, nullptr, nullptr, FALSE)) return;
  for (;;) {
    const DWORD r = MsgWaitForMultipleObjects(1, &frameTimer_, FALSE, INFINITE, QS_ALLINPUT);
    if (r != WAIT_OBJECT_0 + 1) return;  // the timer (or a failure): draw the next frame
    DoEvents();
  }
}

void Vormix_S::Form_KeyDown(int16_t keyCode, int16_t) {
  if (keyCode == VK_ESCAPE) Unload();
}

void Vormix_S::Form_MouseDown(int16_t, int16_t, int, int) { Unload(); }

void Vormix_S::Form_MouseMove(int16_t, int16_t, int, int) {
  ++MouseMoveCount;
  if (MouseMoveCount > 30) Unload();
}

void Vormix_S::Form_QueryUnload(int16_t&, int16_t) {
  music_.Stop();
  if (requestLetter_ == 'S') CursorShowCount = ShowCursor(TRUE);
}

void Vormix_S::Form_Unload(int16_t&) {
  BackBuffer = Vormix_C1();
  BallSprite = Vormix_C1();
  BackPicture = Vormix_C1();
  EndProgram(0);
}

}  // namespace dovra
