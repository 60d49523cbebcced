#include "screens/command_gui.h"

#include "core/program.h"
#include "render/blit.h"

#include <cstdio>

const char* const verbLabels[verbCount] = {"Walk to", "Open", "Look at", "Talk to",
                                           "Pick up", "Give", "Close",   "Use"};

namespace {

struct VerbButton {
    const char* namePart; // forms the picture names
    int32_t x;            // relative to the bar's x
    int32_t y;            // screen row
};

constexpr VerbButton buttons[verbCount] = {
    {"walk", 0, 170},     {"open", 0, 185},     {"lookat", 48, 170}, {"talkto", 48, 185},
    {"pickup", 112, 170}, {"giveit", 112, 185}, {"close", 182, 170}, {"use", 182, 185},
};

} // namespace

void CommandGUI::load(PackArchive& archive) {
    currentVerb = noVerb;
    loadImage(archive, background, "hud_background.png");
    for (int32_t k = 0; k < verbCount; ++k) {
        char name[64];
        std::snprintf(name, sizeof name, "commands_on_%s.png", buttons[k].namePart);
        loadImage(archive, verbOn[k], name);
        std::snprintf(name, sizeof name, "commands_off_%s.png", buttons[k].namePart);
        loadImage(archive, verbOff[k], name);
    }
}

// A button's hit box is its normal picture's rectangle moved one pixel right and down; where
// boxes overlap the lower verb number wins.
bool CommandGUI::onClick(int32_t clickX, int32_t clickY) {
    for (int32_t k = 0; k < verbCount; ++k) {
        int32_t bx = buttons[k].x + x, by = buttons[k].y;
        if (bx < clickX && clickX <= bx + verbOff[k].width && by < clickY &&
            clickY <= by + verbOff[k].height) {
            currentVerb = k;
            return true;
        }
    }
    return false;
}

void CommandGUI::render() {
    Framebuffer& frame = program.framebuffer;
    drawImage(frame, background, x, y);
    for (int32_t k = 0; k < verbCount; ++k) {
        drawImage(frame, k == currentVerb ? verbOn[k] : verbOff[k], buttons[k].x + x, buttons[k].y);
    }
}
