// The small pixel font compiled into the program for the setup dialog, which shows before the
// archives (and so the disk's own fonts) are open, and the pixel buffer the dialog draws into.
// Main thread only.
#pragma once

#include <cstdint>

constexpr int32_t dialogFontRows = 9; // 7 rows above the baseline, 2 below

// A buffer of 0xAARRGGBB pixels, rows of `width` pixels following each other directly.
struct DialogPixels {
    uint32_t* pixels;
    int32_t width;
    int32_t height;

    // Fills the part of the rectangle that lies inside the buffer.
    void fillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
        for (int32_t row = y < 0 ? 0 : y; row < y + h && row < height; ++row) {
            for (int32_t column = x < 0 ? 0 : x; column < x + w && column < width; ++column) {
                pixels[row * width + column] = colour;
            }
        }
    }
};

// Width in pixels of a line of text drawn at the given whole scale.
int32_t dialogTextWidth(const char* text, int32_t scale);

// Draws a line of text with its top-left corner at (x, y), every font pixel a scale x scale
// block; characters outside printable ASCII are drawn as '?'.
void drawDialogText(DialogPixels& target, int32_t x, int32_t y, const char* text, uint32_t colour,
                    int32_t scale);
