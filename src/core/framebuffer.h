// The 320x200 frame that every screen draws into, 32-bit pixels 0xAARRGGBB, row-major.
// The main loop clears it before each render and enlarges it into the window buffer.
#pragma once

#include <cstdint>

constexpr int32_t frameWidth = 320;
constexpr int32_t frameHeight = 200;

struct Framebuffer {
    uint32_t pixels[frameWidth * frameHeight]; // pixel (x, y) at y * 320 + x

    uint32_t& at(int32_t x, int32_t y) { return pixels[y * frameWidth + x]; }
    uint32_t at(int32_t x, int32_t y) const { return pixels[y * frameWidth + x]; }
};
