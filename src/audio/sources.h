// The decoders behind the mixer's channels: Ogg Vorbis (libvorbisfile) and RIFF WAV (SDL's
// loader) as streams, tracker modules (libopenmpt). Each opens from a memory buffer and hands
// out 16-bit frames at its own rate and channel count through one pull function. Used by the
// mixer under the audio library's lock, on whichever thread mixes.
#pragma once

#include <cstdint>
#include <vector>

struct OggStream;
struct openmpt_module;

enum class SourceKind {
    ogg,    // decoded while it plays, reading the caller's buffer
    pcm,    // a WAV file, decoded whole when it opens
    module, // rendered by libopenmpt while it plays
};

// Rates outside this range are refused: a higher rate would cost decoding time out of all
// proportion to what can be heard.
constexpr int32_t maxSourceRateHz = 384000;

// A source may last at most this many frames, so that its byte counts stay far inside 64 bits
// (a crafted Ogg page may claim any length); that is over 30 days at the highest rate.
constexpr int64_t maxSourceFrames = int64_t{1} << 40;

struct Source {
    SourceKind kind = SourceKind::pcm;
    int32_t rateHz = 0;       // frames per second of the decoded data
    int32_t channels = 0;     // interleaved samples per frame, at least 1
    int64_t lengthFrames = 0; // frames from start to end; for a module, one pass of the song
    OggStream* ogg = nullptr;
    openmpt_module* module = nullptr;
    std::vector<int16_t> pcm; // the whole WAV file, interleaved
    int64_t pcmNextFrame = 0; // the frame that the next pull starts at

    Source() = default;
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    ~Source();
};

// Opens Ogg Vorbis or RIFF WAV data; anything else, and damaged headers, are refused. An Ogg
// source reads `data` while it lives.
bool openStream(Source& source, const uint8_t* data, uint64_t lengthBytes);

// Opens a tracker module rendered as stereo at rateHz; with `repeat` it plays forever.
bool openModule(Source& source, const uint8_t* data, uint64_t lengthBytes, bool repeat,
                int32_t rateHz);

// Writes up to `frames` frames into `out` (frames x channels samples); 0 means the end.
int32_t pullFrames(Source& source, int16_t* out, int32_t frames);

// The next pull starts at `frame`, 0 to lengthFrames. False when the decoder cannot go there.
bool seekFrame(Source& source, int64_t frame);
