// A periodic timer as the portable core sees it: switched on and off, asked its state.
#pragma once

namespace dovra {

class TimerSwitch {
 public:
  virtual ~TimerSwitch() = default;
  virtual void SetEnabled(bool on) = 0;
  virtual bool Enabled() const = 0;
};

}  // namespace dovra
