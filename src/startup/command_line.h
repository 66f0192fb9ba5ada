// What the screen-saver host asks for on the command line.
#pragma once
#include <cstdint>
#include <string>

namespace dovra {

struct Request {
  std::string args;        // the text after the program name, as given
  char letter = '\0';      // second character, upper-cased; '\0' when too short
  // Preview only: the number from the fourth character on. Window handles are
  // 32-bit values that may be 2^31 or above; a host that prints them signed is
  // read the same way.
  uint32_t hostHandle = 0;
};

// The argument text of a full command line: the program name (quoted or not)
// and the blanks after it are skipped.
std::string ArgumentsOf(const std::string& commandLine);

// Only the second character selects the mode ("/s", "-S", "/p 1234", "/c:99").
Request ParseRequest(const std::string& args);

// The five things Main can do, in the order it decides them.
enum class Mode { Preview, Settings, FullScreen, FullScreenCursorShown, End };
Mode ModeOf(const Request& r);

}  // namespace dovra
