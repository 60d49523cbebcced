// The interface of every screen and panel: a click in frame coordinates, a key code, drawing
// into the framebuffer and one fixed time step. The main loop talks to the active screen
// through it; the main screen also passes clicks on to its panels. Main thread only.
#pragma once

#include <cstdint>

class GUIElement {
public:
    // True when the element consumed the click.
    virtual bool onClick(int32_t x, int32_t y) { return false; }
    // True when the element consumed the key (a Windows virtual-key code).
    virtual bool onKey(uint16_t code) { return false; }
    virtual void render() = 0;
    virtual void tick() {}

protected:
    // Screens are never destroyed through this interface.
    ~GUIElement() = default;
};
