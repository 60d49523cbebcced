// The verb bar of the room in old-school mode: eight verb buttons in two rows along the bottom
// of the screen. A click on a button makes its verb current; the room spends it with its next
// click. Owned by the main screen; main thread only.
#pragma once

#include "core/gui_element.h"
#include "resources/image.h"
#include "resources/pack_archive.h"

#include <cstdint>

struct Program;

constexpr int32_t verbCount = 8;
constexpr int32_t noVerb = -1;
constexpr int32_t verbWalkTo = 0;
constexpr int32_t verbUse = 7;

// What the sentence line shows for each verb.
extern const char* const verbLabels[verbCount];

struct CommandGUI : GUIElement {
    Program& program;
    int32_t currentVerb = noVerb; // 0 to 7, or -1 for none
    Image background;             // "hud_background.png"
    Image verbOn[verbCount];      // highlighted buttons
    Image verbOff[verbCount];     // normal buttons; they set the hit boxes
    int32_t x = 0;                // the bar's left edge
    int32_t y = 168;              // the bar's top row

    explicit CommandGUI(Program& owner) : program(owner) {}
    void load(PackArchive& archive);
    bool onClick(int32_t clickX, int32_t clickY) override;
    void render() override;
};
