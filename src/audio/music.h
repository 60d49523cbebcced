// The program's sound beyond single library calls: clips loaded from the interface archive,
// the playlist of the six tracks of "music.qar" with its current track, pause and eject
// slowdown, and the start and stop of the audio. Main thread only: the library's end and
// slide notifications reach onTrackEnd and onSlideEnd there, at the start of a loop pass.
#pragma once

#include "core/grow_array.h"
#include "resources/pack_archive.h"

#include <cstdint>

// A sound file of the interface archive, playable as a stream or as a tracker module.
struct AudioClip {
    uint32_t stream = 0; // 0 when the file did not open as a stream
    uint32_t module = 0; // 0 unless the file opened as a module after the stream attempt failed
    ByteBuffer data;     // the file's bytes, which an Ogg stream reads while it plays

    AudioClip() = default;
    AudioClip(const AudioClip&) = delete;
    AudioClip& operator=(const AudioClip&) = delete;
    ~AudioClip(); // freeClip: the channel goes before the bytes it reads
};

struct Track {
    uint32_t stream = 0; // never 0 in the list
    ByteBuffer data;     // the Ogg Vorbis file, read by the stream while it plays
};

// The music archive's files in playlist order.
constexpr const char* trackFileNames[6] = {
    "01_Laser_Orchard.ogg", "02_Wrath_of_the_Regent.ogg", "03_Wandering_past_Tomorrow.ogg",
    "04_Hornet_Derby.ogg",  "05_Cube_Lord.ogg",           "06_Ninja_Insurrection.ogg",
};

struct MusicState {
    PackArchive archive;         // "music.qar"
    bool slowingDown = false;    // set when the eject slowdown starts; never cleared
    bool paused = false;         // the playlist has paused all output
    int32_t current = 0;         // index of the current track
    GrowArray<Track> tracks{10}; // the loaded tracks in load order

    MusicState() = default;
    MusicState(const MusicState&) = delete;
    MusicState& operator=(const MusicState&) = delete;
    ~MusicState(); // stopAudio once more, which is harmless after it ran
};

// Opens "music.qar", then the audio device, and starts the output. False when either fails;
// with no device every stream and module then fails to load and the program runs silent.
bool startAudio(MusicState& music);

// Loads a file of the interface archive into the clip, first as a stream, then as a repeating
// module; the clip's earlier channel and data are released first. True only for a stream.
bool loadClip(PackArchive& interfaceArchive, AudioClip& clip, const char* name);

// Releases the clip's channel, then its data; both handles are 0 afterwards.
void freeClip(AudioClip& clip);

// The channel through which the clip plays and stops: its stream, else its module (0 when it
// failed to load, which plays nothing).
uint32_t clipChannel(const AudioClip& clip);

// Loads a file of the music archive as a stream and appends it to the tracks.
bool loadTrack(MusicState& music, const char* name);

// Releases every track; the list is empty afterwards and keeps its capacity.
void freeTracks(MusicState& music);

// The audio half of entering the room: the tracks are freed, then the six files loaded in
// playlist order; a file that fails is left out and the later ones move up. `current` stays.
void loadPlaylist(MusicState& music);

// The current track's stream, or 0 when the list holds no track at `current`.
uint32_t currentStream(const MusicState& music);

// Makes the track at `index` current and plays it from its beginning; while paused, ends the
// pause first, and for the current index does only that. Nothing without a track at `index`.
void playTrack(MusicState& music, int32_t index);

// Plays the track after the current one, the first after the last.
void nextTrack(MusicState& music);

// Pauses all output, or resumes it.
void togglePause(MusicState& music);

// Length of the current track in milliseconds, truncated; 0 without a current track.
int32_t trackLengthMs(const MusicState& music);

// The eject: the current track's rate slides to 0 over 2 s, then the output pauses.
void startSlowdown(MusicState& music);

// Stops the current track, frees the tracks, stops and frees the device and clears the
// music archive. Running it again is harmless.
void stopAudio(MusicState& music);

// The library's notifications; `user` is the MusicState.
void onTrackEnd(uint32_t sync, uint32_t channel, void* user);
void onSlideEnd(uint32_t sync, uint32_t channel, void* user);
