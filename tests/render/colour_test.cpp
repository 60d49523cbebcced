#include "render/colour.h"

#include <gtest/gtest.h>

namespace {

uint32_t rgbOf(uint32_t colour) {
    return colour & 0x00FFFFFF;
}

TEST(HueColor, GivesTheExactChannelsOfEveryEdgeCase) {
    struct Case {
        float hue, saturation, lightness, brightness;
        uint32_t expectedRgb;
    };
    const Case cases[] = {
        // Pure colours: lightness 0 at brightness 0.5 puts the gradient at 0.
        {0, 1, 0, 0.5f, 0xFF0000},
        {60, 1, 0, 0.5f, 0xFFFF00},
        {85, 1, 0, 0.5f, 0x94FF00},
        {120, 1, 0, 0.5f, 0x00FF00},
        {190, 1, 0, 0.5f, 0x00D4FF},
        {255, 1, 0, 0.5f, 0x3F00FF},
        {300, 1, 0, 0.5f, 0xFF00FF},
        {359, 1, 0, 0.5f, 0xFF0004},
        {360, 1, 0, 0.5f, 0xFF0000},
        // Halfway from grey 128 to the pure colour, truncated.
        {0, 0.5f, 0, 0.5f, 0xBF4040},
        // The room's lights: t lies just below 0.4 in single precision, so red is 101.
        {190, 1, 0.7f, 0, 0x65E5FF},
        {190, 1, 0.7f, 1, 0xFFFFFF},
        {120, 1, -0.5f, 0.5f, 0x007F00},
        // Lightness at its ends decides alone.
        {45, 0.3f, -1, 0.9f, 0x000000},
        {45, 0.3f, 1, 0.1f, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rgbOf(hueColor(c.hue, c.saturation, c.lightness, c.brightness)), c.expectedRgb)
            << "hue " << c.hue << ", saturation " << c.saturation << ", lightness " << c.lightness
            << ", brightness " << c.brightness;
    }
}

TEST(LerpColor, TruncatesEachChannelTowardZero) {
    struct Case {
        uint32_t a, b;
        float t;
        uint32_t expectedRgb;
    };
    const Case cases[] = {
        {0xFF101010, 0xFF404040, 0.25f, 0x1C1C1C}, {0xFF000000, 0xFFFFFFFF, 0.5f, 0x7F7F7F},
        {0xFF102030, 0xFFA0B0C0, 0, 0x102030},     {0xFF102030, 0xFFA0B0C0, 1, 0xA0B0C0},
        {0xFFFF0000, 0xFF0000FF, 0.5f, 0x7F007F},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rgbOf(lerpColor(c.a, c.b, c.t)), c.expectedRgb)
            << std::hex << c.a << " " << c.b << " at " << c.t;
    }
}

TEST(GradientColor, RunsThroughItsThreeColours) {
    const uint32_t a = 0xFF200000, b = 0x12345678, c = 0xFF0000F0;
    EXPECT_EQ(gradientColor(a, b, c, 0), b) << "the middle colour, alpha included";
    EXPECT_EQ(rgbOf(gradientColor(a, b, c, -1)), rgbOf(a));
    EXPECT_EQ(rgbOf(gradientColor(a, b, c, 1)), rgbOf(c));
    EXPECT_EQ(rgbOf(gradientColor(a, b, c, -0.5f)), rgbOf(lerpColor(a, b, 0.5f)));
    EXPECT_EQ(rgbOf(gradientColor(a, b, c, 0.25f)), rgbOf(lerpColor(b, c, 0.25f)));
}

} // namespace
