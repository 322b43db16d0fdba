/* stb_image compiled once for the benchmark (JPEG only). */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb_image.h>
