// Small pictures for the render tests, built in memory, and a frame on the heap so that the
// address sanitizer sees any write past its end.
#pragma once

#include "core/framebuffer.h"
#include "resources/image.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <memory>

inline Image makeImage(int32_t width, int32_t height, std::initializer_list<uint32_t> pixels) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels = std::make_unique<uint32_t[]>(static_cast<size_t>(width) * height);
    std::copy(pixels.begin(), pixels.end(), image.pixels.get());
    return image;
}

inline Image makeFilledImage(int32_t width, int32_t height, uint32_t pixel) {
    Image image = makeImage(width, height, {});
    std::fill_n(image.pixels.get(), static_cast<size_t>(width) * height, pixel);
    return image;
}

inline std::unique_ptr<Framebuffer> makeFrame(uint32_t fill = 0) {
    auto frame = std::make_unique<Framebuffer>();
    std::fill(std::begin(frame->pixels), std::end(frame->pixels), fill);
    return frame;
}

// Pixels of the frame that differ from `background`.
inline int32_t changedPixels(const Framebuffer& frame, uint32_t background = 0) {
    return static_cast<int32_t>(
        std::count_if(std::begin(frame.pixels), std::end(frame.pixels),
                      [background](uint32_t pixel) { return pixel != background; }));
}
