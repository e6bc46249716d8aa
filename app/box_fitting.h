// "保持比例": a custom width × height is a box the picture is fitted into with its proportions,
// not a size it is stretched to. Portable.
#pragma once
#include <cstdint>

namespace ruvelto::app {

// The size of a width × height picture fitted inside boxWidth × boxHeight, proportions kept and
// rounded to whole pixels (at least 1): 3000 × 2000 into 640 × 480 is 640 × 427. A picture
// already inside the box keeps its size. An empty box, or an empty picture, gives 0 × 0.
void FitInsideBox(int64_t width, int64_t height, int64_t boxWidth, int64_t boxHeight, int64_t& fittedWidth,
                  int64_t& fittedHeight);

}  // namespace ruvelto::app
