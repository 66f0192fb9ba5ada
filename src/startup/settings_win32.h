// The settings' platform side: the system's profile calls and the readability test.
#pragma once
#include <string>

#include "startup/settings.h"

namespace dovra {

// The keys go to the system as the ANSI code page holds them (ShiftJisToAnsi).
class Win32ProfileStore : public ProfileStore {
 public:
  uint32_t GetString(const char* section, const char* key, const char* def, char* buffer,
                     uint32_t size, const char* file) override;
  int32_t WriteString(const char* section, const char* key, const char* value,
                      const char* file) override;
};

// Opens the file for reading the way a sequential read would: a folder, a
// missing file or one locked against reading gives false.
bool CanOpenForReadingWin32(const std::string& path);

// LoadSettings with the program's folder, the system's profile calls and files.
void LoadSettingsWin32(Settings& s);

}  // namespace dovra
