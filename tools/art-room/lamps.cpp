#include "lamps.h"

#include "layout.h"
#include "paint.h"

#include <cmath>
#include <numbers>

namespace {

// The shade is the part the program recolours: it must be exactly this value.
constexpr uint32_t tintable = 0xFFFFFFFFu;
constexpr uint32_t outline = rgb(0x141010);
constexpr uint32_t cord = rgb(0x1c1816);
constexpr uint32_t shadeInsideOff = rgb(0x2a2420);
constexpr uint32_t shadeInsideOn = rgb(0xfff0b0);
constexpr uint32_t bulbOff = rgb(0x8a8a80);
constexpr uint32_t bulbOn = rgb(0xfffadc);

constexpr float swingDegrees[lampPositions] = {11.0f, 5.5f, 0.0f, -5.5f, -11.0f};
constexpr float cordLength = 12.0f;
constexpr float rimDepth = 19.0f; // from the socket to the shade's rim
constexpr float rimHalfWidth = 5.5f;
constexpr float coneHalfAngleDegrees = 8.0f;
constexpr float poolY = 118.0f; // the lit spot on the gallery's deck
constexpr float poolRadiusY = 5.0f;
constexpr int32_t fixtureHeight = 46;

const Point pivot{lampPivotX + 0.5f, static_cast<float>(lampPivotY) + 1.0f};

// A point of the hanging lamp given in its own frame (x across, y down from the socket).
Point swung(Point local, int position) {
    return rotated({pivot.x + local.x, pivot.y + local.y}, pivot, swingDegrees[position]);
}

} // namespace

Canvas drawLampFixture(int position, bool lit) {
    Canvas lamp(lampWidth, fixtureHeight);
    Point cordEnd = swung({0.0f, cordLength + 0.5f}, position);
    drawLine(lamp, lampPivotX, lampPivotY + 1, static_cast<int32_t>(std::floor(cordEnd.x)),
             static_cast<int32_t>(std::floor(cordEnd.y)), cord);
    Canvas shade(lampWidth, fixtureHeight);
    fillPolygon(shade,
                {swung({-1.5f, cordLength}, position), swung({1.5f, cordLength}, position),
                 swung({rimHalfWidth, rimDepth}, position),
                 swung({-rimHalfWidth, rimDepth}, position)},
                tintable);
    fillPolygon(shade,
                {swung({-rimHalfWidth + 1.0f, rimDepth - 1.0f}, position),
                 swung({rimHalfWidth - 1.0f, rimDepth - 1.0f}, position),
                 swung({rimHalfWidth - 0.5f, rimDepth + 0.6f}, position),
                 swung({-rimHalfWidth + 0.5f, rimDepth + 0.6f}, position)},
                lit ? shadeInsideOn : shadeInsideOff);
    fillEllipse(shade, swung({0.0f, rimDepth + 0.8f}, position), 2.0f, 1.6f,
                lit ? bulbOn : bulbOff);
    lamp.draw(withOutline(shade, outline), 0, 0);
    return lamp;
}

Canvas drawLightCone(int position) {
    // The beam widens from the shade's rim at a fixed angle along the lamp's axis and ends in
    // an oval spot on the deck.
    const float halfAngle = coneHalfAngleDegrees * std::numbers::pi_v<float> / 180.0f;
    const float apexDistance = rimHalfWidth / std::tan(halfAngle);
    Point rim = swung({0.0f, rimDepth + 1.0f}, position);
    Point apex = swung({0.0f, rimDepth + 1.0f - apexDistance}, position);
    float axisX = rim.x - apex.x;
    float axisY = rim.y - apex.y;
    float axisLength = std::sqrt(axisX * axisX + axisY * axisY);
    axisX /= axisLength;
    axisY /= axisLength;
    float poolCentreX = apex.x + axisX * (poolY - apex.y) / axisY;
    float poolRadiusX = (poolY - apex.y) / axisY * std::tan(halfAngle);
    int32_t height = static_cast<int32_t>(poolY + poolRadiusY) + 1;
    Canvas cone(lampWidth, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < lampWidth; ++x) {
            float px = static_cast<float>(x) + 0.5f;
            float py = static_cast<float>(y) + 0.5f;
            float along = (px - apex.x) * axisX + (py - apex.y) * axisY;
            float across = std::fabs((px - apex.x) * axisY - (py - apex.y) * axisX);
            bool inBeam =
                py <= poolY && along >= apexDistance && across <= along * std::tan(halfAngle);
            float dx = (px - poolCentreX) / poolRadiusX;
            float dy = (py - poolY) / poolRadiusY;
            bool inPool = dx * dx + dy * dy <= 1.0f;
            if (inBeam || inPool) {
                cone.set(x, y, rgb(0xFFFFFF));
            }
        }
    }
    return cone;
}
