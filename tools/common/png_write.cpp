#include "canvas.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <cstdio>
#include <fstream>

namespace {

void appendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

} // namespace

bool encodePng(const uint8_t* pixels, int32_t width, int32_t height, int32_t channels,
               std::vector<uint8_t>& png) {
    png.clear();
    stbi_write_png_compression_level = 9;
    return stbi_write_png_to_func(appendBytes, &png, width, height, channels, pixels,
                                  width * channels) != 0;
}

bool writePng(const std::string& path, const Canvas& canvas) {
    std::vector<uint8_t> rgba(canvas.pixels.size() * 4);
    for (size_t i = 0; i < canvas.pixels.size(); ++i) {
        uint32_t p = canvas.pixels[i];
        rgba[4 * i + 0] = static_cast<uint8_t>(p >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(p >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(p);
        rgba[4 * i + 3] = static_cast<uint8_t>(p >> 24);
    }
    std::vector<uint8_t> png;
    if (!encodePng(rgba.data(), canvas.width, canvas.height, 4, png)) {
        std::fprintf(stderr, "%s: cannot encode the picture\n", path.c_str());
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!file) {
        std::fprintf(stderr, "%s: cannot write\n", path.c_str());
        return false;
    }
    return true;
}
