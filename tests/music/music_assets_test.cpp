// Reads back the sound files the build made: the modules, the six tracks and the footsteps.
#include "audio.h"
#include "dsp.h"
#include "loaded_module.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>());
}

const char* const kTracks[] = {
    "01_Laser_Orchard", "02_Wrath_of_the_Regent", "03_Wandering_past_Tomorrow",
    "04_Hornet_Derby",  "05_Cube_Lord",           "06_Ninja_Insurrection",
};

struct ModuleCase {
    std::string path;
    int32_t channels;
    bool loops;
};

std::vector<ModuleCase> modules() {
    std::vector<ModuleCase> cases = {
        {INTERFACE_DIR "/CRACKTRO.IT", 9, true},
        {INTERFACE_DIR "/AMB8BIT.IT", 8, true},
    };
    // Eleven voices; Wrath of the Regent's tempo change takes a twelfth channel.
    const int32_t trackChannels[] = {11, 12, 11, 11, 11, 11};
    for (size_t i = 0; i < std::size(kTracks); ++i) {
        cases.push_back(
            {std::string(MODULE_DIR "/") + kTracks[i] + ".it", trackChannels[i], false});
    }
    return cases;
}

TEST(MusicModules, LoadWithTheirChannelsAndLoopOnlyWhereTheyShould) {
    for (const ModuleCase& c : modules()) {
        std::vector<uint8_t> file = readFile(c.path);
        LoadedModule module = loadModule(file);
        ASSERT_NE(module, nullptr) << c.path;
        EXPECT_EQ(openmpt_module_get_num_channels(module.get()), c.channels) << c.path;
        double seconds = openmpt_module_get_duration_seconds(module.get());
        EXPECT_GT(seconds, 10) << c.path;

        // Played on past its length, a looping module goes on sounding; a track ends there.
        std::string error;
        StereoAudio audio;
        ASSERT_TRUE(renderModule(file, c.loops ? seconds + 8 : 0, audio, error)) << error;
        if (c.loops) {
            // The program plays the module as it is: loud, but never clipping.
            Loudness whole = measureLoudness(audio);
            EXPECT_LE(whole.peakDb, -1.0) << c.path;
            EXPECT_GE(whole.peakDb, -12.0) << c.path;
            size_t loopFrame = static_cast<size_t>(seconds * 44100);
            Loudness before = measureLoudness(audio, loopFrame - 2 * 44100, 2 * 44100);
            Loudness after = measureLoudness(audio, loopFrame, 2 * 44100);
            EXPECT_GT(after.rmsDb, -40) << c.path << " falls silent where it should loop";
            EXPECT_NEAR(after.rmsDb, before.rmsDb, 6) << c.path << " jumps in level at its loop";
        } else {
            EXPECT_NEAR(audio.seconds(), seconds, 0.5) << c.path;
        }
    }
}

struct DecodedTrack {
    std::string name;
    StereoAudio audio;
    Loudness loudness;
};

const std::vector<DecodedTrack>& tracks() {
    static const std::vector<DecodedTrack> decoded = [] {
        std::vector<DecodedTrack> all;
        for (const char* name : kTracks) {
            DecodedTrack track;
            track.name = name;
            std::string error;
            if (decodeOggVorbis(readFile(std::string(MUSIC_DIR "/") + name + ".ogg"), track.audio,
                                error)) {
                track.loudness = measureLoudness(track.audio);
            }
            all.push_back(std::move(track));
        }
        return all;
    }();
    return decoded;
}

TEST(MusicTracks, LastBetweenOneFortyFiveAndThreeThirty) {
    for (const DecodedTrack& track : tracks()) {
        EXPECT_GE(track.audio.seconds(), 105) << track.name;
        EXPECT_LE(track.audio.seconds(), 210) << track.name;
    }
}

TEST(MusicTracks, NeverClipAndPeakAtMostMinusOneDecibel) {
    for (const DecodedTrack& track : tracks()) {
        EXPECT_LE(track.loudness.peakDb, -1.0) << track.name;
    }
}

TEST(MusicTracks, AreEquallyLoudWithinTwoDecibels) {
    double quietest = 0, loudest = -200;
    for (const DecodedTrack& track : tracks()) {
        quietest = std::min(quietest, track.loudness.rmsDb);
        loudest = std::max(loudest, track.loudness.rmsDb);
        EXPECT_GT(track.loudness.rmsDb, -20) << track.name << " is too quiet for the lamps";
    }
    EXPECT_LE(loudest - quietest, 2.0);
}

TEST(MusicTracks, NeverFallSilentForFiveSecondsAfterTheStart) {
    for (const DecodedTrack& track : tracks()) {
        const StereoAudio& audio = track.audio;
        for (size_t first = 5 * 44100; first + 5 * 44100 <= audio.frames(); first += 44100 / 2) {
            Loudness window = measureLoudness(audio, first, 5 * 44100);
            ASSERT_GT(window.peakDb, -40)
                << track.name << " is silent from " << first / 44100.0 << " s";
        }
    }
}

// The lamps read the peak of the last 20 ms every 225 ms: on most steps it should reach a
// third of full scale, and no more than a third of them may be near full scale (-2.5 dBFS),
// where a brick-walled master would sit all the time.
TEST(MusicTracks, MakeTheLampsDanceRatherThanGlare) {
    for (const DecodedTrack& track : tracks()) {
        const StereoAudio& audio = track.audio;
        size_t steps = 0, lit = 0, glaring = 0;
        for (size_t end = 9922; end <= audio.frames(); end += 9922) {
            double peak = std::pow(10.0, measureLoudness(audio, end - 882, 882).peakDb / 20);
            ++steps;
            lit += peak >= 1.0 / 3 ? 1 : 0;
            glaring += peak >= 0.75 ? 1 : 0;
        }
        ASSERT_GT(steps, 0u) << track.name;
        EXPECT_GT(static_cast<double>(lit) / steps, 0.6) << track.name;
        EXPECT_LT(static_cast<double>(glaring) / steps, 0.35) << track.name;
    }
}

TEST(Footsteps, AreFourDifferentShortMonoWavs) {
    ASSERT_EQ(SDL_Init(0), 0);
    std::vector<std::vector<uint8_t>> seen;
    for (int32_t number = 1; number <= 4; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "/fs_v3_%02d_Q.wav", number);
        std::vector<uint8_t> file = readFile(std::string(INTERFACE_DIR) + name);
        ASSERT_FALSE(file.empty()) << name;
        SDL_AudioSpec format;
        Uint8* samples = nullptr;
        Uint32 lengthBytes = 0;
        ASSERT_NE(SDL_LoadWAV_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1,
                                 &format, &samples, &lengthBytes),
                  nullptr)
            << name << ": " << SDL_GetError();
        EXPECT_EQ(format.freq, 44100) << name;
        EXPECT_EQ(format.format, AUDIO_S16LSB) << name;
        EXPECT_EQ(format.channels, 1) << name;
        double ms = lengthBytes / 2 * 1000.0 / 44100;
        EXPECT_GE(ms, 80) << name;
        EXPECT_LE(ms, 250) << name;
        int32_t peak = 0;
        for (Uint32 i = 0; i + 1 < lengthBytes; i += 2) {
            int16_t value = static_cast<int16_t>(samples[i] | samples[i + 1] << 8);
            peak = std::max(peak, std::abs(static_cast<int32_t>(value)));
        }
        EXPECT_GT(peak, 32768 / 4) << name << " is too quiet";
        SDL_FreeWAV(samples);
        for (const std::vector<uint8_t>& other : seen) {
            EXPECT_NE(file, other) << name << " repeats another footstep";
        }
        seen.push_back(file);
    }
    SDL_Quit();
}

} // namespace
