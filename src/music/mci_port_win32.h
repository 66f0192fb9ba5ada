// The music's port onto winmm: MCI command strings, error texts, wave devices
// and the sound player.
#pragma once
#include <windows.h>

#include "music/bgm.h"
#include "music/wav_player_win32.h"

namespace dovra {

class Win32MciPort : public MciPort {
 public:
  int32_t SendString(const std::string& command, char* reply, uint32_t capacity) override;
  bool GetErrorString(int32_t code, char* text, uint32_t capacity) override;
  int32_t WaveOutDevices() override;
  int32_t PlaySoundNamed(const char* name, uint32_t flags) override;
  int32_t PlaySoundLongPath(const std::string& path, uint32_t flags) override;
  int32_t StreamWav(const std::string& path) override;
  int64_t FileSize(const std::string& path) override;
  // Whether a WAV went to the stream player, and it still plays.
  bool Streaming() const { return stream_.Running(); }

 private:
  // A sound played by the system player replaces a streamed one, as it
  // replaces any sound it played itself.
  WavStreamPlayer stream_;
};

}  // namespace dovra
