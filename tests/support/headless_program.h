// The whole program run headless for tests and tools: real start-up with the built archives, a
// scripted platform (clock, messages, the dialog's answer), and the audio library mixing
// offline in step with the fake clock, so music ends and notifications arrive on the test's
// timeline. One instance at a time (the platform and the audio library are process-wide).
#pragma once

#include "core/program.h"
#include "support/fake_platform.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

struct HeadlessProgram {
    FakePlatform platform;
    std::unique_ptr<Program> program = std::make_unique<Program>();
    std::vector<int16_t> recordedAudio; // stereo frames mixed so far, when recording
    bool recording = false;
    bool finished = false; // finish() has run shutdown
    std::vector<int32_t> screensShown; // the screenId of every pass's render, repeats dropped
    std::function<void()> afterPass;   // when set, called after every pass

    HeadlessProgram();
    ~HeadlessProgram();
    HeadlessProgram(const HeadlessProgram&) = delete;
    HeadlessProgram& operator=(const HeadlessProgram&) = delete;

    // Start-up as the real program runs it, answering the dialog with a 640x400 window.
    bool start();
    // Moves the clock on by `milliseconds`, mixing that much audio, then runs one main-loop
    // pass (which delivers notifications, takes one message, ticks and renders).
    void advance(uint32_t milliseconds);
    // Passes until every queued message has been handled, `milliseconds` apart.
    void drain(uint32_t milliseconds = 1);
    // Runs `ticks` passes of exactly one tick each.
    void runTicks(int32_t ticks);
    // Runs passes of one tick each until `done` holds after one; false when it still does not
    // after `maxTicks`.
    bool runTicksUntil(const std::function<bool()>& done, int32_t maxTicks);
    // Ends the run as the real program does once something asked to quit: the main loop sees
    // the request and stops, shutdown runs, and the exit status comes back. -1 while nothing
    // asked (the loop would never end on a clock that only the test moves).
    int finish();

    // Queues a key press; it reaches the screen at the next pass.
    void key(uint16_t code) { platform.key(code); }
    // Queues a left click at a frame point (mapped to the window through the geometry).
    void clickFrame(int32_t x, int32_t y);
    // Moves the pointer to a frame point.
    void pointAt(int32_t x, int32_t y);

    // The frame as the last pass rendered it.
    const Framebuffer& frame() const { return program->framebuffer; }
};
