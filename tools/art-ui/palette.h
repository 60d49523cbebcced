// The 16 colours of the home computer the boot screen and the cracktro imitate, by name: the
// program's own palette, so that pictures and program agree on every entry. The cracktro's
// pictures are drawn in these colours only; the panels borrow some of them so that the text
// the program draws on them stands out.
#pragma once

#include "render/colour.h"

#include <cstddef>
#include <cstdint>

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
    return c64Palette[static_cast<size_t>(colour)];
}
