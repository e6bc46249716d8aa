#include "app/box_fitting.h"

namespace ruvelto::app {
namespace {

// a × b / c rounded to the nearest whole number, at least 1; all positive and small enough
// (sides up to 2^31) that the product fits.
int64_t ScaledSide(int64_t a, int64_t b, int64_t c) {
    const int64_t scaled = (2 * a * b + c) / (2 * c);
    return scaled < 1 ? 1 : scaled;
}

}  // namespace

void FitInsideBox(int64_t width, int64_t height, int64_t boxWidth, int64_t boxHeight, int64_t& fittedWidth,
                  int64_t& fittedHeight) {
    fittedWidth = fittedHeight = 0;
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return;
    if (width <= boxWidth && height <= boxHeight) {
        fittedWidth = width, fittedHeight = height;
        return;
    }
    // The side that meets the box first decides the scale.
    if (width * boxHeight >= height * boxWidth) {
        fittedWidth = boxWidth;
        fittedHeight = ScaledSide(height, boxWidth, width);
    } else {
        fittedHeight = boxHeight;
        fittedWidth = ScaledSide(width, boxHeight, height);
    }
}

}  // namespace ruvelto::app
