// demo OUTDIR: plays the whole story headless, as a person would in old-school mode, on the
// program's own logic with a scripted clock and input, and writes what a person would have seen
// and heard into OUTDIR: a PNG of the window at each key moment, a strip of them all, and
// story.wav, 30 s of the mixed audio from the pick-up of the guitar on. Run in the build folder,
// beside the archives, by `make demo`.
#include "archive_pictures.h"
#include "audio/audio_library.h"
#include "contact_sheet.h"
#include "support/sound_files.h"
#include "support/story_player.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// A moment worth a picture: the first pass after which `reached` holds.
struct Moment {
    const char* name;
    std::function<bool(const HeadlessProgram&)> reached;
    bool taken = false;
};

int32_t shownScreen(const HeadlessProgram& run) {
    return run.screensShown.empty() ? 0 : run.screensShown.back();
}

int32_t litLamps(const MainScreen& room) {
    return static_cast<int32_t>(std::count_if(
        std::begin(room.lightTimer), std::end(room.lightTimer), [](int32_t t) { return t > 0; }));
}

std::vector<Moment> keyMoments() {
    return {
        {"boot", [](const HeadlessProgram& r) { return r.program->bootScreen.progress == 85; }},
        {"cracktro",
         [](const HeadlessProgram& r) {
             return shownScreen(r) == 2 && r.program->cracktro.logoPhase == 90;
         }},
        {"trainer", [](const HeadlessProgram& r) { return shownScreen(r) == 3; }},
        {"room",
         [](const HeadlessProgram& r) {
             MainScreen& room = r.program->mainScreen;
             return shownScreen(r) == 4 && room.isMouseOver("stairs");
         }},
        {"climb", [](const HeadlessProgram& r) { return r.program->mainScreen.stairsFrame == 5; }},
        {"pickup", [](const HeadlessProgram& r) { return r.program->mainScreen.pickupFrame == 7; }},
        {"rockout",
         [](const HeadlessProgram& r) {
             const MainScreen& room = r.program->mainScreen;
             return room.playerPanel.x == 0 && litLamps(room) >= 4;
         }},
        {"closing",
         [](const HeadlessProgram& r) {
             const MainScreen& room = r.program->mainScreen;
             return room.playerPanel.closing && room.exitCounter - room.exitDelay == 27;
         }},
        {"end",
         [](const HeadlessProgram& r) {
             return shownScreen(r) == 5 && r.program->endScreen.fadeIn == 248;
         }},
    };
}

// The frame as the window showed it, opaque (the display ignores the alpha byte).
Canvas opaque(const uint32_t* pixels, int32_t width, int32_t height) {
    Canvas canvas(width, height);
    std::transform(pixels, pixels + canvas.pixels.size(), canvas.pixels.begin(),
                   [](uint32_t p) { return p | 0xFF000000u; });
    return canvas;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "demo: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// One move of the story, and what it is called when it fails.
struct Move {
    const char* what;
    std::function<bool()> play;
};

// The story, move by move, as the moments above want it; false at the first move that the
// program did not answer.
bool playStory(HeadlessProgram& run) {
    Program& program = *run.program;
    MainScreen& room = program.mainScreen;
    constexpr int32_t roomTicksPerSecond = 1000 / 75;
    const Move moves[] = {
        {"the boot sequence",
         [&] {
             return run.runTicksUntil([&] { return program.bootScreen.progress > 85; }, 1000) &&
                    skipBootSequence(run);
         }},
        {"the cracktro",
         [&] {
             return run.runTicksUntil([&] { return program.cracktro.logoPhase > 90; }, 1000) &&
                    leaveCracktro(run);
         }},
        {"the trainer screen",
         [&] {
             run.runTicks(30);
             return answerTrainer(run, true);
         }},
        {"a look at the stairs",
         [&] {
             const PropRecord& stairs = room.props.getProp(WString("stairs"));
             run.pointAt(stairs.x - room.scrollX + stairs.image->width / 2,
                         stairs.y + stairs.image->height / 2);
             run.runTicks(10);
             return true;
         }},
        {"a walk", [&] { return walkTo(run, 122, 150); }},
        {"the stairs", [&] { return climbStairs(run); }},
        {"the gallery", [&] { return bringGuitarIntoView(run); }},
        {"the guitar", [&] { return takeGuitar(run); }},
        {"the first track",
         [&] {
             run.runTicks(17 * roomTicksPerSecond);
             return true;
         }},
        {"the next track",
         [&] {
             clickPanelButton(run, PanelButton::next);
             run.runTicks(8 * roomTicksPerSecond);
             return program.music.current == 1;
         }},
        {"eject",
         [&] {
             clickPanelButton(run, PanelButton::eject);
             return waitForEndScreen(run);
         }},
        {"the end screen", [&] { return leaveEndScreen(run, ' '); }},
        {"the exit", [&] { return run.finish() == 1; }},
    };
    for (const Move& move : moves) {
        if (!move.play()) {
            std::fprintf(stderr, "demo: the story stopped at %s\n", move.what);
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: demo OUTDIR (run beside interface.qar and music.qar)\n", stderr);
        return 2;
    }
    const std::string outDir = argv[1];
    std::filesystem::create_directories(outDir);

    HeadlessProgram run;
    if (!run.start()) {
        std::fputs("demo: the program did not start\n", stderr);
        return 1;
    }
    std::vector<Moment> moments = keyMoments();
    std::vector<SheetItem> strip;
    bool written = true;
    size_t pickupAudio = 0; // where the recording starts: the first pass of the pick-up
    run.recording = true;
    run.afterPass = [&] {
        if (pickupAudio == 0 && run.program->mainScreen.pickupActive) {
            pickupAudio = run.recordedAudio.size();
        }
        for (Moment& moment : moments) {
            if (moment.taken || !moment.reached(run)) {
                continue;
            }
            moment.taken = true;
            char name[64];
            std::snprintf(name, sizeof name, "%02d-%s.png", static_cast<int>(strip.size() + 1),
                          moment.name);
            const Program& p = *run.program;
            written &= writePng(outDir + "/" + name, opaque(run.platform.lastPresented.data(),
                                                            p.input.width, p.input.height));
            strip.push_back({moment.name, {opaque(p.framebuffer.pixels, frameWidth, frameHeight)}});
        }
    };
    if (!playStory(run)) {
        return 1;
    }
    for (const Moment& moment : moments) {
        if (!moment.taken) {
            std::fprintf(stderr, "demo: the story never showed \"%s\"\n", moment.name);
            return 1;
        }
    }

    PackArchive archive;
    AtlasFont font;
    std::string error;
    if (!archive.open("interface.qar") || !loadLabelFont(archive, font, error)) {
        std::fprintf(stderr, "demo: interface.qar: no label font %s\n", error.c_str());
        return 1;
    }
    written &= writePng(outDir + "/strip.png", drawContactSheet(strip, font, 3 * 640 + 4 * 16));

    const size_t samples = size_t{30} * audio::outputRateHz * 2;
    if (run.recordedAudio.size() < pickupAudio + samples) {
        std::fputs("demo: less than 30 s of audio after the pick-up\n", stderr);
        return 1;
    }
    const std::vector<int16_t> fromPickup(run.recordedAudio.begin() + pickupAudio,
                                          run.recordedAudio.begin() + pickupAudio + samples);
    written &= writeBytes(outDir + "/story.wav", makeWav16(fromPickup, 2, audio::outputRateHz));
    if (written) {
        std::printf("demo: %zu pictures, strip.png and story.wav in %s\n", strip.size(),
                    outDir.c_str());
    }
    return written ? 0 : 1;
}
