// preview_host SAVER: plays the screen-saver settings page's preview pane for
// the package tests. It makes a small window, starts "SAVER /p <its handle>",
// and runs until the saver ends or this program is ended.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR args, int) {
  HWND pane = CreateWindowExW(0, L"STATIC", L"Preview pane", WS_POPUP | WS_VISIBLE, 0, 0, 152, 112, nullptr, nullptr,
                              nullptr, nullptr);
  if (!pane || !args || !*args) return 1;
  std::wstring cmd = L"\"" + std::wstring(args) + L"\" /p " + std::to_wstring(reinterpret_cast<uintptr_t>(pane));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 1;
  CloseHandle(pi.hThread);
  while (MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  CloseHandle(pi.hProcess);
  return 0;
}
