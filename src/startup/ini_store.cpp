#include "startup/ini_store.h"

#include <algorithm>
#include <cstring>

#include "startup/ini_file.h"
#include "toolkit/portable_only.h"

namespace dovra {
namespace {

constexpr uint32_t kShiftJis = 932, kUtf8 = 65001;

struct KnownKey {
  const char* shiftJis;
  const char* utf8;
  const char* replaced;  // the Shift-JIS bytes as UTF-8, each invalid byte a U+FFFD
};
const KnownKey kKnownKeys[] = {
    {ini::kKeyKind, "BGM\xE5\x8C\xBA\xE5\x88\x86", "BGM\xEF\xBF\xBD\xE6\x95\xAA"},
    {ini::kKeyRepeat, "BGM\xEF\xBE\x98\xEF\xBE\x8B\xEF\xBE\x9F\xEF\xBD\xB0\xEF\xBE\x84",
     "BGM\xEF\xBF\xBD\xEF\xBF\xBD\xDF\xB0\xEF\xBF\xBD"},
    {ini::kKeyFile, "BGM\xEF\xBE\x8C\xEF\xBD\xA7\xEF\xBD\xB2\xEF\xBE\x99", "BGM\xCC\xA7\xEF\xBF\xBD\xEF\xBF\xBD"},
};

std::vector<std::string> Keys(const std::vector<IniFileStore::Form>& forms) {
  std::vector<std::string> keys;
  for (const auto& f : forms) keys.push_back(f.key);
  return keys;
}

bool NamesFile(const CodePagePort& cp, uint32_t page, const std::string& bytes) {
  std::string utf8, whole;
  return cp.ToUtf8(page, bytes, utf8) && cp.WholePath(utf8, whole);
}

}  // namespace

std::vector<IniFileStore::Form> IniFileStore::FormsOf(const std::string& key) const {
  for (const KnownKey& k : kKnownKeys) {
    if (key != k.shiftJis) continue;
    const Form sjis{k.shiftJis, kShiftJis}, utf8{k.utf8, kUtf8}, replaced{k.replaced, kUtf8};
    if (cp_.Ansi() == kShiftJis) return {sjis, utf8, replaced};
    return {utf8, sjis, replaced};
  }
  return {{key, cp_.Ansi()}};  // any other key: as the code page has it
}

uint32_t IniFileStore::GetString(const char* section, const char* key, const char* def, char* buffer,
                                 uint32_t size, const char* file) {
  const auto id = std::make_tuple(std::string(file), std::string(section), std::string(key));
  read_.erase(id);
  const std::vector<Form> forms = FormsOf(key);
  std::string bytes;
  std::optional<IniValue> found;
  if (files_.Read(file, bytes) == FilePort::Got::kBytes) found = FindIniValue(bytes, section, Keys(forms));
  std::string given = def ? def : "";
  if (found) {
    Read r{"", found->form, found->value, "", false};
    uint32_t cp = forms[r.form].codePage;
    // Under the Shift-JIS keys the path is Shift-JIS when a Japanese system
    // wrote it, but in this system's own code page when the earlier program
    // (or an earlier Dovra) wrote it here; the bytes cannot tell which, the
    // file they name can. Shift-JIS only where that names a file and the
    // system's own reading does not.
    if (cp == kShiftJis && cp != cp_.Ansi() && std::strcmp(key, ini::kKeyFile) == 0 &&
        (NamesFile(cp_, cp_.Ansi(), r.raw) || !NamesFile(cp_, kShiftJis, r.raw)))
      cp = cp_.Ansi();
    r.text = cp_.ToUtf8(cp, r.raw, r.utf8);
    // A value not valid in its form's code page is taken as this code page's
    // bytes, as the profile functions took it.
    if (cp == cp_.Ansi() || !r.text) given = r.raw;
    else if (!cp_.FromUtf8(cp_.Ansi(), r.utf8, given) && !cp_.ShortPath(r.utf8, given)) given.clear();
    r.given = given;
    read_[id] = r;
  }
  if (size == 0) return 0;
  const uint32_t n = static_cast<uint32_t>(std::min<size_t>(given.size(), size - 1));
  std::memcpy(buffer, given.data(), n);
  buffer[n] = '\0';
  return n;
}

std::string IniFileStore::ValueBytes(const std::vector<Form>& forms, const std::string& value, bool path,
                                     const Read* read, size_t& form) const {
  form = 0;
  if (read && read->form == 0) return read->raw;  // as it was, in the form written here
  std::string utf8, whole;
  if (read && read->text) {
    utf8 = read->utf8;
  } else {
    if (!cp_.ToUtf8(cp_.Ansi(), value, utf8)) return value;
    // A path chosen where the code page could not spell it is its short name.
    if (path && utf8.find('~') != std::string::npos && cp_.WholePath(utf8, whole) && whole != utf8) utf8 = whole;
    else if (forms[0].codePage == cp_.Ansi()) return value;
  }
  std::string bytes;
  if (cp_.FromUtf8(forms[0].codePage, utf8, bytes)) return bytes;
  // Text the written form's code page cannot hold goes under the UTF-8 form.
  for (form = 0; form < forms.size() && forms[form].codePage != kUtf8; ++form) {}
  if (form < forms.size()) return utf8;
  form = 0;
  return value;
}

int32_t IniFileStore::WriteStrings(const std::string& section, const Entries& entries,
                                   const std::string& file) {
  std::string before;
  const FilePort::Got got = files_.Read(file, before);
  if (got == FilePort::Got::kFailed) return 0;  // a file that is there but cannot be read is left alone
  std::string after = got == FilePort::Got::kBytes ? before : std::string();
  for (const auto& [key, value] : entries) {
    const auto it = read_.find(std::make_tuple(file, section, key));
    const Read* read = it != read_.end() && it->second.given == value ? &it->second : nullptr;
    const std::vector<Form> forms = FormsOf(key);
    size_t form = 0;
    const std::string bytes = ValueBytes(forms, value, key == ini::kKeyFile, read, form);
    after = SetIniValue(after, section, Keys(forms), forms[form].key, bytes);
  }
  if (got == FilePort::Got::kBytes && after == before) return 1;
  return files_.Replace(file, after) ? 1 : 0;
}

}  // namespace dovra
