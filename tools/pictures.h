// Every picture Dovra ships, rendered from code.
#pragma once
#include "image.h"

namespace pics {

Image Ball();          // 22 x 23, grey sphere, magenta outside
Image Earth();         // 500 x 400
Image GasGiant();      // 640 x 480
Image RingedPlanet();  // 640 x 480
Image Preview(const Image& earth, const Image& ball);  // 152 x 112
Image MarkEmpty();     // 12 x 12
Image MarkSelected();  // 12 x 12
Image Icon();          // 32 x 32 with alpha
Image HandCursor();    // 32 x 32, alpha 0 = transparent; hot spot (12, 10)
constexpr int kHandHotX = 12, kHandHotY = 10;

enum class Face { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };
Image ButtonFace(Face f);  // 64 x 25

}  // namespace pics
