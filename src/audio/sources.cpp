#include "audio/sources.h"

#include <SDL.h>
#include <libopenmpt/libopenmpt.h>
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

// libvorbisfile reads the caller's buffer through these callbacks.
struct MemoryReader {
    const uint8_t* data;
    size_t lengthBytes;
    size_t positionBytes;
};

struct OggStream {
    OggVorbis_File file;
    MemoryReader reader;
    bool broken; // a decoding error ended the stream early
};

namespace {

// Holes in a damaged stream are skipped; this many in one pull end it.
constexpr int maxHolesPerPull = 64;

size_t readMemory(void* out, size_t size, size_t count, void* source) {
    MemoryReader& reader = *static_cast<MemoryReader*>(source);
    if (size == 0) {
        return 0;
    }
    size_t whole = std::min(count, (reader.lengthBytes - reader.positionBytes) / size);
    std::memcpy(out, reader.data + reader.positionBytes, whole * size);
    reader.positionBytes += whole * size;
    return whole;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    MemoryReader& reader = *static_cast<MemoryReader*>(source);
    int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<int64_t>(reader.positionBytes);
    } else if (whence == SEEK_END) {
        base = static_cast<int64_t>(reader.lengthBytes);
    }
    if (offset < -base || offset > static_cast<int64_t>(reader.lengthBytes) - base) {
        return -1;
    }
    reader.positionBytes = static_cast<size_t>(base + offset);
    return 0;
}

long tellMemory(void* source) {
    return static_cast<long>(static_cast<MemoryReader*>(source)->positionBytes);
}

bool startsWith(const uint8_t* data, uint64_t lengthBytes, uint64_t at, const char* magic) {
    size_t magicBytes = std::strlen(magic);
    return lengthBytes >= at + magicBytes && std::memcmp(data + at, magic, magicBytes) == 0;
}

uint32_t read32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | at[1] << 8 | at[2] << 16 |
           static_cast<uint32_t>(at[3]) << 24;
}

// Fills `samples` from consecutive little-endian samples of sampleBytes each.
template <typename Convert>
void convertSamples(const uint8_t* bytes, size_t sampleBytes, std::vector<int16_t>& samples,
                    Convert convert) {
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(convert(bytes + i * sampleBytes));
    }
}

bool acceptableFormat(int64_t rateHz, int64_t channels) {
    return rateHz >= 1 && rateHz <= maxSourceRateHz && channels >= 1 && channels <= 255;
}

bool openOgg(Source& source, const uint8_t* data, uint64_t lengthBytes) {
    auto stream = std::make_unique<OggStream>();
    stream->reader = {data, static_cast<size_t>(lengthBytes), 0};
    ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    // A failed open has already released what it built.
    if (ov_open_callbacks(&stream->reader, &stream->file, nullptr, 0, callbacks) != 0) {
        return false;
    }
    vorbis_info* info = ov_info(&stream->file, -1);
    ogg_int64_t totalFrames = ov_pcm_total(&stream->file, -1);
    if (info == nullptr || !acceptableFormat(info->rate, info->channels) || totalFrames < 0 ||
        totalFrames > maxSourceFrames) {
        ov_clear(&stream->file);
        return false;
    }
    stream->broken = false;
    source.kind = SourceKind::ogg;
    source.rateHz = static_cast<int32_t>(info->rate);
    source.channels = info->channels;
    source.lengthFrames = totalFrames;
    source.ogg = stream.release();
    return true;
}

// SDL's loader allocates what a chunk claims before it reads the chunk, so a small file that
// claims gigabytes would make it allocate them. In this copy no chunk reaches past the end of
// the file; a chunk cut short is what SDL's loader then reads as a truncated file.
std::vector<uint8_t> chunksWithinFile(const uint8_t* data, size_t lengthBytes) {
    std::vector<uint8_t> copy(data, data + lengthBytes);
    size_t at = 12; // past "RIFF", the RIFF size and "WAVE"
    while (at + 8 <= lengthBytes) {
        const uint32_t claimedBytes = read32(&copy[at + 4]);
        const size_t leftBytes = lengthBytes - (at + 8);
        if (claimedBytes > leftBytes) {
            for (int i = 0; i < 4; ++i) {
                copy[at + 4 + i] = static_cast<uint8_t>(leftBytes >> (8 * i));
            }
            break;
        }
        at += 8 + claimedBytes + (claimedBytes & 1); // chunks are padded to even sizes
    }
    return copy;
}

// Decodes the whole file into 16-bit samples, from whichever sample format SDL's loader gives.
bool openWav(Source& source, const uint8_t* data, uint64_t lengthBytes) {
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 bufferBytes = 0;
    std::vector<uint8_t> file = chunksWithinFile(data, static_cast<size_t>(lengthBytes));
    SDL_RWops* reader = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    if (reader == nullptr || SDL_LoadWAV_RW(reader, 1, &spec, &buffer, &bufferBytes) == nullptr) {
        return false;
    }
    int32_t sampleBytes = SDL_AUDIO_BITSIZE(spec.format) / 8;
    bool known = spec.format == AUDIO_U8 || spec.format == AUDIO_S16LSB ||
                 spec.format == AUDIO_S32LSB || spec.format == AUDIO_F32LSB;
    if (!known || !acceptableFormat(spec.freq, spec.channels)) {
        SDL_FreeWAV(buffer);
        return false;
    }
    int64_t frames = bufferBytes / (static_cast<uint32_t>(sampleBytes) * spec.channels);
    source.pcm.resize(static_cast<size_t>(frames) * spec.channels);
    switch (spec.format) {
    case AUDIO_U8:
        convertSamples(buffer, 1, source.pcm,
                       [](const uint8_t* at) { return (at[0] - 128) * 256; });
        break;
    case AUDIO_S16LSB:
        convertSamples(buffer, 2, source.pcm,
                       [](const uint8_t* at) { return static_cast<int16_t>(at[0] | at[1] << 8); });
        break;
    case AUDIO_S32LSB:
        convertSamples(buffer, 4, source.pcm,
                       [](const uint8_t* at) { return static_cast<int32_t>(read32(at)) >> 16; });
        break;
    default:
        convertSamples(buffer, 4, source.pcm, [](const uint8_t* at) {
            uint32_t bits = read32(at);
            float sample;
            std::memcpy(&sample, &bits, sizeof sample);
            // NaN fails both comparisons and becomes silence.
            float scaled = sample * 32768.0f;
            return scaled >= -32768.0f && scaled <= 32767.0f ? static_cast<int32_t>(scaled)
                   : scaled > 0                              ? 32767
                   : scaled < 0                              ? -32768
                                                             : 0;
        });
        break;
    }
    SDL_FreeWAV(buffer);
    source.kind = SourceKind::pcm;
    source.rateHz = spec.freq;
    source.channels = spec.channels;
    source.lengthFrames = frames;
    source.pcmNextFrame = 0;
    return true;
}

int32_t pullOgg(Source& source, int16_t* out, int32_t frames) {
    OggStream& stream = *source.ogg;
    int32_t produced = 0;
    int holes = 0;
    while (produced < frames && !stream.broken) {
        int link = 0;
        int wantedBytes = (frames - produced) * source.channels * 2;
        long gotBytes =
            ov_read(&stream.file, reinterpret_cast<char*>(out + produced * source.channels),
                    wantedBytes, 0, 2, 1, &link);
        if (gotBytes == 0) {
            break;
        }
        if (gotBytes == OV_HOLE && ++holes < maxHolesPerPull) {
            continue;
        }
        // A chained file whose next part has another format ends where that part begins.
        vorbis_info* info = gotBytes > 0 ? ov_info(&stream.file, link) : nullptr;
        if (info == nullptr || info->channels != source.channels || info->rate != source.rateHz) {
            stream.broken = true;
            break;
        }
        produced += static_cast<int32_t>(gotBytes / (source.channels * 2));
    }
    return produced;
}

} // namespace

Source::~Source() {
    if (ogg != nullptr) {
        ov_clear(&ogg->file);
        delete ogg;
    }
    if (module != nullptr) {
        openmpt_module_destroy(module);
    }
}

bool openStream(Source& source, const uint8_t* data, uint64_t lengthBytes) {
    // Both readers take their sizes as signed 32-bit numbers.
    if (data == nullptr || lengthBytes > INT32_MAX) {
        return false;
    }
    if (startsWith(data, lengthBytes, 0, "OggS")) {
        return openOgg(source, data, lengthBytes);
    }
    if (startsWith(data, lengthBytes, 0, "RIFF") && startsWith(data, lengthBytes, 8, "WAVE")) {
        return openWav(source, data, lengthBytes);
    }
    return false;
}

bool openModule(Source& source, const uint8_t* data, uint64_t lengthBytes, bool repeat,
                int32_t rateHz) {
    if (data == nullptr || lengthBytes > INT32_MAX || rateHz < 8000 || rateHz > 192000) {
        return false;
    }
    openmpt_module* module = openmpt_module_create_from_memory2(
        data, static_cast<size_t>(lengthBytes), openmpt_log_func_silent, nullptr,
        openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
    if (module == nullptr) {
        return false;
    }
    openmpt_module_set_repeat_count(module, repeat ? -1 : 0);
    // libopenmpt dithers its 16-bit output with noise seeded at random; without it the same
    // module mixes to the same samples on every run, which the headless runs rely on.
    openmpt_module_ctl_set_integer(module, "dither", 0);
    double frames = openmpt_module_get_duration_seconds(module) * rateHz;
    source.kind = SourceKind::module;
    source.rateHz = rateHz;
    source.channels = 2;
    source.lengthFrames = frames >= 0 && frames <= static_cast<double>(maxSourceFrames)
                              ? static_cast<int64_t>(frames)
                              : 0;
    source.module = module;
    return true;
}

int32_t pullFrames(Source& source, int16_t* out, int32_t frames) {
    switch (source.kind) {
    case SourceKind::ogg:
        return pullOgg(source, out, frames);
    case SourceKind::module:
        return static_cast<int32_t>(openmpt_module_read_interleaved_stereo(
            source.module, source.rateHz, static_cast<size_t>(frames), out));
    case SourceKind::pcm: {
        int64_t whole = std::min<int64_t>(frames, source.lengthFrames - source.pcmNextFrame);
        std::copy_n(source.pcm.data() + source.pcmNextFrame * source.channels,
                    whole * source.channels, out);
        source.pcmNextFrame += whole;
        return static_cast<int32_t>(whole);
    }
    }
    return 0;
}

bool seekFrame(Source& source, int64_t frame) {
    if (frame < 0 || frame > source.lengthFrames) {
        return false;
    }
    switch (source.kind) {
    case SourceKind::ogg:
        if (ov_pcm_seek(&source.ogg->file, frame) != 0) {
            return false;
        }
        source.ogg->broken = false;
        return true;
    case SourceKind::module:
        openmpt_module_set_position_seconds(source.module,
                                            static_cast<double>(frame) / source.rateHz);
        return true;
    case SourceKind::pcm:
        source.pcmNextFrame = frame;
        return true;
    }
    return false;
}
