#include "audio/mixer.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The mixer works through its output in blocks of this many frames; a slide moves the
// frequency once per block (under 6 ms), finer than an ear follows.
constexpr int32_t mixBlockFrames = 256;

// The decoder fills each channel's buffer with this many samples at a time.
constexpr int32_t decodedSamples = 4096;

// Moves one-time syncs of this type from the channel to the found notifications, in the order
// they were set.
void fireSyncs(Mixer& mixer, Channel& channel, audio::SyncType type) {
    for (const Sync& sync : channel.syncs) {
        if (sync.type == type) {
            mixer.found.push_back({sync.handle, channel.handle, type, sync.callback, sync.user});
        }
    }
    std::erase_if(channel.syncs, [type](const Sync& sync) { return sync.type == type; });
}

// Pulls the next frames from the source into the channel's buffer; false at its end.
bool refill(Channel& channel) {
    if (channel.sourceDrained) {
        return false;
    }
    const int32_t capacity = static_cast<int32_t>(channel.decoded.size()) / channel.source.channels;
    channel.decodedFrames = pullFrames(channel.source, channel.decoded.data(), capacity);
    channel.decodedNext = 0;
    channel.sourceDrained = channel.decodedFrames == 0;
    return !channel.sourceDrained;
}

// The next decoded frame as left and right; mono plays on both sides, and of more than two
// channels the first two are heard. False at the end of the source.
bool nextFrame(Channel& channel, int32_t frame[2]) {
    if (channel.decodedNext == channel.decodedFrames && !refill(channel)) {
        return false;
    }
    const int32_t channels = channel.source.channels;
    const int16_t* samples = channel.decoded.data() + channel.decodedNext * channels;
    ++channel.decodedNext;
    frame[0] = samples[0];
    frame[1] = samples[channels > 1 ? 1 : 0];
    return true;
}

void endChannel(Mixer& mixer, Channel& channel) {
    channel.playing = false;
    channel.atEnd = true;
    channel.primed = false;
    fireSyncs(mixer, channel, audio::SyncType::end);
}

void advanceSlide(Mixer& mixer, Channel& channel, int32_t frames) {
    int64_t step = std::min<int64_t>(frames, channel.slideFramesLeft);
    channel.frequencyHz += channel.slideStepHz * static_cast<double>(step);
    channel.slideFramesLeft -= step;
    if (channel.slideFramesLeft == 0) {
        channel.frequencyHz = channel.slideTargetHz;
        fireSyncs(mixer, channel, audio::SyncType::slideEnd);
    }
}

// Adds one output frame to `sum` and to the level meter.
void emitFrame(Channel& channel, int32_t* sum, const int32_t sample[2], int32_t levelBlockFrames) {
    for (int side = 0; side < 2; ++side) {
        sum[side] += sample[side];
        channel.levelPeak[side] = std::max(channel.levelPeak[side], std::abs(sample[side]));
    }
    if (++channel.levelBlockFrames == levelBlockFrames) {
        channel.levelPreviousPeak[0] = channel.levelPeak[0];
        channel.levelPreviousPeak[1] = channel.levelPeak[1];
        channel.levelPeak[0] = channel.levelPeak[1] = 0;
        channel.levelBlockFrames = 0;
    }
}

// Moves on to the next source frame; false when the last one has sounded.
bool advanceFrame(Channel& channel) {
    ++channel.positionFrames;
    if (!channel.followingValid) {
        return false;
    }
    channel.current[0] = channel.following[0];
    channel.current[1] = channel.following[1];
    channel.followingValid = nextFrame(channel, channel.following);
    if (!channel.followingValid) {
        channel.following[0] = channel.following[1] = 0;
    }
    return true;
}

// At the output's own rate the source's frames go out as they are, in runs straight from
// its buffer. Only while the resampler holds no frames of its own (see renderChannel).
void copyFrames(Mixer& mixer, Channel& channel, int32_t* sums, int32_t frames,
                int32_t levelBlockFrames) {
    int32_t done = 0;
    const int32_t channels = channel.source.channels;
    const int32_t right = channels > 1 ? 1 : 0;
    int32_t peak[2] = {channel.levelPeak[0], channel.levelPeak[1]};
    int32_t blockFrames = channel.levelBlockFrames;
    while (done < frames) {
        if (channel.decodedNext == channel.decodedFrames && !refill(channel)) {
            break;
        }
        const int32_t run = std::min(frames - done, channel.decodedFrames - channel.decodedNext);
        const int16_t* in = channel.decoded.data() + channel.decodedNext * channels;
        int32_t* sum = sums + 2 * done;
        for (int32_t i = 0; i < run; ++i) {
            const int32_t left = in[i * channels];
            const int32_t rightSample = in[i * channels + right];
            sum[2 * i] += left;
            sum[2 * i + 1] += rightSample;
            peak[0] = std::max(peak[0], std::abs(left));
            peak[1] = std::max(peak[1], std::abs(rightSample));
            if (++blockFrames == levelBlockFrames) {
                channel.levelPreviousPeak[0] = peak[0];
                channel.levelPreviousPeak[1] = peak[1];
                peak[0] = peak[1] = 0;
                blockFrames = 0;
            }
        }
        channel.decodedNext += run;
        channel.positionFrames += run;
        done += run;
    }
    channel.levelPeak[0] = peak[0];
    channel.levelPeak[1] = peak[1];
    channel.levelBlockFrames = blockFrames;
    // The end counts from the moment the last frame sounded, as on the resampler.
    if (done < frames || (channel.decodedNext == channel.decodedFrames && !refill(channel))) {
        endChannel(mixer, channel);
    }
}

// Adds `frames` resampled frames of the channel to `sums`, two per frame.
void renderChannel(Mixer& mixer, Channel& channel, int32_t* sums, int32_t frames) {
    const double step = channel.frequencyHz / mixer.rateHz;
    // Below a quarter of its own rate a channel fades with its speed, as a slowing tape does;
    // a tape at a standstill is silent rather than holding its last level.
    const double gain = std::min(1.0, 4.0 * channel.frequencyHz / channel.source.rateHz);
    const int32_t levelBlockFrames = mixer.rateHz / 100;
    // A channel that has played at another rate since its last seek stays on the resampler,
    // which then holds a frame or two and a fraction between them.
    if (step == 1.0 && gain == 1.0 && !channel.primed) {
        copyFrames(mixer, channel, sums, frames, levelBlockFrames);
        return;
    }
    if (!channel.primed) {
        if (!nextFrame(channel, channel.current)) {
            endChannel(mixer, channel);
            return;
        }
        channel.followingValid = nextFrame(channel, channel.following);
        if (!channel.followingValid) {
            channel.following[0] = channel.following[1] = 0;
        }
        channel.fraction = 0;
        channel.primed = true;
    }

    for (int32_t i = 0; i < frames; ++i) {
        int32_t sample[2];
        for (int side = 0; side < 2; ++side) {
            double value = channel.current[side] +
                           (channel.following[side] - channel.current[side]) * channel.fraction;
            sample[side] = static_cast<int32_t>(value * gain);
        }
        emitFrame(channel, sums + 2 * i, sample, levelBlockFrames);
        channel.fraction += step;
        while (channel.fraction >= 1.0) {
            channel.fraction -= 1.0;
            if (!advanceFrame(channel)) {
                endChannel(mixer, channel);
                return;
            }
        }
    }
}

} // namespace

void prepareChannel(Channel& channel) {
    const int32_t channels = channel.source.channels;
    channel.decoded.resize(static_cast<size_t>(std::max(1, decodedSamples / channels) * channels));
    channel.frequencyHz = channel.source.rateHz;
}

Channel* findChannel(Mixer& mixer, uint32_t handle) {
    for (auto& channel : mixer.channels) {
        if (channel->handle == handle) {
            return channel.get();
        }
    }
    return nullptr;
}

void removeChannel(Mixer& mixer, uint32_t handle) {
    std::erase_if(mixer.channels,
                  [handle](const auto& channel) { return channel->handle == handle; });
    std::erase_if(mixer.found, [handle](const Notification& n) { return n.channel == handle; });
}

bool playChannel(Channel& channel, bool restart) {
    if ((restart || channel.atEnd) && !setChannelPosition(channel, 0)) {
        return false;
    }
    if (!channel.playing) {
        channel.levelPeak[0] = channel.levelPeak[1] = 0;
        channel.levelPreviousPeak[0] = channel.levelPreviousPeak[1] = 0;
        channel.levelBlockFrames = 0;
    }
    channel.playing = true;
    return true;
}

void stopChannel(Mixer& mixer, Channel& channel) {
    channel.playing = false;
    std::erase_if(channel.syncs,
                  [](const Sync& sync) { return sync.type == audio::SyncType::end; });
    std::erase_if(mixer.found, [&channel](const Notification& n) {
        return n.channel == channel.handle && n.type == audio::SyncType::end;
    });
}

bool setChannelPosition(Channel& channel, int64_t frame) {
    if (!seekFrame(channel.source, frame)) {
        return false;
    }
    channel.positionFrames = frame;
    channel.atEnd = false;
    channel.primed = false;
    channel.decodedFrames = channel.decodedNext = 0;
    channel.sourceDrained = false;
    return true;
}

void slideFrequency(Channel& channel, double targetHz, int64_t frames) {
    channel.slideTargetHz = targetHz;
    channel.slideFramesLeft = std::max<int64_t>(frames, 1);
    channel.slideStepHz =
        (targetHz - channel.frequencyHz) / static_cast<double>(channel.slideFramesLeft);
}

uint32_t channelLevel(const Channel& channel) {
    uint32_t left =
        static_cast<uint32_t>(std::max(channel.levelPeak[0], channel.levelPreviousPeak[0]));
    uint32_t right =
        static_cast<uint32_t>(std::max(channel.levelPeak[1], channel.levelPreviousPeak[1]));
    return std::min(left, 32768u) | std::min(right, 32768u) << 16;
}

void mixFrames(Mixer& mixer, int16_t* out, int32_t frames) {
    int32_t sums[2 * mixBlockFrames];
    while (frames > 0) {
        const int32_t block = std::min(frames, mixBlockFrames);
        std::fill_n(sums, 2 * block, 0);
        for (auto& channel : mixer.channels) {
            // A slide keeps time with the output whether or not its channel plays.
            if (channel->slideFramesLeft > 0) {
                advanceSlide(mixer, *channel, block);
            }
            if (channel->playing) {
                renderChannel(mixer, *channel, sums, block);
            }
        }
        for (int32_t i = 0; i < 2 * block; ++i) {
            out[i] = static_cast<int16_t>(std::clamp(sums[i], -32768, 32767));
        }
        out += 2 * block;
        frames -= block;
    }
}
