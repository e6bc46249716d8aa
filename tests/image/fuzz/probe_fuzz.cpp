// Runs the format probe over arbitrary bytes, then the transforms over whatever decoded.
#include <cstddef>
#include <cstdint>

#include "image/image.h"

using namespace ruvelto::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPixelMemoryBoundForTesting(250000);  // pictures up to 8 MB keep runs fast
    Image image;
    if (!image.Decode(data, size, IMAGE_FORMAT_UNKNOWN)) return 0;
    if (uint64_t{image.GetWidth()} * image.GetHeight() > 1000000) return 0;  // keep runs fast
    image.Flip();
    image.Mirror();
    image.RotateLeft();
    image.RotateRight();
    image.Negative();
    (void)image.GetPixelColor(0, 0);
    (void)image.GetNearestIndex(RgbQuad{1, 2, 3, 0});
    return 0;
}
