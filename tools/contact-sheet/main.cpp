// make-contact-sheet OUT FONT_FOLDER PICTURE...: draws the contact sheet of the given pictures
// (the interface archive's, as the build registers them) into OUT, its labels in the c64font
// from FONT_FOLDER. Run by `make contact-sheet`.
#include "contact_sheet.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-contact-sheet OUT FONT_FOLDER PICTURE...\n");
        return 2;
    }
    std::string error;
    AtlasFont font;
    if (!loadAtlasFont(argv[2], "c64font", font, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::vector<NamedPicture> pictures;
    for (int i = 3; i < argc; ++i) {
        NamedPicture p;
        p.name = std::filesystem::path(argv[i]).filename().string();
        if (!readPng(argv[i], p.picture, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        pictures.push_back(std::move(p));
    }
    const Canvas sheet = drawContactSheet(gatherSeries(std::move(pictures)), font, 1720);
    return writePng(argv[1], sheet) ? 0 : 1;
}
