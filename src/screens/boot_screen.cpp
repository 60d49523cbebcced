#include "screens/boot_screen.h"

#include "core/program.h"

uint32_t testPicturePixel(int32_t x, int32_t y) {
    uint32_t red = static_cast<uint32_t>(x * 255 / (frameWidth - 1));
    uint32_t green = static_cast<uint32_t>(y * 255 / (frameHeight - 1));
    uint32_t blue = static_cast<uint32_t>((x + y) & 0xFF);
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

void BootScreen::render() {
    for (int32_t y = 0; y < frameHeight; ++y) {
        for (int32_t x = 0; x < frameWidth; ++x) {
            program.framebuffer.at(x, y) = testPicturePixel(x, y);
        }
    }
}
