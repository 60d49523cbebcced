// The verb bar of old-school mode: its background, a dark strip along the bottom of the screen
// whose right part stays plain for the sentence line, and a normal and a highlighted key for
// each of the eight verbs, labelled in the program's own small font.
#pragma once

#include "atlas_font.h"
#include "canvas.h"

#include <array>
#include <cstdint>

// The program draws the bar at (0, 168) and centres the sentence line on x 275 from y 170.
constexpr int32_t barWidth = 320;
constexpr int32_t barHeight = 32;
constexpr int32_t sentenceLeft = 232; // from here to the right edge the bar stays plain

struct Verb {
    const char* name;    // commands_off_<name>.png, commands_on_<name>.png
    const char* label;   // what the key says, as the sentence line names the verb
    int32_t columnWidth; // from its column's x to the next column's (or to the plain part)
};

// In the program's verb order: four columns of two, at x 0, 48, 112 and 182, the keys' top rows
// at y 170 and 185.
constexpr std::array<Verb, 8> verbs = {{
    {"walk", "Walk to", 48},
    {"open", "Open", 48},
    {"lookat", "Look at", 64},
    {"talkto", "Talk to", 64},
    {"pickup", "Pick up", 70},
    {"giveit", "Give", 70},
    {"close", "Close", 50},
    {"use", "Use", 50},
}};

constexpr int32_t verbKeyHeight = 14; // the most a key may be

struct VerbBarPictures {
    Canvas background;
    std::array<Canvas, 8> keysOff; // in the order of verbs
    std::array<Canvas, 8> keysOn;
};

VerbBarPictures drawVerbBar(const AtlasFont& labelFont);
