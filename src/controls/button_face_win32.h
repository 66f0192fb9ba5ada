// Painting one look of the Command button: a two-colour vertical gradient with
// the outer four-pixel ring of a face picture over it, stretched to the size.
#pragma once
#include <windows.h>

#include <cstdint>

#include "controls/button_colours.h"

namespace dovra {

// The frame geometry in twips, kept from one draw to the next: an inner size
// that does not fit 16 bits leaves the previous one in place.
struct FaceGeometry {
  int16_t C = 60;
  int16_t IW = 0;
  int16_t IH = 0;
};

// Paints onto dc, whose drawing area is widthTwips x heightTwips (tpp twips a
// pixel), from the face picture: 64 x 25 pixels at 15 twips a pixel, or the
// same face made at twice the size with sourceTpp 7.5.
void PaintFace(HDC dc, double widthTwips, double heightTwips, double tpp, HBITMAP face,
               bool hoverGradient, FaceGeometry& geometry, double sourceTpp = 15);

// A look in plain colours (High Contrast): the face filled, the frame and the
// focus mark drawn at scale pixels per pixel at 96 dpi.
void PaintPlainFace(HDC dc, int widthPx, int heightPx, const ButtonColours& colours, double scale);

// The gradient alone: light (FF FF FF) to dark (C6 C5 D7), reversed for hover.
void FillGradient(HDC dc, int widthPx, int heightPx, bool hoverGradient);

}  // namespace dovra
