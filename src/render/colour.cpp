#include "render/colour.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr uint32_t black = 0xFF000000;
constexpr uint32_t white = 0xFFFFFFFF;
constexpr uint32_t grey = 0xFF808080;

// The low 8 bits of a value truncated toward zero. Values beyond the 32-bit range and NaN,
// which no caller produces, give 0 instead of an undefined conversion.
uint32_t truncatedLowByte(double value) {
    if (!(std::fabs(value) < 2147483648.0)) {
        return 0;
    }
    return static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFF;
}

uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

} // namespace

uint32_t lerpColor(uint32_t a, uint32_t b, float t) {
    const double to = t;
    const double from = 1.0 - to;
    uint32_t result = 0xFF000000u;
    for (int shift : {16, 8, 0}) {
        double x = static_cast<double>((a >> shift) & 0xFF);
        double y = static_cast<double>((b >> shift) & 0xFF);
        result |= truncatedLowByte(y * to + x * from) << shift;
    }
    return result;
}

uint32_t gradientColor(uint32_t a, uint32_t b, uint32_t c, float t) {
    if (t < 0.0f) {
        const float fromA = t + 1.0f;
        return lerpColor(a, b, fromA);
    }
    if (t == 0.0f) {
        return b;
    }
    return lerpColor(b, c, t);
}

uint32_t hueColor(float hue, float saturation, float lightness, float brightness) {
    // The pure colour: h runs 0 to 6 around the colour wheel, and X is the rising or falling
    // channel within each sixth.
    const float h = hue / 60.0f;
    const float f = std::fmod(h, 2.0f);
    const float d = std::fabs(f - 1.0f);
    const float rising = (1.0f - d) * 255.0f;
    const uint32_t x = truncatedLowByte(rising);
    uint32_t pure;
    if (h >= 0.0f && h < 1.0f) {
        pure = rgb(255, x, 0);
    } else if (h >= 1.0f && h < 2.0f) {
        pure = rgb(x, 255, 0);
    } else if (h >= 2.0f && h < 3.0f) {
        pure = rgb(0, 255, x);
    } else if (h >= 3.0f && h < 4.0f) {
        pure = rgb(0, x, 255);
    } else if (h >= 4.0f && h < 5.0f) {
        pure = rgb(x, 0, 255);
    } else {
        pure = rgb(255, 0, x);
    }
    const uint32_t saturated = lerpColor(grey, pure, saturation);

    if (lightness <= -1.0f) {
        return black;
    }
    if (lightness >= 1.0f) {
        return white;
    }
    // The position on the black - colour - white gradient.
    float t;
    if (lightness >= 0.0f) {
        const float towardWhite = 2.0f * (1.0f - lightness);
        t = towardWhite * (brightness - 1.0f) + 1.0f;
    } else {
        const float towardBlack = 2.0f * (lightness + 1.0f);
        t = towardBlack * brightness - 1.0f;
    }
    return gradientColor(black, saturated, white, t);
}
