// The cost of the mixer: 60 s of one Ogg Vorbis stream, one 16-voice module and two WAV files
// (one at 22,050 Hz mono, resampled) mixed offline, against the baseline of libvorbisfile and
// libopenmpt alone decoding the same 60 s of the stream and the module. The realTimeFactor
// counter is seconds of audio per second of CPU.
#include "audio/audio_library.h"
#include "support/sound_files.h"

#include <benchmark/benchmark.h>
#include <libopenmpt/libopenmpt.h>
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t rateHz = audio::outputRateHz;
constexpr int32_t seconds = 60;
constexpr int32_t chunkFrames = 1024;

// A chord with a little noise, so that the encoder has something to do.
std::vector<float> music(int32_t frames, int32_t channels, int32_t sourceRateHz) {
    std::vector<float> samples(static_cast<size_t>(frames) * channels);
    uint32_t noise = 1;
    for (int32_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / sourceRateHz;
        for (int32_t c = 0; c < channels; ++c) {
            noise = noise * 214013 + 2531011;
            double value = 0.2 * std::sin(2 * M_PI * 220 * (c + 1) * t) +
                           0.15 * std::sin(2 * M_PI * 331 * t) +
                           0.05 * (static_cast<double>(noise >> 16 & 0x7FFF) / 16384 - 1);
            samples[static_cast<size_t>(i) * channels + c] = static_cast<float>(value);
        }
    }
    return samples;
}

struct Files {
    Bytes ogg = makeOgg(music(rateHz * seconds, 2, rateHz), 2, rateHz);
    Bytes module = makeItModule(16);
    Bytes wavStereo = makeWav(music(rateHz * seconds, 2, rateHz), 2, rateHz, WavFormat::s16);
    Bytes wavMono = makeWav(music(22050 * seconds, 1, 22050), 1, 22050, WavFormat::s16);
};

const Files& files() {
    static const Files made;
    return made;
}

void mixAll(benchmark::State& state) {
    const Files& f = files();
    std::vector<int16_t> out(2 * chunkFrames);
    for (auto _ : state) {
        audio::initOffline(rateHz);
        for (const Bytes* stream : {&f.ogg, &f.wavStereo, &f.wavMono}) {
            audio::channelPlay(audio::streamCreateFile(stream->data(), stream->size()), false);
        }
        audio::channelPlay(
            audio::musicLoad(f.module.data(), f.module.size(), audio::musicLoop, rateHz), false);
        for (int32_t done = 0; done < rateHz * seconds; done += chunkFrames) {
            audio::renderOffline(out.data(), chunkFrames);
        }
        benchmark::DoNotOptimize(out.data());
        audio::free();
    }
    state.counters["realTimeFactor"] = benchmark::Counter(
        static_cast<double>(seconds), benchmark::Counter::kIsIterationInvariantRate);
}

size_t readMemory(void* out, size_t size, size_t count, void* source) {
    auto& [data, position] = *static_cast<std::pair<const Bytes*, size_t>*>(source);
    size_t whole = std::min(count, (data->size() - position) / size);
    std::memcpy(out, data->data() + position, whole * size);
    position += whole * size;
    return whole;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    auto& [data, position] = *static_cast<std::pair<const Bytes*, size_t>*>(source);
    int64_t base = whence == SEEK_SET   ? 0
                   : whence == SEEK_CUR ? static_cast<int64_t>(position)
                                        : static_cast<int64_t>(data->size());
    position = static_cast<size_t>(base + offset);
    return 0;
}

long tellMemory(void* source) {
    return static_cast<long>(static_cast<std::pair<const Bytes*, size_t>*>(source)->second);
}

// The baseline: the two decoders alone, over the same 60 s.
void decodersAlone(benchmark::State& state) {
    const Files& f = files();
    std::vector<int16_t> out(2 * chunkFrames);
    for (auto _ : state) {
        std::pair<const Bytes*, size_t> reader{&f.ogg, 0};
        OggVorbis_File file;
        ov_open_callbacks(&reader, &file, nullptr, 0,
                          {readMemory, seekMemory, nullptr, tellMemory});
        int link;
        while (ov_read(&file, reinterpret_cast<char*>(out.data()), 4 * chunkFrames, 0, 2, 1,
                       &link) > 0) {
        }
        ov_clear(&file);

        openmpt_module* module = openmpt_module_create_from_memory2(
            f.module.data(), f.module.size(), openmpt_log_func_silent, nullptr,
            openmpt_error_func_ignore, nullptr, nullptr, nullptr, nullptr);
        openmpt_module_set_repeat_count(module, -1);
        for (int32_t done = 0; done < rateHz * seconds; done += chunkFrames) {
            openmpt_module_read_interleaved_stereo(module, rateHz, chunkFrames, out.data());
        }
        openmpt_module_destroy(module);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realTimeFactor"] = benchmark::Counter(
        static_cast<double>(seconds), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(mixAll)->Unit(benchmark::kMillisecond);
BENCHMARK(decodersAlone)->Unit(benchmark::kMillisecond);

} // namespace
