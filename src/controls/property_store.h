// A container's per-instance property store kept in memory (the settings
// dialog's design data for its buttons).
#pragma once
#include <map>
#include <string>

#include "controls/button_state.h"

namespace dovra {

class MemoryPropertyStore : public PropertyStore {
 public:
  std::map<std::string, PropValue> entries;
  std::optional<PropValue> Get(const std::string& key) const override {
    auto it = entries.find(key);
    if (it == entries.end()) return std::nullopt;
    return it->second;
  }
  void Put(const std::string& key, const PropValue& value) override { entries[key] = value; }
  void Remove(const std::string& key) override { entries.erase(key); }
};

}  // namespace dovra
