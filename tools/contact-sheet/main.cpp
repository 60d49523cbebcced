// make-contact-sheet OUT ARCHIVE: draws the contact sheet of every picture in ARCHIVE (the
// packed interface archive) into OUT, reading the pictures with the program's own reader and
// picture loader, so that the sheet shows what the program gets, and setting the labels in the
// archive's c64font. Run by `make contact-sheet`.
#include "archive_pictures.h"
#include "archive_writer.h"
#include "contact_sheet.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-contact-sheet OUT ARCHIVE\n");
        return 2;
    }
    PackArchive archive;
    if (!archive.open(argv[2])) {
        std::fprintf(stderr, "%s: cannot open\n", argv[2]);
        return 1;
    }
    std::string error;
    AtlasFont font;
    if (!loadLabelFont(archive, font, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
        return 1;
    }
    std::vector<NamedPicture> pictures;
    for (int32_t i = 0; i < archive.directory.count(); ++i) {
        const std::string name = utf8Of(archive.directory.pairs[i].key);
        if (!name.ends_with(".png")) {
            continue;
        }
        Image image;
        if (!loadImage(archive, image, name.c_str())) {
            std::fprintf(stderr, "%s: %s does not load\n", argv[2], name.c_str());
            return 1;
        }
        pictures.push_back(NamedPicture{name, canvasOf(image)});
    }
    const Canvas sheet = drawContactSheet(gatherSeries(std::move(pictures)), font, 1720);
    return writePng(argv[1], sheet) ? 0 : 1;
}
