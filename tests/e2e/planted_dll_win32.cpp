// A DLL as someone might plant it beside a downloaded Dovra.scr under the name
// of a system DLL. It exports nothing; when loaded it writes "<its path>.loaded"
// with the modules on the stack that loaded it, so a test can tell a load
// Dovra asked for from one the system's own DLLs asked for.
#include <windows.h>

#include <string>

namespace {
std::wstring ModuleName(HMODULE m) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(m, path, MAX_PATH);
  const wchar_t* base = wcsrchr(path, L'\\');
  return base ? base + 1 : path;
}
}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring text;
  void* frames[62];
  const USHORT n = RtlCaptureStackBackTrace(0, 62, frames, nullptr);
  for (USHORT i = 0; i < n; ++i) {
    HMODULE m = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(frames[i]), &m) && m != self) {
      const std::wstring name = ModuleName(m);
      if (text.find(name) == std::wstring::npos) text += name + L"\n";
    }
  }
  HANDLE f = CreateFileW((std::wstring(path) + L".loaded").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD wrote = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &wrote, nullptr);
    CloseHandle(f);
  }
  return TRUE;
}
