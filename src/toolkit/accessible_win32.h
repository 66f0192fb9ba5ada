// Windows that speak to accessibility clients (screen readers) through
// Microsoft Active Accessibility: the window's own object (OBJID_CLIENT),
// answering from what an AccessibleSource says, so that drawn parts (labels,
// marks, a link) and owner-drawn buttons are heard like standard controls.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "toolkit/accessibility.h"

struct IAccessible;

namespace dovra {

// What one window tells accessibility clients: of itself, and of its parts in
// order, where a part that is a child window speaks for itself.
class AccessibleSource {
 public:
  static constexpr size_t kSelf = static_cast<size_t>(-1);
  virtual ~AccessibleSource() = default;
  virtual acc::Item Self() = 0;
  virtual std::vector<acc::Item> Parts() { return {}; }
  // The rectangles, in screen pixels, in which the pointer finds part i: the
  // ones the window's own mouse handling uses.
  virtual std::vector<RECT> PartRects(size_t) { return {}; }
  // The default action of the window itself (kSelf) or of part i. Called from
  // the window's own message handling, after the client's call has returned.
  virtual void DoDefaultAction(size_t) {}
};

class WindowAccessible;

// One window's accessible object: made when a client first asks for it
// (WM_GETOBJECT, answered on a single-threaded apartment only: the object is
// not made for calls from several threads at once), cut off from every client
// when the window goes. The window must stop forwarding its messages here
// before this goes: a window class destroys its window while it is whole.
class AccessibleWindow {
 public:
  explicit AccessibleWindow(AccessibleSource& source);
  ~AccessibleWindow() { Disconnect(); }
  AccessibleWindow(const AccessibleWindow&) = delete;
  AccessibleWindow& operator=(const AccessibleWindow&) = delete;

  // Handles the window's messages that are the object's: true (and the
  // message's result) when msg was one of them. A window that handles
  // WM_NCDESTROY itself calls Disconnect there.
  bool Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void Disconnect();
  // Tells clients that the window itself (kSelf) or part i changed.
  static void Notify(HWND hwnd, DWORD event, size_t part = AccessibleSource::kSelf);

 private:
  AccessibleSource& source_;
  WindowAccessible* object_ = nullptr;
  UINT actionMessage_;  // registered once, not looked up per message
};

// Whether the window can act on input now: it and every window it sits in are
// enabled (a modal dialog, such as the open-file dialog, disables its owner).
bool WindowCanAct(HWND hwnd);

// A system control's own accessible object under another name (the repeat
// list has no label of its own). Subclasses the control until it goes.
void NameStandardObject(HWND control, const std::string& name);

// The apartment in which clients' calls arrive, on the thread that shows the
// windows, for as long as it lives.
class AccessibilityApartment {
 public:
  AccessibilityApartment();
  ~AccessibilityApartment();
  AccessibilityApartment(const AccessibilityApartment&) = delete;
  AccessibilityApartment& operator=(const AccessibilityApartment&) = delete;

 private:
  bool initialised_ = false;
};

}  // namespace dovra
