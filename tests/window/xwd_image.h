// Reads a screenshot in the X Window Dump format (what xwd writes) into 8-bit red, green and
// blue per pixel, with the number of bits each channel really had on the display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct XwdImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t redBits = 0;   // significant bits of each channel on the display, e.g. 5, 6, 5
    int32_t greenBits = 0;
    int32_t blueBits = 0;
    std::vector<uint32_t> channels; // per pixel: red << 16 | green << 8 | blue, each
                                    // holding only its significant bits, low-aligned
};

// False, with a reason, when the file is not a readable true-colour dump.
bool readXwd(const std::string& path, XwdImage& image, std::string& error);
