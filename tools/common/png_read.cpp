#include "canvas.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>

bool readPng(const std::string& path, Canvas& canvas, std::string& error) {
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* rgba = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (rgba == nullptr) {
        error = path + ": " + stbi_failure_reason();
        return false;
    }
    canvas = Canvas(width, height);
    for (size_t i = 0; i < canvas.pixels.size(); ++i) {
        const unsigned char* p = rgba + 4 * i;
        canvas.pixels[i] = static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                           static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
    stbi_image_free(rgba);
    return true;
}
