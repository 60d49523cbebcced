// The cost of loading resources: opening an archive of 100 entries (about 5 MB on disk) and
// reading every entry through the loaders' sequence, against zlib's own uncompress of the same
// stored streams from memory, which is the work that cannot be avoided.
#include "archive_writer.h"
#include "resources/pack_archive.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int entryCount = 100;

// The archive file, written once: three entries in four are noise, like the PNG and Ogg files
// that fill the real archives; the rest is text of a few letters.
struct BenchArchive {
    std::filesystem::path path;
    std::vector<std::string> names;
    std::vector<std::vector<uint8_t>> streams; // each entry's zlib stream, unmasked
    std::vector<uLong> sizes;                  // each entry's unpacked size
    int64_t unpackedBytes = 0;
    int64_t fileBytes = 0;

    BenchArchive() {
        std::random_device random;
        path = std::filesystem::temp_directory_path() /
               ("crush-bench-" + std::to_string(random()) + ".qar");
        ArchiveWriter writer;
        std::string directoryText;
        uint32_t state = 12345;
        for (int i = 0; i < entryCount; ++i) {
            std::vector<uint8_t> content(static_cast<size_t>(20000 + (i * 7919) % 80000));
            for (size_t at = 0; at < content.size(); ++at) {
                state = state * 1664525u + 1013904223u;
                content[at] = i % 4 == 3
                                  ? static_cast<uint8_t>("etaoinshrdlu \n"[(state >> 24) % 14])
                                  : static_cast<uint8_t>(state >> 24);
            }
            StoredBlob blob;
            writer.addBlob(content.data(), content.size(), blob);
            names.push_back("entry_" + std::to_string(i) + ".bin");
            directoryText += directoryLine(names.back(), blob);
            std::vector<uint8_t> stream(writer.bytes.begin() + blob.offset,
                                        writer.bytes.begin() + blob.offset + blob.compressedSize);
            stream[0] ^= streamMask & 0xFF;
            stream[1] ^= streamMask >> 8;
            streams.push_back(std::move(stream));
            sizes.push_back(static_cast<uLong>(content.size()));
            unpackedBytes += static_cast<int64_t>(content.size());
        }
        writer.finish(directoryText);
        fileBytes = static_cast<int64_t>(writer.bytes.size());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(writer.bytes.data()),
                   static_cast<std::streamsize>(writer.bytes.size()));
    }
    ~BenchArchive() { std::filesystem::remove(path); }
};

const BenchArchive& benchArchive() {
    static const BenchArchive archive;
    return archive;
}

void openAndReadEveryEntry(benchmark::State& state) {
    const BenchArchive& bench = benchArchive();
    for (auto _ : state) {
        PackArchive archive;
        archive.open(bench.path.string().c_str());
        for (const std::string& name : bench.names) {
            ByteBuffer buffer;
            if (!loadByName(archive, name.c_str(), buffer)) {
                state.SkipWithError("an entry did not load");
            }
            benchmark::DoNotOptimize(buffer.data.get());
        }
    }
    state.SetBytesProcessed(state.iterations() * bench.unpackedBytes);
    state.counters["archive_MB"] = static_cast<double>(bench.fileBytes) / 1e6;
}

// The baseline: zlib alone, the same streams already in memory, into buffers made once.
void zlibUncompressOnly(benchmark::State& state) {
    const BenchArchive& bench = benchArchive();
    std::vector<std::vector<uint8_t>> outputs;
    for (uLong size : bench.sizes) {
        outputs.emplace_back(size + 1);
    }
    for (auto _ : state) {
        for (size_t i = 0; i < bench.streams.size(); ++i) {
            uLongf length = bench.sizes[i];
            uncompress(outputs[i].data(), &length, bench.streams[i].data(),
                       static_cast<uLong>(bench.streams[i].size()));
            benchmark::DoNotOptimize(outputs[i].data());
        }
    }
    state.SetBytesProcessed(state.iterations() * bench.unpackedBytes);
    state.counters["archive_MB"] = static_cast<double>(bench.fileBytes) / 1e6;
}

BENCHMARK(openAndReadEveryEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(zlibUncompressOnly)->Unit(benchmark::kMillisecond);

} // namespace
