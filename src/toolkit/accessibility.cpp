#include "toolkit/accessibility.h"

#include "toolkit/portable_only.h"

namespace dovra::acc {

Item PushButton(const std::string& caption, bool enabled, bool focused) {
  Item i;
  i.role = kRolePushButton;
  i.name = caption;
  i.state = kStateFocusable | (focused ? kStateFocused : 0) | (enabled ? 0 : kStateUnavailable);
  i.defaultAction = "押す";
  return i;
}

}  // namespace dovra::acc
