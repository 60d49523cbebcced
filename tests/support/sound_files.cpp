#include "support/sound_files.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {

void put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(Bytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putText(Bytes& out, const char* text) {
    out.insert(out.end(), text, text + std::strlen(text));
}

void set16(Bytes& out, size_t at, uint32_t value) {
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void set32(Bytes& out, size_t at, uint32_t value) {
    set16(out, at, value & 0xFFFF);
    set16(out, at + 2, value >> 16);
}

Bytes wavFile(const Bytes& data, int32_t channels, int32_t rateHz, uint16_t formatTag,
              int32_t bitsPerSample, uint32_t declaredDataBytes) {
    uint32_t blockAlign = static_cast<uint32_t>(channels * bitsPerSample / 8);
    Bytes out;
    putText(out, "RIFF");
    put32(out, static_cast<uint32_t>(36 + data.size()));
    putText(out, "WAVEfmt ");
    put32(out, 16);
    put16(out, formatTag);
    put16(out, static_cast<uint32_t>(channels));
    put32(out, static_cast<uint32_t>(rateHz));
    put32(out, static_cast<uint32_t>(rateHz) * blockAlign);
    put16(out, blockAlign);
    put16(out, static_cast<uint32_t>(bitsPerSample));
    putText(out, "data");
    put32(out, declaredDataBytes != 0 ? declaredDataBytes : static_cast<uint32_t>(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace

std::vector<float> sineWave(int32_t frames, int32_t channels, int32_t rateHz, double toneHz,
                            float amplitude) {
    std::vector<float> samples(static_cast<size_t>(frames) * channels);
    for (int32_t i = 0; i < frames; ++i) {
        float value =
            amplitude * static_cast<float>(std::sin(2 * std::numbers::pi * toneHz * i / rateHz));
        std::fill_n(samples.begin() + static_cast<ptrdiff_t>(i) * channels, channels, value);
    }
    return samples;
}

Bytes makeWav(const std::vector<float>& samples, int32_t channels, int32_t rateHz, WavFormat format,
              uint32_t declaredDataBytes) {
    Bytes data;
    for (float sample : samples) {
        switch (format) {
        case WavFormat::u8:
            data.push_back(static_cast<uint8_t>(std::lround(128 + 127 * sample)));
            break;
        case WavFormat::s16:
            put16(data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(32767 * sample))));
            break;
        case WavFormat::f32: {
            uint32_t bits;
            std::memcpy(&bits, &sample, sizeof bits);
            put32(data, bits);
            break;
        }
        }
    }
    const bool isFloat = format == WavFormat::f32;
    const int32_t bits = format == WavFormat::u8 ? 8 : format == WavFormat::s16 ? 16 : 32;
    return wavFile(data, channels, rateHz, isFloat ? 3 : 1, bits, declaredDataBytes);
}

Bytes makeWav16(const std::vector<int16_t>& samples, int32_t channels, int32_t rateHz) {
    Bytes data;
    for (int16_t sample : samples) {
        put16(data, static_cast<uint16_t>(sample));
    }
    return wavFile(data, channels, rateHz, 1, 16, 0);
}

Bytes noiseBytes(size_t lengthBytes) {
    Bytes bytes(lengthBytes);
    uint32_t state = 12345;
    for (uint8_t& byte : bytes) {
        state = state * 214013 + 2531011;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return bytes;
}

Bytes makeOgg(const std::vector<float>& samples, int32_t channels, int32_t rateHz) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rateHz, 0.5f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    Bytes out;
    ogg_page page;
    auto appendPage = [&out, &page] {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    };

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage();
    }

    // The encoder takes its input in pieces, each followed by the blocks it completes.
    const int32_t frames = static_cast<int32_t>(samples.size()) / channels;
    ogg_packet packet;
    for (int32_t start = 0;; start += 1024) {
        const int32_t piece = std::clamp(frames - start, 0, 1024);
        if (piece > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, piece);
            for (int32_t i = 0; i < piece; ++i) {
                for (int32_t c = 0; c < channels; ++c) {
                    buffer[c][i] = samples[static_cast<size_t>(start + i) * channels + c];
                }
            }
        }
        vorbis_analysis_wrote(&dsp, piece); // 0 marks the end
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    appendPage();
                }
            }
        }
        if (piece == 0) {
            break;
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage();
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

Bytes makeItModule(int32_t voices) {
    constexpr int32_t rows = 32;
    constexpr int32_t sampleFrames = 100; // one period of 441 Hz at 44,100 Hz
    constexpr uint32_t headerBytes = 0xC0;
    constexpr uint32_t ordersBytes = 2;
    constexpr uint32_t sampleOffset = headerBytes + ordersBytes + 4 + 4; // past the two pointers
    constexpr uint32_t sampleHeaderBytes = 80;
    constexpr uint32_t patternOffset = sampleOffset + sampleHeaderBytes;

    Bytes out(headerBytes, 0);
    std::memcpy(out.data(), "IMPM", 4);
    std::memcpy(out.data() + 4, "test", 4);
    set16(out, 0x20, ordersBytes); // orders: pattern 0, then the end mark
    set16(out, 0x22, 0);           // instruments: none, notes name samples
    set16(out, 0x24, 1);           // samples
    set16(out, 0x26, 1);           // patterns
    set16(out, 0x28, 0x0214);      // made with, and compatible with, version 2.14
    set16(out, 0x2A, 0x0214);
    set16(out, 0x2C, 0x0009); // stereo, linear slides
    out[0x30] = 128;          // global volume
    out[0x31] = 48;           // mixing volume
    out[0x32] = 1;            // ticks per row
    out[0x33] = 250;          // tempo: 10 ms per tick
    out[0x34] = 128;          // stereo separation
    for (int32_t channel = 0; channel < 64; ++channel) {
        out[0x40 + channel] = channel < voices ? 32 : 32 + 128; // the others are off
        out[0x80 + channel] = 64;
    }
    out.push_back(0);
    out.push_back(255);
    put32(out, sampleOffset);
    put32(out, patternOffset);

    // The sample: one period of a square wave, looped, 8-bit signed, played at 44,100 Hz.
    Bytes sample(sampleHeaderBytes, 0);
    std::memcpy(sample.data(), "IMPS", 4);
    sample[0x11] = 64;          // global volume
    sample[0x12] = 0x01 | 0x10; // has data, loops
    sample[0x13] = 64;          // volume
    sample[0x2E] = 0x01;        // signed samples
    sample[0x2F] = 32;
    set32(sample, 0x30, sampleFrames);
    set32(sample, 0x34, 0);
    set32(sample, 0x38, sampleFrames);
    set32(sample, 0x3C, 44100);

    // The pattern: row 0 starts the notes from C-5 up with sample 1, row 16 cuts them.
    Bytes packed;
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t voice = 0; voice < voices && (row == 0 || row == 16); ++voice) {
            uint8_t channelMark = static_cast<uint8_t>(0x80 | (voice + 1));
            if (row == 0) {
                packed.insert(packed.end(),
                              {channelMark, 0x03, static_cast<uint8_t>(60 + voice), 1});
            } else {
                packed.insert(packed.end(), {channelMark, 0x01, 254});
            }
        }
        packed.push_back(0);
    }
    Bytes pattern;
    put16(pattern, static_cast<uint32_t>(packed.size()));
    put16(pattern, rows);
    put32(pattern, 0);
    pattern.insert(pattern.end(), packed.begin(), packed.end());

    set32(sample, 0x48, patternOffset + static_cast<uint32_t>(pattern.size()));
    out.insert(out.end(), sample.begin(), sample.end());
    out.insert(out.end(), pattern.begin(), pattern.end());
    for (int32_t i = 0; i < sampleFrames; ++i) {
        out.push_back(static_cast<uint8_t>(i < sampleFrames / 2 ? 100 : -100));
    }
    return out;
}
