#include "support/headless_program.h"

#include "audio/audio_library.h"
#include "core/main_loop.h"
#include "core/startup.h"

namespace {

// Frames of audio that `milliseconds` of the clock stand for, carrying the remainder.
int32_t framesFor(uint32_t milliseconds, uint64_t& remainder) {
    uint64_t total = uint64_t{milliseconds} * audio::outputRateHz + remainder;
    remainder = total % 1000;
    return static_cast<int32_t>(total / 1000);
}

uint64_t audioRemainder = 0;

} // namespace

HeadlessProgram::HeadlessProgram() {
    audioRemainder = 0;
}

HeadlessProgram::~HeadlessProgram() {
    if (!finished) {
        shutDown(*program, platform.calls());
    }
}

bool HeadlessProgram::start() {
    // The library is put in offline mode first: start-up's own device start then finds it
    // initialised, and everything the program plays is mixed by advance().
    audio::initOffline(audio::outputRateHz);
    return startUp(*program, platform.calls());
}

void HeadlessProgram::advance(uint32_t milliseconds) {
    int32_t frames = framesFor(milliseconds, audioRemainder);
    std::vector<int16_t> mixed(static_cast<size_t>(frames) * 2);
    if (frames > 0) {
        audio::renderOffline(mixed.data(), frames);
    }
    if (recording) {
        recordedAudio.insert(recordedAudio.end(), mixed.begin(), mixed.end());
    }
    platform.nowMs += milliseconds;
    // The screen active when the pass begins is the one that renders it.
    if (screensShown.empty() || screensShown.back() != program->screenId) {
        screensShown.push_back(program->screenId);
    }
    runLoopPass(*program, platform.calls());
    if (afterPass) {
        afterPass();
    }
}

void HeadlessProgram::drain(uint32_t milliseconds) {
    while (!platform.messages.empty()) {
        advance(milliseconds);
    }
}

void HeadlessProgram::runTicks(int32_t ticks) {
    // After a pass the clock is at most one period past the last tick, so setting it one
    // period and a millisecond past runs exactly one tick in the next pass.
    for (int32_t i = 0; i < ticks; ++i) {
        uint32_t due = program->lastTickMs + program->tickPeriodMs + 1;
        advance(due - platform.nowMs);
    }
}

bool HeadlessProgram::runTicksUntil(const std::function<bool()>& done, int32_t maxTicks) {
    for (int32_t i = 0; i < maxTicks; ++i) {
        runTicks(1);
        if (done()) {
            return true;
        }
    }
    return false;
}

int HeadlessProgram::finish() {
    if (!program->input.quitRequested || finished) {
        return -1;
    }
    finished = true;
    return runStartedProgram(*program, platform.calls());
}

void HeadlessProgram::clickFrame(int32_t x, int32_t y) {
    const FrameGeometry& g = program->geometry;
    platform.click(g.frameOffsetX + x * g.frameScale, g.frameOffsetY + y * g.frameScale);
}

void HeadlessProgram::pointAt(int32_t x, int32_t y) {
    const FrameGeometry& g = program->geometry;
    platform.messages.push_back({MessageType::MouseMove, 0, g.frameOffsetX + x * g.frameScale,
                                 g.frameOffsetY + y * g.frameScale});
}
