// Every picture Dovra ships, rendered from code; k = 2 renders the picture at
// twice the size (for scaled screens), not enlarged but drawn anew.
#pragma once
#include "image.h"

namespace pics {

Image Ball(int k = 1);          // 22k x 23k, grey sphere, magenta outside
Image Earth(int k = 1);         // 500k x 400k
Image GasGiant(int k = 1);      // 640k x 480k
Image RingedPlanet(int k = 1);  // 640k x 480k
Image Preview(const Image& earth, const Image& ball, int k = 1);  // 152k x 112k
Image MarkEmpty(int k = 1);     // 12k x 12k
Image MarkSelected(int k = 1);  // 12k x 12k
Image Icon(int size = 32);      // size x size with alpha
Image HandCursor(int k = 1);    // 32k x 32k, alpha 0 = transparent; hot spot (12k, 10k)
constexpr int kHandHotX = 12, kHandHotY = 10;

Image InstallerSide();  // 164 x 314, the installer's welcome and finish pages

enum class Face { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };
Image ButtonFace(Face f, int k = 1);  // 64k x 25k

}  // namespace pics
