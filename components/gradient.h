// Label gradients as pixel arithmetic: the colours in use, each pixel's position along the
// gradient, the colour at a position, and which band of a gradient frame a pixel lies in.
// Colours are COLORREF values (0x00BBGGRR). Portable.
#pragma once
#include <cstdint>

namespace ruvelto::components {

// The colours of the three properties that are not 0xFF000000 ("not used"), in order.
struct GradientStops {
    uint32_t colors[3] = {};
    int count = 0;

    // A gradient needs at least two colours.
    bool Drawable() const { return count >= 2; }
};
GradientStops UsedColors(const uint32_t (&colors)[3]);

// Position p of pixel (x, y) of a width × height area and the span S, for direction 1 (top to
// bottom), 2 (left to right), 3 (top-left to bottom-right), 4 (top-right to bottom-left),
// 5 (bottom to top), 6 (right to left), 7 (bottom-right to top-left), 8 (bottom-left to top-right).
void GradientPosition(uint32_t direction, int x, int y, int width, int height, int* position, int* span);

// The colour at position p of a gradient of span S through the stops.
uint32_t GradientColorAt(const GradientStops& stops, int position, int span);

// The width a gradient frame is drawn with: FrameWidth (at least 5) limited to half the client
// width and height.
int EffectiveFrameWidth(int32_t frameWidth, int clientWidth, int clientHeight);

// The gradient frame's colour of a pixel of the client area, when the pixel lies in the frame:
// four bands along the edges meeting along the corner diagonals; top and bottom bands run top to
// bottom across the frame width, left and right bands left to right.
bool FramePixelColor(const GradientStops& stops, int frameWidth, int x, int y, int width, int height,
                     uint32_t* color);

}  // namespace ruvelto::components
