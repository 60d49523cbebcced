#include "platform/pixel_convert.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

uint16_t read16(const uint8_t* bytes) {
    uint16_t value;
    std::memcpy(&value, bytes, 2);
    return value;
}

TEST(PixelConvert, SixteenAndFifteenBitsCutTheLowBits) {
    struct Case {
        uint32_t pixel;
        uint16_t rgb565;
        uint16_t rgb555;
    };
    const Case cases[] = {
        {0xFFFFFFFF, 0xFFFF, 0x7FFF}, // white; bit 15 stays clear at 15 bits
        {0xFF808080, 0x8410, 0x4210},
        {0xFF000000, 0x0000, 0x0000},
        {0x00FF0000, 0xF800, 0x7C00}, // the alpha byte plays no part
        {0xFF00FF00, 0x07E0, 0x03E0},
        {0xFF0000FF, 0x001F, 0x001F},
        {0xFF070307, 0x0000, 0x0000}, // below one step of each channel truncates to 0
        {0xFF08040B, 0x0821, 0x0401},
    };
    for (const Case& c : cases) {
        uint8_t out[2];
        convertPixels(&c.pixel, 1, 1, 16, out, 2);
        EXPECT_EQ(read16(out), c.rgb565) << std::hex << c.pixel;
        convertPixels(&c.pixel, 1, 1, 15, out, 2);
        EXPECT_EQ(read16(out), c.rgb555) << std::hex << c.pixel;
    }
}

TEST(PixelConvert, TwentyFourBitsWriteBlueGreenRed) {
    uint32_t pixel = 0x11223344;
    uint8_t out[3] = {};
    convertPixels(&pixel, 1, 1, 24, out, 3);
    EXPECT_EQ(out[0], 0x44);
    EXPECT_EQ(out[1], 0x33);
    EXPECT_EQ(out[2], 0x22);
}

TEST(PixelConvert, ThirtyTwoBitsKeepTheValue) {
    const uint32_t pixels[2] = {0x11223344, 0xFFFEFDFC};
    uint32_t out[2] = {};
    convertPixels(pixels, 2, 1, 32, reinterpret_cast<uint8_t*>(out), 8);
    EXPECT_EQ(out[0], 0x11223344u);
    EXPECT_EQ(out[1], 0xFFFEFDFCu);
}

TEST(PixelConvert, TheRowGapIsNeverWrittenAndTheSourceHasNoGaps) {
    const int32_t width = 5, height = 3;
    std::vector<uint32_t> source(width * height);
    for (int32_t i = 0; i < width * height; ++i) {
        source[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x0A0B0C);
    }
    for (int32_t depth : {32, 24, 16, 15}) {
        const int32_t bpp = bytesPerPixel(depth);
        const int32_t pitch = width * bpp + 7;
        std::vector<uint8_t> surface(static_cast<size_t>(pitch) * height, 0xAB);
        convertPixels(source.data(), width, height, depth, surface.data(), pitch);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t gap = width * bpp; gap < pitch; ++gap) {
                EXPECT_EQ(surface[y * pitch + gap], 0xAB) << "depth " << depth << " row " << y;
            }
            // The row's first pixel comes from the source row y, read without a gap.
            std::vector<uint8_t> expected(bpp);
            convertPixels(&source[y * width], 1, 1, depth, expected.data(), bpp);
            EXPECT_EQ(std::memcmp(&surface[y * pitch], expected.data(), bpp), 0)
                << "depth " << depth << " row " << y;
        }
    }
}

TEST(PixelConvert, UnknownDepthWritesNothing) {
    uint32_t pixel = 0xFFFFFFFF;
    uint8_t out[4] = {1, 2, 3, 4};
    convertPixels(&pixel, 1, 1, 8, out, 4);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[3], 4);
}

TEST(PixelConvert, BytesPerPixelOfEachDepth) {
    EXPECT_EQ(bytesPerPixel(32), 4);
    EXPECT_EQ(bytesPerPixel(24), 3);
    EXPECT_EQ(bytesPerPixel(16), 2);
    EXPECT_EQ(bytesPerPixel(15), 2);
}

} // namespace
