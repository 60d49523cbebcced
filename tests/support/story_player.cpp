#include "support/story_player.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr uint16_t keySpace = 32;

// Where the art puts what the player clicks: the two verbs of the story on the verb bar
// (relative to the bar's x, and a screen row), and the panel's buttons (relative to the panel).
constexpr FramePoint walkToButton{0, 170};
constexpr FramePoint useButton{182, 185};
constexpr FramePoint panelButtons[] = {{0, 102}, {14, 102}, {30, 102}, {46, 102}, {60, 102}};

// Room ticks that any move of the story needs at most, with room to spare.
constexpr int32_t roomMoveTicks = 400;

// A click at a frame point, handled when this returns.
void click(HeadlessProgram& run, int32_t x, int32_t y) {
    run.clickFrame(x, y);
    run.drain();
}

// The centre of a picture drawn with its top-left corner at (x, y); the hit boxes, moved one
// pixel right and down, hold it too.
FramePoint centreOf(const Image& image, int32_t x, int32_t y) {
    return {x + (image.width + 1) / 2, y + (image.height + 1) / 2};
}

// In old-school mode the room's next click needs the verb first.
bool chooseVerb(HeadlessProgram& run, int32_t verb, FramePoint button) {
    MainScreen& room = run.program->mainScreen;
    if (!room.oldskoolMode) {
        return true;
    }
    FramePoint c = centreOf(room.commandBar.verbOff[verb], room.commandBar.x + button.x, button.y);
    click(run, c.x, c.y);
    return room.commandBar.currentVerb == verb;
}

bool pressUntilScreen(HeadlessProgram& run, uint16_t key, int32_t screenId, int32_t maxTicks) {
    run.key(key);
    return run.runTicksUntil([&run, screenId] { return run.program->screenId == screenId; },
                             maxTicks);
}

} // namespace

FramePoint propOnScreen(HeadlessProgram& run, const char* name) {
    MainScreen& room = run.program->mainScreen;
    const PropRecord& prop = room.props.getProp(WString(name));
    return centreOf(*prop.image, prop.x - room.scrollX, prop.y);
}

FramePoint panelButtonOnScreen(HeadlessProgram& run, PanelButton button) {
    const PlayerGUI& panel = run.program->mainScreen.playerPanel;
    const Image* pictures[] = {&panel.playButton, &panel.previousButton, &panel.nextButton,
                               &panel.pauseButton, &panel.ejectButton};
    const auto i = static_cast<size_t>(button);
    return centreOf(*pictures[i], panel.x + panelButtons[i].x, panel.y + panelButtons[i].y);
}

bool skipBootSequence(HeadlessProgram& run) {
    // The switch follows two steps of eight ticks after the key.
    return pressUntilScreen(run, keySpace, 2, 20);
}

bool leaveCracktro(HeadlessProgram& run) {
    return pressUntilScreen(run, keySpace, 3, 2);
}

bool answerTrainer(HeadlessProgram& run, bool oldskool) {
    return pressUntilScreen(run, oldskool ? 'Y' : 'N', 4, 2);
}

bool walkTo(HeadlessProgram& run, int32_t frameX, int32_t frameY) {
    MainScreen& room = run.program->mainScreen;
    if (!chooseVerb(run, verbWalkTo, walkToButton)) {
        return false;
    }
    click(run, frameX, frameY);
    if (!room.walking) {
        return false;
    }
    if (!run.runTicksUntil([&room] { return !room.walking; }, roomMoveTicks)) {
        return false;
    }
    // The view follows the actor for a while after it stopped.
    int32_t scrolledTo = room.scrollX;
    run.runTicksUntil(
        [&room, &scrolledTo] { return std::exchange(scrolledTo, room.scrollX) == room.scrollX; },
        roomMoveTicks);
    return std::abs(room.actorX - room.targetX) < 4 && room.actorY == room.targetY;
}

bool climbStairs(HeadlessProgram& run) {
    MainScreen& room = run.program->mainScreen;
    if (!chooseVerb(run, verbUse, useButton)) {
        return false;
    }
    FramePoint stairs = propOnScreen(run, "stairs");
    click(run, stairs.x, stairs.y);
    return run.runTicksUntil([&room] { return room.floor == 1 && !room.stairsActive; },
                             roomMoveTicks);
}

bool bringGuitarIntoView(HeadlessProgram& run) {
    MainScreen& room = run.program->mainScreen;
    const PropRecord& guitar = room.props.getProp(WString("guitar"));
    for (int32_t walk = 0; walk < 5; ++walk) {
        if (guitar.x + guitar.image->width - room.scrollX < frameWidth) {
            return true;
        }
        if (!walkTo(run, frameWidth - 10, guitar.walkY)) {
            return false;
        }
    }
    return false;
}

bool takeGuitar(HeadlessProgram& run) {
    MainScreen& room = run.program->mainScreen;
    if (!chooseVerb(run, verbUse, useButton)) {
        return false;
    }
    FramePoint guitar = propOnScreen(run, "guitar");
    click(run, guitar.x, guitar.y);
    return run.runTicksUntil([&room] { return room.rockoutActive; }, roomMoveTicks);
}

void clickPanelButton(HeadlessProgram& run, PanelButton button) {
    FramePoint c = panelButtonOnScreen(run, button);
    click(run, c.x, c.y);
}

void clickTitle(HeadlessProgram& run, int32_t row) {
    const PlayerGUI& panel = run.program->mainScreen.playerPanel;
    click(run, panel.x + 40, panel.y + 25 + 11 * row);
}

void clickPositionBar(HeadlessProgram& run, int32_t pixel) {
    const PlayerGUI& panel = run.program->mainScreen.playerPanel;
    FramePoint knob = centreOf(panel.sliderButton, panel.x, panel.y + 93);
    click(run, panel.x + 4 + pixel, knob.y);
}

bool waitForEndScreen(HeadlessProgram& run) {
    return run.runTicksUntil([&run] { return run.program->screenId == 5; }, 200);
}

bool leaveEndScreen(HeadlessProgram& run, uint16_t key) {
    EndScreen& end = run.program->endScreen;
    if (!run.runTicksUntil([&end] { return end.fadeIn >= 248; }, 40)) {
        return false;
    }
    run.key(key);
    return run.runTicksUntil([&run] { return run.program->input.quitRequested; }, 40);
}
