// Pictures in the frame's own pixel format (0xAARRGGBB words, row-major), decoded from PNG
// entries of the interface archive. Every picture is loaded once at start-up and drawn by the
// blitters without conversion. Main thread only.
#pragma once

#include "resources/pack_archive.h"

#include <cstdint>
#include <memory>

struct Image {
    int32_t width = 0; // 0 for an empty picture, which draws nothing
    int32_t height = 0;
    std::unique_ptr<uint32_t[]> pixels; // width x height words, or none
};

// Decodes the named PNG entry into `image`. A missing entry leaves the image as it was; a
// file that does not decode leaves it empty. Pictures over 8192 pixels on a side are refused.
bool loadImage(PackArchive& archive, Image& image, const char* name);
