#include "archive_pictures.h"

#include <algorithm>

Canvas canvasOf(const Image& image) {
    Canvas canvas(image.width, image.height);
    std::copy(image.pixels.get(), image.pixels.get() + canvas.pixels.size(), canvas.pixels.begin());
    return canvas;
}

bool loadLabelFont(PackArchive& archive, AtlasFont& font, std::string& error) {
    ByteBuffer description;
    Image atlas;
    if (!loadByName(archive, "c64font.fnt", description, LoadAs::Text) ||
        !loadImage(archive, atlas, "c64font_0.png")) {
        error = "the archive has no c64font";
        return false;
    }
    return parseAtlasFont(reinterpret_cast<const char*>(description.data.get()), canvasOf(atlas),
                          font, error);
}
