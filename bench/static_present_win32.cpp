// The floor a full-screen saver's present stands on: a bare borderless window
// over the screen that shows one still frame 60 times a second, from a DIB of
// 32 (the screen's own format) or 24 bits a pixel (argument 1), waiting on a
// timer between frames as Dovra does. Ends on Escape, a click or after
// argument 2 seconds (default 30).
#include <windows.h>

#include <cstdlib>
#include <vector>

namespace {
bool g_done = false;
LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_KEYDOWN || m == WM_LBUTTONDOWN || m == WM_DESTROY) g_done = true;
  if (m == WM_ERASEBKGND) return 1;
  return DefWindowProcW(h, m, w, l);
}
}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int) {
  int bits = std::atoi(cmd) == 24 ? 24 : 32;
  const char* rest = cmd;
  while (*rest && *rest != ' ') ++rest;
  const int seconds = *rest ? std::atoi(rest) : 30;
  SetProcessDPIAware();
  const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"StaticPresent";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"static present", WS_POPUP | WS_VISIBLE, 0, 0, W, H,
                           nullptr, nullptr, inst, nullptr);
  HDC dc = GetDC(w);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), W, H, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
  void* pixels = nullptr;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0);
  SelectObject(mem, dib);
  auto* p = static_cast<unsigned char*>(pixels);
  const size_t stride = ((static_cast<size_t>(W) * bits / 8) + 3) & ~size_t{3};
  for (int y = 0; y < H; ++y)
    for (size_t i = 0; i < stride; ++i) p[y * stride + i] = static_cast<unsigned char>((i * 3 + y) & 0x7F);
  HANDLE timer = CreateWaitableTimerW(nullptr, FALSE, nullptr);
  LARGE_INTEGER freq, start, now, due;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  for (long long frame = 1; !g_done && GetTickCount() < end; ++frame) {
    BitBlt(dc, 0, 0, W, H, mem, 0, 0, SRCCOPY);
    // Frame n is due n/60 s after the start, as in Dovra's own pacing.
    QueryPerformanceCounter(&now);
    const long long elapsed100ns = (now.QuadPart - start.QuadPart) * 10000000 / freq.QuadPart;
    due.QuadPart = -(frame * 10000000 / 60 - elapsed100ns);
    if (due.QuadPart >= 0) due.QuadPart = -1;
    SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
    for (;;) {
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
      if (MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    }
  }
  return 0;
}
