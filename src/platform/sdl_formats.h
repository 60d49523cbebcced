// Bits per pixel of an SDL pixel format as the program counts them (32, 24, 16 for 5-6-5,
// 15 for 5-5-5). Shared by the display and the setup dialog.
#pragma once

#include <SDL.h>

#include <cstdint>

inline int32_t depthOfFormat(uint32_t format) {
    switch (SDL_BYTESPERPIXEL(format)) {
    case 4:
        return 32;
    case 3:
        return 24;
    case 2:
        return SDL_BITSPERPIXEL(format) == 15 ? 15 : 16;
    default:
        return 0;
    }
}
