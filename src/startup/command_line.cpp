#include "startup/command_line.h"

#include <cctype>

#include "toolkit/numeric.h"
#include "toolkit/value_services.h"
#include "toolkit/portable_only.h"

namespace dovra {

std::string ArgumentsOf(const std::string& commandLine) {
  size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    i = commandLine.find('"', 1);
    i = i == std::string::npos ? commandLine.size() : i + 1;
  } else {
    while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t') ++i;
  }
  while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
  return commandLine.substr(i);
}

Request ParseRequest(const std::string& args) {
  Request r;
  r.args = args;
  if (args.size() >= 2) r.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(args[1])));
  if (r.letter == 'P') {
    // The handle is read from the fourth character on, so "/p 1234" and
    // "/P:1234" both give 1234; no number, or one that is no 32-bit value
    // (signed or unsigned), gives 0.
    const std::string rest = args.size() > 3 ? args.substr(3) : std::string();
    const double n = TextToNumber(rest);
    if (auto u = ToUInt32(n)) r.hostHandle = *u;
    else if (auto s = ToInt32(n)) r.hostHandle = static_cast<uint32_t>(*s);
  }
  return r;
}

Mode ModeOf(const Request& r) {
  if (r.letter == 'P') return Mode::Preview;
  if (r.letter == 'C') return Mode::Settings;
  if (r.letter == 'S') return Mode::FullScreen;
  if (r.args.empty()) return Mode::FullScreenCursorShown;
  return Mode::End;
}

}  // namespace dovra
