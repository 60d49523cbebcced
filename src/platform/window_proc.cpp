#include "platform/window_message.h"

namespace {

// Pointer positions are carried as two unsigned 16-bit halves, as on the original platform.
void takePointer(InputState& input, const WindowMessage& message) {
    input.mouseX = static_cast<uint16_t>(message.x);
    input.mouseY = static_cast<uint16_t>(message.y);
}

} // namespace

void windowProc(InputState& input, const WindowMessage& message) {
    switch (message.type) {
    case MessageType::Close:
        input.quitRequested = true;
        break;
    case MessageType::Move:
        input.windowRect = message.windowRect;
        input.clientRect = message.clientRect;
        input.clientScreenRect = message.clientScreenRect;
        break;
    case MessageType::KeyDown:
        // Escape ends the program and never reaches a screen.
        if (message.keyCode == keyEscape) {
            input.quitRequested = true;
        } else {
            input.keyQueue.append(message.keyCode);
        }
        break;
    case MessageType::MouseMove:
        takePointer(input, message);
        break;
    case MessageType::ButtonDown:
        input.mouseDown = true;
        takePointer(input, message);
        break;
    case MessageType::ButtonUp:
        input.mouseDown = false;
        input.clickPending = true;
        takePointer(input, message);
        break;
    }
}
