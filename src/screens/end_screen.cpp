#include "screens/end_screen.h"

#include "core/program.h"
#include "render/blit.h"

namespace {

constexpr uint16_t keySpace = 32;
constexpr uint16_t keyEnter = 13;

// The fade-in counts as complete from this factor on; keys before it are not remembered.
constexpr int32_t fadeInComplete = 247;
constexpr int32_t fadeStep = 8;

} // namespace

bool EndScreen::onKey(uint16_t code) {
    if (fadeIn >= fadeInComplete && (code == keySpace || code == keyEnter)) {
        fadingOut = true;
    }
    return false;
}

void EndScreen::tick() {
    if (fadeIn < fadeInComplete) {
        fadeIn += fadeStep;
    }
    if (fadingOut) {
        if (fadeOut > fadeStep) {
            fadeOut -= fadeStep;
        }
        if (fadeOut <= fadeStep) {
            program.input.quitRequested = true;
        }
    }
}

void EndScreen::render() {
    blendImage(program.framebuffer, picture, static_cast<uint32_t>(fadingOut ? fadeOut : fadeIn));
}
