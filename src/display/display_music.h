// The display window's part in the music: what it starts when it loads, what
// its two timers do, and what it stops when it unloads.
#pragma once
#include "music/bgm.h"
#include "startup/settings.h"
#include "toolkit/timer_switch.h"

namespace dovra {

class DisplayMusic {
 public:
  // Timer1 keeps an MP3 going (1000 ms), Timer2 watches the CD (200 ms).
  DisplayMusic(Vormix_BGM& bgm, const Settings& settings, TimerSwitch& Timer1, TimerSwitch& Timer2)
      : bgm_(bgm), settings_(settings), Timer1(Timer1), Timer2(Timer2) {}

  void Start();
  void Timer1_Timer();
  void Timer2_Timer();
  // Stops whatever was started. The CD is stopped whenever it was opened for
  // this run, also after a failed check has switched its watch off: otherwise
  // the disc would play on after the saver has ended.
  void Stop();

 private:
  bool MusicFileIs(const char* ext) const;
  Vormix_BGM& bgm_;
  const Settings& settings_;
  TimerSwitch& Timer1;
  TimerSwitch& Timer2;
};

}  // namespace dovra
