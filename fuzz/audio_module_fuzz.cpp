// libFuzzer target: any bytes as a repeating tracker module. Loading may fail; nothing may
// crash or read outside the input.
#include "play_channel.h"

#include <cstddef>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool initialised = audio::initOffline(audio::outputRateHz);
    if (!initialised) {
        return 0;
    }
    uint32_t music = audio::musicLoad(data, size, audio::musicLoop, audio::outputRateHz);
    if (music != 0) {
        playChannel(music);
        audio::musicFree(music);
    }
    return 0;
}
