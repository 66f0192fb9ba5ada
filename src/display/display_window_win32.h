// Vormix_S: the full-screen saver window. Its load handler sets everything up and
// then draws frames until the program ends from one of its input handlers.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "display/animation.h"
#include "display/ball_drawing.h"
#include "display/display_music.h"
#include "display/display_sleep.h"
#include "display/frame_pacing.h"
#include "toolkit/scene_scale.h"
#include "display/screen_layout.h"
#include "music/bgm.h"
#include "music/mci_port_win32.h"
#include "startup/settings.h"
#include "surface/present_surface_win32.h"
#include "surface/surface_win32.h"
#include "toolkit/handles_win32.h"
#include "toolkit/value_services.h"
#include "toolkit/window_win32.h"

namespace dovra {

// What a frame showed, for the hooks below.
struct FrameReport {
  uint64_t frame = 0;   // counted from 1
  bool whole = false;   // composed and shown whole, not only where it changed
  int32_t figureMs = 0; // the figure's time (its stopwatch)
  uint8_t shapeNo = 0;
  float azimuth = 0;    // after the frame's steps
};

// Only test builds set these: they measure the loop without changing what it draws.
struct FrameHooks {
  bool unpaced = false;
  std::function<int()> primaryDpi;  // the primary monitor's density, in place of the system's
  std::function<void()> afterSetUp;  // the window shown, before the first frame
  std::function<void(const FrameReport&)> afterFrame;
  std::function<void()> atUnload;  // the run ends: input, the system
};

class Vormix_S : public Window {
 public:
  Vormix_S(const Settings& settings, char requestLetter);
  ~Vormix_S() override;

  // Set-up, then the frame loop; never returns.
  [[noreturn]] void Form_Load();
  void SetHooks(FrameHooks hooks) { hooks_ = std::move(hooks); }

  static constexpr const char* kCaption = "Vormix_Main";

 protected:
  void Form_KeyDown(int16_t keyCode, int16_t shift) override;
  void Form_MouseDown(int16_t button, int16_t shift, int x, int y) override;
  void Form_MouseMove(int16_t button, int16_t shift, int x, int y) override;
  void Form_QueryUnload(int16_t& cancel, int16_t mode) override;
  void Form_Unload(int16_t& cancel) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void SetUp();
  void Frame();
  void WaitForNextFrame();
  // Listens to the display's state, the session's and the battery's.
  void RegisterForDisplayNews();
  void PowerSettingChanged(const POWERBROADCAST_SETTING& setting);
  // While no frame can be seen: none is made, and the loop sleeps until a
  // message comes.
  void SleepWhileDark();
  // The surface frames are shown from, made with the back buffer: 32-bit
  // where the screen is, else frames go from the back buffer itself.
  void MakePresentSurface();
  void PresentFrame();
  // Exposed parts: black outside the scene, the last frame in it.
  void PaintExposed();
  // The desktop's layout now: the virtual screen and the primary monitor.
  static ScreenLayout CurrentLayout();
  // A monitor added or removed, or a new resolution: the window covers the new
  // virtual screen and the scene moves to the new primary, at its size.
  void FollowDisplayChange();
  void LoadScenePictures();
  int PrimaryDpi() const;
  // Draws the scene at the primary monitor's new density; false when it has
  // not changed.
  bool TakeScale(int dpi);
  // Ends the run when another program has taken the foreground.
  void StepAsideIfDeactivated();
  int32_t SceneWidth() const;
  int32_t SceneHeight() const;

  const Settings& settings_;
  char requestLetter_;
  int16_t MouseMoveCount = 0;
  uint8_t ShapeNo = 0;

  Vormix_C1 BackBuffer, BallSprite, BackPicture;
  PresentSurface present_;
  FrameMarks marks_;
  VertexList Vertices;
  StarField Stars{};
  View view_{};
  Vormix_C2 Watch;
  BallPainter painter_;
  Rnd rnd_;
  Win32MciPort mciPort_;
  Vormix_BGM bgm_;
  Timer Timer1, Timer2;
  DisplayMusic music_;

  ScreenLayout layout_;
  SceneScale scale_;
  int backgroundId_ = 0;
  bool deactivated_ = false;
  bool firstFrameShown_ = false;
  DWORD firstFrameAt_ = 0;
  HDC windowDC_ = nullptr;
  HANDLE frameTimer_ = nullptr;
  bool raisedTimerResolution_ = false;
  FramePacer pacer_{DisplaySleep::kStepUs};
  DisplaySleep sleep_;
  UniquePowerNotify powerNews_[4];
  bool sessionNews_ = false;
  FrameHooks hooks_;
  uint64_t frames_ = 0;
};

}  // namespace dovra
