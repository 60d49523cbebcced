// The 16 colours of the home computer the boot screen and the cracktro imitate, by the entry
// numbers the program uses for them. The cracktro's pictures are drawn in these colours only;
// the panels borrow some of them so that the text the program draws on them stands out.
#pragma once

#include <array>
#include <cstdint>

constexpr std::array<uint32_t, 16> homePalette = {
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

enum class HomeColour : uint8_t {
    black = 0,
    white = 1,
    red = 2,
    cyan = 3,
    purple = 4,
    green = 5,
    blue = 6,
    yellow = 7,
    orange = 8,
    brown = 9,
    lightRed = 10,
    darkGrey = 11,
    grey = 12,
    lightGreen = 13,
    lightBlue = 14,
    lightGrey = 15,
};

constexpr uint32_t home(HomeColour colour) {
    return homePalette[static_cast<size_t>(colour)];
}
