#include "platform/pixel_convert.h"

#include <cstring>

namespace {

uint16_t to565(uint32_t pixel) {
    uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

uint16_t to555(uint32_t pixel) {
    uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
}

// Packs a row in chunks through an aligned buffer, so that the packing loop vectorises
// whatever the alignment of the display memory.
template <uint16_t (*pack)(uint32_t)>
void convertRow16(const uint32_t* source, int32_t width, uint8_t* row) {
    constexpr int32_t chunk = 256;
    uint16_t packed[chunk];
    for (int32_t start = 0; start < width; start += chunk) {
        int32_t n = width - start < chunk ? width - start : chunk;
        for (int32_t x = 0; x < n; ++x) {
            packed[x] = pack(source[start + x]);
        }
        std::memcpy(row + 2 * static_cast<size_t>(start), packed, 2 * static_cast<size_t>(n));
    }
}

void convertRow24(const uint32_t* source, int32_t width, uint8_t* row) {
    for (int32_t x = 0; x < width; ++x) {
        uint32_t pixel = source[x];
        row[3 * x + 0] = static_cast<uint8_t>(pixel);
        row[3 * x + 1] = static_cast<uint8_t>(pixel >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(pixel >> 16);
    }
}

} // namespace

void convertPixels(const uint32_t* source, int32_t width, int32_t height, int32_t pixelDepth,
                   uint8_t* destination, int32_t pitchBytes) {
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* sourceRow = source + static_cast<size_t>(y) * width;
        uint8_t* row = destination + static_cast<size_t>(y) * pitchBytes;
        switch (pixelDepth) {
        case 32:
            std::memcpy(row, sourceRow, sizeof(uint32_t) * static_cast<size_t>(width));
            break;
        case 24:
            convertRow24(sourceRow, width, row);
            break;
        case 16:
            convertRow16<to565>(sourceRow, width, row);
            break;
        case 15:
            convertRow16<to555>(sourceRow, width, row);
            break;
        default:
            return;
        }
    }
}
