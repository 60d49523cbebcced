// A picture being made by an asset generator: width x height pixels 0xAARRGGBB (the program's
// own pixel format), with the few operations every generator needs. Build-time tools only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Canvas {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // row-major, 0 = fully transparent

    Canvas() = default;
    Canvas(int32_t canvasWidth, int32_t canvasHeight, uint32_t fill = 0)
        : width(canvasWidth), height(canvasHeight),
          pixels(static_cast<size_t>(canvasWidth) * canvasHeight, fill) {}

    bool contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Writes one pixel; points outside the canvas are ignored.
    void set(int32_t x, int32_t y, uint32_t colour) {
        if (contains(x, y)) {
            pixels[static_cast<size_t>(y) * width + x] = colour;
        }
    }
    void fillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
        for (int32_t row = y; row < y + h; ++row) {
            for (int32_t column = x; column < x + w; ++column) {
                set(column, row, colour);
            }
        }
    }
    // Draws another canvas with its top-left corner at (x, y); its transparent pixels
    // (alpha 0) leave this canvas alone.
    void draw(const Canvas& other, int32_t x, int32_t y) {
        for (int32_t row = 0; row < other.height; ++row) {
            for (int32_t column = 0; column < other.width; ++column) {
                uint32_t colour = other.at(column, row);
                if ((colour >> 24) != 0) {
                    set(x + column, y + row, colour);
                }
            }
        }
    }
};

// Encodes width x height pixels of `channels` bytes each (1 grey, 2 grey and alpha, 3 RGB,
// 4 RGBA), rows top first, as an 8-bit PNG; the same pixels always give the same bytes.
bool encodePng(const uint8_t* pixels, int32_t width, int32_t height, int32_t channels,
               std::vector<uint8_t>& png);

// Writes the canvas as an 8-bit RGBA PNG; the same canvas always gives the same bytes.
// False, with a line on stderr, when the file cannot be written.
bool writePng(const std::string& path, const Canvas& canvas);

// Reads a PNG file (one made by another generator, such as a font atlas) into `canvas`.
// False, with the reason in `error`, when the file is missing or does not decode.
bool readPng(const std::string& path, Canvas& canvas, std::string& error);
