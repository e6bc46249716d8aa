// Fitting a picture inside the custom size with its proportions kept.
#include "app/box_fitting.h"

#include <gtest/gtest.h>

namespace ruvelto::app {
namespace {

TEST(BoxFitting, FitsInsideTheBoxWithProportionsKept) {
    const struct {
        int64_t width, height, boxWidth, boxHeight, fittedWidth, fittedHeight;
    } cases[] = {
        {3000, 2000, 640, 480, 640, 427},    // landscape: the width meets the box, 426.67 rounds up
        {2000, 3000, 640, 480, 320, 480},    // portrait: the height meets the box
        {1000, 1000, 640, 480, 480, 480},    // square into a wide box
        {200, 100, 640, 480, 200, 100},      // already inside: kept
        {640, 480, 640, 480, 640, 480},      // exactly the box
        {641, 480, 640, 480, 640, 479},      // one pixel too wide
        {10000, 1, 100, 100, 100, 1},        // a thin line keeps at least one pixel
        {1, 10000, 100, 100, 1, 100},
        {3000, 2000, 0, 480, 0, 0},          // an empty box writes nothing
        {0, 2000, 640, 480, 0, 0},
    };
    for (const auto& c : cases) {
        int64_t w = -1, h = -1;
        FitInsideBox(c.width, c.height, c.boxWidth, c.boxHeight, w, h);
        EXPECT_EQ(w, c.fittedWidth) << c.width << "x" << c.height << " in " << c.boxWidth << "x" << c.boxHeight;
        EXPECT_EQ(h, c.fittedHeight) << c.width << "x" << c.height << " in " << c.boxWidth << "x" << c.boxHeight;
    }
}

}  // namespace
}  // namespace ruvelto::app
