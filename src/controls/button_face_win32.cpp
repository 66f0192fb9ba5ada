#include "controls/button_face_win32.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "toolkit/numeric.h"
#include "toolkit/system_dlls_win32.h"

namespace dovra {

namespace {

// "&HFFFFFF" style text read as red, green and blue digit pairs, each widened
// to a 16-bit vertex channel (C6 gives C600).
void VertexColour(const char* text, TRIVERTEX& v) {
  const std::string hex = std::string(text).substr(2);
  auto pair = [&](size_t at) { return static_cast<COLOR16>(std::stoi(hex.substr(at, 2), nullptr, 16) << 8); };
  v.Red = pair(0);
  v.Green = pair(2);
  v.Blue = pair(4);
  v.Alpha = 0;
}

int Px(double twips, double tpp) { return static_cast<int>(std::lround(twips / tpp)); }

}  // namespace

void FillGradient(HDC dc, int widthPx, int heightPx, bool hoverGradient) {
  const char* light = "&HFFFFFF";
  const char* dark = "&HC6C5D7";
  TRIVERTEX FaceVertices[3] = {};
  VertexColour(hoverGradient ? dark : light, FaceVertices[0]);
  VertexColour(hoverGradient ? light : dark, FaceVertices[1]);
  FaceVertices[0].x = 0;
  FaceVertices[0].y = 0;
  FaceVertices[1].x = widthPx - 1;
  FaceVertices[1].y = heightPx - 1;
  // The pair names vertex 1 first; the colours follow the positions.
  GRADIENT_RECT FaceRect{1, 0};
  msimg32::GradientFill(dc, FaceVertices, 2, &FaceRect, 1, GRADIENT_FILL_RECT_V);
}

void PaintFace(HDC dc, double W, double H, double tpp, HBITMAP face, bool hoverGradient,
               FaceGeometry& g, double sourceTpp) {
  g.C = 60;
  if (auto iw = ToInt16(W - 120)) g.IW = *iw;
  if (auto ih = ToInt16(H - 120)) g.IH = *ih;
  const int wp = Px(W, tpp), hp = Px(H, tpp);
  // A cleared surface every time: nothing of an earlier look survives.
  RECT all{0, 0, wp, hp};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  FillGradient(dc, wp, hp, hoverGradient);
  if (!face) return;
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(src, face);

  struct Piece { double sx, sy, sw, sh, dx, dy, dw, dh; };
  const double C = g.C, IW = g.IW, IH = g.IH;
  const Piece pieces[8] = {
      {0, 0, 60, 60, 1, 1, C, C},             // top-left corner
      {60, 1, 840, 60, 60, 1, IW, C},         // top edge
      {900, 1, 60, 60, W - 60, 1, C, C},      // top-right corner
      {900, 60, 60, 255, W - 60, 60, C, IH},  // right edge
      {900, 315, 60, 60, W - 60, H - 60, C, C},
      {60, 315, 840, 60, 60, H - 60, IW, C},  // bottom edge
      {0, 315, 60, 60, 1, H - 60, C, C},      // bottom-left corner
      {1, 60, 60, 255, 1, 60, C, IH},         // left edge
  };
  // Source rectangles are in the picture's twips at 15 a pixel (64 x 25 pixels
  // are 960 x 375 twips); destinations in the control's own twips. Enlarging
  // repeats pixels; a piece of a face at twice the size made smaller (on a
  // screen at less than twice the density) is averaged, so its lines do not break.
  for (const Piece& p : pieces) {
    const int dw = Px(p.dw, tpp), dh = Px(p.dh, tpp), sw = Px(p.sw, sourceTpp), sh = Px(p.sh, sourceTpp);
    // Averaging is for the faces made at twice the size only: a face at its own
    // size, shrunk for a narrow button (the 41-pixel "..."), repeats and drops
    // pixels as it always has.
    const bool fromLarger = sourceTpp < 15;
    SetStretchBltMode(dc, fromLarger && (dw < sw || dh < sh) ? HALFTONE : COLORONCOLOR);
    StretchBlt(dc, Px(p.dx, tpp), Px(p.dy, tpp), dw, dh, src, Px(p.sx, sourceTpp), Px(p.sy, sourceTpp), sw, sh,
               SRCCOPY);
  }
  SelectObject(src, old);
  DeleteDC(src);
}

void PaintPlainFace(HDC dc, int wp, int hp, const ButtonColours& c, double scale) {
  const auto px = [scale](int n) { return std::max(1, static_cast<int>(std::lround(n * scale))); };
  RECT r{0, 0, wp, hp};
  HBRUSH face = CreateSolidBrush(c.face), frame = CreateSolidBrush(c.frame);
  FillRect(dc, &r, face);
  for (int i = px(c.frameWidth); i > 0; --i) {
    FrameRect(dc, &r, frame);
    InflateRect(&r, -1, -1);
  }
  DeleteObject(face);
  DeleteObject(frame);
  if (!c.focusMark) return;
  // Every other pixel, as the system marks the focus, a gap inside the frame.
  InflateRect(&r, -px(2), -px(2));
  for (int x = r.left; x < r.right; x += 2) {
    SetPixelV(dc, x, r.top, c.text);
    SetPixelV(dc, x, r.bottom - 1, c.text);
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    SetPixelV(dc, r.left, y, c.text);
    SetPixelV(dc, r.right - 1, y, c.text);
  }
}

}  // namespace dovra
