#include "display/display_window_win32.h"

#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <type_traits>
#include <string>

#include "display/drawing_win32.h"
#include "display/frame_compose.h"
#include "resources/resource_ids.h"
#include "toolkit/numeric.h"
#include "toolkit/program_state.h"
#include "toolkit/program_win32.h"
#include "toolkit/system_dlls_win32.h"

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

// On a scaled screen the surface comes from the picture made at the nearest
// size at least as large, brought to its scaled size once, here: the files
// beside the program stay as they are.
void CloneScaled(Vormix_C1& surface, int resourceId, const SceneScale& scale, bool sprite) {
  Picture pic = LoadScaledPictureResource(resourceId, scale, sprite);
  if (pic) surface.Clone(pic.Handle(), true);
}

// The power settings listened to. Windows 8 and later report the display of
// the saver's own session; Windows 7 only the primary monitor's power. The
// battery saver (Windows 10) and the energy saver that takes its place
// (Windows 11) each report under a setting of their own; where both exist
// they agree, and either being on halves the rate.
struct PowerNews {
  GUID guid;
  PowerSetting setting;
};
constexpr PowerNews kPowerNews[] = {
    {{0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}}, PowerSetting::SessionDisplay},
    {{0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}}, PowerSetting::MonitorPower},
    {{0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}}, PowerSetting::BatterySaver},
    {{0x550e8400, 0xe29b, 0x41d4, {0xa7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}}, PowerSetting::EnergySaver},
};

}  // namespace

Vormix_S::Vormix_S(const Settings& settings, char requestLetter)
    : settings_(settings),
      requestLetter_(requestLetter),
      Watch([] { return static_cast<uint32_t>(winmm::timeGetTime()); }),
      bgm_(mciPort_, settings),
      Timer1(1000, [this] { music_.Timer1_Timer(); }),
      Timer2(200, [this] { music_.Timer2_Timer(); }),
      music_(bgm_, settings, Timer1, Timer2) {}

Vormix_S::~Vormix_S() {
  if (sessionNews_) wtsapi32::WTSUnRegisterSessionNotification(hwnd());
  if (frameTimer_) CloseHandle(frameTimer_);
  if (raisedTimerResolution_) winmm::timeEndPeriod(1);
}

ScreenLayout Vormix_S::CurrentLayout() {
  return LayOutScreen(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void Vormix_S::SetUp() {
  // 1. A borderless window over every monitor: with one monitor, as large as
  // the screen at its top-left corner. Black from the moment it shows: the
  // black class brush erases it while no frame has been shown; from the first
  // frame on WM_PAINT shows the last frame and paints black what lies outside
  // the scene (other monitors), when shown or exposed, never per frame.
  layout_ = CurrentLayout();
  scale_ = SceneScale::FromDpi(PrimaryDpi());
  const PixelRect& w = layout_.window;
  Create(kCaption, WS_POPUP, 0, w.left, w.top, w.Width(), w.Height(), nullptr,
         static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), nullptr, CS_OWNDC);
  Timer1.Attach(hwnd());
  Timer2.Attach(hwnd());
  RegisterForDisplayNews();
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
  const int backgroundId = backgroundId_ = kBackgrounds[k < 0 || k > 2 ? 0 : k];
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
  // 10. The back buffer at the scene's size (the inner size, with one monitor);
  // white on red text, which nothing uses.
  BackBuffer.Create(SceneWidth(), SceneHeight());
  BackBuffer.ChangeColors(0xFFFFFF, 0x0000FF, false);
  MakePresentSurface();
  // 11, 12.
  LoadScenePictures();
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
    raisedTimerResolution_ = winmm::timeBeginPeriod(1) == TIMERR_NOERROR;
  }
}

void Vormix_S::Form_Load() {
  SetUp();
  if (hooks_.afterSetUp) hooks_.afterSetUp();
  for (;;) {
    DoEvents();
    StepAsideIfDeactivated();
    if (sleep_.Dark()) {
      SleepWhileDark();
      continue;
    }
    if (pacer_.Period() != sleep_.FramePeriodUs()) pacer_.Restart(sleep_.FramePeriodUs());
    FrameReport report;
    report.whole = marks_.All();
    Frame();
    if (!firstFrameShown_) {
      firstFrameShown_ = true;
      firstFrameAt_ = GetTickCount();
    }
    if (hooks_.afterFrame) {
      report.frame = ++frames_;
      report.figureMs = Watch.GetTime();
      report.shapeNo = ShapeNo;
      report.azimuth = view_.Azimuth;
      hooks_.afterFrame(report);
    }
    if (!hooks_.unpaced) WaitForNextFrame();
  }
}

void Vormix_S::RegisterForDisplayNews() {
  static_assert(std::size(kPowerNews) == std::extent_v<decltype(powerNews_)>, "one registration a setting");
  for (size_t i = 0; i < std::size(kPowerNews); ++i)
    powerNews_[i].Reset(RegisterPowerSettingNotification(hwnd(), &kPowerNews[i].guid, DEVICE_NOTIFY_WINDOW_HANDLE));
  sessionNews_ = wtsapi32::WTSRegisterSessionNotification(hwnd(), NOTIFY_FOR_THIS_SESSION) != FALSE;
}

void Vormix_S::PowerSettingChanged(const POWERBROADCAST_SETTING& setting) {
  if (setting.DataLength < sizeof(DWORD)) return;
  DWORD value;
  std::memcpy(&value, setting.Data, sizeof value);
  for (const PowerNews& news : kPowerNews)
    if (IsEqualGUID(setting.PowerSetting, news.guid)) sleep_.PowerSettingChanged(news.setting, value);
}

// The music plays on (the display says nothing about sound) and its timers
// still wake the loop; so does input, which ends the run as ever. The figure's
// time stands still, so it carries on where it was, and the first frame after
// is made whole: what the window showed may be gone.
void Vormix_S::SleepWhileDark() {
  Watch.Hold();
  while (sleep_.Dark()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    DoEvents();
    StepAsideIfDeactivated();
  }
  Watch.Resume();
  marks_.MarkAll();
  pacer_.Restart(sleep_.FramePeriodUs());
}

// The scene is the primary monitor's part of the window; should the window be
// made smaller, it follows the window's inner size.
int32_t Vormix_S::SceneWidth() const {
  return std::max(0, std::min(layout_.scene.Width(), InnerWidth() - layout_.scene.left));
}
int32_t Vormix_S::SceneHeight() const {
  return std::max(0, std::min(layout_.scene.Height(), InnerHeight() - layout_.scene.top));
}

// Cleared and given its background, then stars, then balls, then shown: where
// the last frame's stars and balls were is all that the clearing and the
// background change from one frame to the next, so only that is done again.
void Vormix_S::Frame() {
  const int W = SceneWidth(), H = SceneHeight();
  // At half the rate, the step between two frames is taken unseen.
  for (int32_t i = 1; i < sleep_.StepsPerFrame(); ++i) StepUnseen(Stars, Vertices, ShapeNo, view_, Watch);
  StartFrame(BackBuffer, BackPicture, marks_);
  DrawStars(Stars, BackBuffer, W, H, scale_, &marks_);
  AnimateShape(Vertices, ShapeNo);
  ProjectVertices(Vertices, W, H, view_);
  DrawBalls(Vertices, BackBuffer.hdc(), BallSprite, painter_, scale_, W, H, &marks_);
  PresentFrame();
  ShapeLifeStep(view_, ShapeNo, Vertices, Watch);
}

void Vormix_S::MakePresentSurface() {
  const bool screen32 = windowDC_ && GetDeviceCaps(windowDC_, BITSPIXEL) == 32;
  if (!screen32 || !present_.Create(BackBuffer.Width(), BackBuffer.Height())) present_.Free();
  marks_.Reset(BackBuffer.Width(), BackBuffer.Height());
}

// On a 32-bit screen the frame goes out in the screen's format: converting
// only what changed is far cheaper than letting the system convert all of it.
void Vormix_S::PresentFrame() {
  if (present_.Ready()) {
    present_.Present(BackBuffer, marks_, windowDC_, layout_.scene.left, layout_.scene.top);
  } else {
    BackBuffer.PaintTo(windowDC_, layout_.scene.left, layout_.scene.top, SRCCOPY);
    marks_.Take([](const FrameBox&) {});
  }
}

void Vormix_S::PaintExposed() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  for (const PixelRect& b : layout_.black) {
    const RECT r{b.left, b.top, b.right, b.bottom};
    FillRect(dc, &r, black);
  }
  const PixelRect& s = layout_.scene;
  if (present_.Ready()) {
    present_.Show(dc, s.left, s.top);
    // What lies beyond the surface, should the scene be larger than it.
    const RECT right{s.left + present_.View().width, s.top, s.right, s.bottom};
    const RECT below{s.left, s.top + present_.View().height, s.right, s.bottom};
    FillRect(dc, &right, black);
    FillRect(dc, &below, black);
  } else {
    const RECT r{s.left, s.top, s.right, s.bottom};
    FillRect(dc, &r, black);
  }
  EndPaint(hwnd(), &ps);
  // Whatever covered the window may have left its mark: the next frame goes out whole.
  marks_.MarkAll();
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

// The two pictures read back from their files; on a scaled screen made from the
// pictures at twice the size instead.
void Vormix_S::LoadScenePictures() {
  const std::string dir = ProgramDirectory();
  if (scale_.IsOne()) {
    CloneFromFileOr(BallSprite, dir + "\\Vormix1.bmp", IDB_BALL);
    CloneFromFileOr(BackPicture, dir + "\\Vormix2.bmp", backgroundId_);
  } else {
    CloneScaled(BallSprite, IDB_BALL, scale_, true);
    CloneScaled(BackPicture, backgroundId_, scale_, false);
  }
}

int Vormix_S::PrimaryDpi() const { return hooks_.primaryDpi ? hooks_.primaryDpi() : PrimaryMonitorDpi(); }

// The primary monitor's scale changed while the saver runs: the scene is
// drawn at the new one from the next frame.
bool Vormix_S::TakeScale(int dpi) {
  const SceneScale scale = SceneScale::FromDpi(dpi);
  if (scale.Factor() == scale_.Factor()) return false;
  scale_ = scale;
  LoadScenePictures();
  FollowDisplayChange();
  return true;
}

void Vormix_S::FollowDisplayChange() {
  layout_ = CurrentLayout();
  const PixelRect& w = layout_.window;
  ApiResult = SetWindowPos(hwnd(), HWND_TOPMOST, w.left, w.top, w.Width(), w.Height(), SWP_NOACTIVATE);
  BackBuffer.Create(SceneWidth(), SceneHeight());
  BackBuffer.ChangeColors(0xFFFFFF, 0x0000FF, false);
  MakePresentSurface();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

// Activation is shuffled while the window first appears (by the host, by the
// system), so a deactivation counts only when another program's window really
// holds the foreground, and only once the start has settled: a second after the
// first frame, however long the pictures took to prepare. A shuffle that gives
// the foreground back in the meantime is forgotten.
void Vormix_S::StepAsideIfDeactivated() {
  constexpr DWORD kSettleMs = 1000;
  if (!deactivated_) return;
  HWND fg = GetForegroundWindow();
  if (!fg) return;  // nobody holds it (yet): wait and see
  DWORD pid = 0;
  GetWindowThreadProcessId(fg, &pid);
  if (pid == GetCurrentProcessId()) {
    deactivated_ = false;
    return;
  }
  if (!firstFrameShown_ || GetTickCount() - firstFrameAt_ < kSettleMs) return;
  Unload();
}

LRESULT Vormix_S::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATEAPP:
      if (!wp) deactivated_ = true;
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) deactivated_ = true;
      break;
    case WM_POWERBROADCAST:
      // The machine is about to sleep: end as on Escape, so no music resumes on wake.
      if (wp == PBT_APMSUSPEND) {
        Unload();
        return TRUE;
      }
      if (wp == PBT_POWERSETTINGCHANGE && lp) {
        PowerSettingChanged(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lp));
        return TRUE;
      }
      break;
    case WM_WTSSESSION_CHANGE:
      sleep_.SessionChanged(static_cast<SessionEvent>(wp));
      return 0;
    case WM_SYSCOMMAND:
      // The system asking for the saver while it runs: already here.
      if ((wp & 0xFFF0) == SC_SCREENSAVE) return 0;
      break;
    // WM_DPICHANGED follows the monitor that holds most of the window, which
    // need not be the primary one (a larger second monitor): a new density of
    // the primary is read again whenever the displays or settings change.
    case WM_DISPLAYCHANGE:
      if (!TakeScale(PrimaryDpi())) FollowDisplayChange();
      return 0;
    case WM_SETTINGCHANGE:
      TakeScale(PrimaryDpi());
      break;
    case WM_DPICHANGED: {
      // Its density is the scene's only when the window's monitor is the primary.
      const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
      TakeScale(MonitorFromWindow(hwnd(), MONITOR_DEFAULTTONEAREST) == primary ? LOWORD(wp) : PrimaryDpi());
      return 0;  // the window stays over the whole desktop, not in the suggested rectangle
    }
    case WM_ERASEBKGND:
      // Once there is a frame, WM_PAINT paints all of the window: erasing it
      // first would flash black over the scene.
      if (!firstFrameShown_) break;
      return 1;
    case WM_PAINT:
      PaintExposed();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
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
  if (hooks_.atUnload) hooks_.atUnload();
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
