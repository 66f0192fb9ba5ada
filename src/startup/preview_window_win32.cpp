#include "startup/preview_window_win32.h"

#include "resources/resource_ids.h"
#include "toolkit/numeric.h"
#include "toolkit/program_state.h"

namespace dovra {

bool Vormix_R::Load() {
  Img_Prev = LoadPictureResource(IDB_PREVIEW);
  return Create(kCaption, WS_POPUP, 0, 0, 0, 152, 112, nullptr,
                static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void Vormix_R::PlaceImage(int width, int height) {
  imageW_ = width;
  imageH_ = height;
  if (width > 152 || height > 112) {
    if (Picture big = LoadPictureResource(IDB_PREVIEW_2X)) Img_Prev = std::move(big);
  }
}

// The still fills the pane, scaled smoothly when the pane has another size.
void Vormix_R::Form_Paint(HDC dc) {
  if (!Img_Prev || imageW_ <= 0 || imageH_ <= 0) return;
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(src, Img_Prev.Handle());
  BITMAP bm{};
  GetObjectA(Img_Prev.Handle(), sizeof bm, &bm);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, 0, 0, imageW_, imageH_, src, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}

// The owner is looked up, but the close request goes to the window itself.
void Vormix_R::Form_Unload(int16_t&) {
  GetWindow(hwnd(), GW_OWNER);
  ApiResult = PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT Vormix_R::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(hwnd(), &r);
    FillRect(reinterpret_cast<HDC>(wp), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return 1;
  }
  return Window::HandleMessage(msg, wp, lp);
}

// Whether the host destroyed its pane (and so this child) or the window was
// unloaded, the process ends with it.
void Vormix_R::Form_Destroyed() { PostQuitMessage(0); }

void RunPreview(uint32_t hostHandle) {
  HWND host = reinterpret_cast<HWND>(static_cast<uintptr_t>(hostHandle));
  // Without a pane there is nothing to show: a window without a parent would
  // stand alone on the desktop.
  if (!host || !IsWindow(host)) EndProgram(0);
  RECT rect{};
  ApiResult = GetWindowRect(host, &rect);
  const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  const int16_t widthTwips = ToInt16((rect.right - rect.left) * tx).value_or(0);
  const int16_t heightTwips = ToInt16((rect.bottom - rect.top) * ty).value_or(0);
  Vormix_R preview;
  if (!preview.Load()) EndProgram(0);
  const LONG style = GetWindowLongA(preview.hwnd(), GWL_STYLE);
  ApiResult = SetWindowLongA(preview.hwnd(), GWL_STYLE, style | WS_CHILD);
  ApiResult = reinterpret_cast<intptr_t>(SetParent(preview.hwnd(), host)) != 0;
  preview.MoveTwips(0, 0, widthTwips, heightTwips);
  preview.PlaceImage(static_cast<int>(widthTwips / tx), static_cast<int>(heightTwips / ty));
  preview.Show(SW_SHOWNA);
  // Wait for messages, and look at the pane now and then in case its end is
  // never announced to this process.
  for (;;) {
    const DWORD r = MsgWaitForMultipleObjects(0, nullptr, FALSE, 250, QS_ALLINPUT);
    if (r == WAIT_TIMEOUT && !IsWindow(host)) EndProgram(0);
    DoEvents();  // ends the program on WM_QUIT
  }
}

}  // namespace dovra
