#include "verb_bar.h"

#include "keys.h"

namespace {

constexpr uint32_t barColour = 0xFF120A06;

// The bar: a wooden rim along its top, dark below it, with a wooden post between the keys and
// the plain part where the sentence line goes.
Canvas drawBackground() {
    Canvas c(barWidth, barHeight, barColour);
    c.fillRect(0, 0, barWidth, 1, wood.light);
    c.fillRect(0, 1, barWidth, 1, wood.dark);
    c.fillRect(sentenceLeft - 2, 2, 1, barHeight - 2, wood.dark);
    c.fillRect(sentenceLeft - 1, 2, 1, barHeight - 2, wood.outline);
    return c;
}

Canvas drawVerbKey(const Verb& verb, const AtlasFont& font, KeyState state) {
    const int32_t w = verb.columnWidth - 2;
    Canvas c(w, verbKeyHeight);
    drawKey(c, 0, 0, w, verbKeyHeight, state);
    const int32_t press = state == KeyState::lit ? 1 : 0;
    // The pen advance counts the blank column after the last glyph; leave it out to centre.
    const int32_t labelX = (w - textWidth(font, verb.label) + 1) / 2;
    drawText(c, font, verb.label, labelX + press, 3 + press, keyLabelColour(state));
    return c;
}

} // namespace

VerbBarPictures drawVerbBar(const AtlasFont& labelFont) {
    VerbBarPictures pictures;
    pictures.background = drawBackground();
    for (size_t k = 0; k < verbs.size(); ++k) {
        pictures.keysOff[k] = drawVerbKey(verbs[k], labelFont, KeyState::raised);
        pictures.keysOn[k] = drawVerbKey(verbs[k], labelFont, KeyState::lit);
    }
    return pictures;
}
