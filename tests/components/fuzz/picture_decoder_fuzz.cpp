// Arbitrary bytes through the picture decoder: the format test, every pixel decoder, the icon
// entry choice and the GIF frame walk.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "components/picture_decoder.h"

using namespace ruvelto::components;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPictureByteLimitForTesting(uint64_t{24} << 20);  // pictures up to 24 MB keep runs fast
    PicturePixels pixels;
    if (DecodePicturePixels(data, size, &pixels)) {
        if (pixels.width <= 0 || pixels.height <= 0 || !pixels.pixels) __builtin_trap();
        std::free(pixels.pixels);
    }
    IconImage icon;
    if (ChooseIconImage(data, size, 32, &icon) && (icon.offset > size || icon.size > size - icon.offset)) __builtin_trap();
    GifPicture gif;
    DecodeGif(data, size, false, &gif);
    return 0;
}
