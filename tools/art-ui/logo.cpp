#include "logo.h"

#include "palette.h"

namespace {

constexpr int32_t cellSize = 3;
constexpr int32_t letterGap = 3;
constexpr int32_t slant = 3;
constexpr int32_t extrusion = 3;
constexpr int32_t margin = 4;

} // namespace

using enum HomeColour;

// deep, dark, mid, light, bright
const std::array<Colouring, 4> logoColourings = {{
    {home(blue), home(purple), home(lightBlue), home(cyan), home(white)},
    {home(brown), home(green), home(green), home(lightGreen), home(white)},
    {home(brown), home(red), home(lightRed), home(yellow), home(white)},
    {home(darkGrey), home(grey), home(grey), home(lightGrey), home(white)},
}};

bool drawLogos(const BlockAlphabet& alphabet, std::array<Canvas, 4>& logos, std::string& error) {
    Canvas mask;
    if (!blockWord(alphabet, "VORTHANE", cellSize, letterGap, 0, slant, mask, error)) {
        return false;
    }
    ToneMap tones = shadeLetters(mask, extrusion);
    // Keep clear of the sides, which the wobble shifts out of the picture.
    if (tones.width > logoWidth - 2 * margin || tones.height > logoMaxHeight - 2 * margin) {
        error = "the logo is " + std::to_string(tones.width) + " x " +
                std::to_string(tones.height) + ", more than fits";
        return false;
    }
    const int32_t left = (logoWidth - tones.width) / 2;
    const int32_t top = (logoMaxHeight - tones.height) / 2;
    const int32_t lean = (mask.height - 1) / slant;
    for (size_t k = 0; k < logos.size(); ++k) {
        logos[k] = Canvas(logoWidth, logoMaxHeight, home(black));
        logos[k].draw(colourTones(tones, logoColourings[k], 0), left, top);
        // A glint on the first letter's upper corner and on the last one's lower corner.
        drawSparkle(logos[k], left + lean, top, 3, home(white));
        drawSparkle(logos[k], left + mask.width - lean, top + mask.height - 1, 3, home(white));
    }
    return true;
}
