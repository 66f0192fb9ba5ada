#include "display/display_sleep.h"

#include "toolkit/portable_only.h"

namespace dovra {

void DisplaySleep::PowerSettingChanged(PowerSetting which, uint32_t value) {
  switch (which) {
    case PowerSetting::SessionDisplay:
      sessionDisplayHeard_ = true;
      sessionDisplayOff_ = value == 0;
      break;
    case PowerSetting::MonitorPower:
      monitorOff_ = value == 0;
      break;
    case PowerSetting::BatterySaver:
      batterySaver_ = value != 0;
      break;
    case PowerSetting::EnergySaver:
      energySaver_ = value != 0;
      break;
  }
}

void DisplaySleep::SessionChanged(SessionEvent event) {
  switch (event) {
    case SessionEvent::Lock: locked_ = true; break;
    case SessionEvent::Unlock: locked_ = false; break;
    // A session moving from the console to a remote client is disconnected
    // from one and then connected to the other.
    case SessionEvent::ConsoleDisconnect:
    case SessionEvent::RemoteDisconnect: disconnected_ = true; break;
    case SessionEvent::ConsoleConnect:
    case SessionEvent::RemoteConnect: disconnected_ = false; break;
  }
}

bool DisplaySleep::Dark() const {
  const bool displayOff = sessionDisplayHeard_ ? sessionDisplayOff_ : monitorOff_;
  return displayOff || locked_ || disconnected_;
}

}  // namespace dovra
