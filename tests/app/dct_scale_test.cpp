// The scale a JPEG is decoded at: the largest shrink that still leaves the size needed.
#include "app/dct_scale.h"

#include <gtest/gtest.h>

namespace ruvelto::app {
namespace {

TEST(DctScale, LargestShrinkThatStillLeavesTheNeededSize) {
    const struct {
        int32_t width, height;
        int64_t neededWidth, neededHeight;
        int expected;
    } cases[] = {
        {3000, 2000, 1500, 1000, 2},  // exactly half
        {3000, 2000, 1501, 1000, 0},  // one pixel more than half: in full
        {6000, 4000, 400, 300, 8},    // a preview panel
        {6000, 4000, 750, 500, 8},    // 1/8 leaves exactly 750 x 500
        {6000, 4000, 751, 500, 4},
        {3001, 2001, 376, 251, 8},    // a partial block counts as a pixel: 3001/8 gives 376
        {100, 100, 200, 200, 0},      // enlarging: in full
        {4000, 6000, 300, 400, 8},    // portrait
        {4000, 6000, 400, 300, 8},    // shape differs from the picture's: both sides must be met
        {4000, 6000, 600, 300, 4},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DctScaleFor(c.width, c.height, c.neededWidth, c.neededHeight), c.expected)
            << c.width << "x" << c.height << " for " << c.neededWidth << "x" << c.neededHeight;
}

}  // namespace
}  // namespace ruvelto::app
