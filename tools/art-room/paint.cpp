#include "paint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

bool opaque(const Canvas& canvas, int32_t x, int32_t y) {
    return canvas.contains(x, y) && (canvas.at(x, y) >> 24) != 0;
}

float distanceToSegment(Point p, Point a, Point b) {
    float dx = b.x - a.x;
    float dy = b.y - a.y;
    float lengthSquared = dx * dx + dy * dy;
    float t = 0;
    if (lengthSquared > 0) {
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0f, 1.0f);
    }
    float ex = p.x - (a.x + t * dx);
    float ey = p.y - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

} // namespace

Point rotated(Point p, Point centre, float degrees) {
    float radians = degrees * std::numbers::pi_v<float> / 180.0f;
    float c = std::cos(radians);
    float s = std::sin(radians);
    float dx = p.x - centre.x;
    float dy = p.y - centre.y;
    return {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
}

Point lerp(Point a, Point b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

void fillPolygon(Canvas& canvas, const std::vector<Point>& corners, uint32_t colour) {
    if (corners.size() < 3) {
        return;
    }
    float top = corners[0].y;
    float bottom = corners[0].y;
    for (const Point& p : corners) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    int32_t firstRow = std::max(0, static_cast<int32_t>(std::floor(top)));
    int32_t lastRow = std::min(canvas.height - 1, static_cast<int32_t>(std::ceil(bottom)));
    std::vector<float> crossings;
    for (int32_t row = firstRow; row <= lastRow; ++row) {
        float y = static_cast<float>(row) + 0.5f;
        crossings.clear();
        for (size_t i = 0; i < corners.size(); ++i) {
            Point a = corners[i];
            Point b = corners[(i + 1) % corners.size()];
            if ((a.y <= y) != (b.y <= y)) {
                crossings.push_back(a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixel x is inside when its centre x + 0.5 lies between the two crossings.
            int32_t from = static_cast<int32_t>(std::ceil(crossings[i] - 0.5f));
            int32_t to = static_cast<int32_t>(std::ceil(crossings[i + 1] - 0.5f)) - 1;
            for (int32_t x = from; x <= to; ++x) {
                canvas.set(x, row, colour);
            }
        }
    }
}

void fillCapsule(Canvas& canvas, Point a, Point b, float radius, uint32_t colour) {
    int32_t left = static_cast<int32_t>(std::floor(std::min(a.x, b.x) - radius));
    int32_t right = static_cast<int32_t>(std::ceil(std::max(a.x, b.x) + radius));
    int32_t top = static_cast<int32_t>(std::floor(std::min(a.y, b.y) - radius));
    int32_t bottom = static_cast<int32_t>(std::ceil(std::max(a.y, b.y) + radius));
    for (int32_t y = top; y <= bottom; ++y) {
        for (int32_t x = left; x <= right; ++x) {
            Point centre{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            if (distanceToSegment(centre, a, b) <= radius) {
                canvas.set(x, y, colour);
            }
        }
    }
}

void fillEllipse(Canvas& canvas, Point centre, float radiusX, float radiusY, uint32_t colour) {
    int32_t left = static_cast<int32_t>(std::floor(centre.x - radiusX));
    int32_t right = static_cast<int32_t>(std::ceil(centre.x + radiusX));
    int32_t top = static_cast<int32_t>(std::floor(centre.y - radiusY));
    int32_t bottom = static_cast<int32_t>(std::ceil(centre.y + radiusY));
    for (int32_t y = top; y <= bottom; ++y) {
        for (int32_t x = left; x <= right; ++x) {
            float dx = (static_cast<float>(x) + 0.5f - centre.x) / radiusX;
            float dy = (static_cast<float>(y) + 0.5f - centre.y) / radiusY;
            if (dx * dx + dy * dy <= 1.0f) {
                canvas.set(x, y, colour);
            }
        }
    }
}

void drawLine(Canvas& canvas, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
    int32_t dx = std::abs(x1 - x0);
    int32_t dy = -std::abs(y1 - y0);
    int32_t stepX = x0 < x1 ? 1 : -1;
    int32_t stepY = y0 < y1 ? 1 : -1;
    int32_t error = dx + dy;
    while (true) {
        canvas.set(x0, y0, colour);
        if (x0 == x1 && y0 == y1) {
            return;
        }
        int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

void ditherRect(Canvas& canvas, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t a,
                uint32_t b) {
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column) {
            canvas.set(column, row, ((row + column) & 1) != 0 ? b : a);
        }
    }
}

Canvas shadePart(const Canvas& mask, const Ramp& ramp) {
    Canvas part(mask.width, mask.height);
    auto isBorder = [&](int32_t x, int32_t y) {
        return opaque(mask, x, y) && (!opaque(mask, x - 1, y) || !opaque(mask, x + 1, y) ||
                                      !opaque(mask, x, y - 1) || !opaque(mask, x, y + 1));
    };
    for (int32_t y = 0; y < mask.height; ++y) {
        for (int32_t x = 0; x < mask.width; ++x) {
            if (!opaque(mask, x, y)) {
                continue;
            }
            if (isBorder(x, y)) {
                part.set(x, y, ramp.outline);
                continue;
            }
            bool nearShadowEdge = isBorder(x + 1, y) || isBorder(x, y + 1);
            bool nearLitEdge = isBorder(x - 1, y) || isBorder(x, y - 1);
            uint32_t colour = ramp.base;
            if (nearShadowEdge && !nearLitEdge) {
                colour = ramp.dark;
            } else if (nearLitEdge && !nearShadowEdge) {
                colour = ramp.light;
            }
            part.set(x, y, colour);
        }
    }
    return part;
}

Canvas withOutline(const Canvas& canvas, uint32_t colour) {
    Canvas result = canvas;
    for (int32_t y = 0; y < canvas.height; ++y) {
        for (int32_t x = 0; x < canvas.width; ++x) {
            if (opaque(canvas, x, y)) {
                continue;
            }
            if (opaque(canvas, x - 1, y) || opaque(canvas, x + 1, y) || opaque(canvas, x, y - 1) ||
                opaque(canvas, x, y + 1)) {
                result.set(x, y, colour);
            }
        }
    }
    return result;
}
