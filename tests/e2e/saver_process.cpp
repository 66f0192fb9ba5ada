#include "e2e/saver_process.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "win32/win32_test_util.h"

namespace dovra::e2e {

using test::Pump;

bool WriteToneWav(const std::string& path, uint32_t claimed, uint64_t size) {
  std::string wav = "RIFF";
  const auto put = [&](uint32_t v, int bytes) { for (int i = 0; i < bytes; ++i) wav += static_cast<char>(v >> (8 * i)); };
  put(claimed - 8, 4);
  wav += "WAVEfmt ";
  put(16, 4), put(1, 2), put(1, 2), put(22050, 4), put(44100, 4), put(2, 2), put(16, 2);
  wav += "data";
  put(claimed - 44, 4);
  for (int i = 0; i < 22050; ++i) put(static_cast<uint32_t>(static_cast<int16_t>(8000 * std::sin(i * 0.125))), 2);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD wrote = 0;
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(std::max<uint64_t>(size, wav.size()));
  const bool ok = f != INVALID_HANDLE_VALUE && WriteFile(f, wav.data(), static_cast<DWORD>(wav.size()), &wrote, nullptr) &&
                  SetFilePointerEx(f, end, nullptr, FILE_BEGIN) && SetEndOfFile(f);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  return ok;
}

std::string BuiltSaver(const std::string& program) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string dir(self);
  return dir.substr(0, dir.find_last_of('\\')) + "\\" + program;
}

namespace {
// The saver's environment: this one's, with WINEDEBUG replaced by the value of
// DOVRA_SAVER_WINEDEBUG when that is set, so that Wine's checks (heap checking,
// say) apply to the saver's process alone and its messages are the saver's.
std::wstring SaverEnvironment() {
  const char* debug = std::getenv("DOVRA_SAVER_WINEDEBUG");
  if (!debug) return std::wstring();
  std::wstring block;
  wchar_t* env = GetEnvironmentStringsW();
  for (const wchar_t* p = env; *p; p += wcslen(p) + 1)
    if (_wcsnicmp(p, L"WINEDEBUG=", 10) != 0) block.append(p).push_back(L'\0');
  FreeEnvironmentStringsW(env);
  block.append(L"WINEDEBUG=");
  for (const char* c = debug; *c; ++c) block.push_back(static_cast<wchar_t>(*c));
  block.push_back(L'\0');
  block.push_back(L'\0');
  return block;
}
}  // namespace

SaverProcess::SaverProcess(const std::string& dir, const std::string& args, const std::string& program) {
  const std::string exe = dir + "\\" + program;
  if (!CopyFileA(BuiltSaver(program).c_str(), exe.c_str(), FALSE)) return;
  std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::wstring env = SaverEnvironment();
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, env.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT,
                      env.empty() ? nullptr : &env[0], dir.c_str(), &si, &pi_))
    pi_ = PROCESS_INFORMATION{};
}

SaverProcess::~SaverProcess() {
  if (!pi_.hProcess) return;
  if (Running()) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
}

bool SaverProcess::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool SaverProcess::WaitExit(DWORD ms, DWORD* code) {
  const DWORD end = GetTickCount() + ms;
  while (Running()) {
    if (static_cast<int32_t>(end - GetTickCount()) <= 0) return false;
    Pump(10);
  }
  if (code) GetExitCodeProcess(pi_.hProcess, code);
  return true;
}

namespace {
// The process's visible top-level windows: the one with the caption, and how
// many others there are.
struct Search {
  DWORD pid;
  const wchar_t* caption;
  HWND found;
  int others;
};
BOOL CALLBACK Each(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != s->pid || !IsWindowVisible(h)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(h, text, 256);
  if (lstrcmpW(text, s->caption) == 0) s->found = h;
  else ++s->others;
  return TRUE;
}
}  // namespace

int SaverProcess::OtherWindows(const wchar_t* caption) const {
  Search s{pi_.dwProcessId, caption, nullptr, 0};
  EnumWindows(&Each, reinterpret_cast<LPARAM>(&s));
  return s.others;
}

HWND SaverProcess::WaitWindow(const wchar_t* caption, DWORD ms) const {
  const DWORD end = GetTickCount() + ms;
  for (;;) {
    Search s{pi_.dwProcessId, caption, nullptr, 0};
    EnumWindows(&Each, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (static_cast<int32_t>(end - GetTickCount()) <= 0 || !Running()) return nullptr;
    Pump(20);
  }
}

}  // namespace dovra::e2e
