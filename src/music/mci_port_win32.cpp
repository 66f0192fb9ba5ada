#include "music/mci_port_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include "toolkit/handles_win32.h"

namespace dovra {

int32_t Win32MciPort::SendString(const std::string& command, char* reply, uint32_t capacity) {
  return static_cast<int32_t>(mciSendStringA(command.c_str(), capacity ? reply : nullptr, capacity, nullptr));
}

bool Win32MciPort::GetErrorString(int32_t code, char* text, uint32_t capacity) {
  return mciGetErrorStringA(static_cast<MCIERROR>(code), text, capacity) != FALSE;
}

int32_t Win32MciPort::WaveOutDevices() { return static_cast<int32_t>(waveOutGetNumDevs()); }

int32_t Win32MciPort::PlaySoundNamed(const char* name, uint32_t flags) {
  return PlaySoundA(name, nullptr, flags);
}

int32_t Win32MciPort::PlaySoundFileFromMemory(const std::string& path, uint32_t flags) {
  UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!f.Valid() || !GetFileSizeEx(f.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF) return 0;
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
    return 0;
  // The player loops over these bytes until it is stopped, so they live in the
  // port; the ones played before are let go only once this call has replaced them.
  const int32_t result = PlaySoundA(bytes.data(), nullptr, flags | SND_MEMORY);
  sound_.swap(bytes);
  return result;
}

}  // namespace dovra
