// Where things stand in the room, in room pixels (x to the right, y down, 640 x 200). The
// program places props, animations and lamps at fixed points; the pictures are drawn to fit
// them. Shared by the room, lamp and actor generators.
#pragma once

#include <array>
#include <cstdint>

constexpr int32_t roomWidth = 640;
constexpr int32_t roomHeight = 200;

// The back wall meets the ground floor on this row; the floorboards start below it.
constexpr int32_t wallBaseY = 140;
// Rows and columns a foot can stand on, ends included. The ground floor keeps clear of the
// verb bar's rows (168 on).
constexpr int32_t groundTopY = 142;
constexpr int32_t groundBottomY = 165;
constexpr int32_t groundLeftX = 14;
constexpr int32_t groundRightX = 617;

// The gallery: a raised floor along the back wall of the right half. Its deck is seen from
// above between deckBackY and deckFrontY, then its front lip and boarded face run down to the
// ground floor.
constexpr int32_t galleryLeftX = 272;
constexpr int32_t deckBackY = 106;
constexpr int32_t deckFrontY = 123;
constexpr int32_t lipBottomY = 127;
constexpr int32_t galleryTopY = 108; // walkable rows on the deck
constexpr int32_t galleryBottomY = 122;
constexpr int32_t galleryWalkLeftX = 276;
constexpr int32_t galleryWalkRightX = 617;

// A timber post at each end of the ground floor's plaster wall; the right one also ends the
// gallery's left side.
constexpr int32_t postWidth = 8;
constexpr int32_t leftPostX = 0;
constexpr int32_t midPostX = 264;

// The stairs: four treads between the ground (foot at 214, 160) and the deck (top at 280, 120).
constexpr int32_t stairsX = 214; // the stairs prop and climb frames are drawn here
constexpr int32_t stairsY = 66;
constexpr int32_t stairsWidth = 80;
constexpr int32_t stairsHeight = 102;
constexpr int32_t treadCount = 4;
constexpr int32_t treadFirstX = 221; // tread k (0-3) spans treadFirstX + 13k .. + 12
constexpr int32_t treadRun = 13;
constexpr int32_t treadFirstTopY = 152; // tread k's top surface is on row 152 - 8k
constexpr int32_t treadRise = 8;
constexpr int32_t stairsFootX = 214;
constexpr int32_t stairsFootY = 160;
constexpr int32_t stairsTopX = 280;
constexpr int32_t stairsTopY = 120;

// The guitar waits on its stand (drawn in the background) until it is picked up.
constexpr int32_t guitarX = 514;
constexpr int32_t guitarY = 79;
constexpr int32_t guitarSpotX = 500;
constexpr int32_t guitarSpotY = 114;

// Top-left corners of the scripted animations and the walking actor's foot pixel.
constexpr int32_t walkFootPixelX = 10;
constexpr int32_t walkFootPixelY = 55;
constexpr int32_t pickupX = 496;
constexpr int32_t pickupY = 60;
constexpr int32_t rockoutX = 498;
constexpr int32_t rockoutY = 60;
constexpr int32_t pantsOffX = 499;
constexpr int32_t pantsOffY = 68;

// The ten lamps. Each lamp's pictures have their left edge at its x and hang from a socket
// lampPivotX pixels to the right of it, so that a cone can lean to either side of the socket.
constexpr std::array<int32_t, 10> lampXs = {300, 326, 352, 378, 396, 422, 448, 474, 492, 518};
constexpr int32_t lampWidth = 80;
constexpr int32_t lampPivotX = 40;
constexpr int32_t lampPivotY = 21; // the socket's lowest row, under the ceiling's tie beam
constexpr int32_t tieBeamTopY = 14;
