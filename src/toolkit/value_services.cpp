#include "toolkit/value_services.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <sstream>

#include "toolkit/portable_only.h"

namespace dovra {

std::string NumberText(int32_t n) {
  std::string digits = std::to_string(n);
  return n >= 0 ? " " + digits : digits;
}

std::string FormatTrack(int32_t n) { return n == 0 ? std::string() : std::to_string(n); }

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLeadingSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Length of the longest prefix of s[from..] that forms a number, or 0.
// Also reports whether any digit was seen before the exponent.
size_t ScanNumber(const std::string& s, size_t from) {
  size_t i = from;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t mantissaDigits = 0;
  while (i < s.size() && IsDigit(s[i])) { ++i; ++mantissaDigits; }
  if (i < s.size() && s[i] == '.') {
    size_t j = i + 1;
    size_t frac = 0;
    while (j < s.size() && IsDigit(s[j])) { ++j; ++frac; }
    if (mantissaDigits + frac > 0) { i = j; mantissaDigits += frac; }
  }
  if (mantissaDigits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < s.size() && IsDigit(s[j])) { ++j; ++expDigits; }
    if (expDigits > 0) i = j;
  }
  return i - from;
}

// Converts a scanned number with the classic "C" locale whatever the process
// locale says, so "2.7" never reads as 27.
double Convert(const std::string& number) {
  std::istringstream in(number);
  in.imbue(std::locale::classic());
  double v = 0;
  in >> v;
  if (in.fail()) {
    // Overflowing exponents fail the stream: saturate like strtod would.
    const bool negative = !number.empty() && number[0] == '-';
    const size_t e = number.find_first_of("eE");
    const bool tiny = e != std::string::npos && number.find('-', e) != std::string::npos;
    if (tiny) return negative ? -0.0 : 0.0;
    return negative ? -HUGE_VAL : HUGE_VAL;
  }
  return v;
}

}  // namespace

double TextToNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsLeadingSpace(text[i])) ++i;
  const size_t len = ScanNumber(text, i);
  if (len == 0) return 0;
  return Convert(text.substr(i, len));
}

bool IsNumeric(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsLeadingSpace(text[i])) ++i;
  const size_t len = ScanNumber(text, i);
  if (len == 0) return false;
  size_t j = i + len;
  while (j < text.size() && IsLeadingSpace(text[j])) ++j;
  return j == text.size() && std::isfinite(Convert(text.substr(i, len)));
}

void Rnd::Seed(double secondsSinceMidnight) {
  uint64_t bits = 0;
  static_assert(sizeof bits == sizeof secondsSinceMidnight, "double is 64 bits");
  std::memcpy(&bits, &secondsSinceMidnight, sizeof bits);
  state_ = bits ^ 0x9e3779b97f4a7c15ull;
}

// splitmix64: small, fast and well spread; 53 bits make the double.
double Rnd::Next() {
  uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * (1.0 / 9007199254740992.0);
}

}  // namespace dovra
