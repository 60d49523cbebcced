#include "screens/trainer_screen.h"

#include "core/program.h"
#include "render/colour.h"
#include "render/font.h"

namespace {

constexpr uint16_t keyY = 89;
constexpr uint16_t keyN = 78;

} // namespace

// The answer never counts as consumed, so the result is false for Y and N too.
bool TrainerScreen::onKey(uint16_t code) {
    if (code != keyY && code != keyN) {
        return false;
    }
    program.mainScreen.oldskoolMode = code == keyY;
    enterRoom(program);
    program.screenId = 4;
    return false;
}

void TrainerScreen::render() {
    drawText(program.framebuffer, "OLDSKOOL MODE? [Y/N]", program.c64Font, 80, 48, c64Palette[14]);
}
