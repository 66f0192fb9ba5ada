// Number <-> text conversions and the random numbers every window shares.
#pragma once
#include <cstdint>
#include <string>

namespace dovra {

// Decimal text with the sign position filled: " 2", " 0", "-5".
std::string NumberText(int32_t n);

// The "##" picture: the digits of n without leading zeros, and nothing for 0.
std::string FormatTrack(int32_t n);

// Reads the number at the start of text: leading blanks, tabs and line feeds are
// skipped, then an optional sign, digits, an optional fraction and an optional
// exponent; reading stops at the first character that cannot continue the
// number. No number gives 0.
double TextToNumber(const std::string& text);

// True when the whole text (blanks around it allowed) is one decimal number,
// possibly signed, with an optional fraction and exponent.
bool IsNumeric(const std::string& text);

// Uniform numbers in [0, 1), seeded from the seconds since midnight so that
// each run differs.
class Rnd {
 public:
  void Seed(double secondsSinceMidnight);
  double Next();

 private:
  uint64_t state_ = 0x853c49e6748fea9bull;
};

}  // namespace dovra
