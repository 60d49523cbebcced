#include "guitar.h"

#include <cmath>

namespace {

constexpr uint32_t outlineColour = rgb(0x24080a);
constexpr Ramp bodyRamp = {rgb(0x5a0c10), rgb(0x8e1618), rgb(0xc82a24), rgb(0xf0643c)};
constexpr uint32_t pickguardColour = rgb(0xe8dcc0);
constexpr uint32_t metalColour = rgb(0xb8bcc8);
constexpr uint32_t pickupColour = rgb(0x2a2424);
constexpr uint32_t fretboardColour = rgb(0x4a2a18);
constexpr uint32_t neckColour = rgb(0xd09858);
constexpr uint32_t headColour = rgb(0xb07838);

// The body's outline: a larger lower bout and a smaller upper bout, in the guitar's own
// coordinates (x across the body, y along the neck, the neck toward negative y).
float bodyDepth(float x, float y) {
    float lx = x / 5.6f;
    float ly = (y - 2.2f) / 4.8f;
    float ux = (x - 0.4f) / 4.6f;
    float uy = (y + 3.4f) / 3.6f;
    float lower = 1.0f - std::sqrt(lx * lx + ly * ly);
    float upper = 1.0f - std::sqrt(ux * ux + uy * uy);
    return std::max(lower * 5.0f, upper * 4.2f); // roughly pixels inside the edge
}

uint32_t guitarColour(float x, float y) {
    if (y >= -24.5f && y < -19.5f && std::fabs(x) <= 1.9f) {
        return headColour;
    }
    if (y >= -24.0f && y < -19.8f && std::fabs(x) <= 3.0f && std::fmod(y + 24.0f, 2.0f) < 1.0f) {
        return metalColour; // tuning pegs
    }
    if (y >= -19.5f && y < -4.0f && std::fabs(x) <= 1.2f) {
        return x < -0.4f ? neckColour : fretboardColour;
    }
    float depth = bodyDepth(x, y);
    if (depth <= 0.0f) {
        return 0;
    }
    if (std::fabs(y - 4.0f) < 0.6f && std::fabs(x) < 2.4f) {
        return metalColour; // bridge
    }
    if ((std::fabs(y + 1.2f) < 0.6f || std::fabs(y - 1.6f) < 0.6f) && std::fabs(x) < 1.8f) {
        return pickupColour;
    }
    if (x > 1.2f && x < 4.0f && y > -3.0f && y < 4.5f && depth > 1.0f) {
        return pickguardColour;
    }
    if (depth < 1.1f) {
        return bodyRamp.dark; // the sunburst's dark rim
    }
    return (x + y < -2.0f) ? bodyRamp.light : bodyRamp.base;
}

} // namespace

void drawGuitar(Canvas& canvas, Point centre, float degrees) {
    Canvas layer(canvas.width, canvas.height);
    for (int32_t py = 0; py < canvas.height; ++py) {
        for (int32_t px = 0; px < canvas.width; ++px) {
            Point local = rotated({static_cast<float>(px) + 0.5f, static_cast<float>(py) + 0.5f},
                                  centre, -degrees);
            float x = local.x - centre.x;
            float y = local.y - centre.y;
            if (std::fabs(x) > 7.0f || y < -26.0f || y > 8.0f) {
                continue;
            }
            uint32_t colour = guitarColour(x, y);
            if (colour != 0) {
                layer.set(px, py, colour);
            }
        }
    }
    canvas.draw(withOutline(layer, outlineColour), 0, 0);
}
