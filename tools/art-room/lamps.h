// The ten ceiling lamps share one set of pictures: a hanging fixture in five swing positions
// (a and e the extremes, c straight down), unlit and lit, and the mask of the light cone for
// each position. The fixture's shade is pure white so that the program can tint it.
#pragma once

#include "canvas.h"

constexpr int lampPositions = 5;

Canvas drawLampFixture(int position, bool lit);
Canvas drawLightCone(int position);
