#include "xwd_image.h"

#include <bit>
#include <fstream>
#include <iterator>

namespace {

uint32_t readBigEndian32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 | uint32_t{bytes[at + 2]} << 8 |
           uint32_t{bytes[at + 3]};
}

uint32_t extract(uint32_t pixel, uint32_t mask) {
    return (pixel & mask) >> std::countr_zero(mask);
}

} // namespace

bool readXwd(const std::string& path, XwdImage& image, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    constexpr size_t fixedHeaderBytes = 100;
    if (bytes.size() < fixedHeaderBytes) {
        error = "too short for a header";
        return false;
    }
    auto field = [&](int index) { return readBigEndian32(bytes, 4 * static_cast<size_t>(index)); };
    const uint32_t headerBytes = field(0), version = field(1), format = field(2);
    const uint32_t width = field(4), height = field(5), byteOrder = field(7);
    const uint32_t bitsPerPixel = field(11), bytesPerLine = field(12);
    const uint32_t redMask = field(14), greenMask = field(15), blueMask = field(16);
    const uint32_t colours = field(19);
    if (version != 7 || format != 2 || redMask == 0 || greenMask == 0 || blueMask == 0) {
        error = "not a version 7 true-colour ZPixmap dump";
        return false;
    }
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) {
        error = "unsupported bits per pixel " + std::to_string(bitsPerPixel);
        return false;
    }
    const uint64_t dataStart = uint64_t{headerBytes} + 12ull * colours;
    if (width == 0 || height == 0 || width > 16384 || height > 16384 ||
        uint64_t{bytesPerLine} < uint64_t{width} * (bitsPerPixel / 8) ||
        dataStart + uint64_t{bytesPerLine} * height > bytes.size()) {
        error = "image data does not fit the file";
        return false;
    }

    image.width = static_cast<int32_t>(width);
    image.height = static_cast<int32_t>(height);
    image.redBits = std::popcount(redMask);
    image.greenBits = std::popcount(greenMask);
    image.blueBits = std::popcount(blueMask);
    image.channels.assign(static_cast<size_t>(width) * height, 0);
    const uint32_t pixelBytes = bitsPerPixel / 8;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = &bytes[dataStart + uint64_t{y} * bytesPerLine + x * pixelBytes];
            uint32_t pixel = 0;
            for (uint32_t b = 0; b < pixelBytes; ++b) {
                uint32_t shift = byteOrder == 0 ? 8 * b : 8 * (pixelBytes - 1 - b);
                pixel |= uint32_t{p[b]} << shift;
            }
            image.channels[size_t{y} * width + x] = extract(pixel, redMask) << 16 |
                                                    extract(pixel, greenMask) << 8 |
                                                    extract(pixel, blueMask);
        }
    }
    return true;
}
