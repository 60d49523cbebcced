// The shading of block letters in the manner of a demo group's logo: a chrome face with a
// horizon, a bevel lit from the upper left and a solid extrusion toward the lower right.
// The result is a map of tones that each colouring turns into colours, so that the four
// colourings of the logo are one design pixel for pixel. Used by the logo and the end screen.
#pragma once

#include "canvas.h"

#include <array>
#include <cstdint>
#include <vector>

enum class Tone : uint8_t {
    none, // not part of the letters
    deep, // the extrusion
    dark, // the face's darkest band and its shadowed edge
    mid,
    light,
    bright, // the lit edge and the highlights
};

struct ToneMap {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<Tone> tones; // row-major

    ToneMap() = default;
    ToneMap(int32_t mapWidth, int32_t mapHeight)
        : width(mapWidth), height(mapHeight),
          tones(static_cast<size_t>(mapWidth) * mapHeight, Tone::none) {}
    void set(int32_t x, int32_t y, Tone tone) {
        if (x >= 0 && y >= 0 && x < width && y < height) {
            tones[static_cast<size_t>(y) * width + x] = tone;
        }
    }
};

// Colours for the tones deep, dark, mid, light and bright, in this order.
using Colouring = std::array<uint32_t, 5>;

// Shades the opaque pixels of `mask` (letters whose tops are all on row 0), with an extrusion
// `depth` pixels deep; the map is `depth` pixels wider and taller than the mask.
ToneMap shadeLetters(const Canvas& mask, int32_t depth);

// A four-pointed glint centred on (x, y), `radius` pixels from its centre to each tip.
void drawSparkle(Canvas& canvas, int32_t x, int32_t y, int32_t radius, uint32_t colour);

// The tones in colours; the tone `none` becomes `background`.
Canvas colourTones(const ToneMap& map, const Colouring& colouring, uint32_t background);
