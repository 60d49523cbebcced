// Start-up and shutdown in their fixed orders, and the whole run between them. The program's
// entry calls runProgram; the headless tests call it with a scripted platform. Main thread.
#pragma once

#include "core/program.h"
#include "platform/display.h"

// Runs every start-up step; false when an essential one failed (the reason is on stderr).
bool startUp(Program& program, const PlatformCalls& platform);

// Releases the window buffer, the display, the interface archive's entries and the dialog's
// mode list, in the shutdown order.
void shutDown(Program& program, const PlatformCalls& platform);

// Start-up, the main loop and shutdown. Returns the exit status: 1 after a normal run, 0 when
// start-up failed.
int runProgram(Program& program, const PlatformCalls& platform);

// The part of a run after a successful start-up: the main loop until a quit request, then
// shutdown. Returns 1, the exit status of a normal run.
int runStartedProgram(Program& program, const PlatformCalls& platform);
