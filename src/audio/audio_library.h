// The audio library: the output device, and channels on 32-bit handles (0 = failure) for
// streams (Ogg Vorbis, RIFF WAV) and tracker modules played from memory, with positions,
// slides, levels and one-time notifications. The playlist and the screens call it from the
// main thread; the mixer runs on the device's thread, and notifications are delivered by
// deliverNotifications, which the main loop calls at the start of every pass.
#pragma once

#include <cstdint>

namespace audio {

// The rate of the output, in frames per second.
constexpr int32_t outputRateHz = 44100;

// musicLoad flag: the module repeats forever; without it, it plays once.
constexpr uint32_t musicLoop = 4;

// What channelIsActive reports; every state but channelStopped counts as true.
enum ChannelActivity : uint32_t {
    channelStopped = 0, // not started, stopped, at its end, or no such channel
    channelPlaying = 1,
    channelPaused = 2, // playing, while the whole output is paused
};

// Notifications are one-time: each fires once, then is gone.
enum class SyncType {
    end,      // the channel reached its end; stopping the channel cancels it
    slideEnd, // an attribute slide finished
};

enum class ChannelAttribute {
    frequency, // playback rate in Hz; the source's own rate at first
};

// Runs on the thread that calls deliverNotifications.
using SyncCallback = void (*)(uint32_t sync, uint32_t channel, void* user);

// Opens the default output device, stereo at rateHz, and starts the output. False when there
// is no device (the program then runs silent) or the library is initialised already.
bool init(int32_t rateHz);
// Initialises the library with no device: renderOffline produces the output (tests, tools).
bool initOffline(int32_t rateHz);
// The output runs again, and every channel paused with it plays on.
bool start();
// The whole output pauses; channels keep their positions and count as active.
bool pause();
// The output stops, and every channel with it.
bool stop();
// Releases the device and every channel, syncs and undelivered notifications included.
bool free();

// A stream over `data`, which must stay untouched while the stream lives; Ogg Vorbis or RIFF
// WAV, played once. 0 for anything else, for damaged data, and before init.
uint32_t streamCreateFile(const uint8_t* data, uint64_t lengthBytes);
// A tracker module rendered in stereo at rateHz; musicLoop in flags makes it repeat.
uint32_t musicLoad(const uint8_t* data, uint64_t lengthBytes, uint32_t flags, int32_t rateHz);
bool streamFree(uint32_t stream);
bool musicFree(uint32_t music);

// Plays on from the position; a channel that ended starts again, and restart starts any.
bool channelPlay(uint32_t channel, bool restart);
bool channelStop(uint32_t channel);
ChannelActivity channelIsActive(uint32_t channel);

// Positions and lengths count bytes of the channel's decoded data: its own rate and channel
// count, 16-bit samples. -1 for an unknown channel. A repeating module's position goes on
// counting through the repeats.
bool channelSetPosition(uint32_t channel, uint64_t positionBytes);
int64_t channelGetPosition(uint32_t channel);
int64_t channelGetLength(uint32_t channel);
double channelBytesToSeconds(uint32_t channel, int64_t bytes);
int64_t channelSecondsToBytes(uint32_t channel, double seconds);

// A one-time notification of the event on the channel, with `user` handed to the callback.
// Returns the sync's handle.
uint32_t channelSetSync(uint32_t channel, SyncType type, SyncCallback callback, void* user);
// The attribute moves from its value to `target` over durationMs of output, then a slideEnd
// notification fires. The slide keeps time with the output even while the channel is
// stopped. A frequency slides between 0 and 384,000 Hz; toward 0 it sounds like a tape
// stopping.
bool channelSlideAttribute(uint32_t channel, ChannelAttribute attribute, float target,
                           uint32_t durationMs);
// Peak of about the last 20 ms the channel played, 0 to 32768: left in the low 16 bits, right
// in the high 16. 0 while the channel or the output does not play.
uint32_t channelGetLevel(uint32_t channel);

// Runs the callbacks of the notifications found since the last call, in the order their
// events happened, on the calling thread. The main loop calls it at the start of each pass.
void deliverNotifications();

// Mixes the next `frames` stereo frames into `stereoFrames` (2 samples per frame); silence
// while the output is paused. Only after initOffline.
bool renderOffline(int16_t* stereoFrames, int32_t frames);

} // namespace audio
