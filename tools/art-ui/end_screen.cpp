#include "end_screen.h"

#include "logo.h"
#include "palette.h"
#include "shading.h"

#include <cstdlib>

namespace {

using enum HomeColour;

constexpr int32_t horizonY = 150;
constexpr int32_t vanishX = endScreenWidth / 2;

// Stars at fixed places: a small generator with a fixed seed scatters them the same way on
// every build, dimmer ones more often than bright ones.
void drawStars(Canvas& c) {
    uint32_t state = 20140420;
    auto next = [&state](uint32_t range) {
        state = state * 214013u + 2531011u;
        return ((state >> 16) & 0x7FFF) % range;
    };
    const HomeColour shades[] = {darkGrey, darkGrey, grey, grey, lightGrey, white};
    for (int32_t k = 0; k < 140; ++k) {
        const auto x = static_cast<int32_t>(next(endScreenWidth));
        const auto y = static_cast<int32_t>(next(horizonY - 4));
        c.set(x, y, home(shades[next(6)]));
    }
    const int32_t glints[][2] = {{22, 18}, {291, 40}, {64, 124}, {268, 112}};
    for (const auto& g : glints) {
        drawSparkle(c, g[0], g[1], 2, home(white));
    }
}

// A sun sinking on the horizon, in bands from yellow to red, cut by dark stripes that widen
// toward the horizon.
void drawSun(Canvas& c) {
    const int32_t radius = 42;
    const int32_t cx = vanishX;
    const int32_t cy = horizonY;
    const HomeColour bands[] = {yellow, yellow, lightRed, lightRed, red};
    for (int32_t y = cy - radius; y < cy; ++y) {
        const int32_t fromTop = y - (cy - radius);
        // Stripes in the lower half: every 6 rows a gap, one row wider each time.
        const int32_t lower = fromTop - radius / 2;
        if (lower >= 0 && lower % 6 < 1 + lower / 6) {
            continue;
        }
        const HomeColour band = bands[fromTop * 5 / radius];
        for (int32_t x = cx - radius; x <= cx + radius; ++x) {
            const int32_t dx = x - cx;
            const int32_t dy = y - cy;
            if (dx * dx + dy * dy <= radius * radius) {
                c.set(x, y, home(band));
            }
        }
    }
}

// A one-pixel line through pixel centres, endpoints included.
void drawLine(Canvas& c, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
    const int32_t dx = std::abs(x1 - x0);
    const int32_t dy = -std::abs(y1 - y0);
    const int32_t sx = x0 < x1 ? 1 : -1;
    const int32_t sy = y0 < y1 ? 1 : -1;
    int32_t error = dx + dy;
    while (true) {
        c.set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) {
            return;
        }
        const int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

// The ground: a grid in perspective, its lines running to the sun's foot, its crossings closer
// together toward the horizon.
void drawGrid(Canvas& c) {
    c.fillRect(0, horizonY, endScreenWidth, endScreenHeight - horizonY, home(blue));
    for (int32_t k = -12; k <= 12; ++k) {
        drawLine(c, vanishX + 6 * k, horizonY, vanishX + 48 * k, endScreenHeight - 1, home(purple));
    }
    for (int32_t row = 1; row < 9; ++row) {
        const int32_t y = horizonY + (endScreenHeight - horizonY) * row * row / 64;
        c.fillRect(0, y, endScreenWidth, 1, home(purple));
    }
    c.fillRect(0, horizonY, endScreenWidth, 1, home(lightBlue));
}

bool drawWord(Canvas& c, const BlockAlphabet& alphabet, const std::string& word, int32_t cell,
              int32_t depth, int32_t y, const Colouring& colouring, std::string& error) {
    Canvas mask;
    if (!blockWord(alphabet, word, cell, cell, 3, 3, mask, error)) {
        return false;
    }
    const ToneMap tones = shadeLetters(mask, depth);
    c.draw(colourTones(tones, colouring, 0), (endScreenWidth - tones.width) / 2, y);
    return true;
}

// A line of text centred on the screen, with a black shadow to its lower right.
void drawCentred(Canvas& c, const AtlasFont& font, const std::string& text, int32_t y,
                 uint32_t colour) {
    const int32_t x = (endScreenWidth - textWidth(font, text)) / 2;
    drawText(c, font, text, x + 1, y + 1, home(black));
    drawText(c, font, text, x, y, colour);
}

} // namespace

bool drawEndScreen(const BlockAlphabet& alphabet, const AtlasFont& textFont, Canvas& picture,
                   std::string& error) {
    picture = Canvas(endScreenWidth, endScreenHeight, home(black));
    drawStars(picture);
    drawSun(picture);
    drawGrid(picture);
    const Colouring& blueChrome = logoColourings[0];
    const Colouring& redChrome = logoColourings[2];
    if (!drawWord(picture, alphabet, "THANKS", 3, 3, 26, blueChrome, error) ||
        !drawWord(picture, alphabet, "FOR LISTENING", 2, 2, 82, redChrome, error)) {
        return false;
    }
    drawCentred(picture, textFont, "CRUSH AND SHATTER", 8, home(lightBlue));
    drawCentred(picture, textFont, "A VORTHANE RELEASE", 188, home(lightGreen));
    return true;
}
