#include <gtest/gtest.h>

#include "display/display_sleep.h"
#include "display/frame_compose.h"

using namespace dovra;

// Each report in turn, and what the saver makes of all reports so far: dark
// or not, and how many steps a frame shows (1 at 60, 2 at 30 frames a second).
TEST(DisplaySleep, DarkWhileNobodySeesAFrameHalfTheRateWhileASaverIsOn) {
  using P = PowerSetting;
  using S = SessionEvent;
  struct Step {
    const char* what;
    bool power;  // a power setting, else a session event
    P setting;
    uint32_t value;
    bool dark;
    int32_t steps;
  };
  const auto power = [](const char* what, P p, uint32_t v, bool dark, int32_t steps) { return Step{what, true, p, v, dark, steps}; };
  const auto session = [](const char* what, S e, bool dark) { return Step{what, false, P{}, static_cast<uint32_t>(e), dark, 1}; };
  const Step steps[] = {
      // Windows 7 knows only the primary monitor's power.
      power("monitor off", P::MonitorPower, 0, true, 1),
      power("monitor on", P::MonitorPower, 1, false, 1),
      power("display dimmed", P::SessionDisplay, 2, false, 1),
      power("display off", P::SessionDisplay, 0, true, 1),
      power("the console's monitor no longer counts", P::MonitorPower, 1, true, 1),
      power("display on", P::SessionDisplay, 1, false, 1),
      power("", P::MonitorPower, 0, false, 1),
      session("locked", S::Lock, true),
      power("locked, display off", P::SessionDisplay, 0, true, 1),
      session("unlocked, display still off", S::Unlock, true),
      power("display on", P::SessionDisplay, 1, false, 1),
      session("console disconnected", S::ConsoleDisconnect, true),
      session("remote client connected", S::RemoteConnect, false),
      session("remote client gone", S::RemoteDisconnect, true),
      session("back at the console", S::ConsoleConnect, false),
      session("a logon says nothing about the display", static_cast<S>(5), false),
      power("battery saver on", P::BatterySaver, 1, false, 2),
      power("energy saver, high savings", P::EnergySaver, 2, false, 2),
      power("battery saver off, energy saver still on", P::BatterySaver, 0, false, 2),
      power("energy saver off", P::EnergySaver, 0, false, 1),
      power("energy saver on", P::EnergySaver, 1, false, 2),
      power("and off", P::EnergySaver, 0, false, 1),
  };
  DisplaySleep sleep;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.power) sleep.PowerSettingChanged(s.setting, s.value);
    else sleep.SessionChanged(static_cast<S>(s.value));
    EXPECT_EQ(sleep.Dark(), s.dark);
    EXPECT_EQ(sleep.StepsPerFrame(), s.steps);
    EXPECT_EQ(sleep.FramePeriodUs(), s.steps * 16666);
  }
}

// At 30 frames a second each frame shows every other step: the scene after
// n frames is the scene after 2n steps at 60, through the change of figure.
TEST(DisplaySleep, AtHalfTheRateTheFigureKeepsItsPace) {
  uint32_t now = 0;
  struct Scene {
    StarField stars{};
    VertexList list;
    uint8_t shape = 3;
    View view{0, 0, 0, kStartDistance};
  } a, b;
  Vormix_C2 watchA([&] { return now; }), watchB([&] { return now; });
  for (Scene* s : {&a, &b}) {
    for (int i = 1; i <= kStarCount; ++i) s->stars[i].Z = static_cast<float>(i * 50);
    LoadShape(s->list, s->shape);
  }
  watchA.StartWatch();
  watchB.StartWatch();
  const auto drawn = [](Scene& s, Vormix_C2& w) {
    DrawStars(s.stars, 64, 48, [](int32_t, int32_t, uint32_t) {});
    AnimateShape(s.list, s.shape);
    ShapeLifeStep(s.view, s.shape, s.list, w);
  };
  for (int frame = 0; frame < 800; ++frame, now += 33) {
    drawn(a, watchA);
    drawn(a, watchA);
    StepUnseen(b.stars, b.list, b.shape, b.view, watchB);
    drawn(b, watchB);
  }
  EXPECT_EQ(b.shape, 4) << "the figure changed";
  EXPECT_EQ(a.shape, b.shape);
  EXPECT_EQ(a.view.Zoom, b.view.Zoom);
  EXPECT_EQ(a.view.Azimuth, b.view.Azimuth);
  ASSERT_EQ(a.list.Last(), b.list.Last());
  for (int32_t i = 1; i <= a.list.Last(); ++i) EXPECT_EQ(a.list[i].X, b.list[i].X) << i;
  for (int i = 1; i <= kStarCount; ++i) EXPECT_EQ(a.stars[i].Z, b.stars[i].Z) << i;
}
