// The electric guitar, drawn at any angle so that the prop on its stand, the pick-up and the
// rock-out all show the same instrument. Used by the room and actor generators.
#pragma once

#include "paint.h"

// Draws the guitar with its body's centre at `centre` and its neck pointing `degrees` away
// from straight up (positive leans the neck to the right), outlined, over what is there.
void drawGuitar(Canvas& canvas, Point centre, float degrees);

// How far below the body's centre the bottom of the guitar lies, in pixels along the neck.
constexpr float guitarBottomBelowCentre = 7.0f;
