// Clips, the playlist and the audio's start and stop, on the offline mixer, with sound files
// made in the test and packed into archives; notifications are delivered between renders as
// the main loop delivers them between passes.
#include "audio/audio_library.h"
#include "audio/music.h"
#include "support/sound_files.h"
#include "support/temp_dir.h"

#include "archive_writer.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int32_t rateHz = audio::outputRateHz;
constexpr int32_t passFrames = 441; // 10 ms, about one main-loop pass

int32_t framesOf(double seconds) {
    return static_cast<int32_t>(std::lround(seconds * rateHz));
}

// Renders in passes of 10 ms, delivering the notifications after each.
void play(double seconds) {
    std::vector<int16_t> out(2 * passFrames);
    for (int32_t done = 0; done < framesOf(seconds); done += passFrames) {
        audio::renderOffline(out.data(), passFrames);
        audio::deliverNotifications();
    }
}

int64_t positionFrames(uint32_t stream) {
    return audio::channelGetPosition(stream) / 4;
}

using Entries = std::vector<std::pair<std::string, Bytes>>;

// Packs the entries into an archive file at `path`.
void writeArchive(const std::string& path, const Entries& entries) {
    ArchiveWriter writer;
    std::string directory;
    for (const auto& [name, bytes] : entries) {
        StoredBlob blob;
        ASSERT_TRUE(writer.addBlob(bytes.data(), bytes.size(), blob));
        directory += directoryLine(name, blob);
    }
    ASSERT_TRUE(writer.finish(directory));
    writeFileBytes(path, writer.bytes);
}

Bytes oggOf(double seconds) {
    return makeOgg(sineWave(framesOf(seconds), 2, rateHz, 441, 0.5f), 2, rateHz);
}

struct Playlist : testing::Test {
    TempDir directory;
    MusicState music;

    void SetUp() override { ASSERT_TRUE(audio::initOffline(rateHz)); }
    void TearDown() override { stopAudio(music); }

    void openMusicArchive(const Entries& entries) {
        writeArchive(directory.file("music.qar"), entries);
        ASSERT_TRUE(music.archive.open(directory.file("music.qar").c_str()));
    }

    // Loads Ogg tracks of these lengths from the music archive, one after the other.
    void addTracks(std::initializer_list<double> lengthsSeconds) {
        Entries entries;
        for (double seconds : lengthsSeconds) {
            entries.emplace_back("track" + std::to_string(entries.size()) + ".ogg", oggOf(seconds));
        }
        openMusicArchive(entries);
        for (const auto& entry : entries) {
            ASSERT_TRUE(loadTrack(music, entry.first.c_str()));
        }
    }

    uint32_t stream(int32_t index) { return music.tracks[index].stream; }
};

TEST_F(Playlist, NextAfterTheLastPlaysTheFirstFromItsBeginning) {
    addTracks({1.0, 1.0, 1.0});
    playTrack(music, 0);
    play(0.1);
    playTrack(music, 2);
    play(0.1);
    nextTrack(music);
    EXPECT_EQ(music.current, 0);
    EXPECT_EQ(audio::channelIsActive(stream(0)), audio::channelPlaying);
    EXPECT_EQ(positionFrames(stream(0)), 0);
    EXPECT_EQ(audio::channelIsActive(stream(2)), audio::channelStopped);
}

TEST_F(Playlist, PlayingTheCurrentTrackResumesItWhilePausedAndRestartsItWhilePlaying) {
    addTracks({2.0, 2.0});
    for (bool paused : {true, false}) {
        SCOPED_TRACE(paused ? "paused" : "playing");
        playTrack(music, 1);
        play(0.3);
        const int64_t position = positionFrames(stream(1));
        ASSERT_GT(position, 0);
        if (paused) {
            togglePause(music);
            play(0.2);
        }
        playTrack(music, 1);
        EXPECT_FALSE(music.paused);
        EXPECT_EQ(audio::channelIsActive(stream(1)), audio::channelPlaying);
        EXPECT_EQ(positionFrames(stream(1)), paused ? position : 0);
        playTrack(music, 0);
    }
}

TEST_F(Playlist, PlayingAnotherTrackWhilePausedEndsThePauseAndStartsItFromItsBeginning) {
    addTracks({2.0, 2.0});
    playTrack(music, 0);
    play(0.3);
    togglePause(music);
    playTrack(music, 1);
    EXPECT_FALSE(music.paused);
    EXPECT_EQ(music.current, 1);
    EXPECT_EQ(audio::channelIsActive(stream(0)), audio::channelStopped);
    EXPECT_EQ(audio::channelIsActive(stream(1)), audio::channelPlaying);
    EXPECT_EQ(positionFrames(stream(1)), 0);
}

TEST_F(Playlist, PausingTwiceGoesOnFromTheSamePosition) {
    addTracks({2.0});
    playTrack(music, 0);
    play(0.3);
    const int64_t position = positionFrames(stream(0));

    togglePause(music);
    EXPECT_TRUE(music.paused);
    EXPECT_EQ(audio::channelIsActive(stream(0)), audio::channelPaused);
    play(0.5);
    EXPECT_EQ(positionFrames(stream(0)), position);

    togglePause(music);
    EXPECT_FALSE(music.paused);
    play(0.1);
    EXPECT_EQ(positionFrames(stream(0)), position + framesOf(0.1) / passFrames * passFrames);
}

// Restarts, seeks and repeated plays leave syncs behind in a careless library; however often
// a track was started, its end advances the playlist once.
TEST_F(Playlist, AdvancesExactlyOnceAtEachTrackEnd) {
    addTracks({0.2, 0.25, 0.15, 0.3, 0.2, 0.1});
    playTrack(music, 0);
    std::vector<int32_t> order;
    int32_t last = music.current;
    bool restarted[6] = {};
    for (int pass = 0; pass < 1000 && order.size() < 13; ++pass) {
        play(0.01);
        if (music.current != last) {
            last = music.current;
            order.push_back(last);
        }
        // Play pressed on the current track, twice on some, once on its first round only.
        if (!restarted[last] && positionFrames(stream(last)) > framesOf(0.05)) {
            restarted[last] = true;
            playTrack(music, last);
            if (last % 2 == 1) {
                playTrack(music, last);
            }
        }
    }
    const std::vector<int32_t> expected{1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1};
    EXPECT_EQ(order, expected);
}

TEST_F(Playlist, SlowdownEndsWithTheOutputPaused) {
    addTracks({5.0});
    playTrack(music, 0);
    play(0.5);
    startSlowdown(music);
    EXPECT_TRUE(music.slowingDown);
    play(1.9);
    EXPECT_FALSE(music.paused);
    play(0.2);
    EXPECT_TRUE(music.paused);
    EXPECT_EQ(audio::channelIsActive(stream(0)), audio::channelPaused);
    EXPECT_TRUE(music.slowingDown);
}

TEST_F(Playlist, WithoutTracksOnlyThePauseActs) {
    playTrack(music, 0);
    nextTrack(music);
    startSlowdown(music);
    EXPECT_EQ(music.current, 0);
    EXPECT_FALSE(music.slowingDown);
    EXPECT_EQ(trackLengthMs(music), 0);
    EXPECT_EQ(currentStream(music), 0u);
    togglePause(music);
    EXPECT_TRUE(music.paused);
    togglePause(music);
    EXPECT_FALSE(music.paused);

    addTracks({1.0});
    playTrack(music, 1);
    EXPECT_EQ(music.current, 0);
    EXPECT_EQ(audio::channelIsActive(stream(0)), audio::channelStopped);
}

TEST_F(Playlist, TrackLengthIsInWholeMilliseconds) {
    addTracks({1.2345});
    EXPECT_EQ(trackLengthMs(music), 1234);
}

TEST_F(Playlist, FreeingTheTracksEmptiesTheListAndKeepsItsCapacity) {
    addTracks({0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1});
    ASSERT_EQ(music.tracks.capacity, 30);
    uint32_t first = stream(0);
    playTrack(music, 0);
    freeTracks(music);
    EXPECT_EQ(music.tracks.count, 0);
    EXPECT_EQ(music.tracks.capacity, 30);
    EXPECT_EQ(audio::channelGetLength(first), -1) << "the stream was freed";
    EXPECT_EQ(music.tracks.items[0].data.data, nullptr) << "its data released";
    play(0.2);
}

struct PlaylistCase {
    const char* name;
    bool present[6];
    bool damaged[6];
    int32_t tracks;
    int32_t fileAtIndex2; // which file index 2 of the list plays
};

TEST_F(Playlist, TracksThatFailToLoadAreLeftOutAndTheLaterOnesMoveUp) {
    const PlaylistCase cases[] = {
        {"all six", {1, 1, 1, 1, 1, 1}, {}, 6, 2},
        {"the third missing", {1, 1, 0, 1, 1, 1}, {}, 5, 3},
        {"the third damaged", {1, 1, 1, 1, 1, 1}, {0, 0, 1}, 5, 3},
        {"the first two damaged", {1, 1, 1, 1, 1, 1}, {1, 1}, 4, 4},
    };
    for (const PlaylistCase& c : cases) {
        SCOPED_TRACE(c.name);
        // File i lasts 0.1 + i / 10 s, so a track's length tells which file it is.
        Entries entries;
        for (int32_t i = 0; i < 6; ++i) {
            if (c.present[i]) {
                entries.emplace_back(trackFileNames[i],
                                     c.damaged[i] ? noiseBytes(3000) : oggOf(0.1 + i / 10.0));
            }
        }
        music.archive.clear();
        openMusicArchive(entries);
        music.current = 2;
        loadPlaylist(music);
        EXPECT_EQ(music.tracks.count, c.tracks);
        EXPECT_EQ(trackLengthMs(music), 100 + 100 * c.fileAtIndex2);
    }
}

TEST_F(Playlist, EnteringTheRoomAgainReplacesTheTracks) {
    Entries entries;
    for (const char* name : trackFileNames) {
        entries.emplace_back(name, oggOf(0.1));
    }
    openMusicArchive(entries);
    loadPlaylist(music);
    uint32_t first = stream(0);
    playTrack(music, 0);
    loadPlaylist(music);
    EXPECT_EQ(music.tracks.count, 6);
    EXPECT_EQ(audio::channelIsActive(first), audio::channelStopped);
    EXPECT_EQ(audio::channelGetLength(first), -1);
}

struct Clips : Playlist {
    PackArchive interfaceArchive;

    void openInterfaceArchive(const Entries& entries) {
        writeArchive(directory.file("interface.qar"), entries);
        ASSERT_TRUE(interfaceArchive.open(directory.file("interface.qar").c_str()));
    }
};

TEST_F(Clips, AClipOpensAsAStreamOrElseAsARepeatingModule) {
    Bytes footstep =
        makeWav(sineWave(framesOf(0.1), 1, rateHz, 441, 0.5f), 1, rateHz, WavFormat::s16);
    openInterfaceArchive(
        {{"step.wav", footstep}, {"tune.it", makeItModule()}, {"noise.bin", noiseBytes(2000)}});
    struct Case {
        const char* name;
        bool loaded;
        bool stream;
        bool module;
        bool data;
    };
    const Case cases[] = {
        {"step.wav", true, true, false, true},
        {"tune.it", false, false, true, true},
        {"noise.bin", false, false, false, true},
        {"absent.wav", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AudioClip clip;
        EXPECT_EQ(loadClip(interfaceArchive, clip, c.name), c.loaded);
        EXPECT_EQ(clip.stream != 0, c.stream);
        EXPECT_EQ(clip.module != 0, c.module);
        EXPECT_EQ(clip.data.data != nullptr, c.data);
        EXPECT_EQ(clipChannel(clip), c.stream ? clip.stream : clip.module);
    }

    // The module plays through its channel and repeats.
    AudioClip tune;
    loadClip(interfaceArchive, tune, "tune.it");
    ASSERT_TRUE(audio::channelPlay(clipChannel(tune), false));
    play(4 * itModulePassSeconds);
    EXPECT_EQ(audio::channelIsActive(clipChannel(tune)), audio::channelPlaying);
}

TEST_F(Clips, LoadingAndFreeingReleaseTheChannelBeforeItsData) {
    openInterfaceArchive({{"a.ogg", oggOf(1.0)}, {"b.ogg", oggOf(1.0)}});
    AudioClip clip;
    ASSERT_TRUE(loadClip(interfaceArchive, clip, "a.ogg"));
    uint32_t first = clip.stream;
    audio::channelPlay(first, false);
    play(0.1);

    ASSERT_TRUE(loadClip(interfaceArchive, clip, "b.ogg"));
    EXPECT_EQ(audio::channelGetLength(first), -1) << "the first stream was freed";
    audio::channelPlay(clip.stream, false);
    play(0.1);

    freeClip(clip);
    EXPECT_EQ(clip.stream, 0u);
    EXPECT_EQ(clip.module, 0u);
    EXPECT_EQ(clip.data.data, nullptr);
    play(0.1);
}

// The device comes after the archive; on SDL's dummy driver it then starts.
TEST(AudioStart, StartsOnlyWithTheMusicArchiveAndStopsEverything) {
    TempDir directory;
    CurrentDirectory inside(directory.path);
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    Bytes ogg = oggOf(0.5);
    {
        MusicState music;
        EXPECT_FALSE(startAudio(music)) << "no music.qar";
        EXPECT_EQ(audio::streamCreateFile(ogg.data(), ogg.size()), 0u) << "no device either";
    }
    writeArchive(directory.file("music.qar"), {{trackFileNames[0], ogg}});
    MusicState music;
    ASSERT_TRUE(startAudio(music));
    loadPlaylist(music);
    ASSERT_EQ(music.tracks.count, 1);
    playTrack(music, 0);
    stopAudio(music);
    EXPECT_EQ(music.tracks.count, 0);
    EXPECT_EQ(music.archive.directory.count(), 0);
    EXPECT_FALSE(audio::free()) << "the device was freed";
    stopAudio(music);
}

TEST(AudioStop, StopBeforeAnyTrackShutsTheDeviceDownAndRunningItAgainIsHarmless) {
    ASSERT_TRUE(audio::initOffline(rateHz));
    {
        MusicState music;
        stopAudio(music);
        int16_t frame[2];
        EXPECT_FALSE(audio::renderOffline(frame, 1)) << "the library was freed";
        stopAudio(music);
    }
    EXPECT_FALSE(audio::free());
}

} // namespace
