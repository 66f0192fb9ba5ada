#include "toolkit/numeric.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "toolkit/portable_only.h"

namespace dovra {
namespace {

// std::nearbyint follows the current rounding mode, which nothing in the
// program changes from round-to-nearest-even.
template <typename T>
std::optional<T> ToIntEven(double v) {
  if (std::isnan(v)) return std::nullopt;
  const double r = std::nearbyint(v);
  if (r < static_cast<double>(std::numeric_limits<T>::min()) ||
      r > static_cast<double>(std::numeric_limits<T>::max()))
    return std::nullopt;
  return static_cast<T>(r);
}

}  // namespace

std::optional<int16_t> ToInt16(double v) { return ToIntEven<int16_t>(v); }
std::optional<int32_t> ToInt32(double v) { return ToIntEven<int32_t>(v); }
std::optional<uint32_t> ToUInt32(double v) { return ToIntEven<uint32_t>(v); }

int32_t RoundInt32(double v) {
  if (std::isnan(v)) return 0;
  if (auto r = ToInt32(v)) return *r;
  return v < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

double Floor(double v) { return std::floor(v); }

}  // namespace dovra
