// The room's cone tint of one pixel worked out the slow way, with hueColor for that pixel:
// the reference that the room's per-lamp tables must match byte for byte (tests) and beat
// (benchmarks). Pure; any thread.
#pragma once

#include "render/colour.h"

#include <algorithm>
#include <cstdint>

// The brightness from the pixel's largest colour byte, hueColor at saturation 1 and lightness
// 0.7, then each colour byte 30 % of the way there (single-precision 0.3, truncated).
inline uint32_t tintWithHueColor(uint32_t pixel, float hue) {
    const uint32_t m = std::max({pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF});
    const float brightness = static_cast<float>(m / 255.0);
    const uint32_t q = hueColor(hue, 1.0f, 0.7f, brightness);
    uint32_t out = pixel & 0xFF000000u;
    for (int32_t shift : {16, 8, 0}) {
        const double from = pixel >> shift & 0xFF, to = q >> shift & 0xFF;
        out |= static_cast<uint32_t>(from + (to - from) * static_cast<double>(0.3f)) << shift;
    }
    return out;
}
