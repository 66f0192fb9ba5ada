// Whether a High Contrast theme is on, and the system colours it sets.
#pragma once
#include <optional>

#include "toolkit/system_colours.h"

namespace dovra {

ColourScheme CurrentColourScheme();

// Tests answer the High Contrast query themselves (Wine cannot switch the
// theme on); nullopt gives the system's answer again.
void AnswerHighContrastQuery(std::optional<bool> on);

}  // namespace dovra
