// The actor and every animation it appears in. The body is a small puppet rig with fixed bone
// lengths whose knees and elbows are placed by two-bone reaching, drawn into pixels, with the
// heads taken from pixel sheets; each animation is a list of poses of this one rig, so the
// proportions and the foot point hold in every frame. Used by the room generator's main.
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

// The head sheets (assets/room/head_*.txt): profile, profile shouting, profile bent forward,
// and facing the viewer grinning, winking and startled.
struct ActorSheets {
    Canvas side;
    Canvas shout;
    Canvas down;
    Canvas front;
    Canvas wink;
    Canvas oops;
};

bool loadActorSheets(const std::string& folder, ActorSheets& sheets, std::string& error);

// actor_walk_01..10: facing right, 01 standing; the foot point is pixel (10, 55).
std::vector<Canvas> drawWalkCycle(const ActorSheets& sheets);
// anim_stairs_01..10, laid over the stairs prop: from the foot of the stairs to the gallery.
std::vector<Canvas> drawStairsClimb(const ActorSheets& sheets);
// anim_pickup_01..13: from standing at the guitar spot to the first rock-out pose.
std::vector<Canvas> drawPickup(const ActorSheets& sheets);
// anim_rockout_01..16: picture 2 * level + toggle + 8 * alt, for intensity levels 0-3.
std::vector<Canvas> drawRockout(const ActorSheets& sheets);
// anim_pantsoff_01..05: the trousers drop, boxer shorts, a bow, a grin and a wink.
std::vector<Canvas> drawPantsOff(const ActorSheets& sheets);
