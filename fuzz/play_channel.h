// What the audio fuzz targets do with a channel that loaded: play it, seek to its middle, slide
// its rate, read its level and deliver its notifications, on the offline mixer, within a
// bounded number of frames. libFuzzer's thread.
#pragma once

#include "audio/audio_library.h"

#include <cstdint>
#include <vector>

inline void playChannel(uint32_t channel) {
    constexpr int32_t blockFrames = 4096;
    std::vector<int16_t> out(2 * blockFrames);
    audio::channelPlay(channel, false);
    for (int block = 0; block < 8 && audio::channelIsActive(channel); ++block) {
        audio::renderOffline(out.data(), blockFrames);
    }
    int64_t lengthBytes = audio::channelGetLength(channel);
    if (lengthBytes > 0 &&
        audio::channelSetPosition(channel, static_cast<uint64_t>(lengthBytes / 2))) {
        audio::channelPlay(channel, false);
        audio::renderOffline(out.data(), blockFrames);
    }
    audio::channelSlideAttribute(channel, audio::ChannelAttribute::frequency, 0.0f, 50);
    audio::renderOffline(out.data(), blockFrames);
    audio::channelGetLevel(channel);
    audio::deliverNotifications();
}
