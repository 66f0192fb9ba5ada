// What an accessibility client (a screen reader) is told of a window and its
// parts, as plain data: the Win32 layer (accessible_win32.h) only hands it on.
#pragma once
#include <cstdint>
#include <string>

namespace dovra::acc {

// The values Microsoft Active Accessibility gives roles and states (oleacc.h).
constexpr uint32_t kRoleDialog = 0x12, kRoleGrouping = 0x14, kRoleLink = 0x1E, kRoleStaticText = 0x29,
                   kRolePushButton = 0x2B, kRoleRadioButton = 0x2D;
constexpr uint32_t kStateUnavailable = 0x1, kStateFocused = 0x4, kStateChecked = 0x10, kStateReadOnly = 0x40,
                   kStateFocusable = 0x100000, kStateLinked = 0x400000;

// One object or part of one, as a client hears it. A part whose window speaks
// for itself (a child window) is named by that window's control id alone.
struct Item {
  uint32_t role = 0;
  std::string name;  // UTF-8
  std::string value;
  uint32_t state = 0;
  std::string defaultAction;
  int window = 0;
  bool operator==(const Item& o) const {
    return role == o.role && name == o.name && value == o.value && state == o.state &&
           defaultAction == o.defaultAction && window == o.window;
  }
};

// A child window, in its place among the parts.
inline Item WindowPart(int controlId) {
  Item i;
  i.window = controlId;
  return i;
}

// A push button that takes the focus even while it is not enabled (then it is
// heard as unavailable); its default action presses it.
Item PushButton(const std::string& caption, bool enabled, bool focused);

}  // namespace dovra::acc
