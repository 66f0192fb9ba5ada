#include "music/bgm.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "toolkit/program_state.h"
#include "toolkit/value_services.h"
#include "toolkit/portable_only.h"

namespace dovra {

const char* const Vormix_BGM::kNoCommandText = "コマンド文字列が指定されていません";
const char* const Vormix_BGM::kNoErrorText = "Error (文字列が取れません)";

namespace {

std::string UntilNul(const std::vector<char>& b) {
  return std::string(b.begin(), std::find(b.begin(), b.end(), '\0'));
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The first n characters of a reply buffer, as a fixed-length field reads.
std::string Leading(const std::vector<char>& b, size_t n) {
  return std::string(b.data(), std::min(n, b.size()));
}

}  // namespace

Vormix_BGM::Vormix_BGM(MciPort& port, const Settings& settings) : port_(port), settings_(settings) {}

int32_t Vormix_BGM::Send(const std::string& command, std::vector<char>* reply) {
  if (!reply) return port_.SendString(command, nullptr, 0);
  // The last byte stays NUL whatever the system writes.
  return port_.SendString(command, reply->data(), static_cast<uint32_t>(reply->size()));
}

void Vormix_BGM::OpenCd() {
  ApiResult = Send("open cdaudio", nullptr);
  // Only a drive that opened is stopped and closed at the end.
  CdOpened = ApiResult == 0;
  ApiResult = Send("set cdaudio time format tmsf", nullptr);
}

void Vormix_BGM::StopCd() {
  ApiResult = Send("stop cdaudio", nullptr);
  ApiResult = Send("close cdaudio", nullptr);
  CdOpened = false;
}

void Vormix_BGM::PlayMp3() {
  const std::string open = "open \"" + settings_.BgmFile + "\" type MPEGVideo Alias MP3Play";
  if (Send(open, nullptr) == 0) Send("play MP3Play", nullptr);
}

bool Vormix_BGM::IsMp3Playing() {
  Send("status MP3Play mode", &Mp3Mode);
  return Leading(Mp3Mode, 7) == "playing";
}

void Vormix_BGM::RestartMp3() {
  if (IsMp3Playing()) return;
  Send("stop MP3Play", nullptr);
  Send("play MP3Play from 0", nullptr);
}

void Vormix_BGM::StopMp3() {
  Send("stop MP3Play", nullptr);
  Send("close MP3Play", nullptr);
}

void Vormix_BGM::PlayWav() {
  if (port_.WaveOutDevices() <= 0) return;
  // No SND_FILENAME: the name is tried as a sound alias first, then as a file.
  // SND_NODEFAULT: a file that vanished since the settings were loaded plays
  // nothing, rather than the system's default sound over and over.
  const uint32_t flags = kSndAsync | kSndLoop | kSndNoDefault;
  if (port_.FileSize(settings_.BgmFile) > kSoundPlayerLargest)
    ApiResult = port_.StreamWav(settings_.BgmFile);
  else if (settings_.BgmFile.size() < kSoundNameLimit)
    ApiResult = port_.PlaySoundNamed(settings_.BgmFile.c_str(), flags);
  else
    ApiResult = port_.PlaySoundLongPath(settings_.BgmFile, flags);
}

void Vormix_BGM::StopWav() { ApiResult = port_.PlaySoundNamed(nullptr, 0); }

int32_t Vormix_BGM::SendMciCommand(const std::string& command, std::string& result) {
  if (command.empty()) {
    result = kNoCommandText;
    return -1;
  }
  const int32_t code = Send(command, &MciReply);
  ApiResult = code;
  if (code != 0) {
    if (!port_.GetErrorString(code, MciErrorText.data(), static_cast<uint32_t>(MciErrorText.size())))
      result = kNoErrorText;
    else
      result = UntilNul(MciErrorText);
    return code;
  }
  result = UntilNul(MciReply);
  return 0;
}

std::string Vormix_BGM::QueryMci(const std::string& command) {
  const int32_t code = SendMciCommand(command, MciResult);
  ApiResult = code;
  if (code != 0) return "Error:" + std::to_string(code);
  return MciResult;
}

int32_t Vormix_BGM::PlayMci(const std::string& device, const std::string& from, const std::string& to) {
  std::string command = "play " + device;
  if (!from.empty()) command += " from " + from;
  if (!to.empty()) command += " to " + to;
  return SendMciCommand(command, MciResult);
}

void Vormix_BGM::WatchCd() {
  CdWatching = true;
  const std::string current = QueryMci("status cdaudio current track");
  if (Upper(current).find("ERR") != std::string::npos) {
    CdWatching = false;
    return;
  }
  const std::string count = QueryMci("status cdaudio number of tracks");
  if (Upper(count).find("ERR") != std::string::npos) {
    CdWatching = false;
    return;
  }
  ApiResult = Send("status cdaudio mode", &CdModeReply);
  const std::string mode = Leading(CdModeReply, 7);
  if (settings_.BgmRepeat == 0) {
    if (mode == "stopped") PlayMci("cdaudio", "", "");
    return;
  }
  // Both conditions are evaluated: a current track that is no number ends the
  // check even while the disc is stopped.
  const bool stopped = mode == "stopped";
  if (!IsNumeric(current)) {
    CdWatching = false;
    return;
  }
  const bool otherTrack = TextToNumber(current) != settings_.BgmRepeat;
  if (stopped || otherTrack) {
    const std::string start = QueryMci("status cdaudio position track " + std::to_string(settings_.BgmRepeat));
    PlayMci("cdaudio", start, "");
  }
}

}  // namespace dovra
