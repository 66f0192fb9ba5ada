// Which bytes of an ANSI code page begin a two-byte character. In Shift-JIS the
// second byte of a character may be 0x5C, the byte of "\" (ソ is 83 5C), so a
// path may only be taken apart at the start of a character.
#pragma once
#include <bitset>
#include <cstddef>
#include <string>

namespace dovra {

class LeadBytes {
 public:
  // A single-byte code page (1252 and the like): no lead bytes.
  LeadBytes() = default;
  // Code page 932: 0x81-0x9F and 0xE0-0xFC.
  static LeadBytes ShiftJis();
  void SetRange(unsigned char first, unsigned char last);
  bool IsLead(unsigned char b) const { return lead_[b]; }
  // The start of the character after the one that starts at i (a lead byte at
  // the very end counts as one character on its own).
  size_t Next(const std::string& s, size_t i) const {
    return i + (IsLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1);
  }

 private:
  std::bitset<256> lead_;
};

}  // namespace dovra
