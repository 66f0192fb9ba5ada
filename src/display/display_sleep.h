// What Windows says about the display, the session and the battery, and what
// the saver makes of it: whether any frame can be seen at all, and how many
// a second are worth drawing.
#pragma once
#include <cstdint>

namespace dovra {

// The power settings the saver listens to, each reported as a 32-bit value.
enum class PowerSetting {
  SessionDisplay,  // the display of this session: 0 off, 1 on, 2 dimmed
  MonitorPower,    // the primary monitor, for systems without the former: 0 off, 1 on
  BatterySaver,    // 0 off, 1 on
  EnergySaver,     // 0 off, 1 on, 2 on with high savings
};

// The session changes the saver minds, by the numbers Windows gives them.
enum class SessionEvent : uint32_t {
  ConsoleConnect = 1,
  ConsoleDisconnect = 2,
  RemoteConnect = 3,
  RemoteDisconnect = 4,
  Lock = 7,
  Unlock = 8,
};

class DisplaySleep {
 public:
  void PowerSettingChanged(PowerSetting which, uint32_t value);
  void SessionChanged(SessionEvent event);

  // Nobody can see a frame: the display is off, or the session is locked or
  // connected to no display. A dimmed display is still seen.
  bool Dark() const;
  // How many of the figure's steps one frame shows: 1 at 60 frames a second,
  // 2 at 30 while a battery or energy saver is on, so the figure keeps its pace.
  int32_t StepsPerFrame() const { return batterySaver_ || energySaver_ ? 2 : 1; }
  int64_t FramePeriodUs() const { return StepsPerFrame() * kStepUs; }

  static constexpr int64_t kStepUs = 1000000 / 60;

 private:
  // Once the session's own display has reported, the primary monitor's power
  // says nothing more: in a remote session the console's monitor is not ours.
  bool sessionDisplayHeard_ = false;
  bool sessionDisplayOff_ = false;
  bool monitorOff_ = false;
  bool locked_ = false;
  bool disconnected_ = false;
  bool batterySaver_ = false;
  bool energySaver_ = false;
};

}  // namespace dovra
