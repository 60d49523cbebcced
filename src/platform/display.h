// The program's contact with the display: the window, its presentation, the message pump and
// the millisecond clock. Only the platform layer knows which library stands behind these.
// Main thread only.
#pragma once

#include "platform/input_state.h"
#include "platform/setup_dialog.h"

#include <cstdint>

// Opens the window ("rkWindow", centred on the primary display) with a client area of
// width x height, or in exclusive fullscreen at that display mode when input.fullscreen is set,
// and prepares presentation. Fills the display fields of the record. False on failure.
bool createDisplay(InputState& input, int32_t width, int32_t height);

// Converts the window buffer (width x height words 0xAARRGGBB) to the display's depth, shows
// it, and clears clickPending. Paced by the display's refresh.
void presentFrame(InputState& input, const uint32_t* windowBuffer);

// Takes at most one message from the queue, without waiting, and hands it to windowProc.
void pumpMessage(InputState& input);

// Releases the window and presentation objects; harmless when there are none.
void destroyDisplay(InputState& input);

// The millisecond tick count since the platform started; 32-bit, wrapping.
uint32_t tickCountMs();

// The platform's operations as a table, so that the main loop and start-up can run on the real
// display or, in tests, on a scripted clock, scripted messages and a captured frame.
struct PlatformCalls {
    SetupResult (*showSetupDialog)(DisplaySettings& settings);
    bool (*createDisplay)(InputState& input, int32_t width, int32_t height);
    void (*presentFrame)(InputState& input, const uint32_t* windowBuffer);
    void (*pumpMessage)(InputState& input);
    void (*destroyDisplay)(InputState& input);
    uint32_t (*tickCountMs)();
};

extern const PlatformCalls realPlatform;
