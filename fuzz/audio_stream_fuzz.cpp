// libFuzzer target: any bytes as a stream, Ogg Vorbis or RIFF WAV. Loading may fail; nothing
// may crash, read outside the input, or play on without end.
#include "play_channel.h"

#include <cstddef>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool initialised = audio::initOffline(audio::outputRateHz);
    if (!initialised) {
        return 0;
    }
    uint32_t stream = audio::streamCreateFile(data, size);
    if (stream != 0) {
        playChannel(stream);
        audio::streamFree(stream);
    }
    return 0;
}
