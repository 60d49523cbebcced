// The four blitters that put pictures into the frame: a keyed copy, its mirror image, a keyed
// copy blended with a global factor, and a keyed copy that replaces pure white by a colour.
// An image pixel with alpha 0 is never drawn; any other alpha draws it in full. Every part of
// an image outside the 320x200 frame is clipped. Called by the screens' render, main thread.
#pragma once

#include "core/framebuffer.h"
#include "resources/image.h"

#include <cstdint>

// Copies the image's opaque pixels, all 32 bits, with its top-left corner at (x, y).
void drawImage(Framebuffer& frame, const Image& image, int32_t x, int32_t y);

// As drawImage, mirrored left-right: the image's right edge shows at x.
void drawImageMirrored(Framebuffer& frame, const Image& image, int32_t x, int32_t y);

// Blends the image's opaque pixels over the frame at (0, 0): each of red, green and blue moves
// from the frame's value d toward the image's value s by (s - d) * factor / 256, truncated
// toward zero. Only the low 8 bits of factor count; the frame's alpha bytes are kept.
void blendImage(Framebuffer& frame, const Image& image, uint32_t factor);

// Copies the image's opaque pixels with its top-left corner at (x, 0), writing `colour`
// (unchanged, alpha included) wherever the image pixel is exactly 0xFFFFFFFF.
void drawImageRecolored(Framebuffer& frame, const Image& image, int32_t x, uint32_t colour);
