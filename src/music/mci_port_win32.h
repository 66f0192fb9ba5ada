// The music's port onto winmm: MCI command strings, error texts, wave devices
// and the sound player.
#pragma once
#include <vector>

#include "music/bgm.h"

namespace dovra {

class Win32MciPort : public MciPort {
 public:
  int32_t SendString(const std::string& command, char* reply, uint32_t capacity) override;
  bool GetErrorString(int32_t code, char* text, uint32_t capacity) override;
  int32_t WaveOutDevices() override;
  int32_t PlaySoundNamed(const char* name, uint32_t flags) override;
  int32_t PlaySoundFileFromMemory(const std::string& path, uint32_t flags) override;

 private:
  // The sound played from memory: kept until another sound has replaced it.
  std::vector<char> sound_;
};

}  // namespace dovra
