// Fuzz target: any bytes as a picture entry of the interface archive, loaded with loadImage.
// The decoder must refuse what it cannot read and never read or write outside a buffer.
#include "archive_writer.h"
#include "fuzz_file.h"
#include "resources/image.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ArchiveWriter writer;
    StoredBlob blob;
    writer.addBlob(data, size, blob);
    writer.finish(directoryLine("picture.png", blob));
    const std::string& path = writeFuzzFile("image", writer.bytes.data(), writer.bytes.size());

    PackArchive archive;
    archive.open(path.c_str());
    Image image;
    loadImage(archive, image, "picture.png");
    return 0;
}
