// Numeric conventions shared by the whole program: floating-point values become
// integers by rounding to nearest with ties to even, and a value that does not fit
// the target width is reported to the caller instead of wrapping silently.
#pragma once
#include <cstdint>
#include <optional>

namespace dovra {

// 16-bit booleans: 0 is false, -1 (all bits set) is true.
constexpr int16_t kFalse16 = 0;
constexpr int16_t kTrue16 = -1;

// Round half to even; empty when the result does not fit (or the value is NaN).
std::optional<int16_t> ToInt16(double v);
std::optional<int32_t> ToInt32(double v);
std::optional<uint32_t> ToUInt32(double v);

// Same rounding, for callers whose values are known to be small (pixel
// positions of balls and stars); out-of-range values saturate.
int32_t RoundInt32(double v);

// Largest integer not above v, as a double.
double Floor(double v);

}  // namespace dovra
