// The window messages the program reacts to, in the platform's own terms, and windowProc,
// which turns them into the InputState. The SDL event pump translates events into these;
// tests feed them directly. Main thread only.
#pragma once

#include "platform/input_state.h"

#include <cstdint>

enum class MessageType {
    Close,      // the window is being closed or destroyed
    Move,       // the window moved; the rectangles are refreshed
    KeyDown,    // a key press or auto-repeat, with its virtual-key code
    MouseMove,  // the pointer moved, with its client position
    ButtonDown, // left button pressed, with the pointer's client position
    ButtonUp,   // left button released, with the pointer's client position
};

struct WindowMessage {
    MessageType type;
    uint16_t keyCode = 0; // KeyDown: the virtual-key code
    int32_t x = 0;        // pointer messages: client position
    int32_t y = 0;
    Rect windowRect;      // Move: the new rectangles
    Rect clientRect;
    Rect clientScreenRect;
};

constexpr uint16_t keyEscape = 27;

void windowProc(InputState& input, const WindowMessage& message);
