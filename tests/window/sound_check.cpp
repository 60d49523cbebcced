// Finds the beginning of a music track in what SDL's disk audio driver wrote: the track's
// first half second of sound, mixed offline exactly as the program mixes it alone, must occur
// in the file sample for sample.
// Usage: sound-check AUDIO.raw TRACK-NAME, run beside music.qar (the file as 16-bit stereo at
// the program's rate). Exit 0 when the track's start is found; its byte offset is printed.
#include "audio/audio_library.h"
#include "audio/music.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: sound-check AUDIO.raw TRACK-NAME\n", stderr);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::vector<int16_t> heard(bytes.size() / 2);
    for (size_t i = 0; i < heard.size(); ++i) {
        heard[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                        static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    }

    MusicState music;
    if (!music.archive.open("music.qar") || !audio::initOffline(audio::outputRateHz) ||
        !loadTrack(music, argv[2])) {
        std::fprintf(stderr, "sound-check: cannot mix %s from music.qar\n", argv[2]);
        return 1;
    }
    audio::channelPlay(music.tracks[0].stream, false);
    std::vector<int16_t> track(static_cast<size_t>(audio::outputRateHz) * 2 * 4);
    audio::renderOffline(track.data(), audio::outputRateHz * 4);
    // From the track's first sound on, aligned to a stereo frame.
    const auto firstSound =
        std::find_if(track.begin(), track.end(), [](int16_t s) { return s != 0; });
    const size_t from = static_cast<size_t>(firstSound - track.begin()) & ~size_t{1};
    const size_t length = audio::outputRateHz; // half a second of stereo samples
    if (from + length > track.size()) {
        std::fprintf(stderr, "sound-check: %s is silent\n", argv[2]);
        return 1;
    }
    const auto found = std::search(heard.begin(), heard.end(), track.begin() + from,
                                   track.begin() + from + length);
    if (found == heard.end() || (found - heard.begin()) % 2 != 0) {
        std::printf("the start of %s is not in %s\n", argv[2], argv[1]);
        return 1;
    }
    std::printf("the start of %s at byte %ld of %s\n", argv[2],
                static_cast<long>((found - heard.begin()) * 2), argv[1]);
    return 0;
}
