// The library's state behind one lock, the SDL output device and the calls. The device's
// thread takes SDL's device lock and then ours; so this file never calls into SDL's device
// functions while it holds ours.
#include "audio/audio_library.h"

#include "audio/mixer.h"

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace audio {

namespace {

struct Library {
    std::mutex lock;
    bool initialised = false;
    bool outputRunning = false;
    SDL_AudioDeviceID device = 0; // 0 when offline or not initialised
    uint32_t lastHandle = 0;
    Mixer mixer;
};

// Constant-initialised, so that it outlives every object that frees channels at exit.
constinit Library library;

// The device's callback: the mixer renders straight into the device's buffer.
void SDLCALL fillOutput(void*, Uint8* stream, int lengthBytes) {
    std::lock_guard guard(library.lock);
    mixFrames(library.mixer, reinterpret_cast<int16_t*>(stream), lengthBytes / 4);
}

uint32_t newHandle() {
    if (++library.lastHandle == 0) {
        ++library.lastHandle;
    }
    return library.lastHandle;
}

// Channel handles must name a channel of the expected kind.
Channel* findKind(uint32_t handle, bool isModule) {
    Channel* channel = findChannel(library.mixer, handle);
    return channel != nullptr && channel->isModule == isModule ? channel : nullptr;
}

int64_t bytesPerFrame(const Channel& channel) {
    return static_cast<int64_t>(channel.source.channels) * 2;
}

bool acceptableRate(int32_t rateHz) {
    return rateHz >= 8000 && rateHz <= 192000;
}

bool initialise(int32_t rateHz, SDL_AudioDeviceID device) {
    std::lock_guard guard(library.lock);
    library.initialised = true;
    library.outputRunning = true;
    library.device = device;
    library.mixer.rateHz = rateHz;
    return true;
}

// Runs or halts the output, and with stopChannels stops every channel too. The device is
// paused or resumed outside our lock.
bool runOutput(bool run, bool stopChannels) {
    SDL_AudioDeviceID device;
    {
        std::lock_guard guard(library.lock);
        if (!library.initialised) {
            return false;
        }
        library.outputRunning = run;
        if (stopChannels) {
            for (auto& channel : library.mixer.channels) {
                stopChannel(library.mixer, *channel);
            }
        }
        device = library.device;
    }
    if (device != 0) {
        SDL_PauseAudioDevice(device, run ? 0 : 1);
    }
    return true;
}

uint32_t addChannel(std::unique_ptr<Channel> channel, bool isModule) {
    prepareChannel(*channel);
    channel->isModule = isModule;
    std::lock_guard guard(library.lock);
    if (!library.initialised) {
        return 0;
    }
    channel->handle = newHandle();
    library.mixer.channels.push_back(std::move(channel));
    return library.mixer.channels.back()->handle;
}

bool isInitialised() {
    std::lock_guard guard(library.lock);
    return library.initialised;
}

} // namespace

bool init(int32_t rateHz) {
    if (!acceptableRate(rateHz) || isInitialised()) {
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = rateHz;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = fillOutput;
    SDL_AudioSpec obtained;
    // SDL converts to whatever the device really takes.
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    initialise(rateHz, device);
    SDL_PauseAudioDevice(device, 0);
    return true;
}

bool initOffline(int32_t rateHz) {
    if (!acceptableRate(rateHz) || isInitialised()) {
        return false;
    }
    return initialise(rateHz, 0);
}

bool start() {
    return runOutput(true, false);
}

bool pause() {
    return runOutput(false, false);
}

bool stop() {
    return runOutput(false, true);
}

bool free() {
    SDL_AudioDeviceID device;
    {
        std::lock_guard guard(library.lock);
        if (!library.initialised) {
            return false;
        }
        device = library.device;
        library.device = 0;
    }
    // Closing waits for the device's thread to finish its callback.
    if (device != 0) {
        SDL_CloseAudioDevice(device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    std::lock_guard guard(library.lock);
    library.mixer.channels.clear();
    library.mixer.found.clear();
    library.initialised = false;
    library.outputRunning = false;
    return true;
}

uint32_t streamCreateFile(const uint8_t* data, uint64_t lengthBytes) {
    if (!isInitialised()) {
        return 0;
    }
    // Opening decodes headers, or a whole WAV file: done outside the lock.
    auto channel = std::make_unique<Channel>();
    if (!openStream(channel->source, data, lengthBytes)) {
        return 0;
    }
    return addChannel(std::move(channel), false);
}

uint32_t musicLoad(const uint8_t* data, uint64_t lengthBytes, uint32_t flags, int32_t rateHz) {
    if (!isInitialised()) {
        return 0;
    }
    auto channel = std::make_unique<Channel>();
    if (!openModule(channel->source, data, lengthBytes, (flags & musicLoop) != 0, rateHz)) {
        return 0;
    }
    return addChannel(std::move(channel), true);
}

bool streamFree(uint32_t stream) {
    std::lock_guard guard(library.lock);
    if (findKind(stream, false) == nullptr) {
        return false;
    }
    removeChannel(library.mixer, stream);
    return true;
}

bool musicFree(uint32_t music) {
    std::lock_guard guard(library.lock);
    if (findKind(music, true) == nullptr) {
        return false;
    }
    removeChannel(library.mixer, music);
    return true;
}

bool channelPlay(uint32_t channel, bool restart) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    return found != nullptr && playChannel(*found, restart);
}

bool channelStop(uint32_t channel) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    if (found == nullptr) {
        return false;
    }
    stopChannel(library.mixer, *found);
    return true;
}

ChannelActivity channelIsActive(uint32_t channel) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    if (found == nullptr || !found->playing) {
        return channelStopped;
    }
    return library.outputRunning ? channelPlaying : channelPaused;
}

bool channelSetPosition(uint32_t channel, uint64_t positionBytes) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    if (found == nullptr) {
        return false;
    }
    uint64_t frame = positionBytes / static_cast<uint64_t>(bytesPerFrame(*found));
    return frame <= static_cast<uint64_t>(found->source.lengthFrames) &&
           setChannelPosition(*found, static_cast<int64_t>(frame));
}

int64_t channelGetPosition(uint32_t channel) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    return found == nullptr ? -1 : found->positionFrames * bytesPerFrame(*found);
}

int64_t channelGetLength(uint32_t channel) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    return found == nullptr ? -1 : found->source.lengthFrames * bytesPerFrame(*found);
}

double channelBytesToSeconds(uint32_t channel, int64_t bytes) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    if (found == nullptr || bytes < 0) {
        return -1.0;
    }
    return static_cast<double>(bytes / bytesPerFrame(*found)) / found->source.rateHz;
}

int64_t channelSecondsToBytes(uint32_t channel, double seconds) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    // Beyond a day of audio, or not a number, is no position.
    if (found == nullptr || !(seconds >= 0.0 && seconds <= 86400.0)) {
        return -1;
    }
    return static_cast<int64_t>(seconds * found->source.rateHz) * bytesPerFrame(*found);
}

uint32_t channelSetSync(uint32_t channel, SyncType type, SyncCallback callback, void* user) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    if (found == nullptr || callback == nullptr) {
        return 0;
    }
    uint32_t handle = newHandle();
    found->syncs.push_back({handle, type, callback, user});
    return handle;
}

bool channelSlideAttribute(uint32_t channel, ChannelAttribute attribute, float target,
                           uint32_t durationMs) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    if (found == nullptr || attribute != ChannelAttribute::frequency ||
        !(target >= 0.0f && target <= static_cast<float>(maxSourceRateHz))) {
        return false;
    }
    int64_t frames = static_cast<int64_t>(durationMs) * library.mixer.rateHz / 1000;
    slideFrequency(*found, target, frames);
    return true;
}

uint32_t channelGetLevel(uint32_t channel) {
    std::lock_guard guard(library.lock);
    Channel* found = findChannel(library.mixer, channel);
    if (found == nullptr || !found->playing || !library.outputRunning) {
        return 0;
    }
    return channelLevel(*found);
}

void deliverNotifications() {
    // One at a time, outside the lock: a callback may call the library, and may stop a
    // channel whose notification is still waiting, which then never fires.
    size_t due;
    {
        std::lock_guard guard(library.lock);
        due = library.mixer.found.size();
    }
    for (; due > 0; --due) {
        Notification notification;
        {
            std::lock_guard guard(library.lock);
            if (library.mixer.found.empty()) {
                return;
            }
            notification = library.mixer.found.front();
            library.mixer.found.erase(library.mixer.found.begin());
        }
        notification.callback(notification.sync, notification.channel, notification.user);
    }
}

bool renderOffline(int16_t* stereoFrames, int32_t frames) {
    std::lock_guard guard(library.lock);
    if (!library.initialised || library.device != 0 || frames < 0) {
        return false;
    }
    if (library.outputRunning) {
        mixFrames(library.mixer, stereoFrames, frames);
    } else {
        std::fill_n(stereoFrames, 2 * static_cast<size_t>(frames), int16_t{0});
    }
    return true;
}

} // namespace audio
