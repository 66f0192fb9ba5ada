// The music's port onto winmm: MCI command strings, error texts, wave devices
// and the sound player.
#pragma once
#include <windows.h>

#include <memory>

#include "music/bgm.h"
#include "toolkit/handles_win32.h"

namespace dovra {

class Win32MciPort : public MciPort {
 public:
  ~Win32MciPort() override;
  int32_t SendString(const std::string& command, char* reply, uint32_t capacity) override;
  bool GetErrorString(int32_t code, char* text, uint32_t capacity) override;
  int32_t WaveOutDevices() override;
  int32_t PlaySoundNamed(const char* name, uint32_t flags) override;
  int32_t PlaySoundLongPath(const std::string& path, uint32_t flags) override;
  // The second way of PlaySoundLongPath on its own: from a read-only mapping.
  int32_t PlaySoundMapped(const std::string& path, uint32_t flags);

 private:
  struct Unmap {
    void operator()(const void* view) const { UnmapViewOfFile(view); }
  };
  // The sound played from a mapping: kept until another sound has replaced it.
  UniqueKernelHandle mapping_;
  std::unique_ptr<const void, Unmap> view_;
};

}  // namespace dovra
