// The fixed 16-colour palette of the 8-bit home computer that the screens imitate, and the
// colour functions of the room's light effects: mixing two colours, a three-colour gradient
// and a colour from hue, saturation, lightness and brightness. Pure functions on 0xAARRGGBB
// pixels; every result has alpha 255. Used by the screens' render, main thread.
#pragma once

#include <cstdint>

// Referred to by entry number throughout the screens.
inline constexpr uint32_t c64Palette[16] = {
    0xFF000000, // 0 black
    0xFFFFFFFF, // 1 white
    0xFF68372B, // 2 red
    0xFF70A4B2, // 3 cyan
    0xFF6F3D86, // 4 purple
    0xFF588D43, // 5 green
    0xFF352879, // 6 blue
    0xFFB8C76F, // 7 yellow
    0xFF6F4F25, // 8 orange
    0xFF433900, // 9 brown
    0xFF9A6759, // 10 light red
    0xFF444444, // 11 dark grey
    0xFF6C6C6C, // 12 grey
    0xFF9AD284, // 13 light green
    0xFF6C5EB5, // 14 light blue
    0xFF959595, // 15 light grey
};

// Mixes a (t = 0) and b (t = 1): each of red, green and blue is y * t + x * (1 - t) in double
// precision, truncated toward zero (no rounding: black and white at 0.5 give 127).
uint32_t lerpColor(uint32_t a, uint32_t b, float t);

// Runs from a (t = -1) through b (t = 0, returned unchanged in all four bytes) to c (t = 1).
uint32_t gradientColor(uint32_t a, uint32_t b, uint32_t c, float t);

// The colour of a hue in degrees (0 to below 360) at a saturation (0 grey, 1 pure), mixed
// toward black or white by lightness (-1 black, 0 the colour, 1 white) and brightness (0.5
// neutral; higher pulls toward white, lower toward black). Every step is single precision.
uint32_t hueColor(float hue, float saturation, float lightness, float brightness);
