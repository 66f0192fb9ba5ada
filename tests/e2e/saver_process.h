// Starting Dovra.scr as the screen-saver host does, and watching it from outside.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace dovra::e2e {

// Names the saver shows the world, written out here rather than taken from its
// sources, so a changed name there fails these tests. The INI keys are
// Shift-JIS bytes: BGM区分, BGMﾘﾋﾟｰﾄ, BGMﾌｧｲﾙ.
inline const wchar_t* const kDialogCaption = L"Vormix_Dovraの設定";
inline const std::string kKeyKind = "BGM\x8B\xE6\x95\xAA";
inline const std::string kKeyRepeat = "BGM\xD8\xCB\xDF\xB0\xC4";
inline const std::string kKeyFile = "BGM\xCC\xA7\xB2\xD9";

// A WAV of a second's tone whose header claims `claimed` bytes, the file then
// made `size` bytes long (sparse: the rest reads as silence).
bool WriteToneWav(const std::string& path, uint32_t claimed, uint64_t size);

// Milliseconds of the performance counter, the same clock in every process.
inline double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Dovra.scr (or another program) beside this test program.
std::string BuiltSaver(const std::string& program = "Dovra.scr");

class SaverProcess {
 public:
  // Copies Dovra.scr (or another program beside this one) into dir, its
  // program folder, and starts it with args.
  SaverProcess(const std::string& dir, const std::string& args, const std::string& program = "Dovra.scr");
  ~SaverProcess();
  SaverProcess(const SaverProcess&) = delete;
  SaverProcess& operator=(const SaverProcess&) = delete;
  bool Started() const { return pi_.hProcess != nullptr; }
  DWORD Pid() const { return pi_.dwProcessId; }
  // Waits (pumping this thread's messages) for the process to end.
  bool WaitExit(DWORD ms, DWORD* code = nullptr);
  bool Running() const;
  // A visible top-level window of this process with the caption, waiting up to ms.
  HWND WaitWindow(const wchar_t* caption, DWORD ms) const;
  // How many visible top-level windows of this process have another caption.
  int OtherWindows(const wchar_t* caption) const;

 private:
  PROCESS_INFORMATION pi_{};
};


}  // namespace dovra::e2e
