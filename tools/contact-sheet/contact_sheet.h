// The contact sheet: every picture of the interface archive at twice its size with its name,
// numbered series (name_01, name_02, ... or name_a, name_b, ...) gathered into one strip each
// so that animations read from left to right. Made by `make contact-sheet` for reviewing art.
#pragma once

#include "atlas_font.h"
#include "canvas.h"

#include <string>
#include <vector>

struct NamedPicture {
    std::string name; // the archive's name, such as actor_walk_01.png
    Canvas picture;
};

// One place on the sheet: a single picture, or the frames of a series in their order.
struct SheetItem {
    std::string label; // the name, or for a series its first and last, as actor_walk_01..10.png
    std::vector<Canvas> frames;
};

// The pictures in name order, series gathered: a series is two or more names that differ only
// in a last part of two digits or of one lower-case letter after an underscore.
std::vector<SheetItem> gatherSeries(std::vector<NamedPicture> pictures);

// The items laid out in rows at most `maxWidth` pixels wide, each picture doubled on a checker
// that shows its transparent pixels, each label set in `font` above its item.
Canvas drawContactSheet(const std::vector<SheetItem>& items, const AtlasFont& font,
                        int32_t maxWidth);
