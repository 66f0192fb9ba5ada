#include "display/display_music.h"

#include <cctype>

#include "toolkit/portable_only.h"

namespace dovra {

bool DisplayMusic::MusicFileIs(const char* ext) const {
  const std::string& f = settings_.BgmFile;
  if (f.size() < 3) return false;
  std::string tail = f.substr(f.size() - 3);
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return tail == ext;
}

void DisplayMusic::Start() {
  if (settings_.BgmKind == 1) {
    bgm_.OpenCd();
    Timer2.SetEnabled(true);
  } else if (settings_.BgmKind == 2) {
    if (MusicFileIs("WAV")) bgm_.PlayWav();
    if (MusicFileIs("MP3")) {
      bgm_.PlayMp3();
      Timer1.SetEnabled(true);
    }
  }
}

void DisplayMusic::Timer1_Timer() { bgm_.RestartMp3(); }

void DisplayMusic::Timer2_Timer() {
  bgm_.WatchCd();
  Timer2.SetEnabled(bgm_.CdWatching);
}

void DisplayMusic::Stop() {
  if (Timer2.Enabled()) Timer2.SetEnabled(false);
  if (bgm_.CdOpened) bgm_.StopCd();
  if (settings_.BgmKind == 2) {
    if (MusicFileIs("WAV")) bgm_.StopWav();
    if (MusicFileIs("MP3")) {
      Timer1.SetEnabled(false);
      bgm_.StopMp3();
    }
  }
}

}  // namespace dovra
