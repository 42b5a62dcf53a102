// The one translation unit that compiles stb_image_write's implementation
// from the system's header.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
