#include "shading.h"

namespace {

bool inked(const Canvas& mask, int32_t x, int32_t y) {
    return mask.contains(x, y) && (mask.at(x, y) >> 24) != 0;
}

// The face's chrome: bands from the top of the letters down, as a share of their height.
Tone faceTone(int32_t y, int32_t height) {
    struct Band {
        int32_t untilPercent;
        Tone tone;
    };
    static constexpr Band bands[] = {
        {18, Tone::mid},  {36, Tone::light}, {52, Tone::bright}, {56, Tone::deep},
        {70, Tone::dark}, {86, Tone::mid},   {100, Tone::light},
    };
    const int32_t percent = 100 * y / height;
    for (const Band& band : bands) {
        if (percent < band.untilPercent) {
            return band.tone;
        }
    }
    return Tone::light;
}

} // namespace

ToneMap shadeLetters(const Canvas& mask, int32_t depth) {
    ToneMap map(mask.width + depth, mask.height + depth);
    // The extrusion: the letters pushed back toward the lower right.
    for (int32_t step = depth; step >= 1; --step) {
        for (int32_t y = 0; y < mask.height; ++y) {
            for (int32_t x = 0; x < mask.width; ++x) {
                if (inked(mask, x, y)) {
                    map.set(x + step, y + step, Tone::deep);
                }
            }
        }
    }
    // The face, its lit upper-left edge and its shadowed lower-right edge.
    for (int32_t y = 0; y < mask.height; ++y) {
        for (int32_t x = 0; x < mask.width; ++x) {
            if (!inked(mask, x, y)) {
                continue;
            }
            Tone tone = faceTone(y, mask.height);
            if (!inked(mask, x - 1, y) || !inked(mask, x, y - 1)) {
                tone = Tone::bright;
            } else if (!inked(mask, x + 1, y) || !inked(mask, x, y + 1)) {
                tone = Tone::dark;
            }
            map.set(x, y, tone);
        }
    }
    return map;
}

void drawSparkle(Canvas& canvas, int32_t x, int32_t y, int32_t radius, uint32_t colour) {
    for (int32_t d = -radius; d <= radius; ++d) {
        canvas.set(x + d, y, colour);
        canvas.set(x, y + d, colour);
    }
    for (int32_t d = -1; d <= 1; d += 2) {
        canvas.set(x + d, y + d, colour);
        canvas.set(x + d, y - d, colour);
    }
}

Canvas colourTones(const ToneMap& map, const Colouring& colouring, uint32_t background) {
    Canvas canvas(map.width, map.height, background);
    for (size_t i = 0; i < map.tones.size(); ++i) {
        if (map.tones[i] != Tone::none) {
            canvas.pixels[i] = colouring[static_cast<size_t>(map.tones[i]) - 1];
        }
    }
    return canvas;
}
