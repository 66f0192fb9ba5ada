// The picture decoder the program links in: stb_image, a well-kept single-file
// library, limited to the two formats the program stores and to memory input.
#pragma once
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>
