// The main loop: one pass takes a message, hands the keys, a pending click and the due ticks
// to the active screen, renders it and presents the enlarged frame. It never sleeps; the
// presentation paces it and tickPeriodMs alone paces the simulation. Main thread only.
#pragma once

#include "core/program.h"
#include "platform/display.h"

// The screen object that screenId selects.
GUIElement& activeScreen(Program& program);

void runLoopPass(Program& program, const PlatformCalls& platform);

// Passes until quitRequested is set.
void runMainLoop(Program& program, const PlatformCalls& platform);
