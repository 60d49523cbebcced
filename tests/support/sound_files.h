// Sound files made in memory for the audio tests and benchmarks: RIFF WAV written byte by byte,
// Ogg Vorbis encoded with libvorbisenc, and a small Impulse Tracker module. Any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

enum class WavFormat {
    u8,  // unsigned 8-bit
    s16, // signed 16-bit
    f32, // IEEE float
};

// Interleaved samples in -1..1, frames x channels of them.
std::vector<float> sineWave(int32_t frames, int32_t channels, int32_t rateHz, double toneHz,
                            float amplitude);

// A WAV file of the samples. declaredDataBytes, when not 0, is what the data chunk claims.
Bytes makeWav(const std::vector<float>& samples, int32_t channels, int32_t rateHz, WavFormat format,
              uint32_t declaredDataBytes = 0);

// A WAV of 16-bit samples given exactly.
Bytes makeWav16(const std::vector<int16_t>& samples, int32_t channels, int32_t rateHz);

// Bytes from the classic linear congruential generator: neither sound file nor module.
Bytes noiseBytes(size_t lengthBytes);

Bytes makeOgg(const std::vector<float>& samples, int32_t channels, int32_t rateHz);

// An IT module of one 32-row pattern at 10 ms per row (0.32 s a pass): square tones from row
// 0, cut at row 16, so the first half of every pass sounds and the second is silent. Voice v
// plays on channel v + 1, v semitones above 441 Hz.
Bytes makeItModule(int32_t voices = 1);
constexpr double itModulePassSeconds = 0.32;
