#include "render/blit.h"

#include <algorithm>
#include <cstddef>

namespace {

// The part of an image edge of `length` pixels, placed at `position`, that falls on a screen
// edge of `screenLength` pixels: image indices first to end - 1. Computed in 64 bits, so any
// position and length are safe; an image wholly off the screen gets first == end.
struct Span {
    int32_t first;
    int32_t end;
};

Span visibleSpan(int32_t position, int32_t length, int32_t screenLength) {
    int64_t first = std::max<int64_t>(0, -static_cast<int64_t>(position));
    int64_t end = std::min<int64_t>(length, static_cast<int64_t>(screenLength) - position);
    return {static_cast<int32_t>(first), static_cast<int32_t>(std::max(first, end))};
}

// The clipping walk that all four blitters share: exactly the image pixels that fall inside
// the frame are visited, row by row. A pixel whose alpha byte is not 0 replaces the frame
// pixel it covers by combine(source, frame pixel); a transparent one writes the frame pixel
// back unchanged, which keeps the loop free of branches so that it vectorises.
template <typename Combine>
void blit(Framebuffer& frame, const Image& image, int32_t x, int32_t y, bool mirrored,
          Combine combine) {
    const Span rows = visibleSpan(y, image.height, frameHeight);
    const Span columns = visibleSpan(x, image.width, frameWidth);
    if (rows.first == rows.end || columns.first == columns.end) {
        return;
    }
    const int32_t count = columns.end - columns.first;
    for (int32_t r = rows.first; r < rows.end; ++r) {
        const uint32_t* source = image.pixels.get() + static_cast<size_t>(r) * image.width;
        uint32_t* destination = &frame.at(x + columns.first, y + r);
        if (mirrored) {
            const uint32_t* mirroredSource = source + (image.width - 1 - columns.first);
            for (int32_t j = 0; j < count; ++j) {
                uint32_t pixel = mirroredSource[-j];
                destination[j] =
                    (pixel >> 24) != 0 ? combine(pixel, destination[j]) : destination[j];
            }
        } else {
            const uint32_t* visibleSource = source + columns.first;
            for (int32_t j = 0; j < count; ++j) {
                uint32_t pixel = visibleSource[j];
                destination[j] =
                    (pixel >> 24) != 0 ? combine(pixel, destination[j]) : destination[j];
            }
        }
    }
}

uint32_t copyPixel(uint32_t source, uint32_t) {
    return source;
}

// One channel of the blend, at bit `shift`: d + (s - d) * f / 256, the division truncating
// toward zero, so the result always stays within 0 to 255.
uint32_t blendChannel(uint32_t source, uint32_t destination, int32_t factor, int shift) {
    int32_t s = static_cast<int32_t>((source >> shift) & 0xFF);
    int32_t d = static_cast<int32_t>((destination >> shift) & 0xFF);
    return static_cast<uint32_t>(d + (s - d) * factor / 256) << shift;
}

} // namespace

void drawImage(Framebuffer& frame, const Image& image, int32_t x, int32_t y) {
    blit(frame, image, x, y, false, copyPixel);
}

void drawImageMirrored(Framebuffer& frame, const Image& image, int32_t x, int32_t y) {
    blit(frame, image, x, y, true, copyPixel);
}

void blendImage(Framebuffer& frame, const Image& image, uint32_t factor) {
    const int32_t f = static_cast<int32_t>(factor & 0xFF);
    blit(frame, image, 0, 0, false, [f](uint32_t source, uint32_t destination) {
        return (destination & 0xFF000000u) | blendChannel(source, destination, f, 16) |
               blendChannel(source, destination, f, 8) | blendChannel(source, destination, f, 0);
    });
}

void drawImageRecolored(Framebuffer& frame, const Image& image, int32_t x, uint32_t colour) {
    blit(frame, image, x, 0, false,
         [colour](uint32_t source, uint32_t) { return source == 0xFFFFFFFFu ? colour : source; });
}
