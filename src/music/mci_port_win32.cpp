#include "music/mci_port_win32.h"

#include <windows.h>
#include <mmsystem.h>

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

int32_t Win32MciPort::PlaySoundLongPath(const std::string& path, uint32_t flags) {
  char shortPath[kSoundNameLimit];
  const DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  if (n > 0 && n < sizeof shortPath) {
    const int32_t result = PlaySoundA(shortPath, nullptr, flags);
    view_.reset();  // a mapped sound played before has been replaced: let it go
    mapping_.Reset();
    return result;
  }
  return PlaySoundMapped(path, flags);
}

int32_t Win32MciPort::PlaySoundMapped(const std::string& path, uint32_t flags) {
  UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) return 0;
  // The mapping outlives the file handle; a file of size 0 cannot be mapped.
  UniqueKernelHandle mapping(CreateFileMappingA(f.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) return 0;
  std::unique_ptr<const void, Unmap> view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return 0;  // no room for it in the address space: silence
  // The player reads the view while it loops, so the view lives in the port;
  // the one played before is let go only once this call has replaced it.
  const int32_t result = PlaySoundA(static_cast<const char*>(view.get()), nullptr, flags | SND_MEMORY);
  mapping_ = std::move(mapping);
  view_ = std::move(view);
  return result;
}

Win32MciPort::~Win32MciPort() {
  if (view_) PlaySoundA(nullptr, nullptr, 0);  // the player must not read an unmapped view
}

}  // namespace dovra
