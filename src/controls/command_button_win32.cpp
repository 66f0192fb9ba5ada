#include "controls/command_button_win32.h"

#include <cmath>
#include <cstring>

#include "resources/resource_ids.h"
#include "toolkit/contrast_win32.h"
#include "toolkit/text_win32.h"
#include "toolkit/window_win32.h"

namespace dovra {

namespace {
const wchar_t* const kClass = L"DovraCommand";
constexpr UINT_PTR kPollTimer = 1;

COLORREF Resolve(uint32_t colour) {
  // A system-colour reference (0x800000nn) names one of the system's colours.
  return (colour >> 24) == 0x80 ? GetSysColor(static_cast<int>(colour & 0xFF)) : colour;
}
}  // namespace

Command::Command() : button_(*this) { LoadFaces(); }

void Command::LoadFaces() {
  static constexpr int kIds[6] = {IDB_FACE_NORMAL, IDB_FACE_HIGHLIGHT, IDB_FACE_HIGHLIGHT_SELECT,
                                  IDB_FACE_SELECTED, IDB_FACE_PRESSED, IDB_FACE_DISABLE};
  // On a scaled screen the faces made at twice the size keep their ring sharp.
  faceFactor_ = SceneScale::FromDpi(static_cast<int32_t>(std::lround(1440 / TwipsPerPixelX()))).PictureFactor();
  for (int i = 0; i < 6; ++i) faces_[i] = LoadPictureResource(faceFactor_ == 2 ? IDB_2X(kIds[i]) : kIds[i]);
}

// The box in twips, in pixels at the layout density now in force.
RECT Command::PixelBox() const {
  const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  const int x = static_cast<int>(std::lround(box_[0] / tx)), y = static_cast<int>(std::lround(box_[1] / ty));
  return RECT{x, y, x + static_cast<int>(std::lround(box_[2] / tx)), y + static_cast<int>(std::lround(box_[3] / ty))};
}

void Command::Rescale() {
  LoadFaces();
  const RECT r = PixelBox();
  surface_.Create(r.right - r.left, r.bottom - r.top);
  UpdateFont();
  if (!hwnd_) return;
  MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  DrawFace(lastLook_, lastHover_);
}

Command::~Command() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool Command::Create(HWND parent, double left, double top, double width, double height, int id,
                     const PropertyStore& store, const FontDesc& ambientFont) {
  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), kClass, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Command::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClass;
    RegisterClassExW(&wc);
  }
  box_[0] = left, box_[1] = top, box_[2] = width, box_[3] = height;
  const RECT r = PixelBox();
  const int w = r.right - r.left, h = r.bottom - r.top;
  surface_.Create(w, h);
  hwnd_ = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, r.left, r.top, w, h,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  button_.ReadProperties(store, ambientFont);
  UpdateFont();
  button_.Resize();  // the host's resize notification after loading
  return true;
}

void Command::UpdateFont() {
  const FontDesc& f = button_.GetFont();
  const int height = -static_cast<int>(std::lround(f.Size * (1440 / TwipsPerPixelY()) / 72.0));
  font_.Reset(CreateFontW(height, 0, 0, 0, f.Weight, f.Italic, f.Underline, f.Strikethrough,
                          static_cast<BYTE>(f.Charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH, Utf8ToWide(f.Name).c_str()));
}

void Command::DrawFace(Look look, bool hoverGradient) {
  lastLook_ = look;
  lastHover_ = hoverGradient;
  scheme_ = CurrentColourScheme();
  const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  const ButtonColours colours = ButtonLookColours(scheme_, look, captionEnabled_);
  if (colours.designed)
    PaintFace(surface_.hdc(), surface_.Width() * tx, surface_.Height() * ty, tx,
              faces_[static_cast<int>(look)].Handle(), hoverGradient, geometry_, 15.0 / faceFactor_);
  else
    PaintPlainFace(surface_.hdc(), surface_.Width(), surface_.Height(), colours, 15.0 / tx);
  if (hwnd_) {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
  }
}

void Command::EnableCaption(bool enabled) {
  captionEnabled_ = enabled;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Command::SetCaptionColour(uint32_t colour) {
  captionColour_ = Resolve(colour);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

// A new caption, font or visibility shows at once, not at the next change of
// look; a screen reader hears of a new caption or of the button's enabling.
void Command::PropertyChanged(const char* name) {
  if (std::strcmp(name, "Font") == 0) UpdateFont();
  if (std::strcmp(name, "Enabled") == 0) AccessibleWindow::Notify(hwnd_, EVENT_OBJECT_STATECHANGE);
  if (std::strcmp(name, "Caption") == 0) AccessibleWindow::Notify(hwnd_, EVENT_OBJECT_NAMECHANGE);
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

acc::Item Command::Self() {
  return acc::PushButton(button_.GetCaption(), button_.EnabledFlag != 0, hwnd_ && GetFocus() == hwnd_);
}

// Not a key: keys never click the button. Only while enabled, as a click.
void Command::DoDefaultAction(size_t) {
  if (button_.EnabledFlag != 0) RaiseClick();
}

void Command::RaiseClick() {
  if (Click) Click();
}

void Command::StartPoll(uint32_t intervalMs) {
  if (hwnd_) SetTimer(hwnd_, kPollTimer, intervalMs, nullptr);
}

// The hover ends as soon as the window under the cursor is not this one.
bool Command::CursorOverOwnWindow() {
  POINT p{};
  if (!GetCursorPos(&p)) return false;
  return WindowFromPoint(p) == hwnd_;
}

// The face from the persistent surface, then the caption label over it: one
// line centred across the face, 10 twips above the vertical middle.
void Command::Paint(HDC dc) {
  const int w = surface_.Width(), h = surface_.Height();
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  if (button_.Opaque()) {
    surface_.PaintTo(mem, 0, 0, SRCCOPY);
  } else {
    // Transparent: the container shows through; only the caption is drawn.
    HWND parent = GetParent(hwnd_);
    POINT origin{0, 0};
    MapWindowPoints(hwnd_, parent, &origin, 1);
    SetViewportOrgEx(mem, -origin.x, -origin.y, nullptr);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(mem, 0, 0, nullptr);
  }
  HGDIOBJ oldFont = SelectObject(mem, font_.Get());
  TEXTMETRICW tm{};
  GetTextMetricsW(mem, &tm);
  const double ty = TwipsPerPixelY();
  const double labelHeight = tm.tmHeight * ty;
  const int top = static_cast<int>(std::lround(((h * ty - labelHeight - 20) / 2) / ty));
  RECT r{0, top, w, top + tm.tmHeight};
  const std::wstring text = Utf8ToWide(button_.GetCaption());
  SetBkMode(mem, TRANSPARENT);
  const ButtonColours colours = ButtonLookColours(scheme_, lastLook_, captionEnabled_);
  if (!colours.designed) {
    SetTextColor(mem, colours.text);
    DrawTextW(mem, text.c_str(), -1, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else if (captionEnabled_) {
    SetTextColor(mem, captionColour_);
    DrawTextW(mem, text.c_str(), -1, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    // The platform's disabled-text look: grey, with a light shadow.
    RECT shadow = r;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(mem, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(mem, text.c_str(), -1, &shadow, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(mem, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(mem, text.c_str(), -1, &r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(mem, oldFont);
  BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);
}

LRESULT CALLBACK Command::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<Command*>(BindWindowObject(h, msg, lp));
  if (!self) return DefWindowProcW(h, msg, wp, lp);
  if (msg == WM_NCCREATE) self->hwnd_ = h;
  if (msg == WM_NCDESTROY) {
    self->accessible_.Disconnect();
    self->hwnd_ = nullptr;
    return DefWindowProcW(h, msg, wp, lp);
  }
  return self->Handle(msg, wp, lp);
}

LRESULT Command::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT answered = 0;
  if (accessible_.Handle(hwnd_, msg, wp, lp, answered)) return answered;
  const float x = static_cast<float>(static_cast<short>(LOWORD(lp)));
  const float y = static_cast<float>(static_cast<short>(HIWORD(lp)));
  switch (msg) {
    case WM_SETFOCUS: button_.FocusGained(); return 0;
    case WM_KILLFOCUS: button_.FocusLost(); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      // A left press takes the focus, and every press the mouse until the
      // release, as a push button does. A right or middle press leaves the focus
      // where it is: it draws nothing, and only its release may click.
      if (msg == WM_LBUTTONDOWN && GetFocus() != hwnd_) SetFocus(hwnd_);
      SetCapture(hwnd_);
      const int16_t b = msg == WM_LBUTTONDOWN ? kLeftButton : msg == WM_RBUTTONDOWN ? kRightButton : kMiddleButton;
      button_.MouseDown(b, ShiftState(), x, y);
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if (GetCapture() == hwnd_ && !(wp & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) ReleaseCapture();
      const int16_t b = msg == WM_LBUTTONUP ? kLeftButton : msg == WM_RBUTTONUP ? kRightButton : kMiddleButton;
      button_.MouseUp(b, ShiftState(), x, y);
      return 0;
    }
    case WM_MOUSEMOVE: button_.MouseMove(MouseButtons(wp), ShiftState(), x, y); return 0;
    case WM_TIMER:
      if (wp == kPollTimer) button_.TimerTick();
      return 0;
    case WM_GETDLGCODE: return DLGC_BUTTON;
    // High Contrast switched on or off, or other system colours: the same look
    // again, as it now looks. (The dialog hands these on to its controls.)
    case WM_SETTINGCHANGE:
      if (wp != SPI_SETHIGHCONTRAST) return DefWindowProcW(hwnd_, msg, wp, lp);
      [[fallthrough]];
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED: DrawFace(lastLook_, lastHover_); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    default: return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

}  // namespace dovra
