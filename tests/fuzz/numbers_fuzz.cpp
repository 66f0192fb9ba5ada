// The number-reading and number-formatting services on arbitrary text.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "toolkit/numeric.h"
#include "toolkit/value_services.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const double v = dovra::TextToNumber(text);
  const bool numeric = dovra::IsNumeric(text);
  if (std::isnan(v)) __builtin_trap();
  if (numeric && !std::isfinite(v)) __builtin_trap();
  // A numeric text reads the same with blanks around it.
  if (numeric && dovra::TextToNumber("  " + text) != v) __builtin_trap();
  if (auto i = dovra::ToInt16(v)) {
    const std::string t = dovra::NumberText(*i);
    // Formatting and reading back gives the same number.
    if (dovra::TextToNumber(t) != *i || !dovra::IsNumeric(t)) __builtin_trap();
    const std::string f = dovra::FormatTrack(*i);
    if ((*i == 0) != f.empty()) __builtin_trap();
  }
  (void)dovra::ToInt32(v);
  (void)dovra::RoundInt32(v);
  return 0;
}
