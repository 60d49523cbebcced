#include "keys.h"

namespace {

struct KeyColours {
    uint32_t rim;
    uint32_t topLeft; // the bevel where the light from the upper left falls
    uint32_t face;
    uint32_t bottomRight;
    uint32_t label;
};

constexpr KeyColours raisedKey = {0xFF1E1610, 0xFFE0D4B2, 0xFFBCAE8A, 0xFF8A7C5C, 0xFF2E2216};
// Pressed in, the bevel turns round: shadow at the top and left, the lip lit below.
constexpr KeyColours litKey = {0xFF1E1610, 0xFF14200F, 0xFF2C4424, 0xFF4E6A40, 0xFF9AD284};

const KeyColours& coloursOf(KeyState state) {
    return state == KeyState::lit ? litKey : raisedKey;
}

} // namespace

uint32_t keyLabelColour(KeyState state) {
    return coloursOf(state).label;
}

void drawKey(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, KeyState state) {
    const KeyColours& c = coloursOf(state);
    canvas.fillRect(x + 1, y, w - 2, h, c.rim);
    canvas.fillRect(x, y + 1, w, h - 2, c.rim);
    canvas.fillRect(x + 1, y + 1, w - 2, h - 2, c.bottomRight);
    canvas.fillRect(x + 1, y + 1, w - 3, h - 3, c.topLeft);
    canvas.fillRect(x + 2, y + 2, w - 4, h - 4, c.face);
}

void paintMask(Canvas& canvas, const Canvas& mask, int32_t x, int32_t y, uint32_t colour) {
    for (int32_t row = 0; row < mask.height; ++row) {
        for (int32_t column = 0; column < mask.width; ++column) {
            if ((mask.at(column, row) >> 24) != 0) {
                canvas.set(x + column, y + row, colour);
            }
        }
    }
}
