#include "audio/music.h"

#include "audio/audio_library.h"

#include <algorithm>

namespace {

constexpr uint32_t slowdownMs = 2000;

bool hasTrack(const MusicState& music, int32_t index) {
    return index >= 0 && index < music.tracks.count;
}

} // namespace

AudioClip::~AudioClip() {
    freeClip(*this);
}

MusicState::~MusicState() {
    stopAudio(*this);
}

bool startAudio(MusicState& music) {
    if (!music.archive.open("music.qar")) {
        return false;
    }
    if (!audio::init(audio::outputRateHz)) {
        return false;
    }
    return audio::start();
}

bool loadClip(PackArchive& interfaceArchive, AudioClip& clip, const char* name) {
    freeClip(clip);
    if (!loadByName(interfaceArchive, name, clip.data)) {
        return false;
    }
    const uint64_t lengthBytes = static_cast<uint64_t>(clip.data.lengthBytes);
    clip.stream = audio::streamCreateFile(clip.data.data.get(), lengthBytes);
    if (clip.stream != 0) {
        return true;
    }
    clip.module =
        audio::musicLoad(clip.data.data.get(), lengthBytes, audio::musicLoop, audio::outputRateHz);
    return false;
}

void freeClip(AudioClip& clip) {
    if (clip.stream != 0) {
        audio::streamFree(clip.stream);
        clip.stream = 0;
    }
    if (clip.module != 0) {
        audio::musicFree(clip.module);
        clip.module = 0;
    }
    clip.data = ByteBuffer{};
}

uint32_t clipChannel(const AudioClip& clip) {
    return clip.stream != 0 ? clip.stream : clip.module;
}

bool loadTrack(MusicState& music, const char* name) {
    Track track;
    if (!loadByName(music.archive, name, track.data)) {
        return false;
    }
    track.stream = audio::streamCreateFile(track.data.data.get(),
                                           static_cast<uint64_t>(track.data.lengthBytes));
    if (track.stream == 0) {
        return false;
    }
    music.tracks.append(std::move(track));
    return true;
}

void freeTracks(MusicState& music) {
    for (int32_t i = 0; i < music.tracks.count; ++i) {
        Track& track = music.tracks[i];
        audio::streamFree(track.stream);
        track.stream = 0;
        track.data = ByteBuffer{};
    }
    music.tracks.clear();
}

void loadPlaylist(MusicState& music) {
    freeTracks(music);
    for (const char* name : trackFileNames) {
        loadTrack(music, name);
    }
}

uint32_t currentStream(const MusicState& music) {
    return hasTrack(music, music.current) ? music.tracks[music.current].stream : 0;
}

void playTrack(MusicState& music, int32_t index) {
    if (!hasTrack(music, index)) {
        return;
    }
    bool pauseEnded = false;
    if (music.paused) {
        audio::start();
        music.paused = false;
        pauseEnded = true;
    }
    // Resuming the current track goes on from where it paused.
    if (index == music.current && pauseEnded) {
        return;
    }
    uint32_t playing = currentStream(music);
    if (audio::channelIsActive(playing) != audio::channelStopped) {
        audio::channelStop(playing);
    }
    uint32_t stream = music.tracks[index].stream;
    audio::channelSetPosition(stream, 0);
    audio::channelPlay(stream, false);
    audio::channelSetSync(stream, audio::SyncType::end, onTrackEnd, &music);
    music.current = index;
}

void nextTrack(MusicState& music) {
    int32_t next = music.current + 1;
    playTrack(music, next < music.tracks.count ? next : 0);
}

void togglePause(MusicState& music) {
    if (music.paused) {
        audio::start();
        music.paused = false;
    } else {
        audio::pause();
        music.paused = true;
    }
}

int32_t trackLengthMs(const MusicState& music) {
    uint32_t stream = currentStream(music);
    if (stream == 0) {
        return 0;
    }
    double seconds = audio::channelBytesToSeconds(stream, audio::channelGetLength(stream));
    return static_cast<int32_t>(std::min(seconds * 1000.0, double{INT32_MAX}));
}

void startSlowdown(MusicState& music) {
    uint32_t stream = currentStream(music);
    if (stream == 0) {
        return;
    }
    music.slowingDown = true;
    audio::channelSetSync(stream, audio::SyncType::slideEnd, onSlideEnd, &music);
    audio::channelSlideAttribute(stream, audio::ChannelAttribute::frequency, 0.0f, slowdownMs);
}

void stopAudio(MusicState& music) {
    audio::channelStop(currentStream(music));
    freeTracks(music);
    audio::stop();
    audio::free();
    music.archive.clear();
}

void onTrackEnd(uint32_t, uint32_t, void* user) {
    nextTrack(*static_cast<MusicState*>(user));
}

void onSlideEnd(uint32_t, uint32_t, void* user) {
    togglePause(*static_cast<MusicState*>(user));
}
