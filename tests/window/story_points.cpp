// Where the whole-story window test clicks, and how long each move takes: plays the story in
// direct mode on the headless program (a 640x400 window, as the test's screen) and prints one
// line per click, "NAME X Y MS": the window point of the click and the milliseconds of program
// time until the program has answered it. Before the pick-up each move also waits until the
// room is at rest (the view follows the actor for a while after a climb or a walk), as the
// window test does before its next click, so the real program has its room in the same place
// when it clicks. Usage: story-points, run beside the archives.
#include "support/story_player.h"

#include <cstdio>

namespace {

struct Recorder {
    HeadlessProgram& run;
    uint32_t startMs = 0;

    void begin() { startMs = run.platform.nowMs; }
    void print(const char* name, FramePoint at) const {
        const FrameGeometry& g = run.program->geometry;
        std::printf("%s %d %d %u\n", name, g.frameOffsetX + at.x * g.frameScale,
                    g.frameOffsetY + at.y * g.frameScale, run.platform.nowMs - startMs);
    }
};

// The gallery point the actor walks to until the guitar shows whole, as the player does.
FramePoint galleryWalk(HeadlessProgram& run) {
    const PropRecord& guitar = run.program->mainScreen.props.getProp(WString("guitar"));
    return {frameWidth - 10, guitar.walkY};
}

// Ticks until the actor stands and the view has stopped following him.
bool roomAtRest(HeadlessProgram& run) {
    MainScreen& room = run.program->mainScreen;
    int32_t scrollX = room.scrollX;
    return run.runTicksUntil(
        [&room, &scrollX] {
            bool still = !room.walking && !room.stairsActive && room.scrollX == scrollX;
            scrollX = room.scrollX;
            return still;
        },
        400);
}

bool guitarInView(HeadlessProgram& run) {
    MainScreen& room = run.program->mainScreen;
    const PropRecord& guitar = room.props.getProp(WString("guitar"));
    return guitar.x + guitar.image->width - room.scrollX < frameWidth;
}

} // namespace

int main() {
    HeadlessProgram run;
    if (!run.start() || !skipBootSequence(run) || !leaveCracktro(run) ||
        !answerTrainer(run, false)) {
        std::fputs("story-points: the opening did not lead to the room\n", stderr);
        return 1;
    }
    MainScreen& room = run.program->mainScreen;
    Recorder recorder{run};

    recorder.begin();
    FramePoint stairs = propOnScreen(run, "stairs");
    bool played = climbStairs(run) && roomAtRest(run);
    recorder.print("stairs", stairs);
    for (int32_t walk = 0; played && !guitarInView(run) && walk < 5; ++walk) {
        recorder.begin();
        FramePoint to = galleryWalk(run);
        played = walkTo(run, to.x, to.y) && roomAtRest(run);
        recorder.print("walk", to);
    }
    if (played) {
        recorder.begin();
        FramePoint guitar = propOnScreen(run, "guitar");
        // The pick-up, then the panel sliding in until it stands still.
        played =
            takeGuitar(run) && run.runTicksUntil([&room] { return room.playerPanel.x == 0; }, 400);
        recorder.print("guitar", guitar);
    }
    if (played) {
        recorder.begin();
        FramePoint eject = panelButtonOnScreen(run, PanelButton::eject);
        clickPanelButton(run, PanelButton::eject);
        played = waitForEndScreen(run) &&
                 run.runTicksUntil([&run] { return run.program->endScreen.fadeIn >= 248; }, 40);
        recorder.print("eject", eject);
    }
    if (!played) {
        std::fputs("story-points: the room did not answer the story's clicks\n", stderr);
        return 1;
    }
    return 0;
}
