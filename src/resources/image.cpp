#include "resources/image.h"

// stb_image is compiled here, with only its PNG decoder (every picture is a PNG, and the other
// decoders of this version have known memory-safety faults) and a limit of 8192 pixels on a
// side, which also bounds a decoded picture to 256 MiB. Its functions stay private to this file.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS 8192
#include <stb_image.h>

bool loadImage(PackArchive& archive, Image& image, const char* name) {
    ByteBuffer file;
    if (!loadByName(archive, name, file)) {
        return false;
    }
    image = Image();
    int width = 0;
    int height = 0;
    int fileChannels = 0;
    stbi_uc* decoded = stbi_load_from_memory(file.data.get(), file.lengthBytes, &width, &height,
                                             &fileChannels, 4);
    if (decoded == nullptr) {
        return false;
    }

    // The decoder gives the bytes R, G, B, A; the frame's word is 0xAARRGGBB.
    size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
    image.pixels = std::make_unique_for_overwrite<uint32_t[]>(pixelCount);
    for (size_t i = 0; i < pixelCount; ++i) {
        const stbi_uc* rgba = decoded + 4 * i;
        image.pixels[i] = static_cast<uint32_t>(rgba[3]) << 24 |
                          static_cast<uint32_t>(rgba[0]) << 16 |
                          static_cast<uint32_t>(rgba[1]) << 8 | rgba[2];
    }
    image.width = width;
    image.height = height;
    stbi_image_free(decoded);
    return true;
}
