// Screen 4, the room: a side-scrolling two-storey room in which the actor walks, climbs the
// stairs, picks up the guitar and plays it while ten ceiling lamps flash with the music. It
// owns the player panel and, in old-school mode, the verb bar. Runs at 75 ms a tick. Main
// thread only.
#pragma once

#include "audio/music.h"
#include "core/framebuffer.h"
#include "core/grow_array.h"
#include "core/gui_element.h"
#include "core/wstring.h"
#include "resources/image.h"
#include "resources/pack_archive.h"
#include "screens/command_gui.h"
#include "screens/player_gui.h"

#include <cstdint>

struct Program;

// A thing in the room that the actor can walk to and use.
struct PropRecord {
    const Image* image = nullptr; // one of the screen's pictures, not owned
    int32_t x = 0;                // top-left corner of the picture, room coordinates
    int32_t y = 0;
    int32_t walkX = 0; // where the actor walks before using it
    int32_t walkY = 0;
    int32_t floor = 0; // the floor from which "Walk to" reaches it
};

// The room's props by name, in insertion order.
struct PropTable {
    KeyedTable<PropRecord> entries{10};

    // The record of that name; an absent name is first appended with a zero record.
    PropRecord& getProp(const WString& name) { return entries.get(name); }
    bool hasProp(const WString& name) const { return entries.contains(name); }
    void setProp(const WString& name, const PropRecord& record) { entries.set(name, record); }
    int32_t count() const { return entries.count(); }
    const KeyedTable<PropRecord>::Pair& propAt(int32_t i) const { return entries.pairs[i]; }
};

// The columns of one row of a cone mask between its first and last lit pixel (red byte not
// 0), so that the tint does not walk the unlit rest of the row; empty when none is lit.
struct ConeRowSpan {
    int32_t first = 0;
    int32_t end = 0; // one past the last lit column
};

constexpr int32_t lampCount = 10;
constexpr int32_t lampPositions = 5; // swing positions a to e

struct MainScreen : GUIElement {
    Program& program;

    Image background;         // its width is the room's width
    Image foreground;         // drawn over the actor and the lamps
    Image actorWalk[10];      // walk cycle; 0 is also the standing pose
    Image cursor;             // the pointer, hot spot at its pixel (6, 6)
    Image walkableSurface[2]; // walk masks of the two floors
    Image propGuitar;
    Image propStairs;
    Image animStairs[10];
    Image animPickup[13];
    Image animRockout[16];
    Image lightFixtureOn[lampPositions];
    Image lightFixtureOff[lampPositions];
    Image lightCone[lampPositions];
    Image animPantsOff[5];
    Image blackImage;
    AudioClip ambientClip; // the room's tracker module
    AudioClip footstepClips[4];
    PlayerGUI playerPanel{program};
    CommandGUI commandBar{program};
    bool oldskoolMode = false; // the verb bar is used; set by the trainer screen
    int32_t actorX = 50;       // the actor's foot point in room coordinates
    int32_t actorY = 150;
    bool walking = false;
    int32_t targetX = 0; // walk target, room coordinates; targetX is always even
    int32_t targetY = 0;
    int32_t walkFrame = 0;   // 0 to 9; 0 whenever the actor stands
    int32_t exitCounter = 0; // ticks since eject closed the room
    PropTable props;
    int32_t scrollX = 0; // room column at the view's left edge, a multiple of 4
    bool facingLeft = false;
    bool guitarTaken = false; // from the arrival at the guitar on, room clicks are ignored
    WString pendingProp;      // the prop to use on arrival, or empty
    bool stairsActive = false;
    int32_t stairsFrame = 0;
    bool pickupActive = false;
    int32_t pickupFrame = 0;
    bool rockoutActive = false;
    int32_t rockFrame = 0;   // the rock-out picture shown, 0 to 15
    bool rockToggle = false; // the odd or even picture of a pair
    int32_t rockLevel = 0;   // intensity 0 to 3
    bool rockAlt = false;    // the second set of eight pictures
    int32_t rockTick = 0;    // ticks since the last rock step
    int32_t lightPhase[lampCount] = {0, 13, 26, 39, 52, 65, 78, 91, 104, 117};
    int32_t lightTimer[lampCount] = {}; // a lamp is lit while its countdown is above 0
    int32_t exitDelay = 0; // ticks from eject to the closing animation: 28, or 0 if paused
    int32_t floor = 0;     // 0 ground floor, 1 gallery

    // Each lit lamp's cone colour for every brightness 0-255 of the pixel under it.
    uint32_t coneTint[lampCount][256] = {};
    // Where each cone mask's lit pixels lie, row by row down to the frame's last row.
    ConeRowSpan coneSpans[lampPositions][frameHeight] = {};

    explicit MainScreen(Program& owner) : program(owner) {}

    // Start-up's loading of the room's pictures, sounds and props.
    void load(PackArchive& archive);
    bool onClick(int32_t x, int32_t y) override;
    void render() override;
    void tick() override;

    // Whether the pointer lies over the named prop's picture (its rectangle moved one pixel
    // right and down).
    bool isMouseOver(const char* name);
    bool isMouseOver(const WString& name);

    // The steps of the tick, in their order.
    bool exitCountdownStep(); // true when the room has been left
    void walkingStep();
    void arrivalStep();
    void stairsStep();
    void pickupStep();
    void rockStep();
    void pictureOverrides();
    void scrollingStep();

    // Sends the actor toward the walkable point of its floor nearest a click at frame (x, y)
    // in the clicked column.
    void walkTargetSearch(int32_t x, int32_t y);
};

// The trainer screen's answer enters the room: 75 ms a tick, the six tracks loaded afresh and
// the room's ambient module playing.
void enterRoom(Program& program);

// The room's pixels for a lit lamp: each of red, green and blue moves 30 % of the way from the
// frame pixel toward the lamp's colour for that pixel's brightness.
uint32_t tintConePixel(uint32_t pixel, const uint32_t (&tint)[256]);

// The rows' spans of a cone mask, for tintLightCone.
void findConeSpans(const Image& cone, ConeRowSpan (&spans)[frameHeight]);

// Tints the frame under a lamp's cone mask laid at (x, 0): every pixel under a mask pixel whose
// red byte is not 0, inside the frame, gets tintConePixel with the lamp's table. The spans are
// the mask's, from findConeSpans.
void tintLightCone(Framebuffer& frame, const Image& cone, const ConeRowSpan (&spans)[frameHeight],
                   int32_t x, const uint32_t (&tint)[256]);
