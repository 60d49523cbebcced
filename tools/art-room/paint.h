// Drawing primitives for the room's pictures: hard-edged shapes sampled at pixel centres (no
// anti-aliasing), ordered dithering between two colours, and the shading of a part's mask into
// outline, shadow, base and highlight. Used by the room, lamp and actor generators.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <vector>

struct Point {
    float x = 0;
    float y = 0;
};

// Four tones of one material, from the outline to the lit edge.
struct Ramp {
    uint32_t outline = 0;
    uint32_t dark = 0;
    uint32_t base = 0;
    uint32_t light = 0;
};

constexpr uint32_t rgb(uint32_t value) {
    return 0xFF000000u | value;
}

Point rotated(Point p, Point centre, float degrees);
Point lerp(Point a, Point b, float t);

// Every pixel whose centre lies inside the polygon (even-odd rule).
void fillPolygon(Canvas& canvas, const std::vector<Point>& corners, uint32_t colour);
// Every pixel whose centre lies within `radius` of the segment from a to b.
void fillCapsule(Canvas& canvas, Point a, Point b, float radius, uint32_t colour);
void fillEllipse(Canvas& canvas, Point centre, float radiusX, float radiusY, uint32_t colour);
// A one-pixel line through pixel centres, endpoints included.
void drawLine(Canvas& canvas, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour);
// Fills with `a`, putting `b` on the pixels of a 2x2 checker (x + y odd).
void ditherRect(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t a, uint32_t b);

// Turns a mask (any opaque pixel belongs to the part) into a shaded part: the mask's border
// ring becomes the outline, pixels just inside its right and lower edges the dark tone, those
// just inside its left and upper edges the light tone (light comes from the upper left).
Canvas shadePart(const Canvas& mask, const Ramp& ramp);

// Copies `canvas` with a one-pixel ring of `colour` around all its opaque pixels.
Canvas withOutline(const Canvas& canvas, uint32_t colour);
