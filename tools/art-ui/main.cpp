// ui-art WHAT SOURCES FONTS OUT: draws one group of the interface's pictures (everything but
// the room) into the folder OUT, from the sources in the folder SOURCES (assets/ui) and the
// built fonts in the folder FONTS. Run by the build, once per group, so that a changed source
// redraws only its own group; the same sources always give the same files.
//
//     logo      vorthanelogo_blue/_green/_red/_grey.png
//     overlay   cursor.png, black.png: what the room draws over its frames
//     scroller  scroller.txt: the cracktro's scroller, its source's lines joined into one
//     player    player_background.png, player_sliderbutton.png, player_button_<key>.png
//     verbs     hud_background.png, commands_off_<verb>.png, commands_on_<verb>.png
//     end       endscreen.png
#include "block_letters.h"
#include "end_screen.h"
#include "logo.h"
#include "pixel_sheet.h"
#include "player_panel.h"
#include "verb_bar.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

bool makeLogo(const std::string& sources, const std::string& out, std::string& error) {
    BlockAlphabet alphabet;
    std::array<Canvas, 4> logos;
    if (!loadBlockLetters(sources + "/block_letters.txt", alphabet, error) ||
        !drawLogos(alphabet, logos, error)) {
        return false;
    }
    const char* names[] = {"blue", "green", "red", "grey"};
    for (size_t k = 0; k < logos.size(); ++k) {
        if (!writePng(out + "/vorthanelogo_" + names[k] + ".png", logos[k])) {
            return false;
        }
    }
    return true;
}

// The pointer comes as it is drawn in its sheet; the closing fade blends an opaque black
// picture the size of the screen over the room.
bool makeOverlay(const std::string& sources, const std::string& out, std::string& error) {
    Canvas cursor;
    if (!loadPixelSheet(sources + "/cursor.txt", cursor, error)) {
        return false;
    }
    if (cursor.width != 13 || cursor.height != 13) {
        error = "cursor.txt: the pointer is 13 x 13, with its hot spot at (6, 6)";
        return false;
    }
    return writePng(out + "/cursor.png", cursor) &&
           writePng(out + "/black.png", Canvas(320, 200, 0xFF000000));
}

// The source keeps the prose in lines a person can edit; the cracktro scrolls one line, so the
// lines are joined with a blank each. Only printable ASCII, and 600 to 2,500 characters.
bool makeScroller(const std::string& sources, const std::string& out, std::string& error) {
    const std::string sourcePath = sources + "/scroller.txt";
    std::ifstream source(sourcePath);
    if (!source) {
        error = sourcePath + ": cannot open";
        return false;
    }
    std::string text;
    std::string line;
    while (std::getline(source, line)) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += ' ';
        }
        text += line;
    }
    for (char c : text) {
        if (c < 32 || c > 126) {
            error = sourcePath + ": only printable ASCII scrolls";
            return false;
        }
    }
    if (text.size() < 600 || text.size() > 2500) {
        error = sourcePath + ": " + std::to_string(text.size()) +
                " characters, the scroller wants 600 to 2,500";
        return false;
    }
    std::ofstream file(out + "/scroller.txt", std::ios::binary | std::ios::trunc);
    file << text;
    if (!file) {
        error = out + "/scroller.txt: cannot write";
        return false;
    }
    return true;
}

bool makePlayer(const std::string& sources, const std::string& fonts, const std::string& out,
                std::string& error) {
    std::array<Canvas, 5> symbols;
    for (size_t k = 0; k < playerKeys.size(); ++k) {
        if (!loadPixelSheet(sources + "/icon_" + playerKeys[k].name + ".txt", symbols[k], error)) {
            return false;
        }
    }
    AtlasFont font;
    if (!loadAtlasFont(fonts, "silkywonderland", font, error)) {
        return false;
    }
    const PlayerPictures pictures = drawPlayerPanel(symbols, font);
    bool ok = writePng(out + "/player_background.png", pictures.background) &&
              writePng(out + "/player_sliderbutton.png", pictures.knob);
    for (size_t k = 0; ok && k < playerKeys.size(); ++k) {
        ok = writePng(out + "/player_button_" + playerKeys[k].name + ".png", pictures.litKeys[k]);
    }
    return ok;
}

bool makeVerbs(const std::string& fonts, const std::string& out, std::string& error) {
    AtlasFont font;
    if (!loadAtlasFont(fonts, "silkywonderland", font, error)) {
        return false;
    }
    const VerbBarPictures pictures = drawVerbBar(font);
    bool ok = writePng(out + "/hud_background.png", pictures.background);
    for (size_t k = 0; ok && k < verbs.size(); ++k) {
        const std::string name = verbs[k].name;
        ok = writePng(out + "/commands_off_" + name + ".png", pictures.keysOff[k]) &&
             writePng(out + "/commands_on_" + name + ".png", pictures.keysOn[k]);
    }
    return ok;
}

bool makeEnd(const std::string& sources, const std::string& fonts, const std::string& out,
             std::string& error) {
    BlockAlphabet alphabet;
    AtlasFont font;
    Canvas picture;
    return loadBlockLetters(sources + "/block_letters.txt", alphabet, error) &&
           loadAtlasFont(fonts, "c64font", font, error) &&
           drawEndScreen(alphabet, font, picture, error) &&
           writePng(out + "/endscreen.png", picture);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: ui-art WHAT SOURCES FONTS OUT\n");
        return 2;
    }
    const std::string what = argv[1];
    const std::string sources = argv[2];
    const std::string fonts = argv[3];
    const std::string out = argv[4];
    std::string error;
    bool ok = false;
    if (what == "logo") {
        ok = makeLogo(sources, out, error);
    } else if (what == "overlay") {
        ok = makeOverlay(sources, out, error);
    } else if (what == "scroller") {
        ok = makeScroller(sources, out, error);
    } else if (what == "player") {
        ok = makePlayer(sources, fonts, out, error);
    } else if (what == "verbs") {
        ok = makeVerbs(fonts, out, error);
    } else if (what == "end") {
        ok = makeEnd(sources, fonts, out, error);
    } else {
        std::fprintf(stderr, "ui-art: unknown group %s\n", what.c_str());
        return 2;
    }
    if (!ok && !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
    }
    return ok ? 0 : 1;
}
