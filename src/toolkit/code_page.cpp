#include "toolkit/code_page.h"

namespace dovra {

ExactConversion ExactConversionFor(uint32_t codePage) {
  ExactConversion c;
  switch (codePage) {
    case 65001:  // UTF-8 and GB18030 hold every character: only a broken
    case 54936:  // surrogate pair can fail, and that is reported as an error
      c.flags = kErrInvalidChars;
      c.reportsReplaced = false;
      return c;
    case 65000:  // UTF-7 holds every character too, and takes no flags
      c.flags = 0;
      c.reportsReplaced = false;
      return c;
    case 42:  // Symbol, the ISO-2022 pages: no flags, and they can lose characters
    case 50220: case 50221: case 50222: case 50225: case 50227: case 50229:
      break;
    default:
      if (codePage >= 57002 && codePage <= 57011) break;  // ISCII
      return c;
  }
  c.flags = 0;
  c.reportsReplaced = false;
  c.compareRoundTrip = true;
  return c;
}

}  // namespace dovra
