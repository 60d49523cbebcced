#include "support/fake_platform.h"

#include <cassert>

namespace {

FakePlatform* current = nullptr;

bool fakeDesktopSize(DesktopSize& size) {
    size = current->desktop;
    return true;
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
    return {fakeDesktopSize,  fakeCreateDisplay,  fakePresentFrame,
            fakePumpMessage,  fakeDestroyDisplay, fakeTickCountMs};
}
