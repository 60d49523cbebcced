// A person playing the whole story on a headless program: keys pressed and things clicked where
// they show on the screen, each move played until the program has answered it. Every move
// returns false when the program did not answer as the story goes on. Used by the story tests
// and the demo tool; one thread.
#pragma once

#include "support/headless_program.h"

#include <cstdint>

// Space on the boot screen, until the cracktro shows.
bool skipBootSequence(HeadlessProgram& run);
// Space on the cracktro, until the trainer screen shows.
bool leaveCracktro(HeadlessProgram& run);
// Y or N on the trainer screen, until the room shows.
bool answerTrainer(HeadlessProgram& run, bool oldskool);

// A click on the floor at a frame point (in old-school mode "Walk to" first), until the actor
// stands again and the view has stopped following it.
bool walkTo(HeadlessProgram& run, int32_t frameX, int32_t frameY);
// A click on the stairs ("Use" first in old-school mode), until the actor has walked to them,
// climbed them and stands on the gallery.
bool climbStairs(HeadlessProgram& run);
// Walks along the gallery to the right edge of the view until the whole guitar shows.
bool bringGuitarIntoView(HeadlessProgram& run);
// A click on the guitar ("Use" first in old-school mode), until the actor has walked there,
// picked it up and starts to play.
bool takeGuitar(HeadlessProgram& run);

enum class PanelButton { play, previous, next, pause, eject };

// The centre of a prop's picture on the screen, where a click reaches it.
FramePoint propOnScreen(HeadlessProgram& run, const char* name);
// The centre of a player panel button as the panel stands now.
FramePoint panelButtonOnScreen(HeadlessProgram& run, PanelButton button);

// A click on a button of the player panel, at the centre of its picture. The panel has handled
// it when the call returns, as have the next three moves' clicks.
void clickPanelButton(HeadlessProgram& run, PanelButton button);
// A click on title row 0 to 5 of the player panel.
void clickTitle(HeadlessProgram& run, int32_t row);
// A click on the position bar, `pixel` pixels (1 to 119) from its left end.
void clickPositionBar(HeadlessProgram& run, int32_t pixel);

// Waits after the eject until the end screen shows.
bool waitForEndScreen(HeadlessProgram& run);
// Waits until the end picture has faded in, presses `key` (Space or Enter) and waits until the
// faded-out screen asks the program to quit.
bool leaveEndScreen(HeadlessProgram& run, uint16_t key);
