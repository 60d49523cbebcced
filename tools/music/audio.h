// Rendered sound and what the music tools do with it: rendering a module with libopenmpt,
// measuring, mastering to a loudness with a peak ceiling, and Ogg Vorbis encoding and
// decoding. Build-time tools and the music tests use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Interleaved stereo (left, right) at 44,100 Hz, full scale 1.0.
struct StereoAudio {
    std::vector<float> samples;

    size_t frames() const { return samples.size() / 2; }
    double seconds() const { return static_cast<double>(frames()) / 44100.0; }
};

// Renders the module once to its end (no repeat) or, with `seconds` > 0, for that long with
// the song repeating as it would in the program.
bool renderModule(const std::vector<uint8_t>& file, double seconds, StereoAudio& audio,
                  std::string& error);

struct Loudness {
    double peakDb = -200; // highest sample, dBFS
    double rmsDb = -200;  // over the whole sound, dBFS (a full-scale sine is -3 dB)
};
Loudness measureLoudness(const StereoAudio& audio, size_t firstFrame = 0,
                         size_t frameCount = SIZE_MAX);

// Brings the sound to `rmsDb` with a look-ahead limiter that keeps every sample at or below
// `ceilingDb`, trims the silence after the end and fades the last few milliseconds.
void masterTrack(StereoAudio& audio, double rmsDb, double ceilingDb);

// Ogg Vorbis, variable bit rate of the given quality (0..1), one logical stream with a fixed
// serial number so the same sound always gives the same file.
bool encodeOggVorbis(const StereoAudio& audio, float quality, int32_t serial,
                     const std::string& title, std::vector<uint8_t>& file, std::string& error);
bool decodeOggVorbis(const std::vector<uint8_t>& file, StereoAudio& audio, std::string& error);
