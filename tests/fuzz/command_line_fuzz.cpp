// The screen-saver host's command line: arbitrary bytes as a whole command line
// and as the argument text.
#include <cctype>
#include <cstdint>
#include <string>

#include "startup/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string args = dovra::ArgumentsOf(text);
  if (args.size() > text.size()) __builtin_trap();
  for (const std::string& a : {args, text}) {
    const dovra::Request r = dovra::ParseRequest(a);
    const dovra::Mode m = dovra::ModeOf(r);
    // Only the second character decides; a preview handle only for "P".
    if (a.size() < 2 && r.letter != '\0') __builtin_trap();
    if (a.size() >= 2 && r.letter != static_cast<char>(std::toupper(static_cast<unsigned char>(a[1])))) __builtin_trap();
    if (m != dovra::Mode::Preview && r.hostHandle != 0) __builtin_trap();
    if (m == dovra::Mode::FullScreenCursorShown && !a.empty()) __builtin_trap();
  }
  return 0;
}
