#include <gtest/gtest.h>

#include "display/display_sleep.h"
#include "display/frame_compose.h"

using namespace dovra;

// Each report in turn (a power setting's value, or a session event where no
// setting is given), and what the saver makes of all so far: dark or not, and
// how many of the figure's steps a frame shows (2 at 30 frames a second).
TEST(DisplaySleep, DarkWhileNobodySeesAFrameHalfTheRateWhileASaverIsOn) {
  using P = PowerSetting;
  constexpr int kSession = -1;
  struct Step { const char* what; int setting; uint32_t value; bool dark; int32_t steps; } steps[] = {
      {"Windows 7: the monitor off", int(P::MonitorPower), 0, true, 1},
      {"and on", int(P::MonitorPower), 1, false, 1},
      {"display dimmed", int(P::SessionDisplay), 2, false, 1},
      {"display off", int(P::SessionDisplay), 0, true, 1},
      {"the console's monitor no longer counts", int(P::MonitorPower), 1, true, 1},
      {"display on", int(P::SessionDisplay), 1, false, 1},
      {"", int(P::MonitorPower), 0, false, 1},
      {"locked", kSession, 7, true, 1},
      {"locked, display off", int(P::SessionDisplay), 0, true, 1},
      {"unlocked, display still off", kSession, 8, true, 1},
      {"display on", int(P::SessionDisplay), 1, false, 1},
      {"console disconnected", kSession, 2, true, 1},
      {"remote client connected", kSession, 3, false, 1},
      {"remote client gone", kSession, 4, true, 1},
      {"back at the console", kSession, 1, false, 1},
      {"a logon says nothing about the display", kSession, 5, false, 1},
      {"battery saver on", int(P::BatterySaver), 1, false, 2},
      {"energy saver, high savings", int(P::EnergySaver), 2, false, 2},
      {"battery saver off, energy saver still on", int(P::BatterySaver), 0, false, 2},
      {"energy saver off", int(P::EnergySaver), 0, false, 1},
      {"energy saver on", int(P::EnergySaver), 1, false, 2},
  };
  DisplaySleep sleep;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.setting == kSession) sleep.SessionChanged(static_cast<SessionEvent>(s.value));
    else sleep.PowerSettingChanged(static_cast<P>(s.setting), s.value);
    EXPECT_EQ(sleep.Dark(), s.dark);
    EXPECT_EQ(sleep.StepsPerFrame(), s.steps);
  }
}

// At 30 frames a second each frame shows every other step: the scene after
// n frames is the scene after 2n steps at 60, through a change of figure.
TEST(DisplaySleep, AtHalfTheRateTheFigureKeepsItsPace) {
  uint32_t now = 0;
  struct Scene {
    StarField stars{};
    VertexList list;
    uint8_t shape = 3;
    View view{};
    Vormix_C2 watch;
  } a{{}, {}, 3, {}, Vormix_C2([&] { return now; })}, b{{}, {}, 3, {}, Vormix_C2([&] { return now; })};
  for (Scene* s : {&a, &b}) {
    for (int i = 1; i <= kStarCount; ++i) s->stars[i].Z = static_cast<float>(i * 50);
    LoadShape(s->list, s->shape);
  }
  const auto drawn = [](Scene& s) {
    DrawStars(s.stars, 64, 48, [](int32_t, int32_t, uint32_t) {});
    AnimateShape(s.list, s.shape);
    ShapeLifeStep(s.view, s.shape, s.list, s.watch);
  };
  for (; now < 800 * 33; now += 33) {
    drawn(a), drawn(a);
    StepUnseen(b.stars, b.list, b.shape, b.view, b.watch), drawn(b);
  }
  ASSERT_EQ(b.shape, 4) << "no change of figure";
  EXPECT_TRUE(a.shape == b.shape && a.view.Zoom == b.view.Zoom && a.view.Azimuth == b.view.Azimuth);
  for (int32_t i = 1; i <= a.list.Last(); ++i) EXPECT_EQ(a.list[i].X, b.list[i].X) << i;
  for (int i = 1; i <= kStarCount; ++i) EXPECT_EQ(a.stars[i].Z, b.stars[i].Z) << i;
}
