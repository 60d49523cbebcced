// The music player panel the room slides in from the left: its background (a wooden case with
// a name plate, the window of track titles, the slider's groove and the five keys in their
// normal look), the slider's knob and the five keys highlighted. Everything sits where the
// program draws the titles and the knob and tests its clicks.
#pragma once

#include "atlas_font.h"
#include "canvas.h"

#include <array>
#include <cstdint>
#include <string>

constexpr int32_t panelWidth = 140; // it waits at x = -140, out of view
constexpr int32_t panelHeight = 118;

// The keys from left to right, the order of their pictures below.
struct PlayerKey {
    const char* name; // player_button_<name>.png
    int32_t x;        // left edge in the panel
    int32_t width;
};
constexpr int32_t playerKeyY = 102;
constexpr int32_t playerKeyHeight = 13;
constexpr std::array<PlayerKey, 5> playerKeys = {{
    {"play", 0, 13},
    {"previous", 14, 15},
    {"next", 30, 15},
    {"pause", 46, 13},
    {"eject", 60, 13},
}};

// The title list: the program writes six titles with their pens at (10, 20 + 11 i).
constexpr int32_t titleY = 20;
constexpr int32_t titlePitch = 11;
constexpr int32_t titleCount = 6;

// The knob is drawn with its left edge at 0 to 120 on row 93, so its middle runs along the
// groove from x 4 to 124.
constexpr int32_t knobY = 93;
constexpr int32_t knobWidth = 9;
constexpr int32_t knobHeight = 7;
constexpr int32_t grooveLeft = 4;
constexpr int32_t grooveRight = 124;

struct PlayerPictures {
    Canvas background;
    Canvas knob;
    std::array<Canvas, 5> litKeys; // in the order of playerKeys
};

// `symbols` are the keys' symbols as masks, in the order of playerKeys; `plateFont` sets the
// name plate.
PlayerPictures drawPlayerPanel(const std::array<Canvas, 5>& symbols, const AtlasFont& plateFont);
