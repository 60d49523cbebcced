#include "screens/player_gui.h"

#include "audio/audio_library.h"
#include "audio/music.h"
#include "core/program.h"
#include "render/blit.h"
#include "render/colour.h"
#include "render/font.h"

#include <algorithm>

namespace {

constexpr const char* trackTitles[6] = {
    "Laser Orchard", "Wrath of the Regent", "Wandering Past Tomorrow",
    "Hornet Derby",  "Cube Lord",           "Ninja Insurrection"};

constexpr uint32_t currentTitleColour = c64Palette[13]; // light green
constexpr uint32_t otherTitleColour = c64Palette[9];    // brown

constexpr int32_t sliderTravel = 120; // pixels the knob moves over a whole track
constexpr int32_t sliderRow = 93;
constexpr int32_t buttonRow = 102;
constexpr int32_t playX = 0, previousX = 14, nextX = 30, pauseX = 46, ejectX = 60;

// A button's hit box: its picture's rectangle moved one pixel right and down.
bool overButton(const Image& button, int32_t left, int32_t top, int32_t px, int32_t py) {
    return left < px && px <= left + button.width && top < py && py <= top + button.height;
}

} // namespace

void PlayerGUI::load(PackArchive& archive) {
    loadImage(archive, background, "player_background.png");
    loadImage(archive, sliderButton, "player_sliderbutton.png");
    loadImage(archive, playButton, "player_button_play.png");
    loadImage(archive, previousButton, "player_button_previous.png");
    loadImage(archive, nextButton, "player_button_next.png");
    loadImage(archive, pauseButton, "player_button_pause.png");
    loadImage(archive, ejectButton, "player_button_eject.png");
}

bool PlayerGUI::onClick(int32_t px, int32_t py) {
    if (closing) {
        return false;
    }
    MusicState& music = program.music;
    const int32_t count = music.tracks.count;
    const int32_t top = y + buttonRow;

    // The position bar seeks only while the current track plays (or is paused); otherwise
    // the click goes on to the buttons.
    bool onBar = x + 4 < px && px < x + 124 && y + sliderRow < py &&
                 py < y + sliderRow + sliderButton.height;
    uint32_t stream = currentStream(music);
    if (onBar && stream != 0 && audio::channelIsActive(stream) != audio::channelStopped) {
        // In 64 bits: the length of a long track of the user's own times the click's offset
        // would overflow 32.
        int64_t targetMs = int64_t{trackLengthMs(music)} * (px - x - 4) / sliderTravel;
        audio::channelSetPosition(
            stream, static_cast<uint64_t>(audio::channelSecondsToBytes(stream, targetMs / 1000.0)));
        return true;
    }
    if (overButton(playButton, x + playX, top, px, py)) {
        playTrack(music, music.current);
        return true;
    }
    if (overButton(previousButton, x + previousX, top, px, py)) {
        playTrack(music, music.current - 1 < 0 ? count - 1 : music.current - 1);
        return true;
    }
    if (overButton(nextButton, x + nextX, top, px, py)) {
        playTrack(music, music.current + 1 >= count ? 0 : music.current + 1);
        return true;
    }
    if (overButton(pauseButton, x + pauseX, top, px, py)) {
        togglePause(music);
        return true;
    }
    if (overButton(ejectButton, x + ejectX, top, px, py)) {
        if (!music.paused) {
            startSlowdown(music);
        }
        closing = true;
        return true;
    }
    for (int32_t i = 0; i < 6; ++i) {
        if (x + 10 < px && px < x + 130 && y + 20 + 11 * i < py && py < y + 30 + 11 * i) {
            playTrack(music, i);
            return true;
        }
    }
    return false;
}

void PlayerGUI::render() {
    Framebuffer& frame = program.framebuffer;
    MusicState& music = program.music;
    drawImage(frame, background, x, y);

    // The knob stands at the track's position, at x before any track has started.
    uint32_t stream = currentStream(music);
    const int64_t lengthMs = trackLengthMs(music);
    int64_t positionMs = 0;
    if (stream != 0) {
        // Clamped to the track, so that the conversion and the product below stay in range.
        double seconds = audio::channelBytesToSeconds(stream, audio::channelGetPosition(stream));
        positionMs = static_cast<int64_t>(std::clamp(seconds * 1000.0, 0.0, double(lengthMs)));
    }
    const int32_t knobX =
        x + (lengthMs > 0 ? static_cast<int32_t>(sliderTravel * positionMs / lengthMs) : 0);
    drawImage(frame, sliderButton, knobX, y + sliderRow);

    FramePoint pointer =
        toFrameCoordinates(program.geometry, program.input.mouseX, program.input.mouseY);
    const int32_t top = y + buttonRow;
    auto highlight = [&](const Image& button, int32_t dx, bool alsoWhen) {
        if (alsoWhen || overButton(button, x + dx, top, pointer.x, pointer.y)) {
            drawImage(frame, button, x + dx, top);
        }
    };
    highlight(playButton, playX,
              stream != 0 && audio::channelIsActive(stream) != audio::channelStopped);
    highlight(previousButton, previousX, false);
    highlight(nextButton, nextX, false);
    highlight(pauseButton, pauseX, music.paused);
    highlight(ejectButton, ejectX, false);

    for (int32_t i = 0; i < 6; ++i) {
        drawText(frame, trackTitles[i], program.silkyFont, x + 10, y + 20 + 11 * i,
                 i == music.current ? currentTitleColour : otherTitleColour);
    }
}
