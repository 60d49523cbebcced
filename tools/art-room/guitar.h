// The electric guitar, drawn at any angle so that the prop on its stand, the pick-up and the
// rock-out all show the same instrument. Used by the room and actor generators.
#pragma once

#include "paint.h"

// Draws the guitar with its body's centre at `centre` and its neck pointing `degrees` away
// from straight up (positive leans the neck to the right), outlined, over what is there.
void drawGuitar(Canvas& canvas, Point centre, float degrees);

// The guitar prop's picture: where in it the body's centre lies and how far the guitar leans
// on its stand. The pick-up starts from exactly this picture.
constexpr int32_t guitarPropWidth = 20;
constexpr int32_t guitarPropHeight = 37;
constexpr Point guitarPropCentre{9.0f, 29.0f};
constexpr float guitarPropLean = 9.0f;
