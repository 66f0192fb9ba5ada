#include "startup/settings.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "toolkit/numeric.h"
#include "toolkit/program_state.h"
#include "toolkit/value_services.h"
#include "toolkit/portable_only.h"

namespace dovra {

std::string ReadIni(ProfileStore& store, const std::string& section, const std::string& key,
                    const std::string& file) {
  // The profile call says a value was cut by filling the buffer to its last
  // byte but one, or, when a double-byte character would have been split
  // there, to the byte before it; then it is read again into a buffer twice as
  // large. A line of an INI file is far shorter than the last size tried.
  constexpr size_t kLargest = size_t{1} << 20;
  std::vector<char> buffer;
  for (size_t size = 256;; size *= 2) {
    buffer.assign(size, '\0');
    const uint32_t n = store.GetString(section.c_str(), key.c_str(), "", buffer.data(),
                                       static_cast<uint32_t>(size), file.c_str());
    if (n + 2 < size || size >= kLargest) break;
  }
  buffer.back() = '\0';  // whatever the store did, the text ends inside the buffer
  return std::string(buffer.data(), std::strlen(buffer.data()));
}

std::string WriteIni(ProfileStore& store, const std::string& section, const std::string& key,
                     const std::string& value, const std::string& file) {
  // Section and key travel in fixed fields of 128 characters with their NUL,
  // so names of up to 127 characters pass whole.
  ApiResult = store.WriteStrings(section.substr(0, 127), {{key.substr(0, 127), value}}, file);
  return std::string();
}

void WriteSettings(ProfileStore& store, const Settings& s) {
  ApiResult = store.WriteStrings(ini::kSection,
                                 {{ini::kKeyKind, SettingText(s.BgmKind)},
                                  {ini::kKeyRepeat, SettingText(s.BgmRepeat)},
                                  {ini::kKeyFile, s.BgmFile}},
                                 s.IniPath);
}

std::string GetFolder(const std::string& path, const LeadBytes& lead) {
  // The last ":" or "\" that is a character of its own, not the second byte of one.
  size_t end = 0;
  for (size_t i = 0; i < path.size(); i = lead.Next(path, i))
    if (lead.Next(path, i) == i + 1 && (path[i] == ':' || path[i] == '\\')) end = i + 1;
  if (end > 0 && path[end - 1] == '\\') --end;  // a separator found above, never a trail byte
  return path.substr(0, end);
}

bool EndsInCharacter(const std::string& text, char c, const LeadBytes& lead) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < text.size(); i = lead.Next(text, i)) last = i;
  return last != std::string::npos && last + 1 == text.size() && text[last] == c;
}

bool FileExists(const std::string& path, const CanOpenForReading& canOpen, const LeadBytes& lead) {
  std::string p = path;
  if (EndsInCharacter(p, '\\', lead)) p.pop_back();
  return !p.empty() && canOpen && canOpen(p);
}

std::string SettingText(int16_t v) { return NumberText(v); }

namespace {

// Empty text gives 0; otherwise the number, floored, if it fits 16 bits;
// a value that does not fit leaves the field as it was.
void ReadNumber(ProfileStore& store, const std::string& key, const std::string& file,
                int16_t& field) {
  const std::string text = ReadIni(store, ini::kSection, key, file);
  if (text.empty()) {
    field = 0;
    return;
  }
  if (auto v = ToInt16(std::floor(TextToNumber(text)))) field = *v;
}

}  // namespace

void LoadSettings(Settings& s, const std::string& programDir, ProfileStore& store,
                  const CanOpenForReading& canOpen, const LeadBytes& lead) {
  s.IniPath = programDir + ini::kFileName;
  ReadNumber(store, ini::kKeyKind, s.IniPath, s.BgmKind);
  ReadNumber(store, ini::kKeyRepeat, s.IniPath, s.BgmRepeat);
  const std::string file = ReadIni(store, ini::kSection, ini::kKeyFile, s.IniPath);
  // The CD needs no file, so only the file kind falls back when it is unusable.
  if (file.empty() || !FileExists(file, canOpen, lead)) {
    s.BgmFile.clear();
    if (s.BgmKind == 2) s.BgmKind = 0;
  } else {
    s.BgmFile = file;
  }
  s.BgmDir = s.BgmFile.empty() ? programDir : GetFolder(s.BgmFile, lead);
}

}  // namespace dovra
