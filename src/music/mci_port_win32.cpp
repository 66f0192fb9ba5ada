#include "music/mci_port_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include "toolkit/system_dlls_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

int32_t Win32MciPort::SendString(const std::string& command, char* reply, uint32_t capacity) {
  return static_cast<int32_t>(winmm::mciSendStringA(command.c_str(), capacity ? reply : nullptr, capacity, nullptr));
}

bool Win32MciPort::GetErrorString(int32_t code, char* text, uint32_t capacity) {
  return winmm::mciGetErrorStringA(static_cast<MCIERROR>(code), text, capacity) != FALSE;
}

int32_t Win32MciPort::WaveOutDevices() { return static_cast<int32_t>(winmm::waveOutGetNumDevs()); }

int32_t Win32MciPort::PlaySoundNamed(const char* name, uint32_t flags) {
  stream_.Stop();
  return winmm::PlaySoundA(name, nullptr, flags);
}

int32_t Win32MciPort::PlaySoundLongPath(const std::string& path, uint32_t flags) {
  char shortPath[kSoundNameLimit];
  const DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  if (n > 0 && n < sizeof shortPath) return PlaySoundNamed(shortPath, flags);
  // No name the player can open: the file is streamed, looping as PlayWav asks.
  return StreamWav(path);
}

int32_t Win32MciPort::StreamWav(const std::string& path) {
  winmm::PlaySoundA(nullptr, nullptr, 0);
  return stream_.Start(AnsiToWide(path)) ? TRUE : FALSE;
}

int64_t Win32MciPort::FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(ExtendedLengthPath(AnsiToWide(path)).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return static_cast<int64_t>(static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
}

}  // namespace dovra
