// Vormix_BGM: the background music. MP3 through the media control interface
// (restarted whenever it has ended), WAV through the sound player (looped), and
// the audio CD (the whole disc again when it stops, or one track over and over).
// All the sequencing is here; the system is reached through MciPort.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "startup/settings.h"

namespace dovra {

// The few system services the music needs.
class MciPort {
 public:
  virtual ~MciPort() = default;
  // mciSendStringA with no callback window; reply may be null when capacity is 0.
  virtual int32_t SendString(const std::string& command, char* reply, uint32_t capacity) = 0;
  // mciGetErrorStringA: false when no text could be had.
  virtual bool GetErrorString(int32_t code, char* text, uint32_t capacity) = 0;
  // waveOutGetNumDevs.
  virtual int32_t WaveOutDevices() = 0;
  // PlaySoundA without a module; name may be null (stops the sound).
  virtual int32_t PlaySoundNamed(const char* name, uint32_t flags) = 0;
  // Plays a file whose path is too long for the player's own file opening: by
  // its short (8.3) name when that fits, else as StreamWav does.
  virtual int32_t PlaySoundLongPath(const std::string& path, uint32_t flags) = 0;
  // Loops a WAV file streamed from the file a piece at a time, held in memory
  // a second at a time. Nonzero once the file and the wave device are open.
  virtual int32_t StreamWav(const std::string& path) = 0;
  // The size of the file at path; -1 when there is no such file.
  virtual int64_t FileSize(const std::string& path) = 0;
};

constexpr uint32_t kSndAsync = 0x0001;
constexpr uint32_t kSndNoDefault = 0x0002;
constexpr uint32_t kSndLoop = 0x0008;
// The sound player opens a named file through mmioOpen, which takes names of
// at most 127 bytes; a longer path goes by PlaySoundLongPath.
constexpr size_t kSoundNameLimit = 128;
// The sound player reads a whole file into memory before its first sound.
// Up to this size (a minute and a half of CD-quality sound: loops and short
// pieces) that is a fraction of a second from a disk or a USB stick, and
// little memory; songs, albums and long recordings, tens of megabytes to
// gigabytes, would start seconds late and take as much of the 32-bit saver's
// address space, or fail to load at all. Larger files are streamed.
constexpr int64_t kSoundPlayerLargest = 16 << 20;

class Vormix_BGM {
 public:
  Vormix_BGM(MciPort& port, const Settings& settings);

  void OpenCd();
  void WatchCd();
  void StopCd();
  void PlayMp3();
  bool IsMp3Playing();
  void RestartMp3();
  void StopMp3();
  void PlayWav();
  void StopWav();
  int32_t SendMciCommand(const std::string& command, std::string& result);
  std::string QueryMci(const std::string& command);
  int32_t PlayMci(const std::string& device, const std::string& from, const std::string& to);

  bool CdWatching = false;
  // Whether "open cdaudio" succeeded and "close cdaudio" was not sent yet.
  bool CdOpened = false;
  std::string MciResult;

  // The reply buffers keep their contents from one call to the next.
  std::vector<char> CdModeReply = std::vector<char>(255, '\0');
  std::vector<char> MciReply = std::vector<char>(512, '\0');
  std::vector<char> MciErrorText = std::vector<char>(256, '\0');
  std::vector<char> Mp3Mode = std::vector<char>(30, ' ');

  // The two fixed texts SendMciCommand hands back (UTF-8; never shown).
  static const char* const kNoCommandText;
  static const char* const kNoErrorText;

 private:
  int32_t Send(const std::string& command, std::vector<char>* reply);
  MciPort& port_;
  const Settings& settings_;
};

}  // namespace dovra
