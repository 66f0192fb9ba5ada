#include "startup/settings_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "toolkit/handles_win32.h"
#include "toolkit/program_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

uint32_t Win32ProfileStore::GetString(const char* section, const char* key, const char* def,
                                      char* buffer, uint32_t size, const char* file) {
  // The key as this code page writes it; failing that, as its Shift-JIS bytes,
  // which is how a file written on code page 932 or a single-byte one holds it,
  // and how an earlier Dovra wrote it on the UTF-8 code page (the system then
  // turned the bytes it could not read into replacement characters, and turns
  // them the same way when they are asked for). The first key present wins,
  // even with an empty value; only the current form is ever written.
  constexpr char kAbsent[] = "\x01";
  const std::string forms[] = {ShiftJisToAnsi(key), key};
  for (const std::string& k : forms) {
    if (&k != &forms[0] && k == forms[0]) break;
    const uint32_t n = GetPrivateProfileStringA(section, k.c_str(), kAbsent, buffer, size, file);
    if (size == 0 || n != 1 || buffer[0] != kAbsent[0]) return n;
  }
  if (size == 0) return 0;
  const uint32_t n = static_cast<uint32_t>(std::min<size_t>(std::strlen(def ? def : ""), size - 1));
  std::memcpy(buffer, def ? def : "", n);
  buffer[n] = '\0';
  return n;
}

int32_t Win32ProfileStore::WriteString(const char* section, const char* key, const char* value,
                                       const char* file) {
  return WritePrivateProfileStringA(section, ShiftJisToAnsi(key).c_str(), value, file);
}

bool CanOpenForReadingWin32(const std::string& path) {
  // By the wide call: a path chosen in the dialog may be longer than the ANSI
  // calls take on Windows.
  UniqueFile f(CreateFileW(ExtendedLengthPath(AnsiToWide(path)).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return f.Valid();
}

void LoadSettingsWin32(Settings& s) {
  Win32ProfileStore store;
  LoadSettings(s, ProgramDirectory(), store, CanOpenForReadingWin32, AnsiLeadBytes());
}

}  // namespace dovra
