#include "app/dct_scale.h"

#include <initializer_list>

namespace ruvelto::app {

uint8_t DctScaleFor(int32_t width, int32_t height, int64_t neededWidth, int64_t neededHeight) {
    for (int32_t d : {8, 4, 2}) {
        if ((width + d - 1) / d >= neededWidth && (height + d - 1) / d >= neededHeight) return static_cast<uint8_t>(d);
    }
    return 0;
}

}  // namespace ruvelto::app
