// fontgen: turns a font sheet into the two files of a BMFont font.
//
//     fontgen SHEET OUTPUT_DIR NAME
//
// writes OUTPUT_DIR/NAME.fnt and OUTPUT_DIR/NAME_0.png. The same sheet always gives the same
// bytes. Exit status 1, with the reason on stderr, when the sheet is invalid or a file cannot
// be written.
#include "font_sheet.h"
#include "text.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: fontgen SHEET OUTPUT_DIR NAME\n", stderr);
        return 1;
    }
    const std::string sheetPath = argv[1];
    const std::string outputDir = argv[2];
    const std::string name = argv[3];

    std::string text;
    std::string error;
    if (!readTextFile(sheetPath, text, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    FontSheet sheet;
    if (!parseFontSheet(text, sheet, error)) {
        std::fprintf(stderr, "%s: %s\n", sheetPath.c_str(), error.c_str());
        return 1;
    }

    const FontAtlas atlas = layOutAtlas(sheet);
    const std::string atlasName = name + "_0.png";
    if (!writePng(outputDir + "/" + atlasName, atlas.picture)) {
        return 1;
    }
    const std::string descriptionPath = outputDir + "/" + name + ".fnt";
    std::ofstream description(descriptionPath, std::ios::binary | std::ios::trunc);
    description << fontDescription(sheet, atlas, name, atlasName);
    if (!description) {
        std::fprintf(stderr, "%s: cannot write\n", descriptionPath.c_str());
        return 1;
    }
    return 0;
}
