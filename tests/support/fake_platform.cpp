#include "support/fake_platform.h"

#include <cassert>

namespace {

FakePlatform* current = nullptr;

SetupResult fakeShowSetupDialog(DisplaySettings& settings) {
    settings.modes.append(current->dialogMode);
    if (current->dialogResult == SetupResult::Run) {
        settings.width = current->dialogMode.width;
        settings.height = current->dialogMode.height;
        settings.fullscreen = current->dialogFullscreen;
    }
    return current->dialogResult;
}

bool fakeCreateDisplay(InputState& input, int32_t width, int32_t height) {
    ++current->createdDisplays;
    input.width = width;
    input.height = height;
    input.pixelDepth = current->displayDepth;
    return !current->displayFails;
}

void fakePresentFrame(InputState& input, const uint32_t* windowBuffer) {
    ++current->presentedFrames;
    size_t pixels = static_cast<size_t>(input.width) * static_cast<size_t>(input.height);
    current->lastPresented.assign(windowBuffer, windowBuffer + pixels);
    input.clickPending = false;
}

void fakePumpMessage(InputState& input) {
    if (!current->messages.empty()) {
        WindowMessage message = current->messages.front();
        current->messages.pop_front();
        windowProc(input, message);
    }
}

void fakeDestroyDisplay(InputState&) {
    ++current->destroyedDisplays;
}

uint32_t fakeTickCountMs() {
    return current->nowMs;
}

} // namespace

FakePlatform::FakePlatform() {
    assert(current == nullptr);
    current = this;
}

FakePlatform::~FakePlatform() {
    current = nullptr;
}

PlatformCalls FakePlatform::calls() const {
    return {fakeShowSetupDialog, fakeCreateDisplay,  fakePresentFrame,
            fakePumpMessage,     fakeDestroyDisplay, fakeTickCountMs};
}
