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

#include <algorithm>

namespace {

constexpr int64_t maxImageSide = STBI_MAX_DIMENSIONS;

uint32_t readBe32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
}

// Whether every chunk up to the end chunk lies within the file. The decoder reserves room for
// a data chunk's declared length before it reads the chunk, so a few bytes declaring a huge
// chunk would otherwise cost gigabytes.
bool chunksLieWithin(const uint8_t* file, int32_t lengthBytes) {
    constexpr int64_t chunkFrameBytes = 12; // length, type and checksum around the data
    for (int64_t at = 8; at + chunkFrameBytes <= lengthBytes;) {
        const int64_t dataBytes = readBe32(file + at);
        if (dataBytes > lengthBytes - at - chunkFrameBytes) {
            return false;
        }
        if (std::equal(file + at + 4, file + at + 8, "IEND")) {
            return true;
        }
        at += chunkFrameBytes + dataBytes;
    }
    return false;
}

// Whether the file is a PNG that the decoder can take on without allocating far beyond the
// file's size: it starts with its header chunk, its chunks lie within the file, and its pixel
// data could come out of a file this long. Deflate yields at most 1,032 bytes per byte, and
// the decoder allocates the whole unpacked size before inflating, so a few bytes declaring a
// large picture would otherwise cost hundreds of megabytes.
bool pngFitsItsFile(const uint8_t* file, int32_t lengthBytes) {
    static constexpr uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    constexpr int32_t headerEnd = 8 + 8 + 13; // signature, chunk length and type, IHDR data
    if (lengthBytes < headerEnd || !std::equal(signature, signature + 8, file) ||
        !std::equal(file + 12, file + 16, "IHDR")) {
        return false;
    }
    const int64_t width = readBe32(file + 16);
    const int64_t height = readBe32(file + 20);
    const int64_t bitsPerSample = file[24];
    if (width > maxImageSide || height > maxImageSide || bitsPerSample > 16) {
        return false;
    }
    int64_t samplesPerPixel = 0;
    switch (file[25]) {
    case 0: // grey
    case 3: // palette indices
        samplesPerPixel = 1;
        break;
    case 4: // grey and alpha
        samplesPerPixel = 2;
        break;
    case 2: // RGB
        samplesPerPixel = 3;
        break;
    case 6: // RGBA
        samplesPerPixel = 4;
        break;
    default:
        return false;
    }
    // Each row: a filter byte, then its samples.
    const int64_t unpackedBytes = height * (1 + (width * samplesPerPixel * bitsPerSample + 7) / 8);
    return unpackedBytes <= maxInflateRatio * lengthBytes && chunksLieWithin(file, lengthBytes);
}

} // namespace

bool loadImage(PackArchive& archive, Image& image, const char* name) {
    ByteBuffer file;
    if (!loadByName(archive, name, file)) {
        return false;
    }
    image = Image();
    if (!pngFitsItsFile(file.data.get(), file.lengthBytes)) {
        return false;
    }
    int width = 0;
    int height = 0;
    int fileChannels = 0;
    stbi_uc* decoded =
        stbi_load_from_memory(file.data.get(), file.lengthBytes, &width, &height, &fileChannels, 4);
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
