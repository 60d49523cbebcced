#include "player_panel.h"

#include "keys.h"

namespace {

// The window behind the titles: a warm card colour on which both the program's light green
// (the current track) and its brown (the others) read clearly.
constexpr uint32_t cardColour = 0xFF8C7C5A;
constexpr uint32_t cardShadow = 0xFF6E6046;
constexpr uint32_t cardRule = 0xFF7E6E50;
constexpr uint32_t cardLight = 0xFF9E8E6A;

constexpr uint32_t brassOutline = 0xFF3A2A10;
constexpr uint32_t brassDark = 0xFF8A6A2A;
constexpr uint32_t brassBase = 0xFFC8A040;
constexpr uint32_t brassLight = 0xFFF0D070;
constexpr uint32_t plateInk = 0xFF3A2410;

constexpr uint32_t grooveDark = 0xFF120A06;

constexpr int32_t windowLeft = 5;
constexpr int32_t windowRight = 134;
constexpr int32_t windowTop = 16;
constexpr int32_t windowBottom = 88;

// The wooden case: outlined, lit along its top and left, shaded along its bottom and right,
// with rounded corners on the right, where it shows against the room.
void drawCase(Canvas& c) {
    c.fillRect(0, 0, panelWidth, panelHeight, wood.outline);
    c.fillRect(0, 1, panelWidth - 1, panelHeight - 2, wood.dark);
    c.fillRect(0, 1, panelWidth - 2, panelHeight - 3, wood.light);
    c.fillRect(1, 2, panelWidth - 3, panelHeight - 4, wood.base);
    // Round off the right-hand corners.
    const int32_t r = panelWidth - 1;
    const int32_t b = panelHeight - 1;
    for (int32_t d = 0; d < 2; ++d) {
        c.set(r - d, 0, 0);
        c.set(r, d, 0);
        c.set(r - d, b, 0);
        c.set(r, b - d, 0);
    }
    c.set(r - 1, 1, wood.outline);
    c.set(r - 1, b - 1, wood.outline);
}

// A brass plate with the disk's name, screwed on at both ends.
void drawPlate(Canvas& c, const AtlasFont& font) {
    const std::string name = "Crush and Shatter";
    const int32_t w = textWidth(font, name) + 16;
    const int32_t x = (panelWidth - w) / 2;
    const int32_t y = 2;
    const int32_t h = 13;
    c.fillRect(x, y, w, h, brassOutline);
    c.fillRect(x + 1, y + 1, w - 2, h - 2, brassDark);
    c.fillRect(x + 1, y + 1, w - 3, h - 3, brassLight);
    c.fillRect(x + 2, y + 2, w - 4, h - 4, brassBase);
    for (int32_t sx : {x + 3, x + w - 4}) {
        c.set(sx, y + 6, brassOutline);
        c.set(sx, y + 5, brassDark);
    }
    drawText(c, font, name, x + 8, y + 3, plateInk);
}

// The recessed window of track titles, ruled between the rows like the cards of a jukebox.
void drawTitleWindow(Canvas& c) {
    c.fillRect(windowLeft, windowTop, windowRight - windowLeft + 1, windowBottom - windowTop + 1,
               wood.light);
    c.fillRect(windowLeft, windowTop, windowRight - windowLeft, windowBottom - windowTop,
               wood.outline);
    c.fillRect(windowLeft + 1, windowTop + 1, windowRight - windowLeft - 1,
               windowBottom - windowTop - 1, cardColour);
    c.fillRect(windowLeft + 1, windowTop + 1, windowRight - windowLeft - 1, 1, cardShadow);
    c.fillRect(windowLeft + 1, windowTop + 1, 1, windowBottom - windowTop - 1, cardShadow);
    // Each title's glyphs fill rows 0-8 from its pen; the two rows after them rule it off.
    for (int32_t i = 1; i < titleCount; ++i) {
        const int32_t rule = titleY + titlePitch * i - 2;
        c.fillRect(windowLeft + 3, rule, windowRight - windowLeft - 5, 1, cardRule);
        c.fillRect(windowLeft + 3, rule + 1, windowRight - windowLeft - 5, 1, cardLight);
    }
}

// The slot the knob runs in, from the knob's middle at its left end to its middle at its right.
void drawGroove(Canvas& c) {
    const int32_t y = knobY + knobHeight / 2 - 1;
    const int32_t w = grooveRight - grooveLeft + 1;
    c.fillRect(grooveLeft, y, w, 3, grooveDark);
    c.fillRect(grooveLeft, y, w, 1, wood.outline);
    c.fillRect(grooveLeft, y + 3, w, 1, wood.light);
    // Tick marks every tenth of the way, taller at the ends and the middle.
    for (int32_t k = 0; k <= 10; ++k) {
        const int32_t x = grooveLeft + (grooveRight - grooveLeft) * k / 10;
        c.set(x, y - 2, wood.outline);
        if (k % 5 == 0) {
            c.set(x, y - 3, wood.outline);
        }
    }
}

Canvas drawKnob() {
    Canvas knob(knobWidth, knobHeight);
    knob.fillRect(1, 0, knobWidth - 2, knobHeight, brassOutline);
    knob.fillRect(0, 1, knobWidth, knobHeight - 2, brassOutline);
    knob.fillRect(1, 1, knobWidth - 2, knobHeight - 2, brassDark);
    knob.fillRect(1, 1, knobWidth - 3, knobHeight - 3, brassLight);
    knob.fillRect(2, 2, knobWidth - 4, knobHeight - 4, brassBase);
    knob.fillRect(knobWidth / 2, 2, 1, knobHeight - 4, brassOutline); // the pointer's line
    return knob;
}

Canvas drawPlayerKey(const PlayerKey& key, const Canvas& symbol, KeyState state) {
    Canvas c(key.width, playerKeyHeight);
    drawKey(c, 0, 0, key.width, playerKeyHeight, state);
    const int32_t press = state == KeyState::lit ? 1 : 0;
    paintMask(c, symbol, (key.width - symbol.width) / 2 + press,
              (playerKeyHeight - symbol.height) / 2 + press, keyLabelColour(state));
    return c;
}

// A speaker grille to the right of the keys: a recess with slots across it.
void drawGrille(Canvas& c) {
    const PlayerKey& last = playerKeys.back();
    const int32_t left = last.x + last.width + 4;
    const int32_t w = panelWidth - 6 - left;
    const int32_t top = playerKeyY;
    c.fillRect(left, top, w, playerKeyHeight, wood.light);
    c.fillRect(left, top, w - 1, playerKeyHeight - 1, wood.outline);
    c.fillRect(left + 1, top + 1, w - 2, playerKeyHeight - 2, wood.dark);
    for (int32_t y = top + 3; y < top + playerKeyHeight - 2; y += 2) {
        c.fillRect(left + 3, y, w - 6, 1, grooveDark);
    }
}

} // namespace

PlayerPictures drawPlayerPanel(const std::array<Canvas, 5>& symbols, const AtlasFont& plateFont) {
    PlayerPictures pictures;
    Canvas& bg = pictures.background;
    bg = Canvas(panelWidth, panelHeight);
    drawCase(bg);
    drawPlate(bg, plateFont);
    drawTitleWindow(bg);
    drawGroove(bg);
    drawGrille(bg);
    for (size_t k = 0; k < playerKeys.size(); ++k) {
        const PlayerKey& key = playerKeys[k];
        bg.draw(drawPlayerKey(key, symbols[k], KeyState::raised), key.x, playerKeyY);
        pictures.litKeys[k] = drawPlayerKey(key, symbols[k], KeyState::lit);
    }
    pictures.knob = drawKnob();
    return pictures;
}
