// Compares a screenshot of the program's window with the boot screen's test picture as the
// display must show it: enlarged by the window's whole factor and cut to the display's bits
// per channel. Usage: frame-check SHOT.xwd. Exit 0 when every pixel matches.
#include "core/frame_geometry.h"
#include "screens/boot_screen.h"
#include "xwd_image.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: frame-check SHOT.xwd\n", stderr);
        return 2;
    }
    XwdImage shot;
    std::string error;
    if (!readXwd(argv[1], shot, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    FrameGeometry geometry = computeFrameGeometry(shot.width, shot.height);
    long mismatches = 0;
    for (int32_t y = 0; y < shot.height; ++y) {
        for (int32_t x = 0; x < shot.width; ++x) {
            int32_t fx = (x - geometry.frameOffsetX) / geometry.frameScale;
            int32_t fy = (y - geometry.frameOffsetY) / geometry.frameScale;
            bool inFrame = x >= geometry.frameOffsetX && y >= geometry.frameOffsetY &&
                           fx < frameWidth && fy < frameHeight;
            uint32_t pixel = inFrame ? testPicturePixel(fx, fy) : 0;
            uint32_t expected = ((pixel >> 16 & 0xFF) >> (8 - shot.redBits)) << 16 |
                                ((pixel >> 8 & 0xFF) >> (8 - shot.greenBits)) << 8 |
                                ((pixel & 0xFF) >> (8 - shot.blueBits));
            uint32_t seen = shot.channels[static_cast<size_t>(y) * shot.width + x];
            if (seen != expected && ++mismatches <= 5) {
                std::fprintf(stderr, "pixel %d,%d: shows %06x, expected %06x\n", x, y, seen,
                             expected);
            }
        }
    }
    std::printf("%dx%d at %d-%d-%d bits: %ld of %d pixels differ\n", shot.width, shot.height,
                shot.redBits, shot.greenBits, shot.blueBits, mismatches,
                shot.width * shot.height);
    return mismatches == 0 ? 0 : 1;
}
