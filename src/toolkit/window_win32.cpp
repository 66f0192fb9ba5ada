#include "toolkit/window_win32.h"

#include "toolkit/program_win32.h"
#include "toolkit/text_win32.h"

namespace dovra {

namespace {
const wchar_t* const kClassPrefix = L"DovraWindow";

// One class per style combination, registered on first use.
const wchar_t* ClassFor(UINT classStyle, HBRUSH background, HICON icon, WNDPROC proc,
                        std::wstring& name) {
  name = std::wstring(kClassPrefix) + std::to_wstring(classStyle) + L"_" +
         std::to_wstring(reinterpret_cast<uintptr_t>(background)) + L"_" +
         std::to_wstring(reinterpret_cast<uintptr_t>(icon));
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name.c_str(), &wc)) return name.c_str();
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.lpszClassName = name.c_str();
  RegisterClassExW(&wc);
  return name.c_str();
}
}  // namespace

Window::~Window() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool Window::Create(const std::string& caption, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                    HWND parent, HBRUSH background, HICON icon, UINT classStyle) {
  std::wstring cls;
  ClassFor(classStyle, background, icon, &Window::Thunk, cls);
  const std::wstring title = Utf8ToWide(caption);
  hwnd_ = CreateWindowExW(exStyle, cls.c_str(), title.c_str(), style, x, y, w, h, parent, nullptr,
                          GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

void Window::Show(int how) {
  ShowWindow(hwnd_, how);
  UpdateWindow(hwnd_);
}

void Window::Unload() {
  if (unloading_ || !hwnd_) return;
  unloading_ = true;
  int16_t cancel = 0;
  Form_QueryUnload(cancel, 1);
  if (cancel) {
    unloading_ = false;
    return;
  }
  Form_Unload(cancel);
  if (cancel) {
    unloading_ = false;
    return;
  }
  HWND h = hwnd_;
  DestroyWindow(h);
}

int Window::InnerWidth() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.right - r.left;
}

int Window::InnerHeight() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.bottom - r.top;
}

void Window::MoveTwips(double left, double top, double width, double height) {
  const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  MoveWindow(hwnd_, static_cast<int>(left / tx), static_cast<int>(top / ty), static_cast<int>(width / tx),
             static_cast<int>(height / ty), TRUE);
}

void* BindWindowObject(HWND h, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(h, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  void* self = reinterpret_cast<void*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  return self;
}

LRESULT CALLBACK Window::Thunk(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<Window*>(BindWindowObject(h, msg, lp));
  if (!self) return DefWindowProcW(h, msg, wp, lp);
  if (msg == WM_NCCREATE) self->hwnd_ = h;
  if (msg == WM_NCDESTROY) {
    self->hwnd_ = nullptr;
    self->Form_Destroyed();
    return DefWindowProcW(h, msg, wp, lp);
  }
  return self->HandleMessage(msg, wp, lp);
}

int16_t ShiftState() {
  return static_cast<int16_t>(((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) | ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
                              ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

int16_t MouseButtons(WPARAM wp) {
  return static_cast<int16_t>(((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) | ((wp & MK_MBUTTON) ? 4 : 0));
}

namespace {
int X(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int Y(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }
}  // namespace

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      Unload();
      return 0;
    case WM_KEYDOWN:
      Form_KeyDown(static_cast<int16_t>(wp), ShiftState());
      return 0;
    case WM_LBUTTONDOWN: Form_MouseDown(kLeftButton, ShiftState(), X(lp), Y(lp)); return 0;
    case WM_RBUTTONDOWN: Form_MouseDown(kRightButton, ShiftState(), X(lp), Y(lp)); return 0;
    case WM_MBUTTONDOWN: Form_MouseDown(kMiddleButton, ShiftState(), X(lp), Y(lp)); return 0;
    case WM_LBUTTONUP: Form_MouseUp(kLeftButton, ShiftState(), X(lp), Y(lp)); return 0;
    case WM_RBUTTONUP: Form_MouseUp(kRightButton, ShiftState(), X(lp), Y(lp)); return 0;
    case WM_MBUTTONUP: Form_MouseUp(kMiddleButton, ShiftState(), X(lp), Y(lp)); return 0;
    case WM_MOUSEMOVE:
      Form_MouseMove(MouseButtons(wp), ShiftState(), X(lp), Y(lp));
      return 0;
    case WM_SIZE:
      Form_Resize();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Form_Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      // A transparent child (a Command with Visible 0) draws its container's
      // picture behind itself through this.
      Form_Paint(reinterpret_cast<HDC>(wp));
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

// ---- timers: the timer's own address is its id, so a tick finds its object
// without any table.

Timer::~Timer() { SetEnabled(false); }

void Timer::SetEnabled(bool on) {
  if (on == enabled_) return;
  if (on && !owner_) return;
  enabled_ = on;
  if (on) {
    id_ = SetTimer(owner_, reinterpret_cast<UINT_PTR>(this), interval_, &Timer::Proc);
  } else if (id_) {
    KillTimer(owner_, reinterpret_cast<UINT_PTR>(this));
    id_ = 0;
  }
}

void Timer::SetInterval(UINT ms) {
  interval_ = ms;
  if (enabled_) {
    SetEnabled(false);
    SetEnabled(true);
  }
}

void CALLBACK Timer::Proc(HWND, UINT, UINT_PTR id, DWORD) {
  auto* t = reinterpret_cast<Timer*>(id);
  if (t && t->enabled_ && t->tick_) t->tick_();
}

void DoEvents() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) EndProgram(static_cast<UINT>(m.wParam));
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void EndProgram(UINT code) { ExitProcess(code); }

}  // namespace dovra
