// How to convert UTF-16 to a code page exactly. WideCharToMultiByte accepts
// different flags on different code pages: UTF-8 rejects WC_NO_BEST_FIT_CHARS
// and a "used default" flag, and the ISO-2022 and ISCII pages take no flags at
// all. Asking with the wrong ones fails every conversion, so the choice is made
// per code page here, where it can be tested without Windows.
#pragma once
#include <cstdint>

namespace dovra {

// The values of the system's flags (WC_NO_BEST_FIT_CHARS, WC_ERR_INVALID_CHARS).
constexpr uint32_t kNoBestFitChars = 0x00000400;
constexpr uint32_t kErrInvalidChars = 0x00000080;

struct ExactConversion {
  uint32_t flags = kNoBestFitChars;
  // Whether the call may report a character it had to replace (lpUsedDefaultChar).
  bool reportsReplaced = true;
  // Where neither of the above is allowed and the code page can lose
  // characters, a loss shows only by converting back and comparing.
  bool compareRoundTrip = false;
};

ExactConversion ExactConversionFor(uint32_t codePage);

}  // namespace dovra
