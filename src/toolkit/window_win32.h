// The window layer every Dovra window stands on: a top-level window class with a
// static window-procedure thunk, thin event handlers named as the windows use
// them, periodic timers, message processing and the end of the program.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/timer_switch.h"

namespace dovra {

// Mouse buttons as the handlers receive them: 1 left, 2 right, 4 middle.
constexpr int16_t kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  // Creates the window hidden ("loaded"); the caption is UTF-8.
  bool Create(const std::string& caption, DWORD style, DWORD exStyle, int x, int y, int w, int h,
              HWND parent = nullptr, HBRUSH background = nullptr, HICON icon = nullptr,
              UINT classStyle = 0);
  void Show(int how = SW_SHOW);
  // Runs the query-unload and unload handlers, then destroys the window.
  void Unload();

  int InnerWidth() const;   // pixels
  int InnerHeight() const;
  void MoveTwips(double left, double top, double width, double height);

 protected:
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  virtual void Form_QueryUnload(int16_t& /*cancel*/, int16_t /*mode*/) {}
  virtual void Form_Unload(int16_t& /*cancel*/) {}
  virtual void Form_KeyDown(int16_t /*keyCode*/, int16_t /*shift*/) {}
  virtual void Form_MouseDown(int16_t /*button*/, int16_t /*shift*/, int /*x*/, int /*y*/) {}
  virtual void Form_MouseMove(int16_t /*button*/, int16_t /*shift*/, int /*x*/, int /*y*/) {}
  virtual void Form_MouseUp(int16_t /*button*/, int16_t /*shift*/, int /*x*/, int /*y*/) {}
  virtual void Form_Resize() {}
  virtual void Form_Paint(HDC /*dc*/) {}
  virtual void Form_Destroyed() {}

 private:
  static LRESULT CALLBACK Thunk(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  bool unloading_ = false;
};

// A periodic timer of a window: ticks only while enabled.
class Timer : public TimerSwitch {
 public:
  Timer(UINT intervalMs, std::function<void()> tick) : interval_(intervalMs), tick_(std::move(tick)) {}
  ~Timer() override;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  void Attach(HWND owner) { owner_ = owner; }
  void SetEnabled(bool on) override;
  bool Enabled() const override { return enabled_; }
  void SetInterval(UINT ms);
  UINT Interval() const { return interval_; }

 private:
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD);
  HWND owner_ = nullptr;
  UINT interval_;
  std::function<void()> tick_;
  bool enabled_ = false;
  UINT_PTR id_ = 0;
};

// Handles every pending window message, input and timers included, then returns.
void DoEvents();

// Ends the program at once: no further code of it runs.
[[noreturn]] void EndProgram(UINT code = 0);

// The shift state of a key or mouse event: 1 shift, 2 control, 4 alt.
int16_t ShiftState();

// The buttons held during a mouse message (its wParam), as 1, 2 and 4.
int16_t MouseButtons(WPARAM wp);

// The window-procedure thunk's one shared part: the object a window's messages
// go to, taken from CreateWindowEx's parameter at WM_NCCREATE and forgotten at
// WM_NCDESTROY (which the object still receives). Null before and after.
void* BindWindowObject(HWND h, UINT msg, LPARAM lp);

}  // namespace dovra
