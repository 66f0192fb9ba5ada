#include "startup/settings_win32.h"

#include <windows.h>

#include "toolkit/handles_win32.h"
#include "toolkit/program_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

uint32_t Win32ProfileStore::GetString(const char* section, const char* key, const char* def,
                                      char* buffer, uint32_t size, const char* file) {
  return GetPrivateProfileStringA(section, ShiftJisToAnsi(key).c_str(), def, buffer, size, file);
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
