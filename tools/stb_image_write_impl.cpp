// The encoder's one definition, built without warnings about the library's code.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write_only.h"
