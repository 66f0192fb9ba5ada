// The picture encoder of the generator: stb_image_write, PNG and JPEG to memory.
#pragma once
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
