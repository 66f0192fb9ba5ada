// What a listener gets from the MP3 keep-going timer on this system: plays an MP3
// and calls RestartMp3 once a second, as the saver's timer does, printing the
// mode the device reports and how often the song was started again.
//   mp3_restart_probe FILE.mp3 [SECONDS]
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

#include "music/bgm.h"
#include "music/mci_port_win32.h"

using namespace dovra;

namespace {

class CountingPort : public Win32MciPort {
 public:
  int restarts = 0;
  int32_t SendString(const std::string& c, char* reply, uint32_t capacity) override {
    if (c == "play MP3Play from 0") ++restarts;
    return Win32MciPort::SendString(c, reply, capacity);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const int seconds = argc > 2 ? atoi(argv[2]) : 60;
  Settings s;
  s.BgmFile = argv[1];
  CountingPort port;
  Vormix_BGM bgm(port, s);
  bgm.PlayMp3();
  for (int t = 1; t <= seconds; ++t) {
    Sleep(1000);
    bgm.RestartMp3();
    char pos[64] = {};
    mciSendStringA("status MP3Play position", pos, sizeof pos, nullptr);
    std::printf("t=%2ds mode=%.7s position=%s restarts=%d\n", t, bgm.Mp3Mode.data(), pos, port.restarts);
  }
  bgm.StopMp3();
  std::printf("restarts in %d s: %d\n", seconds, port.restarts);
  return 0;
}
