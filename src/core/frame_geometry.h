// How the 320x200 frame sits in the window: the largest whole enlargement factor that fits
// both ways, centred. Computed once at start-up; used by the main loop to enlarge the frame
// and by the screens to map the pointer into frame coordinates.
#pragma once

#include "core/framebuffer.h"

#include <cstdint>

struct FrameGeometry {
    int32_t frameScale = 1;   // whole enlargement factor, at least 1
    int32_t frameOffsetX = 0; // window column of the enlarged frame's left edge
    int32_t frameOffsetY = 0; // window row of the enlarged frame's top edge
};

struct FramePoint {
    int32_t x;
    int32_t y;
};

FrameGeometry computeFrameGeometry(int32_t windowWidth, int32_t windowHeight);

// A window client point in frame coordinates, truncating toward zero and not clamped.
FramePoint toFrameCoordinates(const FrameGeometry& geometry, int32_t windowX, int32_t windowY);

// Writes every frame pixel as a frameScale x frameScale block into the window buffer
// (windowWidth pixels a row). Only the enlarged frame's area is written.
void enlargeFrame(const Framebuffer& frame, const FrameGeometry& geometry, uint32_t* windowBuffer,
                  int32_t windowWidth);
