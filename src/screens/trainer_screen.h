// Screen 3, the trainer menu: it asks whether to play in old-school mode (with the verb bar).
// Y or N answers, prepares the room and enters it. Main thread only.
#pragma once

#include "core/gui_element.h"

#include <cstdint>

struct Program;

struct TrainerScreen : GUIElement {
    Program& program;

    explicit TrainerScreen(Program& owner) : program(owner) {}
    bool onKey(uint16_t code) override;
    void render() override;
};
