#include "audio.h"

#include "dsp.h"

#include <libopenmpt/libopenmpt.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>

bool renderModule(const std::vector<uint8_t>& file, double seconds, StereoAudio& audio,
                  std::string& error) {
    int errorCode = 0;
    const char* message = nullptr;
    openmpt_module* module =
        openmpt_module_create_from_memory2(file.data(), file.size(), nullptr, nullptr, nullptr,
                                           nullptr, &errorCode, &message, nullptr);
    if (module == nullptr) {
        error = std::string("libopenmpt cannot load the module: ") + (message ? message : "?");
        openmpt_free_string(message);
        return false;
    }
    openmpt_free_string(message);
    openmpt_module_set_repeat_count(module, seconds > 0 ? -1 : 0);
    openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, 8);
    const size_t limitFrames =
        seconds > 0 ? static_cast<size_t>(seconds * 44100) : static_cast<size_t>(3600) * 44100;
    audio.samples.clear();
    std::vector<float> block(2 * 4096);
    while (audio.frames() < limitFrames) {
        size_t wanted = std::min<size_t>(4096, limitFrames - audio.frames());
        size_t got =
            openmpt_module_read_interleaved_float_stereo(module, 44100, wanted, block.data());
        if (got == 0) {
            break;
        }
        audio.samples.insert(audio.samples.end(), block.begin(),
                             block.begin() + static_cast<std::ptrdiff_t>(2 * got));
    }
    openmpt_module_destroy(module);
    return true;
}

Loudness measureLoudness(const StereoAudio& audio, size_t firstFrame, size_t frameCount) {
    Loudness loudness;
    size_t end =
        std::min(audio.frames(), frameCount == SIZE_MAX ? SIZE_MAX : firstFrame + frameCount);
    if (firstFrame >= end) {
        return loudness;
    }
    double peak = 0;
    double sumSquares = 0;
    for (size_t i = 2 * firstFrame; i < 2 * end; ++i) {
        double value = audio.samples[i];
        peak = std::max(peak, std::abs(value));
        sumSquares += value * value;
    }
    loudness.peakDb = gainToDb(peak);
    loudness.rmsDb = gainToDb(std::sqrt(sumSquares / static_cast<double>(2 * (end - firstFrame))));
    return loudness;
}

namespace {

// The gain per frame that keeps every sample at or below the ceiling: the gain each frame
// needs, spread over a window on both sides (so it falls and rises smoothly before a peak)
// and released slowly after it.
std::vector<float> limiterGain(const StereoAudio& audio, double gain, double ceiling) {
    const size_t frames = audio.frames();
    const size_t window = 66; // 1.5 ms each side
    std::vector<float> needed(frames);
    for (size_t f = 0; f < frames; ++f) {
        double peak =
            std::max(std::abs(audio.samples[2 * f]), std::abs(audio.samples[2 * f + 1])) * gain;
        needed[f] = static_cast<float>(peak > ceiling ? ceiling / peak : 1.0);
    }
    // Least needed gain within the window around each frame (a sliding minimum).
    std::vector<float> lowest(frames);
    std::deque<size_t> candidates;
    for (size_t f = 0; f < frames + window; ++f) {
        if (f < frames) {
            while (!candidates.empty() && needed[candidates.back()] >= needed[f]) {
                candidates.pop_back();
            }
            candidates.push_back(f);
        }
        if (f >= window) {
            size_t centre = f - window;
            while (candidates.front() + window < centre) {
                candidates.pop_front();
            }
            lowest[centre] = needed[candidates.front()];
        }
    }
    // Averaged over the same window: never above what any frame in reach needs.
    std::vector<double> prefix(frames + 1, 0);
    for (size_t f = 0; f < frames; ++f) {
        prefix[f + 1] = prefix[f] + lowest[f];
    }
    std::vector<float> smooth(frames);
    const double release = std::exp(-1.0 / (0.08 * 44100));
    double held = 1;
    for (size_t f = 0; f < frames; ++f) {
        size_t from = f >= window ? f - window : 0;
        size_t to = std::min(frames, f + window + 1);
        double average = (prefix[to] - prefix[from]) / static_cast<double>(to - from);
        held = std::min(average, held * release + (1 - release));
        smooth[f] = static_cast<float>(held * gain);
    }
    return smooth;
}

} // namespace

void masterTrack(StereoAudio& audio, double rmsDb, double ceilingDb) {
    // Trim what follows the last audible sample, keeping a short tail.
    size_t last = audio.frames();
    while (last > 0 && std::abs(audio.samples[2 * last - 1]) < 1e-4f &&
           std::abs(audio.samples[2 * last - 2]) < 1e-4f) {
        --last;
    }
    audio.samples.resize(2 * std::min(audio.frames(), last + 4410));

    // The gain that reaches the loudness once the limiter has taken the peaks off.
    const StereoAudio original = audio;
    const double ceiling = dbToGain(ceilingDb);
    double gain = dbToGain(rmsDb - measureLoudness(original).rmsDb);
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<float> perFrame = limiterGain(original, gain, ceiling);
        for (size_t f = 0; f < audio.frames(); ++f) {
            audio.samples[2 * f] = original.samples[2 * f] * perFrame[f];
            audio.samples[2 * f + 1] = original.samples[2 * f + 1] * perFrame[f];
        }
        double missing = rmsDb - measureLoudness(audio).rmsDb;
        if (std::abs(missing) < 0.05) {
            break;
        }
        gain *= dbToGain(missing);
    }

    const size_t fade = std::min<size_t>(audio.frames(), 44100 / 50);
    for (size_t i = 0; i < fade; ++i) {
        size_t f = audio.frames() - fade + i;
        float remaining = static_cast<float>(fade - i) / static_cast<float>(fade);
        audio.samples[2 * f] *= remaining;
        audio.samples[2 * f + 1] *= remaining;
    }
}

bool encodeOggVorbis(const StereoAudio& audio, float quality, int32_t serial,
                     const std::string& title, std::vector<uint8_t>& file, std::string& error) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 2, 44100, quality) != 0) {
        vorbis_info_clear(&info);
        error = "libvorbisenc refuses the encoding settings";
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "Crush and Shatter");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    file.clear();
    auto writePage = [&](const ogg_page& page) {
        file.insert(file.end(), page.header, page.header + page.header_len);
        file.insert(file.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, commentHeader, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codebooks);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        writePage(page);
    }

    // The sound in blocks; an empty block marks the end, after which the last packets and
    // pages come out.
    const size_t blockFrames = 4096;
    size_t first = 0;
    for (bool finished = false; !finished;) {
        size_t count = std::min(blockFrames, audio.frames() - first);
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (size_t i = 0; i < count; ++i) {
                buffer[0][i] = audio.samples[2 * (first + i)];
                buffer[1][i] = audio.samples[2 * (first + i) + 1];
            }
            first += count;
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        finished = count == 0;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    writePage(page);
                }
            }
        }
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        writePage(page);
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return true;
}

namespace {

struct MemoryFile {
    const std::vector<uint8_t>* bytes;
    size_t position = 0;
};

size_t readMemory(void* destination, size_t size, size_t count, void* source) {
    auto* memory = static_cast<MemoryFile*>(source);
    size_t wanted = size * count;
    size_t left = memory->bytes->size() - memory->position;
    size_t taken = std::min(wanted, left);
    std::memcpy(destination, memory->bytes->data() + memory->position, taken);
    memory->position += taken;
    return size == 0 ? 0 : taken / size;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* memory = static_cast<MemoryFile*>(source);
    ogg_int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<ogg_int64_t>(memory->position)
                                            : static_cast<ogg_int64_t>(memory->bytes->size());
    ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(memory->bytes->size())) {
        return -1;
    }
    memory->position = static_cast<size_t>(target);
    return 0;
}

long tellMemory(void* source) {
    return static_cast<long>(static_cast<MemoryFile*>(source)->position);
}

} // namespace

bool decodeOggVorbis(const std::vector<uint8_t>& file, StereoAudio& audio, std::string& error) {
    MemoryFile memory{&file, 0};
    OggVorbis_File vorbis;
    ov_callbacks callbacks = {readMemory, seekMemory, nullptr, tellMemory};
    if (ov_open_callbacks(&memory, &vorbis, nullptr, 0, callbacks) != 0) {
        error = "not an Ogg Vorbis stream";
        return false;
    }
    vorbis_info* info = ov_info(&vorbis, -1);
    if (info == nullptr || info->channels != 2 || info->rate != 44100) {
        ov_clear(&vorbis);
        error = "not 44,100 Hz stereo";
        return false;
    }
    audio.samples.clear();
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        long frames = ov_read_float(&vorbis, &pcm, 4096, &section);
        if (frames < 0) {
            ov_clear(&vorbis);
            error = "damaged Ogg Vorbis stream";
            return false;
        }
        if (frames == 0) {
            break;
        }
        for (long i = 0; i < frames; ++i) {
            audio.samples.push_back(pcm[0][i]);
            audio.samples.push_back(pcm[1][i]);
        }
    }
    ov_clear(&vorbis);
    return true;
}
