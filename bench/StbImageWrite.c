/* stb_image_write compiled once for the encoder benchmark (JPEG is the part used). */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
