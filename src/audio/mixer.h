// The mixer: channels of decoded sources, each resampled from its own rate and playback
// frequency, summed into 16-bit stereo at the output rate, with frequency slides, level meters
// and the events that notifications report. It knows no device and takes no lock: the audio
// library calls it under its lock, from the device's thread or from renderOffline.
#pragma once

#include "audio/audio_library.h"
#include "audio/sources.h"

#include <cstdint>
#include <memory>
#include <vector>

struct Sync {
    uint32_t handle;
    audio::SyncType type;
    audio::SyncCallback callback;
    void* user;
};

// A one-time sync whose event happened; it waits in Mixer::found to be delivered.
struct Notification {
    uint32_t sync;
    uint32_t channel;
    audio::SyncType type;
    audio::SyncCallback callback;
    void* user;
};

struct Channel {
    uint32_t handle = 0;
    bool isModule = false;
    Source source;
    bool playing = false;
    bool atEnd = false;         // it reached its end; playing it again starts from the beginning
    int64_t positionFrames = 0; // the source frame that sounds now

    // Output frames interpolate between the source frame at positionFrames (`current`) and
    // the one after it (`following`); `fraction` is how far between them the next one lies.
    bool primed = false; // current and following are read; false after a seek
    bool followingValid = false;
    int32_t current[2]{};   // left, right
    int32_t following[2]{}; // left, right; silence past the end
    double fraction = 0;

    std::vector<int16_t> decoded; // frames pulled from the source, waiting to be resampled
    int32_t decodedFrames = 0;
    int32_t decodedNext = 0;
    bool sourceDrained = false;

    double frequencyHz = 0; // playback rate: the source's own rate, unless slid
    double slideTargetHz = 0;
    double slideStepHz = 0;      // change per output frame
    int64_t slideFramesLeft = 0; // output frames until the slide ends; 0 when none runs

    // Peaks of the 10 ms level block being filled and of the one before it, left and right.
    int32_t levelBlockFrames = 0;
    int32_t levelPeak[2]{};
    int32_t levelPreviousPeak[2]{};

    std::vector<Sync> syncs;
};

struct Mixer {
    int32_t rateHz = 44100; // output frames per second
    std::vector<std::unique_ptr<Channel>> channels;
    std::vector<Notification> found; // in the order the events happened
};

// Readies a channel whose source has just opened: stopped at its beginning, at the source's
// own frequency.
void prepareChannel(Channel& channel);

Channel* findChannel(Mixer& mixer, uint32_t handle);

// Removes the channel with its syncs and its undelivered notifications.
void removeChannel(Mixer& mixer, uint32_t handle);

// Plays on from the position; a channel at its end, or any with `restart`, starts from 0.
bool playChannel(Channel& channel, bool restart);

// Stops the channel where it is. Its end syncs, registered or found, are dropped: an end
// that the stopped play did not reach is never reported.
void stopChannel(Mixer& mixer, Channel& channel);

// The next frame to sound is `frame`, 0 to the length. False when the source cannot go there.
bool setChannelPosition(Channel& channel, int64_t frame);

// The frequency moves in a straight line from where it is to targetHz over `frames` output
// frames (at least 1), replacing a slide that runs.
void slideFrequency(Channel& channel, double targetHz, int64_t frames);

// Peak of about the last 20 ms that the channel played: left in the low 16 bits, right in the
// high 16, each 0 to 32768.
uint32_t channelLevel(const Channel& channel);

// Renders `frames` stereo frames into `out` and advances every channel and slide.
void mixFrames(Mixer& mixer, int16_t* out, int32_t frames);
