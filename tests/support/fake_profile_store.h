// An in-memory profile store with the behaviour the settings rely on: a missing
// section or key reads as the default, the copy is cut to the buffer's size.
#pragma once
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "startup/settings.h"

namespace dovra::test {

class FakeProfileStore : public ProfileStore {
 public:
  using Key = std::tuple<std::string, std::string, std::string>;  // file, section, key
  std::map<Key, std::string> values;
  std::vector<Key> writes;
  int reads = 0;
  int batches = 0;  // calls of WriteStrings
  int32_t writeResult = 1;
  bool shiftJis = false;  // cut values as code page 932 does
  static bool IsSjisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

  void Set(const std::string& file, const std::string& key, const std::string& value) {
    values[{file, ini::kSection, key}] = value;
  }
  uint32_t GetString(const char* section, const char* key, const char* def, char* buffer,
                     uint32_t size, const char* file) override {
    ++reads;
    auto it = values.find({file, section, key});
    const std::string v = it == values.end() ? def : it->second;
    if (size == 0) return 0;
    uint32_t n = static_cast<uint32_t>(std::min<size_t>(v.size(), size - 1));
    // As the system's call does: a double-byte character that would be split
    // at the end of the buffer is left out whole.
    if (shiftJis && n < v.size()) {
      size_t i = 0;
      while (i < n) i += IsSjisLead(static_cast<unsigned char>(v[i])) ? 2 : 1;
      if (i > n) --n;
    }
    std::memcpy(buffer, v.data(), n);
    buffer[n] = '\0';
    return n;
  }
  int32_t WriteStrings(const std::string& section, const Entries& entries,
                       const std::string& file) override {
    ++batches;
    for (const auto& [key, value] : entries) {
      writes.push_back({file, section, key});
      values[{file, section, key}] = value;
    }
    return writeResult;
  }
};

}  // namespace dovra::test
