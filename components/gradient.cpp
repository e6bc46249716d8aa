#include "components/gradient.h"

#include <algorithm>

namespace ruvelto::components {

GradientStops UsedColors(const uint32_t (&colors)[3]) {
    GradientStops stops;
    for (uint32_t c : colors) {
        if (c != 0xFF000000) stops.colors[stops.count++] = c;
    }
    return stops;
}

void GradientPosition(uint32_t direction, int x, int y, int width, int height, int* position, int* span) {
    const int right = width - 1 - x, bottom = height - 1 - y;
    const int diagonal = 2 * std::min(width, height);
    switch (direction) {
        case 1: *position = y, *span = height; break;
        case 2: *position = x, *span = width; break;
        case 3: *position = x + y, *span = diagonal; break;
        case 4: *position = right + y, *span = diagonal; break;
        case 5: *position = bottom, *span = height; break;
        case 6: *position = right, *span = width; break;
        case 7: *position = right + bottom, *span = diagonal; break;
        case 8: *position = x + bottom, *span = diagonal; break;
        default: *position = 0, *span = 1; break;
    }
}

uint32_t GradientColorAt(const GradientStops& stops, int position, int span) {
    const int k = stops.count;
    if (k == 0) return 0;
    if (k == 1) return stops.colors[0];
    // An area narrower than the number of segments would make the segment length 0; one pixel
    // per segment keeps the division defined.
    const int g = std::max(1, span / (k - 1));
    const int i = std::max(0, position) / g;
    if (i > k - 2) return stops.colors[k - 1];
    const int within = std::max(0, position) % g;
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>(stops.colors[i] >> shift & 0xFF);
        const int b = static_cast<int>(stops.colors[i + 1] >> shift & 0xFF);
        const int c = a + within * (b - a) / g;  // truncated toward zero, as f × (b - a)
        result |= static_cast<uint32_t>(c) << shift;
    }
    return result;
}

int EffectiveFrameWidth(int32_t frameWidth, int clientWidth, int clientHeight) {
    int width = std::max<int32_t>(frameWidth, 5);
    return std::max(0, std::min({width, clientWidth / 2, clientHeight / 2}));
}

bool FramePixelColor(const GradientStops& stops, int frameWidth, int x, int y, int width, int height,
                     uint32_t* color) {
    const int top = y, bottom = height - 1 - y, left = x, right = width - 1 - x;
    const int nearest = std::min({top, bottom, left, right});
    if (nearest >= frameWidth) return false;
    int position = 0;
    if (nearest == top) {
        position = top;
    } else if (nearest == bottom) {
        position = frameWidth - 1 - bottom;
    } else if (nearest == left) {
        position = left;
    } else {
        position = frameWidth - 1 - right;
    }
    *color = GradientColorAt(stops, position, frameWidth);
    return true;
}

}  // namespace ruvelto::components
