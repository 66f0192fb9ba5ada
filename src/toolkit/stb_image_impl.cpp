// The decoder's one definition. Built without warnings: they would be about
// the library's code, not ours.
#define STB_IMAGE_IMPLEMENTATION
#include "toolkit/stb_image_only.h"
