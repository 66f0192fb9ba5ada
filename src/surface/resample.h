// Pictures made larger or smaller once, when the saver starts on a scaled
// screen: area averaging, so nothing is lost or aliased.
#pragma once
#include <cstdint>

#include "toolkit/picture_codec.h"

namespace dovra {

// Every output pixel is the average of the source area it covers.
RgbPicture ResampleArea(const RgbPicture& src, int32_t width, int32_t height);

// The same for a sprite whose magenta pixels are see-through: an output pixel
// is magenta when less than half the area it covers is sprite, otherwise the
// average of the sprite pixels alone. So no magenta bleeds into the edge and
// no pixel is half magenta: painting with magenta left out stays exact.
RgbPicture ResampleSprite(const RgbPicture& src, int32_t width, int32_t height);

}  // namespace dovra
