// An INI file of arbitrary bytes, as a user or another program may leave it:
// after a value is set, it is what is found, and setting it again changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "startup/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::string value = in.ConsumeRandomLengthString(64);
  const std::string file = in.ConsumeRemainingBytesAsString();
  // A value the file can hold as it is: one line, no blanks or quotes around it.
  for (char& c : value)
    if (c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '"' || c == '\'') c = '_';
  const std::vector<std::string> forms = {"BGM\x8B\xE6\x95\xAA", "BGM\xE5\x8C\xBA\xE5\x88\x86"};
  dovra::FindIniValue(file, "Section", forms);
  const std::string after = dovra::SetIniValue(file, "Section", forms, forms[0], value);
  const auto found = dovra::FindIniValue(after, "Section", forms);
  if (!found || found->form != 0 || found->value != value) __builtin_trap();
  if (dovra::SetIniValue(after, "Section", forms, forms[0], value) != after) __builtin_trap();
  return 0;
}
