// The window and input record: what the window's messages have said so far (pointer, click,
// keys, quit request) and the display objects. Filled by windowProc, read by the main loop and
// the screens. Main thread only.
#pragma once

#include "core/grow_array.h"

#include <cstdint>

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The window, renderer and texture; owned and defined by the platform layer.
struct Display;

struct InputState {
    Display* display = nullptr;
    int32_t pixelDepth = 0;  // bits per pixel of the display: 32, 24, 16 (5-6-5) or 15 (5-5-5)
    Rect windowRect;         // window rectangle in screen coordinates, refreshed on every move
    Rect clientRect;         // client area in client coordinates: (0, 0, width, height)
    Rect clientScreenRect;   // client area in screen coordinates
    int32_t width = 0;       // the chosen display mode, in pixels
    int32_t height = 0;
    bool quitRequested = false; // Escape, closing the window, or the end screen
    bool mouseDown = false;     // from a left-button press to its release
    bool clickPending = false;  // a left-button release not yet dispatched
    int32_t mouseX = 0;         // pointer in window client pixels, 0 to 65535
    int32_t mouseY = 0;
    bool fullscreen = false;       // exclusive fullscreen chosen in the setup dialog
    GrowArray<uint16_t> keyQueue{10}; // virtual-key codes not yet delivered, first in first out
};
