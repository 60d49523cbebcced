// The presenting group's logo for the cracktro: "VORTHANE" in shaded block letters, one
// design in the four colourings the cracktro cycles through (blue, green, red, grey).
#pragma once

#include "block_letters.h"
#include "canvas.h"
#include "shading.h"

#include <array>
#include <string>

constexpr int32_t logoWidth = 320;    // the cracktro copies whole rows of the screen's width
constexpr int32_t logoMaxHeight = 60; // its texts start on row 64

// The four colourings, in the order blue, green, red, grey, all in the home computer's palette.
extern const std::array<Colouring, 4> logoColourings;

// In the order of the colourings; every pixel opaque, the background black.
bool drawLogos(const BlockAlphabet& alphabet, std::array<Canvas, 4>& logos, std::string& error);
