// The closing picture the end screen fades in: "THANKS FOR LISTENING" in the logo's chrome
// block letters over a starry night, a striped sunset and a grid running to the horizon, all
// in the home computer's palette, with the disk's name and a credit line in its own font.
#pragma once

#include "atlas_font.h"
#include "block_letters.h"
#include "canvas.h"

#include <string>

constexpr int32_t endScreenWidth = 320;
constexpr int32_t endScreenHeight = 200;

bool drawEndScreen(const BlockAlphabet& alphabet, const AtlasFont& textFont, Canvas& picture,
                   std::string& error);
