// room-art SHEETS OUT: draws every picture of the room into the folder OUT, reading the
// actor's pixel sheets from the folder SHEETS. Run by the build; the same sources always give
// the same files.
#include "actor.h"
#include "canvas.h"
#include "lamps.h"
#include "room.h"

#include <cstdio>
#include <string>

namespace {

bool writeSeries(const std::string& out, const char* name, const std::vector<Canvas>& frames) {
    for (size_t i = 0; i < frames.size(); ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "%s_%02zu.png", name, i + 1);
        if (!writePng(out + "/" + file, frames[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: room-art SHEETS OUT\n");
        return 2;
    }
    const std::string sheets = argv[1];
    const std::string out = argv[2];

    ActorSheets actorSheets;
    std::string error;
    if (!loadActorSheets(sheets, actorSheets, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }

    bool ok = writePng(out + "/background.png", drawBackground()) &&
              writePng(out + "/foreground.png", drawForeground()) &&
              writePng(out + "/walkable_surface_01.png", drawWalkMask(0)) &&
              writePng(out + "/walkable_surface_02.png", drawWalkMask(1)) &&
              writePng(out + "/prop_stairs.png", drawStairsProp()) &&
              writePng(out + "/prop_guitar.png", drawGuitarProp());
    for (int position = 0; ok && position < lampPositions; ++position) {
        const std::string letter(1, static_cast<char>('a' + position));
        ok = writePng(out + "/lightfixture_off_" + letter + ".png",
                      drawLampFixture(position, false)) &&
             writePng(out + "/lightfixture_on_" + letter + ".png",
                      drawLampFixture(position, true)) &&
             writePng(out + "/lightcone_" + letter + ".png", drawLightCone(position));
    }
    ok = ok && writeSeries(out, "actor_walk", drawWalkCycle(actorSheets)) &&
         writeSeries(out, "anim_stairs", drawStairsClimb(actorSheets)) &&
         writeSeries(out, "anim_pickup", drawPickup(actorSheets)) &&
         writeSeries(out, "anim_rockout", drawRockout(actorSheets)) &&
         writeSeries(out, "anim_pantsoff", drawPantsOff(actorSheets));
    return ok ? 0 : 1;
}
