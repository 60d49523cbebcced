// A scripted platform for tests: a clock the test sets, window messages the test queues, a
// desktop of a chosen size and a record of every presented frame. One instance at a time.
#pragma once

#include "platform/display.h"
#include "platform/window_message.h"

#include <cstdint>
#include <deque>
#include <vector>

struct FakePlatform {
    uint32_t nowMs = 0;
    SetupResult dialogResult = SetupResult::Run; // what the setup dialog answers
    DisplayMode dialogMode{640, 400};            // the mode chosen on Run
    bool dialogFullscreen = false;
    bool displayFails = false;
    int32_t displayDepth = 32;
    std::deque<WindowMessage> messages;  // taken one per pumpMessage
    int createdDisplays = 0;
    int destroyedDisplays = 0;
    int presentedFrames = 0;
    std::vector<uint32_t> lastPresented; // copy of the last presented window buffer

    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    PlatformCalls calls() const;

    void key(uint16_t code) { messages.push_back({MessageType::KeyDown, code}); }
    void click(int32_t x, int32_t y) {
        messages.push_back({MessageType::ButtonDown, 0, x, y});
        messages.push_back({MessageType::ButtonUp, 0, x, y});
    }
};
