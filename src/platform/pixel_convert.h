// Conversion of the window buffer (0xAARRGGBB words) into the display's pixel memory, at
// 32, 24, 16 (5-6-5) or 15 (5-5-5) bits per pixel. Low bits are cut off, never rounded.
// Used by presentFrame; pure and allocation-free.
#pragma once

#include <cstdint>

// Bytes of one display pixel: 4, 3, 2, 2 for depths 32, 24, 16, 15.
inline int32_t bytesPerPixel(int32_t pixelDepth) {
    return (pixelDepth + 1) / 8;
}

// Writes height rows of width pixels each into destination, rows pitchBytes apart. The bytes
// between a row's last pixel and the next row (the row gap) are never written. Any depth other
// than 32, 24, 16 and 15 writes nothing.
void convertPixels(const uint32_t* source, int32_t width, int32_t height, int32_t pixelDepth,
                   uint8_t* destination, int32_t pitchBytes);
