#include "toolkit/lead_bytes.h"

#include "toolkit/portable_only.h"

namespace dovra {

LeadBytes LeadBytes::ShiftJis() {
  LeadBytes l;
  l.SetRange(0x81, 0x9F);
  l.SetRange(0xE0, 0xFC);
  return l;
}

void LeadBytes::SetRange(unsigned char first, unsigned char last) {
  for (unsigned b = first; b <= last; ++b) lead_.set(b);
}

}  // namespace dovra
