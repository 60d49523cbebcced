// The look the two panels share: their wood, and the keys of the player panel and the verb bar
// in their two states, a raised metal key with a dark label and the same key pressed in with
// its label lit. Used by the player panel and the verb bar generators.
#pragma once

#include "canvas.h"

#include <cstdint>

// The room's wood, from its outline to its lit edge, so that the panels belong to the room.
struct WoodRamp {
    uint32_t outline = 0xFF24140C;
    uint32_t dark = 0xFF4A2C1A;
    uint32_t base = 0xFF6B4226;
    uint32_t light = 0xFF8E5C34;
};
constexpr WoodRamp wood;

enum class KeyState {
    raised, // normal
    lit,    // highlighted: pressed in, with its label glowing
};

// The colour a key's label or symbol is painted in.
uint32_t keyLabelColour(KeyState state);

// A key of w x h pixels with its top-left corner at (x, y): a dark rim with cut corners, a
// bevelled face. The label goes on the face, inside one pixel of rim and one of bevel.
void drawKey(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, KeyState state);

// Paints the opaque pixels of `mask` in `colour`, with its top-left corner at (x, y).
void paintMask(Canvas& canvas, const Canvas& mask, int32_t x, int32_t y, uint32_t colour);
