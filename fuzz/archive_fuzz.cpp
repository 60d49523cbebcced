// Fuzz target: any bytes as an archive file, opened and every entry read the way start-up and
// the loaders do. The reader must never read or write outside a buffer, whatever the file says.
#include "archive_writer.h"
#include "fuzz_file.h"
#include "resources/pack_archive.h"

#include <cstdint>

// The reader caches every entry it reads; past this many declared bytes an input stops
// reading, so that one input cannot fill the fuzzer's memory with legitimate cached copies.
constexpr int64_t readBudgetBytes = 16 * 1024 * 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& path = writeFuzzFile("archive", data, size);
    PackArchive archive;
    archive.open(path.c_str());

    int64_t declaredBytes = 0;
    for (int32_t i = 0; i < archive.directory.count(); ++i) {
        const std::string name = utf8Of(archive.directory.pairs[i].key);
        declaredBytes += std::max(archive.entry(name.c_str()).uncompressedSize, 0);
        if (declaredBytes > readBudgetBytes) {
            break;
        }
        ByteBuffer buffer;
        loadByName(archive, name.c_str(), buffer, LoadAs::Text);
        uint8_t first[16];
        archive.read(name.c_str(), first, sizeof first);
    }
    archive.clear();
    return 0;
}
