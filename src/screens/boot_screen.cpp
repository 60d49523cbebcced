#include "screens/boot_screen.h"

#include "audio/audio_library.h"
#include "audio/music.h"
#include "core/program.h"
#include "render/colour.h"
#include "render/font.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint16_t keySpace = 32;
constexpr int32_t ticksPerStep = 8;
constexpr int32_t lastStep = 95;
constexpr int32_t stepAfterSpace = 94;

constexpr const char* loadCommand = "LOAD\"*\",8,1";

// The first `count` characters of text, as a zero-terminated copy.
struct Prefix {
    char text[16] = {};
    Prefix(const char* whole, int32_t count) {
        size_t length = std::min(std::strlen(whole), sizeof text - 1);
        std::memcpy(text, whole, std::min(length, static_cast<size_t>(std::max(count, 0))));
    }
};

} // namespace

bool BootScreen::onKey(uint16_t code) {
    if (code != keySpace) {
        return false;
    }
    progress = stepAfterSpace;
    return true;
}

void BootScreen::tick() {
    if (++tickCount == ticksPerStep) {
        ++progress;
        tickCount = 0;
    }
    if (progress > lastStep) {
        progress = 0;
        program.screenId = 2;
        loadClip(program.interfaceArchive, program.cracktro.music, "CRACKTRO.IT");
        audio::channelPlay(clipChannel(program.cracktro.music), false);
    }
}

void BootScreen::render() {
    Framebuffer& frame = program.framebuffer;
    std::fill(std::begin(frame.pixels), std::end(frame.pixels), c64Palette[6]);
    const BitmapFont& font = program.c64Font;
    const uint32_t ink = c64Palette[14];

    drawText(frame, "**** COMMODORE 64 BASIC V2 ****", font, 32, 8, ink);
    drawText(frame, "64K RAM SYSTEM  38911 BASIC BYTES FREE", font, 8, 24, ink);
    drawText(frame, "READY.", font, 0, 40, ink);
    // The load command is typed one character a step; the last two appear together at step 10.
    drawText(frame, Prefix(loadCommand, progress < 10 ? progress : 11).text, font, 0, 48, ink);
    if (progress > 20) {
        drawText(frame, "SEARCHING FOR *", font, 0, 64, ink);
    }
    if (progress > 40) {
        drawText(frame, "LOADING", font, 0, 72, ink);
    }
    if (progress > 70) {
        drawText(frame, "READY.", font, 0, 80, ink);
    }
    if (progress > 80) {
        drawText(frame, Prefix("RUN", progress - 80).text, font, 0, 88, ink);
    }
}
